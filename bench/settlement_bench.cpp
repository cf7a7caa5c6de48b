// The period settlement over five years of journal (750,000 rows, 500 drugs) run
// through its menu handler (progress window, one transaction, a statement a drug),
// against one set-based SQL pass on a plain SQLite connection doing the same pricing
// and re-basing in one transaction. The ratio should stay at most 2. Each figure is
// the median of warmed-up runs, each run on a fresh copy of the same filled file; the
// two results are checked to agree.
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
constexpr int journalRows = 750000;
constexpr int runs = 5;   // the first is a warm-up

void exec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "settlement_bench: %s\n", message);
        std::exit(1);
    }
}

QByteArray drugName(int i)
{
    return QStringLiteral("药品%1").arg(i, 3, 10, QLatin1Char('0')).toUtf8();
}

// Five years of movements: purchases, stock-outs and sales, half of the stock-outs
// priced by earlier settlements; one drug in twenty sold out (balance 0).
void fill(const QString& path)
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
        sqlite3_bind_double(row, 7, kind != 0 && i < journalRows / 2 ? quantity * 2 : 0);
        sqlite3_bind_double(row, 8, kind == 0 ? 0 : quantity * 5);
        sqlite3_step(row);
        sqlite3_reset(row);
    }
    sqlite3_finalize(row);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

double settleThroughTheMenuHandler(const QString&)
{
    forms::MessageBoxes::TestHook boxes;   // answers Yes, then OK
    forms::Clock::TestHook clock;          // the 3-second wait returns at once
    return bench::millisecondsOf([] { dispensary::Ypjz_Click(); });
}

double settleSetBased(const QString& path)
{
    sqlite3* db = bench::openPlain(path);
    exec(db, "SELECT count(*) FROM sqlite_master");   // keyed and read before the clock starts
    const double elapsed = bench::millisecondsOf([db] {
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

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    QTemporaryDir folder;
    const QString filled = folder.filePath(QStringLiteral("filled.mdb"));
    const QString live = bench::useAsWindowsDir(folder);
    fill(filled);

    std::vector<double> ours;
    std::vector<double> plain;
    QString ourTotals;
    QString plainTotals;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(live);
        QFile::copy(filled, live);
        ours.push_back(settleThroughTheMenuHandler(live));
        ourTotals = totals(live);
        QFile::remove(live);
        QFile::copy(filled, live);
        plain.push_back(settleSetBased(live));
        plainTotals = totals(live);
    }
    const double a = bench::medianOfWarmed(ours);
    const double b = bench::medianOfWarmed(plain);
    std::printf("settlement of %d journal rows, %d drugs: menu handler %.1f ms, set-based SQL %.1f ms, "
                "ratio %.2f (limit 2); totals %s and %s%s\n",
                journalRows, drugs, a, b, a / b, qPrintable(ourTotals), qPrintable(plainTotals),
                ourTotals == plainTotals ? "" : " DIFFER");
    return ourTotals == plainTotals ? 0 : 1;
}
