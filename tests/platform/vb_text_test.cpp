// Trim, Format and date reading as the dispensary windows use them: blank trimming
// that leaves other white space alone, the money patterns with their rounding, dates
// formatted, and the date texts IsDate accepts (days that do not exist and masked
// boxes still holding prompt characters are none) with CDate's errors.
#include "platform/vb/dates.h"
#include "platform/vb/error.h"
#include "platform/vb/format.h"
#include "platform/vb/strings.h"

#include <QTest>

using vb::Format;
using vb::Variant;

Q_DECLARE_METATYPE(vb::Variant)

class VbTextTest : public QObject {
    Q_OBJECT

private slots:
    void trimRemovesAsciiBlanksOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("blanks") << "  当归 " << "当归" << "当归 " << "  当归";
        QTest::newRow("only blanks") << "   " << "" << "" << "";
        QTest::newRow("empty") << "" << "" << "" << "";
        QTest::newRow("inner blank kept") << " 当 归 " << "当 归" << "当 归 " << " 当 归";
        QTest::newRow("tab kept") << "\t当归\t" << "\t当归\t" << "\t当归\t" << "\t当归\t";
        QTest::newRow("line break kept") << "\r\n当归 \r\n" << "\r\n当归 \r\n" << "\r\n当归 \r\n" << "\r\n当归 \r\n";
        QTest::newRow("full-width blank kept") << "　当归　 " << "　当归　" << "　当归　 " << "　当归　";
    }
    void trimRemovesAsciiBlanksOnly()
    {
        QFETCH(QString, text);
        QTEST(vb::Trim(text), "trimmed");
        QTEST(vb::LTrim(text), "left");
        QTEST(vb::RTrim(text), "right");
    }

    void formatsNumbersAndDates_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const QString money = QStringLiteral("###,##0.00");
        QTest::newRow("grouped") << Variant(1234.5) << money << "1,234.50";
        QTest::newRow("millions") << Variant(1234567.891) << money << "1,234,567.89";
        QTest::newRow("below one") << Variant(0.5) << money << "0.50";
        QTest::newRow("zero") << Variant(0) << money << "0.00";
        QTest::newRow("negative") << Variant(-1234.5) << money << "-1,234.50";
        QTest::newRow("negative rounds to zero") << Variant(-0.001) << money << "0.00";
        QTest::newRow("half away from zero") << Variant(2.675) << money << "2.68";
        QTest::newRow("negative half") << Variant(-2.675) << money << "-2.68";
        QTest::newRow("carry into thousands") << Variant(999.995) << money << "1,000.00";
        QTest::newRow("grouped text") << Variant("1,250.00") << money << "1,250.00";
        QTest::newRow("text with blanks") << Variant(" 12 ") << money << "12.00";
        QTest::newRow("money value") << Variant(vb::Currency::fromDouble(12.345)) << money << "12.35";
        QTest::newRow("dose pattern") << Variant(12) << "##,##0.00" << "12.00";
        QTest::newRow("total pattern") << Variant(1234567.5) << "#,###,##0.00" << "1,234,567.50";
        QTest::newRow("short grouped") << Variant(1250) << "#,##0.00" << "1,250.00";
        QTest::newRow("plain") << Variant(1250) << "0.00" << "1250.00";
        QTest::newRow("whole grouped") << Variant(1234.5) << "###,##0" << "1,235";
        QTest::newRow("whole zero") << Variant(0.4) << "###,##0" << "0";
        QTest::newRow("no whole digit") << Variant(0.5) << "#.00" << ".50";
        QTest::newRow("literal suffix") << Variant(3) << "0.00元" << "3.00元";
        QTest::newRow("large") << Variant(1e15) << money << "1,000,000,000,000,000.00";
        QTest::newRow("beyond 15 digits") << Variant(123456789012345678.0) << money << "123,456,789,012,346,000.00";
        QTest::newRow("negative zero") << Variant(-0.0) << money << "0.00";
        QTest::newRow("half below one") << Variant(0.005) << money << "0.01";
        QTest::newRow("negative carry into a group") << Variant(-999999.995) << money << "-1,000,000.00";
        QTest::newRow("tiny") << Variant(1e-300) << money << "0.00";
        QTest::newRow("ten decimals") << Variant(0.1) << "0.0000000000" << "0.1000000000";
        // dates
        QTest::newRow("date iso") << Variant(QDate(2004, 8, 19)) << "yyyy-mm-dd" << "2004-08-19";
        QTest::newRow("date compact") << Variant(QDate(2004, 8, 19)) << "yyyymmdd" << "20040819";
        QTest::newRow("text iso") << Variant("2004-08-19") << "yyyymmdd" << "20040819";
        QTest::newRow("text short form") << Variant("2004-8-9") << "yyyy-mm-dd" << "2004-08-09";
        QTest::newRow("text slashes") << Variant("2004/08/19") << "yyyymmdd" << "20040819";
        QTest::newRow("short parts") << Variant(QDate(2004, 8, 9)) << "yy.m.d" << "04.8.9";
        QTest::newRow("day serial") << Variant(38218) << "yyyy-mm-dd" << "2004-08-19";
        // texts of the wrong kind come back as they were; Null gives ""
        QTest::newRow("word as number") << Variant("十二") << "###,##0.00" << "十二";
        QTest::newRow("empty as number") << Variant("") << "###,##0.00" << "";
        QTest::newRow("masked box as date") << Variant("2004-0_-__") << "yyyymmdd" << "2004-0_-__";
        QTest::newRow("impossible day") << Variant("2024-02-30") << "yyyymmdd" << "2024-02-30";
        QTest::newRow("null") << Variant() << "###,##0.00" << "";
        QTest::newRow("no pattern") << Variant(1.5) << "" << "1.5";
    }
    void formatsNumbersAndDates()
    {
        QFETCH(Variant, value);
        QFETCH(QString, format);
        QTEST(Format(value, format), "expected");
    }

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
            QVERIFY_THROWS_EXCEPTION(vb::TypeMismatch, vb::CDate(text));
        }
    }

    void datesOfOtherValues()
    {
        QVERIFY(vb::IsDate(Variant(QDate(2004, 1, 1))));
        QVERIFY(!vb::IsDate(Variant(38000)));
        QVERIFY(!vb::IsDate(Variant()));
        QCOMPARE(vb::CDate(Variant(38218)), QDate(2004, 8, 19));
        QVERIFY_THROWS_EXCEPTION(vb::InvalidUseOfNull, vb::CDate(Variant()));
        QVERIFY_THROWS_EXCEPTION(vb::Overflow, vb::CDate(Variant(1e12)));
    }
};

QTEST_MAIN(VbTextTest)
#include "vb_text_test.moc"
