// Speed of walking a table with a table recordset, every field of every row read as a
// text (what a query window does when it opens with the whole table in its grid),
// against one prepared SELECT over the same rows in the same order on a plain SQLite
// connection, at 5,000 and 50,000 formulas: in stored order, and in the name index's
// order. Both sides read the same cells (compared before any figure is printed), keep
// the file open between runs and take turns, each timed run after an untimed one of
// its own side. Prints the medians, their ratio (limit 1.5) and both sides' cost per
// row's growth from 5,000 to 50,000 (ours at most 1.2 times the plain growth).
#include "bench_support.h"
#include "data/database_file.h"
#include "platform/dao/dao.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
void seed(const QString& path, int formulas)
{
    sqlite3* db = bench::openPlain(path);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* add = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO zyfj VALUES(?1,'当归、川芎、白芍、熟地黄','补血，活血，调经',?2,"
                           "'水煎服，日一剂','和剂局方','临床用于血虚诸证，加减得宜。','  ')", -1, &add, nullptr);
    for (int i = 0; i < formulas; ++i) {
        const QByteArray name = QStringLiteral("四物汤%1").arg(i * 7919 % formulas).toUtf8();
        const QByteArray indication = QStringLiteral("血虚萎黄，月经不调%1。").arg(i).toUtf8();
        sqlite3_bind_text(add, 1, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(add, 2, indication.constData(), static_cast<int>(indication.size()), SQLITE_TRANSIENT);
        sqlite3_step(add);
        sqlite3_reset(add);
    }
    sqlite3_finalize(add);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Every cell of the walk, in order, when `cells` is given; the number of rows.
int walkOurs(dao::Database& db, const QString& index, QStringList* cells)
{
    dao::Recordset rs = db.openTable(QStringLiteral("zyfj"));
    if (!index.isEmpty()) rs.setIndex(index);
    int rows = 0;
    for (; !rs.eof(); rs.moveNext(), ++rows)
        for (int c = 0; c < rs.fieldCount(); ++c) {
            const QString text = rs.field(c).toString();
            if (cells) *cells << text;
        }
    return rows;
}

int walkPlain(sqlite3* db, const char* sql, QStringList* cells)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    int rows = 0;
    for (; sqlite3_step(statement) == SQLITE_ROW; ++rows)
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                                   sqlite3_column_bytes(statement, c));
            if (cells) *cells << text;
        }
    sqlite3_finalize(statement);
    return rows;
}

struct Walk {
    const char* what;
    QString index;
    const char* plainSql;
};

// The walk's medians in milliseconds (ours, plain); false when the cells differ.
bool measure(const QString& path, const Walk& walk, double& ours, double& plain)
{
    dao::Database db = dao::Database::open(path, data::connectText());
    sqlite3* plainDb = bench::openPlain(path, true);
    QStringList ourCells, plainCells;
    walkOurs(db, walk.index, &ourCells);
    walkPlain(plainDb, walk.plainSql, &plainCells);
    if (ourCells != plainCells) {
        sqlite3_close(plainDb);
        return false;
    }
    const bench::Medians medians = bench::inTurns([&] { walkOurs(db, walk.index, nullptr); },
                                                  [&] { walkPlain(plainDb, walk.plainSql, nullptr); });
    sqlite3_close(plainDb);
    ours = medians.ours;
    plain = medians.plain;
    return true;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const Walk walks[] = {{"stored order", QString(), "SELECT * FROM zyfj"},
                          {"name index order", QStringLiteral("fjmci"), "SELECT * FROM zyfj ORDER BY fjmc COLLATE PINYIN, rowid"}};
    const int sizes[] = {5000, 50000};
    double perRow[2][2] = {}, plainPerRow[2][2] = {};   // [walk][size]
    for (int k = 0; k < 2; ++k) {
        const QString path = folder.filePath(QStringLiteral("walk%1.mdb").arg(sizes[k]));
        data::createDatabase(path, data::databasePassword());
        seed(path, sizes[k]);
        for (int w = 0; w < 2; ++w) {
            double ours = 0, plain = 0;
            if (!measure(path, walks[w], ours, plain)) {
                std::fprintf(stderr, "table walk in %s over %d formulas: the cells differ from the plain SELECT's\n",
                             walks[w].what, sizes[k]);
                return 1;
            }
            perRow[w][k] = ours / sizes[k];
            plainPerRow[w][k] = plain / sizes[k];
            std::printf("table walk in %s, %d formulas: recordset %.1f ms, plain SELECT %.1f ms, ratio %.2f (limit 1.5%s)\n",
                        walks[w].what, sizes[k], ours, plain, ours / plain, bench::overLimit(ours / plain, 1.5));
        }
    }
    // The cost per row grows with the file as SQLite's own does: at most 1.2 times the
    // plain SELECT's growth.
    for (int w = 0; w < 2; ++w) {
        const double growth = perRow[w][1] / perRow[w][0], plainGrowth = plainPerRow[w][1] / plainPerRow[w][0];
        std::printf("table walk in %s: cost per row 5,000 -> 50,000 grows %.2f, the plain SELECT's %.2f: %.2f times it "
                    "(limit 1.2%s)\n",
                    walks[w].what, growth, plainGrowth, growth / plainGrowth, bench::overLimit(growth / plainGrowth, 1.2));
    }
    return 0;
}
