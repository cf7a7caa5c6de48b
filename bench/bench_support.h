// What the benchmarks share: a temporary Windows folder for the program's globals, a
// plain SQLite connection to one of our files (the key and the collation, nothing else
// of our layer), a stopwatch, and the median of warmed-up runs.
#pragma once

#define SQLITE_HAS_CODEC 1
#include "core/globals.h"
#include "data/database_file.h"
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
