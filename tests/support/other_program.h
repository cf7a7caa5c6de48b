// Another program on one of our database files: a connection of its own, opened with
// the system's password, as a second copy of the program or another workstation has.
// Tests use it to hold locks and write while the program works on the same file, in
// the test's own process or, through holdWriteLockInChild, in a second one.
#pragma once

#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "support/test_environment.h"

#include <sqlcipher/sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QThread>
#include <cstdio>
#include <cstdlib>

class OtherProgram {
public:
    explicit OtherProgram(const QString& path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        const QByteArray key = data::databasePassword().toUtf8();
        sqlite3_key(db_, key.constData(), static_cast<int>(key.size()));
    }
    ~OtherProgram() { sqlite3_close(db_); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    sqlite3* handle() const { return db_; }

    // SQLite's result code of the statements.
    int run(const QString& sql) { return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }

    // A write transaction left open, holding `rows` new herbs; with `spilled` so many
    // that they no longer fit the page cache and reach the file (its lock is then exclusive).
    void writeWithoutCommit(int rows, bool spilled = false)
    {
        run(QStringLiteral("PRAGMA cache_size=%1; BEGIN IMMEDIATE").arg(spilled ? 10 : 2000));
        run(TestEnvironment::herbsInsert(rows, QStringLiteral("另一程序"), QStringLiteral("hex(randomblob(200))"),
                                         QStringLiteral("ycgy")));
    }

    // A second process, the test program started again, holding the write lock of the
    // file at `path` (no other program can even read it) for `milliseconds`, then
    // committing; returns once the lock is taken. The test's main runs
    // holdWriteLockIfAsked first.
    static void holdWriteLockInChild(QProcess& child, const QString& path, int milliseconds)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZYQHMZ_HOLD_WRITE_LOCK"), path);
        environment.insert(QStringLiteral("ZYQHMZ_HOLD_MILLISECONDS"), QString::number(milliseconds));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        while (child.waitForReadyRead(10000) && !child.readAllStandardOutput().contains("locked")) {
        }
    }
    // In the child: takes and holds the lock, and ends the process. Returns false in
    // the test itself.
    static bool holdWriteLockIfAsked()
    {
        const QByteArray path = qgetenv("ZYQHMZ_HOLD_WRITE_LOCK");
        if (path.isEmpty()) return false;
        OtherProgram other(QFile::decodeName(path));
        if (other.run(QStringLiteral("BEGIN EXCLUSIVE")) != SQLITE_OK) std::exit(1);
        std::puts("locked");
        std::fflush(stdout);
        QThread::msleep(static_cast<unsigned long>(qEnvironmentVariableIntValue("ZYQHMZ_HOLD_MILLISECONDS")));
        std::exit(other.run(QStringLiteral("COMMIT")) == SQLITE_OK ? 0 : 1);
    }

private:
    sqlite3* db_ = nullptr;
};
