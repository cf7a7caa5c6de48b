// Every SQL text the windows use, with the name each is stored under, translated from
// the old dialect and run against the shipped tables through the stored-query
// convention (or Execute, inside a transaction that is rolled back); and random valid
// statements (DISTINCT, LIMIT, UNION, subqueries, a trailing ';', comments) whose
// translation must stay valid.
#include "platform/dao/dao.h"
#include "support/test_environment.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

const QString S = QStringLiteral("2024-03-01"), E = QStringLiteral("2024-03-31");
QString like(const QString& text) { return QStringLiteral("'*") + text + QStringLiteral("*'"); }

// A search window's text: a pattern on the first column, an empty criterion ('**') on each further one.
QString search(const char* table, const char* first, const QString& value, std::initializer_list<const char*> further)
{
    QString sql = QStringLiteral("select * from %1 where %2 like ").arg(QLatin1String(table), QLatin1String(first)) + like(value);
    for (const char* column : further) sql += QStringLiteral(" and %1 like ").arg(QLatin1String(column)) + like({});
    return sql;
}

// `storedAs`: the stored query's name; "Execute", or a data control's source ("Data...").
struct WindowSql { const char* storedAs; QString sql; };

std::vector<WindowSql> windowSql()
{
    const QString drug = QStringLiteral("'A01'"), name = QStringLiteral("'当归'");
    const QString period = " from yccrtb where crsj between #" + S + "# and  #" + E + "#";
    std::vector<WindowSql> texts = {
        // dispensary: drug list, stock windows, pricing, stock reports, settlement
        {"0001", "select distinct yplb from ycjg where ycbm<>'' "}, {"000", "select * from ycjg order by ycbm"},
        {"ycbm", "select * from ycjg where ycbm=" + drug}, {"ycmc", "select * from ycjg where ycmc=" + name},
        {"0000", "select * from ycjg where ycbm=" + drug}, {"000", "select * from ycyltb where ycbm=" + name + " and ycyl>=12.5"},
        {"000", "select distinct blkb from hzzdzl "}, {"ycmcbm", "select * from ycjg where ycbm=" + drug + " and ycmc=" + name},
        {"ycrk", "select ycbm,crsj,yccd,ycly,ywph,yxqx,rksl,rkje,jbxm,bgxm " + period + " and ywzy='购进' order by ycbm,crsj"},
        {"ycrk", "select ycbm,crsj,yccd,ycly,ywph,yxqx,rksl,rkje,jbxm,bgxm  " + period + " and ycbm=" + name + " and ywzy='购进' order by ycbm,crsj"},
        // the journal's column 8 is blks (the stock-out report selects it by that name)
        {"ycck", "select blhm,blks,crsj,ycbm,ywzy,cksl,ckje,xsje " + period + " and ywzy<>'购进' order by ycbm,crsj"},
        {"ycjy", "select ycbm,ycyl,rkje from ycyltb where ycbm<>'' order by ycbm"},
        {"ycck", "select crsj,ycbm,ywzy,rksl,rkje,cksl,ckje,xsje " + period + " order by crsj,ycbm"},
        {"999", "select ycbm,rkje/rksl from ycyltb where ycyl<>0 "}, {"Execute", "delete * from ycyltb where ycyl=0"},
        {"Execute", "update yccrtb set ckje=cksl * 0.125 where cksl<>0 and ckje=0 and ycbm=" + name},
        {"Execute", "update ycyltb set rkje=rkje-(rksl-ycyl)* 0.125 where ycbm=" + name}, {"Execute", "update ycyltb set rksl=ycyl "},
        // dictionaries and their builders
        {"000", "select ycgy from zyyc "}, {"001", "select yczz from zyyc "}, {"000", "select fjgy from zyfj "},
        {"001", "select fjzz from zyfj "}, {"002", "select fjxd from zyfj "}, {"000", "select bzqk from zybz "},
        {"0001", "select cyzz from fjcy"}, {"0000", "select cygy from fjcy"}, {"qkbz", "select bzqk from zybz where bzmc like " + like("血虚")},
        {"Data2", "select * from bzzz "}, {"Data2", "select cygy from cygx"}, {"Data3", "select cyzz from cyzz"},
        {"Data2", "select DISTINCT * from ycgy order by ycgy"}, {"Data3", "select DISTINCT * from yczz"},
        {"Data2", "select fjgy from fjgy"}, {"Data3", "select fjzz from fjzz"}, {"Data5", "select fjlc from lcfj"},
        // herb entry and query windows
        {"ycgjcd", "select distinct ycgj from zyyc order by ycgj"}, {"ycxw", "select distinct ycxw from zyyc order by ycxw"},
        {"ycsl", "select * from zyyc "}, {"000", search("zyyc", "ycmc", "当", {"ycyf", "ycgj", "ycxw", "ycgy", "ycxd", "yczz"})},
        {"Data1", "select DISTINCT ycxw from zyyc order by ycxw"}, {"Data1", "select DISTINCT ycgj from zyyc order by ycgj"},
        {"Data1", "select * from zyyc order by ycmc"},
        {"yccx", search("zyyc", "ycmc", "当", {"ycgy", "ycgy", "ycgy", "ycgj", "ycxw", "yczz", "yczz", "yczz"}) + " order by ycmc"},
        {"ycnr", "select * from zyyc where ycmc = " + name}, {"ycmccx", "select * from zyyc where ycmc =" + name},
        // formula windows
        {"Data1", "select ycmc from zyyc"}, {"Data4", "select distinct fjly from zyfj"},
        {"fjcx", search("zyfj", "fjmc", "四物", {"fjgc", "fjgc", "fjgc", "fjgy", "fjgy", "fjgy", "fjzz", "fjzz", "fjzz", "fjxd", "fjxd", "fjxd", "fjly"}) + "order by fjmc "},
        {"ycnr", "select * from zyfj where fjmc = '四物汤'"}, {"Data1", "select * from zyfj"},
        {"Data1", search("zyfj", "fjmc", "四物", {"fjgc", "fjgy", "fjzz", "fjly", "fjxd", "fjyf"}) + " order by fjmc "},
        {"fjnrcx", "select * from zyfj  where fjmc='四物汤'"},
        // diagnosis windows
        {"Data1", "select distinct bzmc from zybz order by bzmc"}, {"zybzqk", "select * from zybz order by bzmc,bzqk"},
        {"zybzqk", search("zybz", "bzmc", "血虚", {}) + " order by bzmc,bzqk "},
        {"zybzqk", search("zybz", "bzmc", "血虚", {"bzqk", "bzqk", "bzqk", "bzqk", "bzqk"}) + " order by bzmc,bzqk "},
        // patent medicines and western drugs
        {"1234", "select * from fjcy"}, {"1234", search("fjcy", "cymc", "丸", {"cygc", "cygy", "cyzz", "cyxd", "cyyf"}) + " order by cymc "},
        {"cynrcx", "select * from fjcy  where cymc='六味地黄丸'"},
        {"fjcx", search("fjcy", "cymc", "丸", {"cygc", "cygc", "cygc", "cygy", "cygy", "cygy"})},
        {"ycnr", "select * from fjcy where cymc = '六味地黄丸'"}, {"ycxw", "select distinct sylb from ylsy "},
        {"ycmc", "select distinct symc from ylsy order by symc"}, {"ycsl", "select * from ylsy "},
        {"12345", "select * from ylsy where sylb='抗生素'"},
        {"0000", search("ylsy", "symc", "青霉素", {"syyt", "syjl", "syzy", "sylb", "syxd"})},
    };
    // the dictionary builders empty their tables before filling them
    for (const char* table : {"ycgy", "yczz", "fjgy", "fjzz", "lcfj", "bzzz", "Cyzz", "Cygx"})
        texts.push_back({"Execute", QStringLiteral("delete * from ") + QLatin1String(table)});
    return texts;
}

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
    void everyWindowTextRunsAgainstTheShippedTables()
    {
        TestEnvironment env;
        dao::Database db = env.open();
        for (const WindowSql& text : windowSql()) {
            const QString storedAs = QString::fromUtf8(text.storedAs);
            try {
                if (storedAs == QLatin1String("Execute")) {
                    dao::Transaction transaction(db);   // rolled back
                    db.execute(text.sql);
                } else {   // a data control's source is opened as it is
                    storedAs.startsWith(QLatin1String("Data")) ? db.openRecordset(text.sql) : db.storeAndOpen(storedAs, text.sql);
                }
            } catch (const dao::Error& error) {
                QFAIL(qPrintable(text.sql + QStringLiteral(": ") + error.description()));
            }
        }
    }

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
