// Reading visits for the dispensary; see visits.h.
#include "outpatient/visits.h"

namespace outpatient {

namespace {
// Field ordinals of hzzdzl that the dispensary reads.
constexpr int RecordNumber = 0;
constexpr int Department = 1;
constexpr int Prescription = 8;
constexpr int Doctor = 11;
}  // namespace

std::optional<Visit> findVisit(dao::Database& db, const QString& recordNumber,
                               const QString& department, const QString& dateText)
{
    dao::Recordset visits = db.openTable(QStringLiteral("hzzdzl"));
    visits.setIndex(QStringLiteral("zdbmi"));
    visits.seek(QStringLiteral("="), recordNumber, department, dateText);
    if (visits.noMatch())
        return std::nullopt;
    Visit visit{visits.field(RecordNumber).toString(), visits.field(Department).toString(),
                visits.field(Prescription).toString(), visits.field(Doctor).toString()};
    visits.close();
    return visit;
}

QStringList visitDepartments(dao::Database& db)
{
    dao::Recordset rows = db.storeAndOpen(QStringLiteral("000"),
                                          QStringLiteral("select distinct blkb from hzzdzl "));
    QStringList departments;
    for (; !rows.eof(); rows.moveNext()) {
        const vb::Variant department = rows.field(0);
        if (!department.isNull())
            departments << department.toString();
    }
    rows.close();
    return departments;
}

}  // namespace outpatient
