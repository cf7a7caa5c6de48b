// The data control and its bound lists: lists refilled on every Refresh (so a table
// changed behind the window shows after the next Refresh), no handle kept open, and a
// failing Refresh that keeps the rows it had. (A table or a stored query as the record
// source: the herb entry window's search.)
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "platform/forms/datacontrol.h"
#include "support/test_environment.h"

#include <QFile>
#include <QtTest>

using namespace forms;

class FormsDataTest : public QObject {
    Q_OBJECT

private slots:
    void aBoundComboRefillsOnRefreshAndKeepsItsRowsWhenRefreshFails()
    {
        TestEnvironment env;
        env.insert("ycjg", {"A01", "当归", 0.5, "克", "草药"});
        DataControl data;
        data.setDatabaseName(env.databasePath());
        data.setConnect(data::connectText());
        data.setRecordSource("select distinct yplb from ycjg order by yplb");
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

        // A failing Refresh reports and keeps the rows it had: broken SQL, then a file
        // gone (it could be removed: no handle stays open behind the list).
        data.setRecordSource("select * from ycjg where ycmc='it''s");
        QVERIFY_THROWS_EXCEPTION(dao::Error, data.Refresh());
        QCOMPARE(combo.ListCount(), 2);
        data.setRecordSource("ycjg");
        QVERIFY(QFile::remove(env.databasePath()));
        QVERIFY_THROWS_EXCEPTION(dao::Error, data.Refresh());
        QCOMPARE(combo.ListCount(), 2);
    }
};

QTEST_MAIN(FormsDataTest)
#include "forms_data_test.moc"
