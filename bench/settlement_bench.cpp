// The period settlement of a clinic that settles once a year, so that every stock-out
// waits for its cost: 760,000 and 3.4 million journal rows over 500 drugs, run through
// its menu handler (progress window, one transaction, the journal priced in one pass of
// a slice a drug), against one set-based SQL pass on a plain SQLite connection doing
// the same pricing and re-basing in one transaction, both with the connection's usual
// page cache. The ratio should stay
// at most 1.5 at both sizes, the processor time grow at most 1.15 times as fast as the
// rows, and the peak memory stay within 300 MB. The two sides take turns, each timed run
// on a fresh copy of the same filled file after an untimed run of its own side; min,
// median and max of the timed runs are printed with the totals of both sides, each
// figure with its limit.
#include "bench_support.h"
#include "core/globals.h"
#include "data/database_file.h"
#include "dispensary/settlement_run.h"
#include "platform/dao/dao.h"
#include "platform/dao/dialect.h"
#include "platform/forms/application.h"
#include "platform/forms/services.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int drugs = 500;
constexpr int journalSizes[] = {760000, 3400000};
constexpr int turns = 3;
constexpr double limit = 1.5;
constexpr double growthLimit = 1.15;   // times the growth of the rows
constexpr double memoryLimit = 300;    // MB

void exec(sqlite3* db, const QByteArray& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "settlement_bench: %s\n", message);
        std::exit(1);
    }
}

QByteArray drugName(int i)
{
    return QStringLiteral("药品%1").arg(i, 3, 10, QLatin1Char('0')).toUtf8();
}

