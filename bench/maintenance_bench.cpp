// Data maintenance against the plain libraries doing the same work, in one run:
//  (a) importing 100,000 visits into a database that holds 100,000, chosen from the
//      import window's menu, against the same seeks and inserts with prepared
//      SQLite statements in one transaction (ratio at most 1.5);
//  (b) backing up a 200 MB database file against a plain file copy that also
//      reaches the disk (ratio at most 1.2).
// Each time is the median of warmed-up runs on fresh copies in a temporary folder,
// the two sides running in turns; the ratio is the median of the turns' ratios.
#include "bench_support.h"
#include "core/main_window.h"
#include "maintenance/database_copy.h"
#include "maintenance/import_window.h"
#include "platform/dao/dao.h"
#include "platform/forms/application.h"
#include "platform/forms/textbox.h"

#include <QAction>
#include <QMenu>
#include <QSet>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int visits = 100000;
constexpr int warmUps = 1;
constexpr int runs = 7;

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Figures {
    double ours, plain, ratio;
};

// Runs `ours` and `plain` (each timing itself, in milliseconds) in turns after the
// warm-up turns, so that a change in the machine's load falls on both; the medians of
// each and the median of the turns' ratios.
Figures compare(const std::function<double()>& ours, const std::function<double()>& plain)
{
    for (int i = 0; i < warmUps; ++i) ours(), plain();
    std::vector<double> oursTimes, plainTimes, ratios;
    for (int i = 0; i < runs; ++i) {
        oursTimes.push_back(ours());
        plainTimes.push_back(plain());
        ratios.push_back(oursTimes.back() / plainTimes.back());
    }
    return {median(oursTimes), median(plainTimes), median(ratios)};
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return statement;
}

