// The four stock reports of the stock queries window, each described once: the
// stored query it is read through, its SQL over the stock tables, its file name and
// its sheet (headers in row 2, records from row 4, one column per selected field,
// date and number formats, widths), written by the one workbook report writer
// (core/workbook_report.h).
#pragma once

#include "core/workbook_report.h"
#include "platform/dao/dao.h"

#include <QString>
#include <functional>

namespace dispensary {

enum class StockReportKind { StockIn, StockOut, Balance, Ledger };

// The selection of a stock query: the date range as the date boxes hold it and, when
// a drug is asked for, its name (empty: every drug).
struct StockSelection {
    QString start;
    QString end;
    QString drugName;
    bool oneDrug = false;
};

// The stored query's name ("ycrk", "ycck", "ycjy"; the ledger shares "ycck").
QString stockQueryName(StockReportKind kind);
QString stockQuerySql(StockReportKind kind, const StockSelection& selection);
// "c:\my documents\<start> 至 <end><ending>", the ending naming the report.
QString stockReportPath(StockReportKind kind, const StockSelection& selection);

// Writes the report of `kind` from `records`, the rows of its stored query, saved
// under `path`; `afterSave` runs once the file is saved, before the closing message.
void writeStockReport(dao::Recordset& records, StockReportKind kind, const QString& path,
                      const std::function<void()>& afterSave);

}  // namespace dispensary
