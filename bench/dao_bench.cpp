// Database layer against the plain SQLite library doing the same work, in one run:
//  (a) 10,000 seek-then-add on a dictionary table in one transaction: table recordsets
//      vs prepared statements (ratio should stay at most 2);
//  (b) 1,000 open/close pairs while the program holds the file, as it does for its
//      whole run (under 1 ms a pair), and one open of a file nobody holds, which
//      derives the key (for comparison: what every handler paid before);
//  (c) storing and opening a stored query of 10,000 rows and reading every field as a
//      text vs the plain SELECT read through the same way, both on connections already
//      open (ratio at most 2).
// Each figure is the median of several runs, (a) and (b) on fresh files in a temporary
// folder; in (a) and (c) the sides take turns, and (c) compares the cells read first.
#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "platform/dao/dao.h"

#include <sqlcipher/sqlite3.h>

#include "plain_connection.h"
#include "timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int rows = 10000;
constexpr int runs = 5;

QString term(int i)
{
    return QStringLiteral("活血化瘀%1").arg(i * 7919 % rows);   // keys arrive out of order
}

// The median time in milliseconds that `work` reports over fresh copies of the empty
// database, after one warm-up run.
double medianOf(const QString& folder, const std::function<double(const QString&)>& work)
{
    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        const QString path = folder + QStringLiteral("/run%1.mdb").arg(run);
        QFile::remove(path);
        data::createDatabase(path, data::databasePassword());
        const double time = work(path);
        if (run > 0) times.push_back(time);
        QFile::remove(path);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return statement;
}

double millisecondsSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// (a) and its baseline time the work after the file is open and keyed.
double seekAndAddWithRecordsets(const QString& path)
{
    dao::Database db = dao::Database::open(path, data::connectText());
    QElapsedTimer timer;
    timer.start();
    dao::Transaction transaction(db);
    dao::Recordset rs = db.openTable(QStringLiteral("ycgy"));
    rs.setIndex(QStringLiteral("ycgyi"));
    for (int i = 0; i < rows; ++i) {
        const QString key = term(i);
        rs.seek(QStringLiteral("="), key);
        if (!rs.noMatch()) continue;
        rs.addNew();
        rs.setField(0, key);
        rs.update();
    }
    transaction.commit();
    return millisecondsSince(timer);
}

double seekAndAddWithStatements(const QString& path)
{
    sqlite3* db = bench::openPlain(path);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt* seek = prepare(db, "SELECT rowid FROM ycgy WHERE ycgy=? LIMIT 1");
    sqlite3_stmt* add = prepare(db, "INSERT INTO ycgy(ycgy) VALUES(?)");
    for (int i = 0; i < rows; ++i) {
        const QByteArray key = term(i).toUtf8();
        sqlite3_bind_text(seek, 1, key.constData(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
        const bool found = sqlite3_step(seek) == SQLITE_ROW;
        sqlite3_reset(seek);
        if (found) continue;
        sqlite3_bind_text(add, 1, key.constData(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
        sqlite3_step(add);
        sqlite3_reset(add);
    }
    sqlite3_finalize(seek);
    sqlite3_finalize(add);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double elapsed = millisecondsSince(timer);
    sqlite3_close(db);
    return elapsed;
}

void fillHerbs(const QString& path)
{
    dao::Database db = dao::Database::open(path, data::connectText());
    dao::Transaction transaction(db);
    dao::Recordset rs = db.openTable(QStringLiteral("zyyc"));
    for (int i = 0; i < rows; ++i) {
        rs.addNew();
        rs.setField(0, term(i) + QStringLiteral("草"));
        for (int c = 1; c < 9; ++c) rs.setField(c, QStringLiteral("补血，活血，调经止痛，润肠通便。%1").arg(c));
        rs.update();
    }
    transaction.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    try {
        // (a)
        // The sides in turns, each run on a fresh file.
        const auto onFreshFile = [&folder](double (*work)(const QString&)) {
            return [&folder, work](bench::StepClock& clock) {
                const QString path = folder.path() + QStringLiteral("/turn.mdb");
                QFile::remove(path);
                data::createDatabase(path, data::databasePassword());
                clock.add(work(path));   // the work after the open, as the work times it
                QFile::remove(path);
            };
        };
        const bench::Medians added =
            bench::inTurnsOfSteps(onFreshFile(seekAndAddWithRecordsets), onFreshFile(seekAndAddWithStatements), runs);
        std::printf("(a) %d seek-then-add in one transaction: recordsets %.1f ms, prepared statements %.1f ms, ratio %.2f "
                    "(limit 2%s)\n",
                    rows, added.ours, added.plain, added.ratio(), bench::overLimit(added.ratio(), 2));

        // (b)
        const double pairs = medianOf(folder.path(), [](const QString& path) {
            dao::Database holder = dao::Database::open(path, data::connectText());
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < 1000; ++i) dao::Database::open(path, data::connectText()).close();
            return millisecondsSince(timer);
        });
        const double cold = medianOf(folder.path(), [](const QString& path) {
            QElapsedTimer timer;
            timer.start();
            dao::Database::open(path, data::connectText()).close();
            return millisecondsSince(timer);
        });
        std::printf("(b) 1000 open/close pairs while the program holds the file: %.4f ms a pair (limit 1 ms%s); "
                    "an open of a file nobody holds: %.1f ms\n", pairs / 1000.0, bench::overLimit(pairs / 1000.0, 1), cold);

        // (c)
        const QString path = folder.path() + QStringLiteral("/herbs.mdb");
        data::createDatabase(path, data::databasePassword());
        fillHerbs(path);
        // Both sides work on connections already open, so key derivation is not measured.
        dao::Database holder = dao::Database::open(path, data::connectText());
        sqlite3* plainDb = bench::openPlain(path);
        QStringList ourCells, plainCells;   // the cells of the first run of each, compared
        const auto stored = [&] {
            dao::Database db = dao::Database::open(path, data::connectText());
            dao::Recordset rs = db.storeAndOpen(QStringLiteral("000"), QStringLiteral("select * from zyyc "));
            const bool keep = ourCells.isEmpty();
            for (; !rs.eof(); rs.moveNext())
                for (int c = 0; c < rs.fieldCount(); ++c) {
                    const QString text = rs.field(c).toString();
                    if (keep) ourCells << text;
                }
        };
        const auto select = [&] {
            sqlite3_stmt* statement = prepare(plainDb, "select * from zyyc ");
            const bool keep = plainCells.isEmpty();
            while (sqlite3_step(statement) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                                           sqlite3_column_bytes(statement, c));
                    if (keep) plainCells << text;
                }
            sqlite3_finalize(statement);
        };
        const bench::Medians read = bench::inTurns(stored, select);
        const bool complete = ourCells == plainCells && ourCells.size() == rows * 9;
        sqlite3_close(plainDb);
        if (!complete) return 1;
        std::printf("(c) stored query of %d rows, every field read: store and open %.1f ms, plain SELECT %.1f ms, ratio %.2f "
                    "(limit 2%s)\n",
                    rows, read.ours, read.plain, read.ratio(), bench::overLimit(read.ratio(), 2));
    } catch (const dao::Error& error) {
        std::fprintf(stderr, "dao_bench: %s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
