// The old SQL dialect that the windows' SQL texts are written in, translated to
// SQLite's in this one place:
//   "delete * from t"      -> "delete from t"
//   #2024-03-05#           -> '2024-03-05'   (also #2024/3/5#)
//   select distinct ...    -> gets "ORDER BY" its columns when it has none (the old
//                             engine returned distinct lists sorted)
//   ORDER BY terms         -> ordered by the PINYIN collation unless they name one
// Quoted strings and quoted names are never changed. LIKE keeps its old patterns: the
// like() function of every connection is the old engine's matcher (like_pattern.h).
#pragma once

#include <QString>

struct sqlite3;

namespace dao::dialect {

QString translate(const QString& oldSql);

// Installs like() and the PINYIN collation on a freshly opened connection (neither is
// named by the file, so a connection without them still reads and writes it).
void registerOn(sqlite3* connection);

}  // namespace dao::dialect
