// The database format, described once: every table of zyqhmz.mdb with its columns in
// order (windows address fields by ordinal, SQL texts by name) and its named indexes.
// The build tool and the tests make database files from this description; the
// program itself never creates a table.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace data {

struct Column {
    enum class Type { Text, Number, Date, Bytes };
    QString name;
    Type type;

    // The column's whole declaration in the file: its type and, for texts compared
    // without regard to case, the collation ("TEXT COLLATE NOCASE", "REAL", "TEXT").
    QString declaration() const;
    // The collation its comparisons and its indexes use: "NOCASE" or "BINARY".
    QString collation() const;
};

struct Index {
    QString name;            // the table's own name for it, e.g. "ycmci"
    QStringList columns;
    bool unique;
};

struct Table {
    QString name;
    std::vector<Column> columns;
    std::vector<Index> indexes;

    // CREATE TABLE and CREATE INDEX statements for SQLite, needing nothing but SQLite to
    // read, check or write: texts compare without regard to the case of letters
    // (COLLATE NOCASE; the pinyin order the windows show comes from the database
    // layer), numbers and money are REAL, dates are ISO texts yyyy-mm-dd;
    // an index is stored under the physical name "<table>_<index>".
    QString createStatements() const;
};

const std::vector<Table>& tables();
const Table* findTable(const QString& name);   // without regard to case; nullptr if unknown

}  // namespace data
