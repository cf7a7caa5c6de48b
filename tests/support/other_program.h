// Another program on one of our database files: a connection of its own, opened with
// the system's password, as a second copy of the program or another workstation has.
// Tests use it to hold locks and write while the program works on the same file.
#pragma once

#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QString>

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

    // SQLite's result code of the statements.
    int run(const QString& sql) { return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }

    // A write transaction left open, holding `rows` new herbs; with `spilled` so many
    // that they no longer fit the page cache and reach the file (its lock is then exclusive).
    void writeWithoutCommit(int rows, bool spilled = false)
    {
        run(QStringLiteral("PRAGMA cache_size=%1; BEGIN IMMEDIATE").arg(spilled ? 10 : 2000));
        run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO zyyc(ycmc, ycgy) SELECT '另一程序' || i, hex(randomblob(200)) FROM n")
                .arg(rows));
    }

private:
    sqlite3* db_ = nullptr;
};
