// The plain library's side of a benchmark: a connection to one of our files with the
// key and the same page cache as the database layer's connections (both sides under the
// same conditions), and nothing else of ours unless asked for the pinyin collation.
#pragma once

#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "platform/dao/dialect.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>

namespace bench {

inline sqlite3* openPlain(const QString& path, bool withPinyin = false)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = data::databasePassword().toUtf8();
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    sqlite3_exec(db, "PRAGMA temp_store=MEMORY; PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);   // derives the key
    if (withPinyin) dao::dialect::registerOn(db);
    return db;
}

}  // namespace bench
