// The criteria builder of the knowledge-base searches: filled and empty criteria,
// quoting once, and what the conditions match on a real database (Null columns under
// an empty criterion, pattern characters, apostrophes).
#include "reference/like_criteria.h"
#include "support/test_environment.h"

#include <QTest>

using namespace reference;

class LikeCriteriaTest : public QObject {
    Q_OBJECT

private slots:
    void conditions_data();
    void conditions();
    void matches_data();
    void matches();
};

void LikeCriteriaTest::conditions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("effects");
    QTest::addColumn<QString>("expected");

    QTest::newRow("both filled") << "参" << "补气" << "ycmc like '*参*' and ycgy like '*补气*'";
    QTest::newRow("empty criterion matches Null too") << "参" << "" << "ycmc like '*参*' and (ycgy like '**' or ycgy is null)";
    QTest::newRow("empty first criterion") << "" << "补气" << "(ycmc like '**' or ycmc is null) and ycgy like '*补气*'";
    QTest::newRow("apostrophe doubled once") << "O'Neil" << "" << "ycmc like '*O''Neil*' and (ycgy like '**' or ycgy is null)";
    QTest::newRow("pattern characters kept") << "[a]*?#%" << "" << "ycmc like '*[a]*?#%*' and (ycgy like '**' or ycgy is null)";
}

void LikeCriteriaTest::conditions()
{
    QFETCH(QString, name);
    QFETCH(QString, effects);
    QFETCH(QString, expected);
    const std::vector<LikeCriterion> criteria{{"ycmc", name}, {"ycgy", effects}};
    QCOMPARE(likeConditions(criteria), expected);
    QCOMPARE(allEmpty(criteria), name.isEmpty() && effects.isEmpty());
}

void LikeCriteriaTest::matches_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("effects");
    QTest::addColumn<QStringList>("found");

    QTest::newRow("name alone finds the Null row") << "参" << "" << QStringList{"人参", "党参"};
    QTest::newRow("filled criterion skips the Null row") << "参" << "补" << QStringList{"人参"};
    QTest::newRow("apostrophe found literally") << "'" << "" << QStringList{"当归'"};
    QTest::newRow("question mark is a pattern") << "?参" << "" << QStringList{"人参", "党参"};
    QTest::newRow("case ignored") << "abc" << "" << QStringList{"ABC"};
}

void LikeCriteriaTest::matches()
{
    QFETCH(QString, name);
    QFETCH(QString, effects);
    QFETCH(QStringList, found);
    TestEnvironment env;
    env.insert("zyyc", {"人参", "  ", "  ", "大补元气"});
    env.insert("zyyc", {"党参"});                      // imported: every other column Null
    env.insert("zyyc", {"当归'", "  ", "  ", "补血"});
    env.insert("zyyc", {"ABC", "  ", "  ", "  "});
    dao::Database db = env.open();
    QStringList names;
    for (dao::Recordset rows = db.openRecordset("select * from zyyc where "
                                                + likeConditions({{"ycmc", name}, {"ycgy", effects}})
                                                + " order by ycmc");
         !rows.eof(); rows.moveNext())
        names << rows.field(0).toString();
    found.sort();
    names.sort();
    QCOMPARE(names, found);
}

QTEST_MAIN(LikeCriteriaTest)
#include "like_criteria_test.moc"
