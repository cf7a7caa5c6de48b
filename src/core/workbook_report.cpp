// The workbook report writer; see workbook_report.h.
#include "core/workbook_report.h"

#include "platform/forms/services.h"
#include "platform/office/sheet_stream.h"
#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"
#include "platform/win/file_error.h"
#include "platform/win/paths.h"

#include <algorithm>
#include <filesystem>

namespace core {

namespace {

// An older file of the report's name goes first; a folder of that name stays.
void removeOldFile(const QString& path)
{
    const std::filesystem::path host(win::hostPath(path).toStdString());
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::symlink_status(host, failure);
    if (failure || !std::filesystem::exists(status)) return;
    if (std::filesystem::is_directory(status)) throw win::fileAccessError();
    std::filesystem::remove(host, failure);
    if (failure) throw win::fileError(failure.value());
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
    for (std::size_t c = 0; c < report.columns.size(); ++c)
        head.push_back({report.headerRow, static_cast<int>(c) + 1, report.columns[c].header});
    std::stable_sort(head.begin(), head.end(), [](const auto& a, const auto& b) { return a.row < b.row; });
    for (const WorkbookReport::FixedCell& cell : head) sheet.write(cell.row, cell.column, cell.value);
}

}  // namespace

void writeWorkbookReport(const WorkbookReport& report, const ReportRows& nextRow,
                         const std::function<void()>& beforeSave)
{
    removeOldFile(report.path);
    office::SheetStream sheet(report.fontName, report.fontSize);
    writeHead(report, sheet);

    const std::size_t columns = report.columns.size();
    std::vector<vb::Variant> row;
    for (int sheetRow = report.firstDataRow; nextRow(row); ++sheetRow) {
        for (std::size_t c = 0; c < columns && c < row.size(); ++c) {
            const ReportColumn& column = report.columns[c];
            sheet.write(sheetRow, static_cast<int>(c) + 1, typed(row[c], column.kind), column.numberFormat);
        }
        forms::DoEvents();
    }
    for (std::size_t c = 0; c < columns; ++c) {
        const int column = static_cast<int>(c) + 1;
        if (report.columns[c].width > 0)
            sheet.setColumnWidth(column, report.columns[c].width);
        else
            sheet.autoFit(column);
    }

    if (beforeSave) beforeSave();
    sheet.saveAs(report.path);
    forms::MsgBox(report.closingMessage, forms::vbInformation, QString());
}

}  // namespace core
