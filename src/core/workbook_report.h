// The one writer of workbook reports (the drug list, the stock reports, the
// stock-taking sheet, the formula query's export). A report is described by a table,
// not by a function of its own:
//
//   const core::WorkbookReport report{
//       QStringLiteral("c:\\my documents\\药品编码名称对照表.xls"),
//       {{QStringLiteral("药品编码"), core::ReportColumn::Kind::Text, {}, 8.8},
//        {QStringLiteral("药品价格"), core::ReportColumn::Kind::Number, QStringLiteral("#,##0.00_ "), 9}},
//   };
//   core::writeWorkbookReport(report, [&](std::vector<vb::Variant>& row) {
//       if (done) return false;   // no more rows
//       row = {...};              // one value per column
//       return true;
//   });
//
// The writer first refuses a file it could not save (a folder of the report's name, a
// missing folder, a folder the user may not write in), then writes the fixed cells (titles,
// dates) and the header row, then the rows it pulls from the source one at a time,
// each cell typed by what its column holds, never by the look of its text (a text in
// a number or date column is read as the number or date it shows, so the spreadsheet
// can sum and format it; a text column keeps "0000123" with its zeros; a value that
// is no text keeps its own type), in the sheet's font (all cells,
// empty ones too), with the column's number format; sets the widths (a column of width
// 0 is fitted to its widest cell), saves, and shows the closing message. Rows are
// streamed to the file (office::SheetStream): a report of any length costs linear time
// and bounded memory; one that does not fit a sheet is refused. An older file of the
// report's name is replaced only once the new one is complete, so a failed report
// leaves it as it was and writes no half file. Errors are raised (office::Error, vb
// conversions, file errors) for the caller's error trap; events run between rows a few
// times a second, so the caller holds its window's PumpScope.
#pragma once

#include "platform/vb/variant.h"

#include <QString>
#include <functional>
#include <vector>

namespace core {

struct ReportColumn {
    enum class Kind { Text, Number, Date };
    QString header;
    Kind kind = Kind::Text;
    QString numberFormat;   // e.g. "#,##0.00_ ", "yyyy-mm-dd"; a date without one gets the short date
    double width = 0;       // in characters; 0 fits the column to its widest cell
    static constexpr double DefaultWidth = -1;   // keeps the sheet's default width
};

struct WorkbookReport {
    QString path;                        // Windows-style ("c:\my documents\...") or a host path
    std::vector<ReportColumn> columns;   // from column A on
    int headerRow = 2;
    int firstDataRow = 5;
    struct FixedCell {
        int row, column;   // 1-based, above the first data row
        vb::Variant value;
    };
    std::vector<FixedCell> fixedCells = {};   // titles, dates
    QString fontName = QStringLiteral("宋体 ");
    double fontSize = 9;
    QString closingMessage = QStringLiteral("生成图表已经存放在我的文档中，请查收");
};

// Fills `row` with the next row's values, one per column, and returns true; false
// once there are no more rows.
using ReportRows = std::function<bool(std::vector<vb::Variant>& row)>;

// Writes `report` with the rows of `nextRow`; `beforeSave` runs once the rows are
// written, before the file is saved (a pause after printing), `afterSave` once it is
// saved, before the closing message (a wait with the window's buttons disabled). The
// closing message is an information box with an empty title.
void writeWorkbookReport(const WorkbookReport& report, const ReportRows& nextRow,
                         const std::function<void()>& beforeSave = {},
                         const std::function<void()>& afterSave = {});

}  // namespace core
