// The plain library's side of a benchmark: a connection to one of our files with the
// key, the same page cache and the same threading mode (no locking of its own) as the
// database layer's connections (both sides under the same conditions), and nothing else
// of ours unless asked for the pinyin collation (its texts are matched by SQLite's own
// LIKE); the plain way of adding a text's terms to a dictionary, and of reading a
// column back for comparing results.
#pragma once

#define SQLITE_HAS_CODEC 1
#include "data/database_file.h"
#include "dictionary/term_splitter.h"
#include "platform/dao/pinyin_collation.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QSet>
#include <QStringList>

namespace bench {

inline sqlite3* openPlain(const QString& path, bool withPinyin = false)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const QByteArray key = data::databasePassword().toUtf8();
    sqlite3_key(db, key.constData(), static_cast<int>(key.size()));
    sqlite3_exec(db, "PRAGMA temp_store=MEMORY; PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);   // derives the key
    if (withPinyin)
        sqlite3_create_collation(db, dao::PinyinCollation::name, SQLITE_UTF8, nullptr,
                                 [](void*, int aLength, const void* a, int bLength, const void* b) {
                                     return dao::PinyinCollation::compare(static_cast<const char*>(a), aLength,
                                                                          static_cast<const char*>(b), bLength);
                                 });
    return db;
}

// Every text the statement `source` selects split by `splitter`, each term inserted
// with `insert` unless the dictionary holds it already. The caller's transaction has
// just emptied the dictionary, so it holds the terms added here: the answer comes from
// memory, comparing as the dictionary's index does (A to Z without case).
inline void addTermsPlain(sqlite3* db, const char* source, const char* insert, const dictionary::TermSplitter& splitter)
{
    QSet<QByteArray> held;
    sqlite3_stmt* rows = nullptr;
    sqlite3_stmt* add = nullptr;
    sqlite3_prepare_v2(db, source, -1, &rows, nullptr);
    sqlite3_prepare_v2(db, insert, -1, &add, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows, 0)));
        for (const QString& term : splitter.terms(text)) {
            const QByteArray bytes = term.toUtf8();
            QByteArray compared = bytes;
            for (char& c : compared)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (held.contains(compared)) continue;
            held.insert(compared);
            sqlite3_bind_text(add, 1, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_STATIC);
            sqlite3_step(add);
            sqlite3_reset(add);
        }
    }
    sqlite3_finalize(rows);
    sqlite3_finalize(add);
}

// The texts of the first column of every row `sql` selects, in the order it gives them.
inline QStringList textsOf(sqlite3* db, const char* sql)
{
    QStringList texts;
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &rows, nullptr);
    while (sqlite3_step(rows) == SQLITE_ROW)
        texts << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows, 0)), sqlite3_column_bytes(rows, 0));
    sqlite3_finalize(rows);
    return texts;
}

}  // namespace bench
