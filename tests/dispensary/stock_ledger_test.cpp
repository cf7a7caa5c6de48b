// The stock tables' shared rules on their own, as the pricing window also uses them:
// the stock check's SQL text, a check and a lowering for a drug without a balance
// row, and a balance that is covered exactly.
#include "dispensary/stock_ledger.h"
#include "stock_test_data.h"

#include <QtTest>

using dispensary::StockLedger;
using namespace stocktest;

class StockLedgerTest : public QObject {
    Q_OBJECT

private slots:
    void stockCheckSqlQuotesTheNameAndWritesAPlainNumber_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<QString>("sql");
        QTest::newRow("whole") << "当归" << 1500.0 << "select * from ycyltb where ycbm='当归' and ycyl>=1500";
        QTest::newRow("fraction") << "黄芪" << 2.5 << "select * from ycyltb where ycbm='黄芪' and ycyl>=2.5";
        QTest::newRow("apostrophe") << "王不留'行" << 3.0 << "select * from ycyltb where ycbm='王不留''行' and ycyl>=3";
    }
    void stockCheckSqlQuotesTheNameAndWritesAPlainNumber()
    {
        QFETCH(QString, name);
        QFETCH(double, quantity);
        QFETCH(QString, sql);
        QCOMPARE(StockLedger::stockCheckSql(name, quantity), sql);
    }

    void coversUpToTheBalanceOnly()
    {
        TestEnvironment env;
        env.insert("ycyltb", {"王不留'行", 10, 50, 7.5});
        dao::Database db = env.open();
        StockLedger ledger(db);
        QVERIFY(ledger.covers("王不留'行", 7.5));
        QVERIFY(!ledger.covers("王不留'行", 7.51));
        QVERIFY(!ledger.covers("当归", 0));             // no balance row: no stock
        QCOMPARE(db.queryDefs(), QStringList{"000"});   // stored as the convention says
    }

    void issueLeavesADrugWithoutARowAlone()
    {
        TestEnvironment env;
        env.insert("ycyltb", {"当归", 10, 100, 10});
        dao::Database db = env.open();
        StockLedger ledger(db);
        ledger.issue("黄芪", 3);
        ledger.issue("当归", 4);
        db.close();
        QCOMPARE(env.count("ycyltb"), 1);
        QCOMPARE(balanceOf(env, "当归"), (Balance{10, 100, 6}));
    }
};

QTEST_MAIN(StockLedgerTest)
#include "stock_ledger_test.moc"
