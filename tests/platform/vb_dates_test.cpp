// Date reading of the old runtime: the forms IsDate accepts, days that do not exist,
// masked boxes still holding prompt characters, and CDate's errors.
#include "platform/vb/dates.h"
#include "platform/vb/error.h"

#include <QTest>

using vb::Variant;

class VbDatesTest : public QObject {
    Q_OBJECT

private slots:
    void readsDateTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");   // invalid: not a date
        QTest::newRow("iso") << "2004-08-19" << QDate(2004, 8, 19);
        QTest::newRow("short parts") << "2004-8-9" << QDate(2004, 8, 9);
        QTest::newRow("slashes") << "2004/08/19" << QDate(2004, 8, 19);
        QTest::newRow("points") << "2004.08.19" << QDate(2004, 8, 19);
        QTest::newRow("written") << "2004年8月19日" << QDate(2004, 8, 19);
        QTest::newRow("blanks around") << " 2004-08-19  " << QDate(2004, 8, 19);
        QTest::newRow("with time") << "2004-08-19 14:30" << QDate(2004, 8, 19);
        QTest::newRow("with seconds") << "2004-08-19 14:30:59" << QDate(2004, 8, 19);
        QTest::newRow("leap day") << "2024-02-29" << QDate(2024, 2, 29);
        QTest::newRow("no leap day") << "2023-02-29" << QDate();
        QTest::newRow("february 30") << "2024-02-30" << QDate();
        QTest::newRow("month 13") << "2024-13-01" << QDate();
        QTest::newRow("day 0") << "2024-01-00" << QDate();
        QTest::newRow("mixed separators") << "2004-08/19" << QDate();
        QTest::newRow("masked prompt") << "2004-0_-__" << QDate();
        QTest::newRow("empty mask") << "____-__-__" << QDate();
        QTest::newRow("compact digits") << "20040819" << QDate();
        QTest::newRow("bad hour") << "2004-08-19 24:00" << QDate();
        QTest::newRow("word") << "今天" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void readsDateTexts()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(vb::IsDate(text), date.isValid());
        QCOMPARE(Variant(text).toDate(), date);
        if (date.isValid()) {
            QCOMPARE(vb::CDate(text), date);
        } else {
            try {
                vb::CDate(text);
                QFAIL("no error raised");
            } catch (const vb::Error& error) {
                QCOMPARE(error.number(), 13);
            }
        }
    }

    void otherValues()
    {
        QVERIFY(vb::IsDate(Variant(QDate(2004, 1, 1))));
        QVERIFY(!vb::IsDate(Variant(38000)));
        QVERIFY(!vb::IsDate(Variant()));
        QCOMPARE(vb::CDate(Variant(38218)), QDate(2004, 8, 19));
        QVERIFY_THROWS_EXCEPTION(vb::InvalidUseOfNull, vb::CDate(Variant()));
        QVERIFY_THROWS_EXCEPTION(vb::Overflow, vb::CDate(Variant(1e12)));
    }
};

QTEST_MAIN(VbDatesTest)
#include "vb_dates_test.moc"
