// The whole stock journal as one dynaset: 760,000 rows of the 16 journal columns read
// through the stored-query convention against the plain SELECT read through on the
// same open file (at most twice its time, as any stored query), and the process's peak
// memory once the dynaset holds every row (at most 500 MB). Both read every row
// (counted first); the sides in turns.
#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "platform/dao/dao.h"
#include "support/test_environment.h"
#include "plain_connection.h"
#include "timing.h"

#include <sqlcipher/sqlite3.h>

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <cstdio>

namespace {

constexpr int Rows = 760000;

void fillJournal(const TestEnvironment& env)
{
    const QDate first(2020, 1, 1);
    dao::Database db = env.open();
    dao::Transaction transaction(db);
    dao::Recordset journal = db.openTable(QStringLiteral("yccrtb"));
    for (int i = 0; i < Rows; ++i) {
        const bool in = i % 3 == 0;
        journal.addNew();
        journal.setField(0, first.addDays(i / 400));
        journal.setField(1, QStringLiteral("药材名称%1").arg(i % 3000));
        journal.setField(2, in ? QStringLiteral("购进") : QStringLiteral("销售"));
        journal.setField(3, QStringLiteral("甘肃"));
        journal.setField(4, QStringLiteral("药材公司"));
        journal.setField(5, QStringLiteral("P%1").arg(i % 977));
        journal.setField(6, first.addDays(i / 400 + 700));
        journal.setField(7, QStringLiteral("%1").arg(i % 50000));
        journal.setField(8, QStringLiteral("内科"));
        journal.setField(in ? 9 : 11, 10 + i % 90);
        journal.setField(in ? 10 : 12, 12.5 + i % 70);
        journal.setField(13, in ? 0 : 15.75);
        journal.setField(14, QStringLiteral("王药师"));
        journal.setField(15, QStringLiteral("李会计"));
        journal.update();
    }
    transaction.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestEnvironment env;
    try {
        fillJournal(env);
        const double before = bench::peakMegabytes();
        dao::Database db = env.open();
        int ourRows = 0;
        {
            dao::Recordset all = db.storeAndOpen(QStringLiteral("000"), QStringLiteral("select * from yccrtb"));
            ourRows = all.recordCount();
        }
        const double peak = bench::peakMegabytes();   // one dynaset of the whole journal at a time

        sqlite3* plainDb = bench::openPlain(env.databasePath());
        int plainRows = 0;
        const auto plainRead = [&] {
            sqlite3_stmt* select = nullptr;
            sqlite3_prepare_v2(plainDb, "select * from yccrtb", -1, &select, nullptr);
            plainRows = 0;
            for (; sqlite3_step(select) == SQLITE_ROW; ++plainRows)
                for (int c = 0; c < sqlite3_column_count(select); ++c)
                    if (sqlite3_column_type(select, c) == SQLITE_TEXT) sqlite3_column_text(select, c);
            sqlite3_finalize(select);
        };
        plainRead();
        if (ourRows != Rows || plainRows != Rows) {
            std::fprintf(stderr, "journal: the dynaset holds %d rows, the plain SELECT read %d, of %d\n", ourRows, plainRows, Rows);
            return 1;
        }
        const bench::Medians medians = bench::inTurns(
            [&] { dao::Recordset all = db.storeAndOpen(QStringLiteral("000"), QStringLiteral("select * from yccrtb")); },
            plainRead, 3);
        sqlite3_close(plainDb);
        std::printf("whole journal (%d rows) as a dynaset: %.0f ms, plain SELECT read through %.0f ms, ratio %.2f "
                    "(limit 2%s); peak memory %.0f MB (limit 500%s; %.0f MB before reading)\n",
                    Rows, medians.ours, medians.plain, medians.ratio(), bench::overLimit(medians.ratio(), 2), peak,
                    bench::overLimit(peak, 500), before);
        return 0;
    } catch (const dao::Error& error) {
        std::fprintf(stderr, "journal_bench: %s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
}