void bindText(sqlite3_stmt* statement, int position, const QByteArray& text)
{
    sqlite3_bind_text(statement, position, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Adds to the file at `path` `perPatient` visits for each of `patients` record
// numbers from `first`, one a month from January.
void addVisits(const QString& path, int first, int patients, int perPatient)
{
    if (!QFile::exists(path)) data::createDatabase(path, data::databasePassword());
    sqlite3* db = bench::openPlain(path);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = prepare(db, "INSERT INTO hzzdzl VALUES(?,?,?,'15/20',72,18,?,?,?,?,?,?)");
    for (int p = first; p < first + patients; ++p)
        for (int v = 0; v < perPatient; ++v) {
            const QByteArray date = QStringLiteral("2024-%1-%2")
                                        .arg(1 + v, 2, 10, QChar(u'0'))
                                        .arg(1 + p % 28, 2, 10, QChar(u'0'))
                                        .toUtf8();
            bindText(insert, 1, QStringLiteral("B%1").arg(p, 7, 10, QChar(u'0')).toUtf8());
            bindText(insert, 2, p % 2 ? "内科" : "妇科");
            bindText(insert, 3, date);
            bindText(insert, 4, "头痛发热，恶寒无汗，脉浮紧。");
            bindText(insert, 5, "辛温解表");
            bindText(insert, 6, "麻黄9克 桂枝6克 杏仁9克 甘草3克");
            bindText(insert, 7, "水煎服，日一剂");
            bindText(insert, 8, date);
            bindText(insert, 9, "李医生");
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The import's work with prepared statements: a visit of a record number the run
// brought in is sought with the full key; any other seeks its record number, held
// before the run (skipped) or new (added).
double importWithStatements(const QString& target, const QString& source)
{
    sqlite3* to = bench::openPlain(target);
    sqlite3* from = bench::openPlain(source);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(to, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt* read = prepare(from, "SELECT * FROM hzzdzl");
    sqlite3_stmt* byNumber = prepare(to, "SELECT rowid FROM hzzdzl WHERE blbm=? ORDER BY blkb, blsj LIMIT 1");
    sqlite3_stmt* byKey = prepare(to, "SELECT rowid FROM hzzdzl WHERE blbm=? AND blkb=? AND blsj=? LIMIT 1");
    sqlite3_stmt* add = prepare(to, "INSERT INTO hzzdzl VALUES(?,?,?,?,?,?,?,?,?,?,?,?)");
    QSet<QString> newNumbers;
    while (sqlite3_step(read) == SQLITE_ROW) {
        const QString number = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(read, 0))).trimmed();
        if (newNumbers.contains(number)) {
            for (int k = 0; k < 3; ++k) sqlite3_bind_value(byKey, k + 1, sqlite3_column_value(read, k));
            const bool found = sqlite3_step(byKey) == SQLITE_ROW;
            sqlite3_reset(byKey);
            if (found) continue;
        } else {
            sqlite3_bind_text(byNumber, 1, number.toUtf8().constData(), -1, SQLITE_TRANSIENT);
            const bool held = sqlite3_step(byNumber) == SQLITE_ROW;
            sqlite3_reset(byNumber);
            if (held) continue;
            newNumbers.insert(number);
        }
        for (int c = 0; c < 12; ++c) sqlite3_bind_value(add, c + 1, sqlite3_column_value(read, c));
        sqlite3_step(add);
        sqlite3_reset(add);
    }
    for (sqlite3_stmt* statement : {read, byNumber, byKey, add}) sqlite3_finalize(statement);
    sqlite3_exec(to, "COMMIT", nullptr, nullptr, nullptr);
    const double elapsed = timer.nsecsElapsed() / 1e6;
    sqlite3_close(to);
    sqlite3_close(from);
    return elapsed;
}

// The import window's visit import, chosen from its menu; the program holds its own
// file and the source is held open around it, so that neither side measures the key
// derivation.
double importThroughTheWindow(maintenance::FrmLinkDb& window, const QString& source)
{
    dao::Database holdSource = dao::Database::open(source, data::connectText(), dao::Database::Access::ReadOnly);
    window.TxtFile->setText(source);
    QAction* visits = window.pupmenu1->findChild<QAction*>(QStringLiteral("LinkZdhz"));
    const double elapsed = bench::millisecondsOf([visits] { visits->trigger(); });
    const int held = core::OpenDb().openTable(QStringLiteral("hzzdzl")).recordCount();
    if (held != 175000) std::fprintf(stderr, "maintenance_bench: %d visits held after the import\n", held);
    return elapsed;
}

void syncFile(const QString& path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    const QString database = bench::useAsWindowsDir(folder);
    const auto path = [&](const char* name) { return folder.filePath(QString::fromUtf8(name)); };
    try {
        // (a) The target holds 50,000 patients with two visits each; the source brings
        // one visit each of 25,000 held record numbers (skipped) and three visits each
        // of 25,000 new patients (all added).
        addVisits(path("held.mdb"), 0, 50000, 2);
        addVisits(path("source.mdb"), 0, 25000, 1);
        addVisits(path("source.mdb"), 50000, 25000, 3);
        const auto freshTarget = [&] {
            core::ReleaseDb();
            QFile::remove(database);
            std::filesystem::copy_file(path("held.mdb").toStdString(), database.toStdString());
            core::HoldDb();
            return database;
        };
        core::MDIFqhmz mainWindow;
        mainWindow.wire(QStringLiteral("DateSj"), [] { return new maintenance::FrmLinkDb; });
        freshTarget();
        mainWindow.menuAction(QStringLiteral("DateSj"))->trigger();
        auto* window = qobject_cast<maintenance::FrmLinkDb*>(forms::Form::ActiveForm());
        if (!window) return 1;
        const Figures import = compare(
            [&] {
                freshTarget();
                return importThroughTheWindow(*window, path("source.mdb"));
            },
            [&] { return importWithStatements(freshTarget(), path("source.mdb")); });
        core::ReleaseDb();
        std::printf("(a) import of %d visits into %d: the window's import %.1f ms, prepared statements %.1f ms, ratio %.2f\n",
                    visits, visits, import.ours, import.plain, import.ratio);

        // (b) A database file of 200 MB in the Windows folder of the run.
        QFile::remove(database);
        {
            QFile file(database);
            if (!file.open(QIODevice::WriteOnly)) return 1;
            QByteArray block(1 << 20, '\0');
            for (int mb = 0; mb < 200; ++mb) {
                for (int i = 0; i < block.size(); i += 64) block[i] = static_cast<char>(mb + i);
                file.write(block);
            }
        }
        // Both copies write a new file: replacing an old one would add the freeing of
        // its 200 MB to whichever side met it.
        const Figures backup = compare(
            [&] {
                QFile::remove(path("备份.mdb"));
                return bench::millisecondsOf([&] { maintenance::backupDatabase(path("备份.mdb")); });
            },
            [&] {
                QFile::remove(path("复制.mdb"));
                return bench::millisecondsOf([&] {
                    std::filesystem::copy_file(database.toStdString(), path("复制.mdb").toStdString());
                    syncFile(path("复制.mdb"));
                });
            });
        std::printf("(b) backup of a 200 MB file: backup %.1f ms, plain copy and flush %.1f ms, ratio %.2f\n", backup.ours,
                    backup.plain, backup.ratio);
    } catch (const vb::Error& error) {
        std::fprintf(stderr, "maintenance_bench: %s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
