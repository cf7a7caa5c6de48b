// Data maintenance against the plain libraries doing the same work, in one run:
//  (a) importing 2.9 million visits into a database that holds 200,000, chosen from
//      the import window's menu, against the same seeks and inserts with prepared
//      SQLite statements in one transaction (ratio at most 1.5), both sides' rows
//      counted and compared; the peak memory of each side, each in a process of its
//      own (ours under 300 MB);
//  (b) backing up a 200 MB database against a plain file copy that also reaches the
//      disk (ratio at most 1.3);
//  (c) restoring that backup and a second one whose every stored page differs, in
//      turns, its check included, against the same plain copy (ratio at most 3), the
//      restored file compared byte for byte; with the check's own share and the
//      restore's peak memory in a process of its own.
// The two sides take turns, each timed run after an untimed one of its own side; the
// figures are the minimum, median and maximum of the turns' ratios. ZYQHMZ_BENCH_TURNS
// sets the number of turns (3); ZYQHMZ_BENCH_IMPORT=0 leaves out (a), whose turns take
// minutes each.
#include "bench_support.h"
#include "core/main_window.h"
#include "maintenance/database_copy.h"
#include "maintenance/import_window.h"
#include "platform/dao/dao.h"
#include "platform/forms/application.h"
#include "platform/forms/textbox.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QSet>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

struct Spread {
    double min, median, max;
};

Spread spreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

struct Figures {
    Spread ours, plain, ratio;
};

// `turns` turns of: an untimed run of ours, a timed one, an untimed run of the plain
// side, a timed one. Each side times itself in milliseconds.
Figures inTurns(int turns, const std::function<double()>& ours, const std::function<double()>& plain)
{
    std::vector<double> oursTimes, plainTimes, ratios;
    for (int i = 0; i < turns; ++i) {
        ours();
        oursTimes.push_back(ours());
        plain();
        plainTimes.push_back(plain());
        ratios.push_back(oursTimes.back() / plainTimes.back());
    }
    return {spreadOf(oursTimes), spreadOf(plainTimes), spreadOf(ratios)};
}

void print(const char* what, const Figures& figures, double limit)
{
    std::printf("%s: ours %.0f/%.0f/%.0f ms, plain %.0f/%.0f/%.0f ms, ratio min/median/max %.2f/%.2f/%.2f "
                "(limit %.1f%s)\n", what, figures.ours.min, figures.ours.median, figures.ours.max, figures.plain.min,
                figures.plain.median, figures.plain.max, figures.ratio.min, figures.ratio.median, figures.ratio.max, limit,
                bench::overLimit(figures.ratio.median, limit));
    std::fflush(stdout);
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

int visitsIn(const QString& path)
{
    sqlite3* db = bench::openPlain(path);
    sqlite3_stmt* count = prepare(db, "SELECT count(*) FROM hzzdzl");
    sqlite3_step(count);
    const int visits = sqlite3_column_int(count, 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return visits;
}

// The import's work with prepared statements: the source read row by row; a visit
// without a record number skipped; a visit of a record number the run brought in
// sought with the full key; any other sought by its record number, held before the
// run (skipped) or new (added); the row stored as the source holds it.
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
        if (sqlite3_column_type(read, 0) == SQLITE_NULL) continue;
        const QString number = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(read, 0))).trimmed();
        const QByteArray sought = number.toUtf8();
        if (newNumbers.contains(number)) {
            sqlite3_bind_text(byKey, 1, sought.constData(), -1, SQLITE_TRANSIENT);
            for (int k = 1; k < 3; ++k) {
                const QByteArray part = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(read, k))).trimmed();
                sqlite3_bind_text(byKey, k + 1, part.constData(), -1, SQLITE_TRANSIENT);
            }
            const bool found = sqlite3_step(byKey) == SQLITE_ROW;
            sqlite3_reset(byKey);
            if (found) continue;
        } else {
            sqlite3_bind_text(byNumber, 1, sought.constData(), -1, SQLITE_TRANSIENT);
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
    return bench::millisecondsOf([visits] { visits->trigger(); });
}

void syncFile(const QString& path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ::fsync(descriptor);
    ::close(descriptor);
}

bool sameBytes(const QString& first, const QString& second)
{
    QFile a(first), b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size()) return false;
    while (!a.atEnd())
        if (a.read(1 << 20) != b.read(1 << 20)) return false;
    return true;
}

// A plain copy of a file that reaches the disk.
double plainCopy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return bench::millisecondsOf([&] {
        std::filesystem::copy_file(from.toStdString(), to.toStdString());
        syncFile(to);
    });
}

// The program as the import window runs in it: its main window, the window open on
// a fresh copy of the held visits.
struct ImportWorld {
    QString database, held, source;
    core::MDIFqhmz mainWindow;
    maintenance::FrmLinkDb* window = nullptr;

    ImportWorld(const QString& database, const QString& folder)
        : database(database), held(folder + QStringLiteral("/held.mdb")), source(folder + QStringLiteral("/source.mdb"))
    {
        mainWindow.wire(QStringLiteral("DateSj"), [] { return new maintenance::FrmLinkDb; });
        freshTarget();
        mainWindow.menuAction(QStringLiteral("DateSj"))->trigger();
        window = qobject_cast<maintenance::FrmLinkDb*>(forms::Form::ActiveForm());
    }
    const QString& freshTarget()
    {
        core::ReleaseDb();
        QFile::remove(database);
        std::filesystem::copy_file(held.toStdString(), database.toStdString());
        core::HoldDb();
        return database;
    }
    double ours()
    {
        freshTarget();
        return importThroughTheWindow(*window, source);
    }
    double plain() { return importWithStatements(freshTarget(), source); }
};

