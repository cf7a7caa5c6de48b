// What the dispensary reads of the outpatient visits (table hzzdzl): one visit found by
// its key (record number, department, visit date) through the index zdbmi, and the
// list of departments that have visits. The consultation window writes the table;
// the pricing window only reads it, inside a database it has opened itself.
#pragma once

#include "platform/dao/dao.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace outpatient {

// The columns of one visit that the pricing window uses.
struct Visit {
    QString recordNumber;   // blbm
    QString department;     // blkb
    QString prescription;   // blcf, may hold several lines
    QString doctor;         // zdys
};

// Seeks hzzdzl on zdbmi for equality on (record number, department, "yyyy-mm-dd").
// No such visit: nullopt. Database failures throw dao::Error.
std::optional<Visit> findVisit(dao::Database& db, const QString& recordNumber,
                               const QString& department, const QString& dateText);

// The distinct departments of all visits, in the order the query returns them, through
// the stored query "000" ("select distinct blkb from hzzdzl "). A Null department names
// no department and is left out, so an empty list means no visit can be priced.
QStringList visitDepartments(dao::Database& db);

}  // namespace outpatient
