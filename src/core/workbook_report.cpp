// The workbook report writer; see workbook_report.h.
#include "core/workbook_report.h"

#include "platform/forms/services.h"
#include "platform/office/sheet_stream.h"
#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"
#include "platform/win/filecopy.h"
#include "platform/win/paths.h"

#include <algorithm>

namespace core {

namespace {

// How often the window gets its events while rows are written, in milliseconds.
constexpr int PumpInterval = 50;

vb::Error tooManyRows()
{
    return vb::Error(1004, QStringLiteral("查询结果超过一张工作表所能容纳的 %1 行，没有生成图表").arg(office::SheetStream::maxRows()));
}

// A value as its column types it: a text in a number or date column is the number or
// date it shows; an empty text stays empty.
vb::Variant typed(const vb::Variant& value, ReportColumn::Kind kind)
{
    if (value.type() != vb::Variant::Type::Text || value.toString().trimmed().isEmpty()) return value;
    switch (kind) {
    case ReportColumn::Kind::Number: return vb::CDbl(value);
    case ReportColumn::Kind::Date: return vb::CDate(value);
    case ReportColumn::Kind::Text: break;
    }
    return value;
}

// The fixed cells and the header row, in row order as the sheet takes them.
void writeHead(const WorkbookReport& report, office::SheetStream& sheet)
{
    std::vector<WorkbookReport::FixedCell> head = report.fixedCells;
    int number = 0;
    for (const ReportColumn& column : report.columns) head.push_back({report.headerRow, ++number, column.header});
    std::stable_sort(head.begin(), head.end(), [](const auto& a, const auto& b) { return a.row < b.row; });
    for (const WorkbookReport::FixedCell& cell : head) sheet.write(cell.row, cell.column, cell.value);
}

}  // namespace

void writeWorkbookReport(const WorkbookReport& report, const ReportRows& nextRow,
                         const std::function<void()>& beforeSave, const std::function<void()>& afterSave)
{
    // A file that could not be saved is refused before the user waits for the rows.
    win::refuseUnwritableTarget(win::hostPath(report.path));
    office::SheetStream sheet(report.fontName, report.fontSize);
    int number = 0;
    for (const ReportColumn& column : report.columns) {
        ++number;
        if (column.width == 0) sheet.fitColumn(number);
    }
    writeHead(report, sheet);

    forms::EventSlice pump(PumpInterval);
    std::vector<vb::Variant> row;
    for (int sheetRow = report.firstDataRow; nextRow(row); ++sheetRow) {
        if (sheetRow > office::SheetStream::maxRows()) throw tooManyRows();
        // A short row leaves its last cells empty; values past the last column are left out.
        const std::size_t cells = std::min(report.columns.size(), row.size());
        for (std::size_t c = 0; c < cells; ++c) {
            const ReportColumn& column = report.columns[c];
            sheet.write(sheetRow, static_cast<int>(c) + 1, typed(row[c], column.kind), column.numberFormat);
        }
        pump.DoEvents();
    }
    forms::DoEvents();
    number = 0;
    for (const ReportColumn& column : report.columns) {
        ++number;
        if (column.width == 0)
            sheet.autoFit(number);
        else if (column.width != ReportColumn::DefaultWidth)
            sheet.setColumnWidth(number, column.width);
    }

    if (beforeSave) beforeSave();
    sheet.saveAs(report.path);
    if (afterSave) afterSave();
    forms::MsgBox(report.closingMessage, forms::vbInformation, QString());
}

}  // namespace core
