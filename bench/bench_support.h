// What the benchmarks share: a temporary Windows folder for the program's globals, a
// plain SQLite connection to one of our files (the key and the collation, nothing else
// of our layer), the plain way of adding a text's terms to a dictionary, a stopwatch,
// and the median of warmed-up runs.
#pragma once

#define SQLITE_HAS_CODEC 1
#include "core/globals.h"
#include "data/database_file.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/dialect.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// Makes `folder` the program's Windows folder; returns where its database file goes.
inline QString useAsWindowsDir(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkpath(QStringLiteral("system"));
    core::WindowsDir = folder.path();
    return folder.filePath(QStringLiteral("system/zyqhmz.mdb"));
}

inline sqlite3* openPlain(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = data::databasePassword().toUtf8();
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    dao::dialect::registerOn(db);
    return db;
}

// Every text the statement `source` selects split by `splitter`, each term looked up
// with `find` and inserted with `insert` when absent (the caller's transaction).
inline void addTermsPlain(sqlite3* db, const char* source, const char* find, const char* insert,
                          const dictionary::TermSplitter& splitter)
{
    sqlite3_stmt* rows = nullptr;
    sqlite3_stmt* lookUp = nullptr;
    sqlite3_stmt* add = nullptr;
    sqlite3_prepare_v2(db, source, -1, &rows, nullptr);
    sqlite3_prepare_v2(db, find, -1, &lookUp, nullptr);
    sqlite3_prepare_v2(db, insert, -1, &add, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows, 0)));
        for (const QString& term : splitter.terms(text)) {
            const QByteArray bytes = term.toUtf8();
            sqlite3_bind_text(lookUp, 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
            const bool found = sqlite3_step(lookUp) == SQLITE_ROW;
            sqlite3_reset(lookUp);
            if (found) continue;
            sqlite3_bind_text(add, 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
            sqlite3_step(add);
            sqlite3_reset(add);
        }
    }
    sqlite3_finalize(rows);
    sqlite3_finalize(lookUp);
    sqlite3_finalize(add);
}

inline double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The median of `values` without the first, the warm-up.
inline double medianOfWarmed(std::vector<double> values)
{
    values.erase(values.begin());
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
