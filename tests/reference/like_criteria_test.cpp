// The criteria builder: filled and empty criteria, quoting once, pattern characters
// left to the engine. What the conditions find is tested through the windows.
#include "reference/like_criteria.h"

#include <QTest>

using namespace reference;

class LikeCriteriaTest : public QObject {
    Q_OBJECT

private slots:
    void conditions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("effects");
        QTest::addColumn<QString>("expected");
        QTest::newRow("both filled") << "参" << "补气" << "ycmc like '*参*' and ycgy like '*补气*'";
        QTest::newRow("empty matches Null too") << "参" << "" << "ycmc like '*参*' and (ycgy like '**' or ycgy is null)";
        QTest::newRow("apostrophe doubled once") << "O'Neil" << "补" << "ycmc like '*O''Neil*' and ycgy like '*补*'";
        QTest::newRow("pattern characters kept") << "[a]?#%" << "补" << "ycmc like '*[a]?#%*' and ycgy like '*补*'";
    }
    void conditions()
    {
        QFETCH(QString, name);
        QFETCH(QString, effects);
        QFETCH(QString, expected);
        QCOMPARE(likeConditions({{"ycmc", name}, {"ycgy", effects}}), expected);
        QVERIFY(!allEmpty({{"ycmc", name}, {"ycgy", effects}}));
        QVERIFY(allEmpty({{"ycmc", ""}, {"ycgy", ""}}));
    }
};

QTEST_MAIN(LikeCriteriaTest)
#include "like_criteria_test.moc"