// The peak memory, in megabytes, of one side's import (or of our restore of
// "备份.mdb") in a process of its own.
double peakOf(const QString& program, const QString& folder, const QString& side)
{
    QProcess child;
    child.start(program, {QStringLiteral("--peak"), folder, side});
    child.waitForFinished(-1);
    return child.readAllStandardOutput().trimmed().toDouble();
}

// The peak resident memory of this process since it started, in megabytes. The
// kernel's high-water mark of the process's own memory (VmHWM), not getrusage's,
// which also counts the parent's memory at the fork that started the child.
double peakOfThisProcess()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return bench::peakMegabytes();
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return bench::peakMegabytes();
}

int peakChild(const QString& folder, const QString& side)
{
    core::WindowsDir = folder;
    if (side == QLatin1String("restore")) {
        core::HoldDb();
        maintenance::restoreDatabase(folder + QStringLiteral("/备份.mdb"));
    } else {
        ImportWorld world(data::databasePath(folder), folder);
        if (side == QLatin1String("ours")) world.ours();
        else world.plain();
    }
    core::ReleaseDb();
    std::printf("%.1f\n", peakOfThisProcess());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    forms::Application app(argc, argv);   // the program's application, with its fonts
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--peak")) return peakChild(arguments[2], arguments[3]);
    const int turns = qEnvironmentVariableIntValue("ZYQHMZ_BENCH_TURNS") > 0 ? qEnvironmentVariableIntValue("ZYQHMZ_BENCH_TURNS") : 3;
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    const QString database = bench::useAsWindowsDir(folder);
    const auto path = [&](const char* name) { return folder.filePath(QString::fromUtf8(name)); };
    try {
        // (a) The target holds 100,000 patients with two visits each; the source brings
        // one visit each of those 100,000 (skipped) and four visits each of 700,000 new
        // patients (all added).
        if (qEnvironmentVariable("ZYQHMZ_BENCH_IMPORT") != QLatin1String("0")) {
            addVisits(path("held.mdb"), 0, 100000, 2);
            addVisits(path("source.mdb"), 0, 100000, 1);
            addVisits(path("source.mdb"), 200000, 700000, 4);
            {
                ImportWorld world(database, folder.path());
                if (!world.window) return 1;
                int oursVisits = 0, plainVisits = 0;
                const Figures import = inTurns(
                    turns,
                    [&] {
                        const double elapsed = world.ours();
                        oursVisits = core::OpenDb().openTable(QStringLiteral("hzzdzl")).recordCount();
                        return elapsed;
                    },
                    [&] {
                        const double elapsed = world.plain();
                        plainVisits = visitsIn(database);
                        return elapsed;
                    });
                core::ReleaseDb();
                if (oursVisits != plainVisits || oursVisits != 3000000) {
                    std::fprintf(stderr, "maintenance_bench: %d visits after our import, %d after the plain one\n", oursVisits,
                                 plainVisits);
                    return 1;
                }
                print("(a) import of 2,900,000 visits into 200,000", import, 1.5);
            }
            const double oursPeak = peakOf(argv[0], folder.path(), QStringLiteral("ours"));
            std::printf("(a) peak memory of the import: ours %.0f MB (limit 300%s), plain %.0f MB\n", oursPeak,
                        bench::overLimit(oursPeak, 300), peakOf(argv[0], folder.path(), QStringLiteral("plain")));
        }

        // (b) A database of 200 MB in the Windows folder of the run, held by the program.
        QFile::remove(database);
        QFile::remove(path("source.mdb"));
        for (int first = 0; QFileInfo(database).size() < 200 << 20; first += 100000) addVisits(database, first, 50000, 2);
        core::HoldDb();
        const Figures backup = inTurns(
            turns,
            [&] {
                QFile::remove(path("备份.mdb"));
                const double elapsed = bench::millisecondsOf([&] { maintenance::backupDatabase(path("备份.mdb")); });
                if (!sameBytes(database, path("备份.mdb"))) throw vb::Error(0, QStringLiteral("the backup differs"));
                return elapsed;
            },
            [&] { return plainCopy(database, path("复制.mdb")); });
        print("(b) backup of a 200 MB database", backup, 1.3);

        // (c) Two backups restored over the database in turns: the second was taken
        // after VACUUM wrote every page anew, so no stored page of one is a page of the
        // other and every restore rewrites the whole file (a backup restored over the
        // state it was taken from would find every page in place).
        core::OpenDb().execute(QStringLiteral("VACUUM"));
        maintenance::backupDatabase(path("备份2.mdb"));
        int restored = 0;
        std::vector<double> checks;   // the check alone, of the file each turn restores
        const Figures restore = inTurns(
            turns,
            [&] {
                const QString file = path(++restored % 2 ? "备份.mdb" : "备份2.mdb");
                checks.push_back(bench::millisecondsOf([&] { maintenance::checkSystemDatabase(file); }));
                return bench::millisecondsOf([&] { maintenance::restoreDatabase(file); });
            },
            [&] { return plainCopy(path("备份.mdb"), path("复制.mdb")); });
        if (!sameBytes(database, path(restored % 2 ? "备份.mdb" : "备份2.mdb")))
            throw vb::Error(0, QStringLiteral("the restore differs"));
        core::ReleaseDb();
        print("(c) restore of a 200 MB database, check included", restore, 3);
        const Spread check = spreadOf(checks);
        std::printf("(c) of which the check: %.0f/%.0f/%.0f ms\n", check.min, check.median, check.max);
        std::printf("(c) peak memory of the restore: %.0f MB\n", peakOf(argv[0], folder.path(), QStringLiteral("restore")));
    } catch (const vb::Error& error) {
        std::fprintf(stderr, "maintenance_bench: %s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
