// The criteria builder: filled and empty criteria, quoting once, pattern characters
// left to the engine. What the conditions find is tested through the windows.
#include "reference/like_criteria.h"

#include <QTest>

using namespace reference;

class LikeCriteriaTest : public QObject {
    Q_OBJECT

private slots:
    void conditions()
    {
        const struct { QString name, effects, expected; } cases[] = {
            {"参", "补气", "ycmc like '*参*' and ycgy like '*补气*'"},
            {"参", "", "ycmc like '*参*' and (ycgy like '**' or ycgy is null)"},   // empty matches Null too
            {"O'Neil", "补", "ycmc like '*O''Neil*' and ycgy like '*补*'"},        // apostrophe doubled once
            {"[a]?#%", "补", "ycmc like '*[a]?#%*' and ycgy like '*补*'"}};        // pattern characters kept
        for (const auto& [name, effects, expected] : cases) {
            QCOMPARE(likeConditions({{"ycmc", name}, {"ycgy", effects}}), expected);
            QVERIFY(!allEmpty({{"ycmc", name}, {"ycgy", effects}}));
        }
        QVERIFY(allEmpty({{"ycmc", ""}, {"ycgy", ""}}));
    }
};

QTEST_MAIN(LikeCriteriaTest)
#include "like_criteria_test.moc"
