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
#include <QStringList>
#include <optional>

struct sqlite3;

namespace dao::dialect {

QString translate(const QString& oldSql);

// The pinyin order of a translated SELECT that a dynaset can give itself after reading
// (cheaper than SQLite's sort through our collation, and an index walks the columns'
// own order): the statement with its closing ORDER BY in that own order, and the
// result columns, by name or by number from 1, to sort the rows by. Only a statement
// ordered by result columns alone, ascending, with nothing after (no LIMIT) has one,
// and a SELECT DISTINCT has none: SQLite drops the repeats before it sorts what is
// left, far less than every row sorted in its own order first (a category list of a
// few names over thousands of rows). A statement with a WHERE is ordered by "+column":
// its rows are found by a scan (or by an index the conditions use) and sorted, as
// walking an ordering index would look up every row of the table to test a condition
// that few rows meet.
struct ReadOrder {
    QString sql;
    QStringList columns;
};
std::optional<ReadOrder> readOrder(const QString& translatedSql);

// A translated SELECT with each quoted text that stands as a compared value (after =,
// <, >, <=, >=, <> or LIKE) made a numbered parameter, and those texts in order: texts
// that differ only in their values share one statement, prepared once.
struct ValueParameters {
    QString sql;
    QStringList values;
};
ValueParameters valuesAsParameters(const QString& translatedSql);

// Installs like() and the PINYIN collation on a freshly opened connection (neither is
// named by the file, so a connection without them still reads and writes it).
void registerOn(sqlite3* connection);

}  // namespace dao::dialect
