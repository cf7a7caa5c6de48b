// The workbook report writer; see workbook_report.h.
#include "core/workbook_report.h"

#include "platform/forms/services.h"
#include "platform/office/workbook.h"
#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"
#include "platform/win/file_error.h"
#include "platform/win/paths.h"

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
    if (value.isNull() || value.type() != vb::Variant::Type::Text || value.toString().trimmed().isEmpty())
        return value;
    switch (kind) {
    case ReportColumn::Kind::Number: return vb::CDbl(value);
    case ReportColumn::Kind::Date: return vb::CDate(value);
    case ReportColumn::Kind::Text: break;
    }
    return value;
}

}  // namespace

void writeWorkbookReport(const WorkbookReport& report, const ReportRows& nextRow,
                         const std::function<void()>& beforeSave)
{
    removeOldFile(report.path);
    office::ExcelApplication xl;
    office::Workbook book = xl.Workbooks().Add();
    book.Worksheets(QStringLiteral("sheet1"));
    xl.Cells().Font().Name(report.fontName).Size(report.fontSize);
    for (const auto& [address, value] : report.fixedCells) xl.Range(address).Value(value);
    const int columns = static_cast<int>(report.columns.size());
    for (int c = 0; c < columns; ++c) xl.Cells(report.headerRow, c + 1).Value(report.columns[c].header);

    std::vector<vb::Variant> row;
    for (int sheetRow = report.firstDataRow; nextRow(row); ++sheetRow) {
        for (int c = 0; c < columns && c < static_cast<int>(row.size()); ++c) {
            const ReportColumn& column = report.columns[c];
            office::Range cell = xl.Cells(sheetRow, c + 1);
            cell.Value(typed(row[c], column.kind));
            if (!column.numberFormat.isEmpty()) cell.NumberFormatLocal(column.numberFormat);
        }
        forms::DoEvents();
    }
    for (int c = 0; c < columns; ++c) {
        const ReportColumn& column = report.columns[c];
        if (column.width > 0)
            xl.Cells(1, c + 1).ColumnWidth(column.width);
        else
            xl.Cells(1, c + 1).Columns().AutoFit();
    }

    if (beforeSave) beforeSave();
    book.SaveAs(report.path);
    forms::MsgBox(report.closingMessage, forms::vbInformation, QString());
    xl.Quit();
}

}  // namespace core
