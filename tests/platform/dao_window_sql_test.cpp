// Random valid statements in the old dialect (DISTINCT, LIMIT, UNION, subqueries, a
// trailing ';', comments) whose translation must stay valid against the shipped tables.
// (The windows' own texts run in the windows' tests.)
#include "platform/dao/dao.h"
#include "support/test_environment.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A random statement that SQLite takes, in the old dialect, over tables of one or two
// text columns each: DISTINCT, LIKE, #dates#, IN and FROM subqueries, compounds, ORDER
// BY, LIMIT, a trailing ';' and comments, keywords in any case.
QString randomStatement(QRandomGenerator& random)
{
    const auto pick = [&](int n) { return static_cast<int>(random.bounded(n)); };
    const auto word = [&](const char* text) { return pick(2) ? QString::fromLatin1(text).toUpper() : QString::fromLatin1(text); };
    const int columns = 1 + pick(2);
    const auto core = [&]() -> QString {
        static const char* const tables[][3] = {{"ycjg", "ycbm", "ycmc"}, {"zyyc", "ycmc", "ycgy"}, {"zybz", "bzmc", "bzqk"}, {"ycgy", "ycgy", "ycgy"}};
        const auto& t = tables[pick(4)];
        const QString first = QLatin1String(t[1]), second = QLatin1String(t[2]);
        QString from = QLatin1String(t[0]);
        if (pick(5) == 0) from = QStringLiteral("(select distinct %1, %2 from %3) s").arg(first, second, from);
        QString sql = word(pick(2) ? "select distinct " : "select ") + first + (columns == 2 ? QStringLiteral(", ") + second : QString()) + word(" from ") + from;
        switch (pick(5)) {
        case 0: return sql + word(" where ") + first + word(" like ") + QStringLiteral("'*当''归 order by*'");
        case 1: return sql + word(" where ") + first + QStringLiteral(" > #2024-3-5#");
        case 2: return sql + word(" where ") + first + word(" in (select distinct ycmc from zyyc where ycmc<>'')");
        default: return sql;
        }
    };
    static const char* const compounds[] = {" union ", " union all ", " except ", " intersect "}, *const directions[] = {"", " desc", " asc"};
    QString sql = core();
    if (pick(3) == 0) sql += word(compounds[pick(4)]) + core();
    if (pick(2) == 0) sql += word(" order by ") + (pick(2) ? QStringLiteral("1") : QStringLiteral("1,%1").arg(columns)) + word(directions[pick(3)]);
    if (pick(3) == 0) sql += word(" limit 5") + (pick(2) ? word(" offset 2") : QString());
    if (pick(4) == 0) sql += QStringLiteral(" /* order by x */");
    if (pick(3) == 0) sql += QStringLiteral(";");
    if (pick(4) == 0) sql += QStringLiteral(" -- sorted, limit 1");
    return sql;
}

}  // namespace

class DaoWindowSqlTest : public QObject {
    Q_OBJECT

private slots:
    void randomValidStatementsStayValid()
    {
        TestEnvironment env;
        dao::Database db = env.open();
        QRandomGenerator random(20020618);
        for (int i = 0; i < 600; ++i) {
            const QString sql = randomStatement(random);
            try {
                db.openRecordset(sql);
            } catch (const dao::Error& error) {
                QFAIL(qPrintable(sql + QStringLiteral(": ") + error.description()));
            }
        }
    }
};

QTEST_MAIN(DaoWindowSqlTest)
#include "dao_window_sql_test.moc"