// A year's movements: purchases, stock-outs and sales, none of the stock-outs priced
// yet; one drug in twenty sold out (balance 0).
void fill(const QString& path, int journalRows)
{
    data::createDatabase(path, data::databasePassword());
    sqlite3* db = bench::openPlain(path);
    exec(db, "BEGIN");
    std::mt19937 random(7);
    sqlite3_stmt* balance = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO ycyltb VALUES (?,?,?,?)", -1, &balance, nullptr);
    for (int i = 0; i < drugs; ++i) {
        const QByteArray name = drugName(i);
        const double received = 100 + random() % 900;
        sqlite3_bind_text(balance, 1, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(balance, 2, received);
        sqlite3_bind_double(balance, 3, received * (0.5 + (random() % 1000) / 100.0));
        sqlite3_bind_double(balance, 4, i % 20 == 0 ? 0 : static_cast<double>(random() % 100));
        sqlite3_step(balance);
        sqlite3_reset(balance);
    }
    sqlite3_finalize(balance);
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO yccrtb VALUES (?,?,?,' ',' ',' ','2050-01-01',' ',' ',?,?,?,?,?,'张','李')",
                       -1, &row, nullptr);
    for (int i = 0; i < journalRows; ++i) {
        const QByteArray name = drugName(random() % drugs);
        const QByteArray date = QDate(2020, 1, 1).addDays(i * 1826LL / journalRows).toString(Qt::ISODate).toUtf8();
        const int kind = random() % 3;
        const double quantity = 1 + random() % 50;
        sqlite3_bind_text(row, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(row, 3, kind == 0 ? "购进" : kind == 1 ? "出库" : "处方收款出库", -1, SQLITE_STATIC);
        sqlite3_bind_double(row, 4, kind == 0 ? quantity : 0);
        sqlite3_bind_double(row, 5, kind == 0 ? quantity * 3 : 0);
        sqlite3_bind_double(row, 6, kind == 0 ? 0 : quantity);
        sqlite3_bind_double(row, 7, 0);
        sqlite3_bind_double(row, 8, kind == 0 ? 0 : quantity * 5);
        sqlite3_step(row);
        sqlite3_reset(row);
    }
    sqlite3_finalize(row);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// What a run cost: the time on the clock and the processor time of the process, which
// other work on a shared machine disturbs less.
struct Cost {
    double wall = 0, cpu = 0;   // milliseconds
};

Cost costOf(const std::function<void()>& work)
{
    const double cpu = bench::processorNanoseconds() / 1e6;
    const double wall = bench::millisecondsOf(work);
    return {wall, bench::processorNanoseconds() / 1e6 - cpu};
}

Cost settleThroughTheMenuHandler(const QString&)
{
    forms::MessageBoxes::TestHook boxes;   // answers Yes, then OK
    forms::Clock::TestHook clock;          // the 3-second wait returns at once
    core::HoldDb();                        // the program holds its database, keyed, from its start
    const Cost cost = costOf([] { dispensary::Ypjz_Click(); });
    core::ReleaseDb();
    return cost;
}

Cost settleSetBased(const QString& path)
{
    sqlite3* db = bench::openPlain(path);   // keyed before the clock starts
    const Cost elapsed = costOf([db] {
        exec(db, "BEGIN IMMEDIATE");
        exec(db, "UPDATE yccrtb SET ckje=cksl*(SELECT b.rkje/b.rksl FROM ycyltb b WHERE b.ycbm=yccrtb.ycbm) "
                 "WHERE cksl<>0 AND ckje=0 AND ycbm IN (SELECT ycbm FROM ycyltb WHERE rksl<>0)");
        exec(db, "UPDATE ycyltb SET rkje=rkje-(rksl-ycyl)*(rkje/rksl) WHERE ycyl<>0");
        exec(db, "UPDATE ycyltb SET rksl=ycyl");
        exec(db, "DELETE FROM ycyltb WHERE ycyl=0");
        exec(db, "COMMIT");
    });
    sqlite3_close(db);
    return elapsed;
}

// Totals of the settled tables, to check that both ways agree.
QString totals(const QString& path)
{
    dao::Database db = dao::Database::open(path, data::connectText());
    dao::Recordset sums = db.openRecordset(
        QStringLiteral("select (select round(sum(ckje),2) from yccrtb),"
                       "(select round(sum(rkje),2) from ycyltb),(select count(*) from ycyltb)"));
    return sums.field(0).toString() + u'/' + sums.field(1).toString() + u'/' + sums.field(2).toString();
}

struct Figures {
    double min, median, max;
};

Figures figuresOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

// Prints one measure's figures of both sides and the ratio of each turn (the worst
// one against the limit); returns our median.
double report(const char* measure, const std::vector<double>& ourTimes, const std::vector<double>& plainTimes)
{
    std::vector<double> turnRatios;
    for (std::size_t turn = 0; turn < ourTimes.size(); ++turn) turnRatios.push_back(ourTimes[turn] / plainTimes[turn]);
    const Figures ours = figuresOf(ourTimes);
    const Figures plain = figuresOf(plainTimes);
    const Figures ratio = figuresOf(turnRatios);
    std::printf("  %s: menu handler %.0f/%.0f/%.0f ms, set-based SQL %.0f/%.0f/%.0f ms, ratio of each turn "
                "%.2f/%.2f/%.2f (min/median/max; limit %.1f%s)\n",
                measure, ours.min, ours.median, ours.max, plain.min, plain.median, plain.max, ratio.min, ratio.median,
                ratio.max, limit, bench::overLimit(ratio.max, limit));
    return ours.median;
}

// Settles fresh copies of `filled`, the two sides taking turns; returns our median
// processor time, `agree` cleared when the totals of the two sides differ.
double compare(const QString& filled, const QString& live, int journalRows, bool& agree)
{
    using Side = std::function<Cost(const QString&)>;
    const Side sides[] = {settleThroughTheMenuHandler, settleSetBased};
    std::vector<double> wall[2], cpu[2];
    QString results[2];
    for (int turn = 0; turn < turns; ++turn)
        for (int side = 0; side < 2; ++side)
            for (const bool timed : {false, true}) {
                QFile::remove(live);
                QFile::copy(filled, live);
                const Cost cost = sides[side](live);
                if (!timed) continue;
                wall[side].push_back(cost.wall);
                cpu[side].push_back(cost.cpu);
                results[side] = totals(live);
            }
    std::printf("settlement of %d journal rows, %d drugs; totals %s and %s%s\n", journalRows, drugs,
                qPrintable(results[0]), qPrintable(results[1]), results[0] == results[1] ? "" : " DIFFER");
    report("clock", wall[0], wall[1]);
    const double ours = report("processor", cpu[0], cpu[1]);
    std::fflush(stdout);
    agree = agree && results[0] == results[1];
    return ours;
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    QTemporaryDir folder;
    const QString filled = folder.filePath(QStringLiteral("filled.mdb"));
    const QString live = bench::useAsWindowsDir(folder);
    bool agree = true;
    std::vector<double> medians;
    for (const int journalRows : journalSizes) {
        QFile::remove(filled);
        fill(filled, journalRows);
        medians.push_back(compare(filled, live, journalRows, agree));
    }
    const double rows = double(journalSizes[1]) / journalSizes[0];
    const double growth = medians[1] / medians[0];
    const double peak = bench::peakMegabytes();
    std::printf("growth: %.2f times the processor time for %.2f times the rows (limit %.2f%s); "
                "peak memory %.0f MB (limit %.0f%s)\n",
                growth, rows, growthLimit * rows, bench::overLimit(growth, growthLimit * rows), peak, memoryLimit,
                bench::overLimit(peak, memoryLimit));
    return agree ? 0 : 1;
}
