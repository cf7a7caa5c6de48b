// Drugs and stock rows shared by the stock window tests: a small drug list with
// Chinese names, one drug whose code and name hold an apostrophe, and readers of the
// stock tables as the file holds them.
#pragma once

#include "support/test_environment.h"

#include <QDate>
#include <QString>

namespace stocktest {

// ycjg: code, name, sales price, unit, category.
inline void seedDrugList(const TestEnvironment& env)
{
    env.insert("ycjg", {"DG01", "当归", 12.5, "克", "补血药"});
    env.insert("ycjg", {"HQ02", "黄芪", 0.8, "克", "补气药"});
    env.insert("ycjg", {"O'1", "王不留'行", 2.0, "克", "活血药"});
}

// One row of a table, by ordinal, read back from the file.
struct Row {
    std::vector<vb::Variant> fields;
    QString text(int ordinal) const { return fields.at(ordinal).toString(); }
    double number(int ordinal) const { return fields.at(ordinal).toDouble(); }
    QDate date(int ordinal) const { return fields.at(ordinal).toDate(); }
    // Every field as text (dates as yyyy-MM-dd, numbers plain), to compare a whole row.
    QStringList texts() const
    {
        QStringList all;
        for (const vb::Variant& field : fields) all << field.toString();
        return all;
    }
    bool operator==(const Row&) const = default;
};

inline std::vector<Row> rowsOf(const TestEnvironment& env, const QString& table)
{
    dao::Database db = env.open();
    dao::Recordset rs = db.openTable(table);
    std::vector<Row> rows;
    for (; !rs.eof(); rs.moveNext()) {
        Row row;
        for (int i = 0; i < rs.fieldCount(); ++i) row.fields.push_back(rs.field(i));
        rows.push_back(row);
    }
    return rows;
}

// The balance row of a drug (rksl, rkje, ycyl), or -1s when it has none.
struct Balance {
    double quantityIn = -1;
    double amountIn = -1;
    double onHand = -1;
    bool operator==(const Balance&) const = default;
};

inline Balance balanceOf(const TestEnvironment& env, const QString& drugName)
{
    for (const Row& row : rowsOf(env, "ycyltb"))
        if (row.text(0) == drugName) return {row.number(1), row.number(2), row.number(3)};
    return {};
}

}  // namespace stocktest
