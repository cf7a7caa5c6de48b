// The data control and its bound lists: a table, an SQL text or a stored query as
// the record source, lists refilled on every Refresh (so a table changed behind the
// window shows after the next Refresh), no handle kept open, and a failing Refresh
// that keeps the rows it had.
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "support/test_environment.h"

#include <QFile>
#include <QtTest>

using namespace forms;

class FormsDataTest : public QObject {
    Q_OBJECT

private:
    static void bind(DataControl& control, const TestEnvironment& env, const QString& source)
    {
        control.setDatabaseName(env.databasePath());
        control.setConnect(data::connectText());
        control.setRecordsetType(vbRSTypeDynaset);
        control.setRecordSource(source);
    }

private slots:
    void aBoundComboRefillsAfterItsTableChanged()
    {
        TestEnvironment env;
        env.insert("ycjg", {"A01", "当归", 0.5, "克", "草药"});
        DataControl data;
        bind(data, env, "select distinct yplb from ycjg order by yplb");
        DBCombo combo;
        combo.setDataSource(&data);
        combo.setListField("yplb");
        data.Refresh();
        QCOMPARE(combo.List(0), QStringLiteral("草药"));

        combo.setText(QStringLiteral("成"));
        env.insert("ycjg", {"B01", "银翘片", 3.0, "盒", "成药"});
        QCOMPARE(combo.ListCount(), 1);                       // nothing moves before Refresh
        data.Refresh();
        QCOMPARE(combo.ListCount(), 2);
        QCOMPARE(combo.List(1), QStringLiteral("成药"));       // pinyin order: cao before cheng
        QCOMPARE(combo.Text(), QStringLiteral("成"));          // what was typed stays

        // The file is closed again: it can be replaced while the window is open.
        QVERIFY(QFile::remove(env.databasePath()));
    }

    // A table or a stored query of the held connection as the source.
    void tablesAndStoredQueries()
    {
        TestEnvironment env;
        env.insert("ycjg", {"A01", "当归", 0.5, "克", "草药"});
        env.insert("ycjg", {"A02", "黄芪", 0.8, "克", "草药"});
        const dao::Database held = env.open();   // stored queries live with the connection
        env.open().createQueryDef("000", "select ycmc from ycjg where ycbm='A02'");
        DataControl data;
        DBList list;
        list.setDataSource(&data);
        list.setListField("ycmc");

        bind(data, env, "ycjg");
        data.Refresh();
        QCOMPARE(list.ListCount(), 2);
        QCOMPARE(data.Recordset().recordCount(), 2);

        data.setRecordSource("000");
        data.Refresh();
        QCOMPARE(list.ListCount(), 1);
        QCOMPARE(list.List(0), QStringLiteral("黄芪"));
    }

    void aFailingRefreshKeepsTheRowsAndReports()
    {
        TestEnvironment env;
        env.insert("ycjg", {"A01", "当归", 0.5, "克", "草药"});
        DataControl data;
        DBCombo combo;
        combo.setDataSource(&data);
        combo.setListField("ycmc");
        bind(data, env, "ycjg");
        data.Refresh();

        data.setRecordSource("select * from ycjg where ycmc='it''s");   // broken SQL
        QVERIFY_THROWS_EXCEPTION(dao::Error, data.Refresh());
        QCOMPARE(combo.ListCount(), 1);

        data.setRecordSource("ycjg");
        data.setDatabaseName(env.windowsDir() + "/missing.mdb");
        QVERIFY_THROWS_EXCEPTION(dao::Error, data.Refresh());
        QCOMPARE(combo.ListCount(), 1);
    }
};

QTEST_MAIN(FormsDataTest)
#include "forms_data_test.moc"
