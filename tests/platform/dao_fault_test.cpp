// The write countdown tests arm to break a save at every step: the nth write statement
// fails with the layer's error, reads and transaction control are never counted, and
// the countdown disarms itself once it has fired.
#include "platform/dao/dao.h"
#include "platform/dao/fault_injector.h"
#include "support/test_environment.h"

#include <QtTest>

class DaoFaultTest : public QObject {
    Q_OBJECT

private:
    // Four writes of different kinds, with reads and a transaction around them; one row stays.
    static void fourWrites(dao::Database& db)
    {
        dao::Transaction transaction(db);
        db.execute(QStringLiteral("insert into ycgy values ('补血')"));
        db.openRecordset(QStringLiteral("select * from ycgy")).recordCount();
        dao::Recordset rs = db.openTable(QStringLiteral("ycgy"));
        rs.addNew();
        rs.setField(0, QStringLiteral("活血"));
        rs.update();
        db.execute(QStringLiteral("update ycgy set ycgy='理气' where ycgy='活血'"));
        db.execute(QStringLiteral("delete * from ycgy where ycgy='补血'"));
        transaction.commit();
    }

private slots:
    void cleanup() { dao::WriteFault::disarm(); }

    void theNthWriteFailsOnceAndNothingIsStored_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 5; ++n) QTest::newRow(qPrintable(QString::number(n))) << n;
    }

    void theNthWriteFailsOnceAndNothingIsStored()
    {
        QFETCH(int, n);
        TestEnvironment env;
        dao::Database db = env.open();
        dao::WriteFault::arm(n);
        try {
            fourWrites(db);
            QVERIFY2(n == 5, "no write failed");   // four writes: a fifth is never reached
        } catch (const dao::Error& error) {
            QCOMPARE(error.number(), dao::WriteFault::errorNumber);
            QCOMPARE(env.count(QStringLiteral("ycgy")), 0);
            fourWrites(db);   // fired once, it lets the same writes through
        }
        QCOMPARE(dao::WriteFault::fired(), n < 5);
        QCOMPARE(env.count(QStringLiteral("ycgy")), 1);
    }
};

QTEST_MAIN(DaoFaultTest)
#include "dao_fault_test.moc"
