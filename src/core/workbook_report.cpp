// The workbook report writer; see workbook_report.h.
#include "core/workbook_report.h"

#include "platform/forms/services.h"
#include "platform/office/sheet_stream.h"
#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"
#include "platform/win/file_error.h"
#include "platform/win/paths.h"

#include <QElapsedTimer>
#include <filesystem>

namespace core {

namespace {

// How often the window gets its events while rows are written, in milliseconds.
constexpr qint64 PumpInterval = 50;

// A folder of the report's name cannot be replaced by a workbook.
void refuseFolder(const QString& path)
{
    const std::filesystem::path host(win::hostPath(path).toStdString());
    std::error_code failure;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(host, failure))) throw win::fileAccessError();
}

// A value as its column types it: a text in a number or date column is the number or
// date it shows; an empty text stays empty.
vb::Variant typed(const vb::Variant& value, ReportColumn::Kind kind)
{
    if (kind == ReportColumn::Kind::Text || value.type() != vb::Variant::Type::Text
        || value.toString().trimmed().isEmpty())
        return value;
    switch (kind) {
    case ReportColumn::Kind::Number: return vb::CDbl(value);
    case ReportColumn::Kind::Date: return vb::CDate(value);
    case ReportColumn::Kind::Text: break;
    }
    return value;
}

vb::Error tooManyRows()
{
    return vb::Error(1004, QStringLiteral("查询结果超过一张工作表所能容纳的 %1 行，没有生成图表")
                               .arg(office::SheetStream::maxRows()));
}

}  // namespace

void writeWorkbookReport(const WorkbookReport& report, const ReportRows& nextRow,
                         const std::function<void()>& beforeSave, const std::function<void()>& afterSave)
{
    refuseFolder(report.path);
    office::SheetStream sheet(report.fontName, report.fontSize);
    const int columns = static_cast<int>(report.columns.size());
    for (int c = 0; c < columns; ++c)
        if (report.columns[c].width == 0) sheet.fitColumn(c + 1);
    for (const auto& [address, value] : report.fixedCells) sheet.write(address, value);
    for (int c = 0; c < columns; ++c) sheet.write(report.headerRow, c + 1, report.columns[c].header);

    QElapsedTimer sincePump;
    sincePump.start();
    std::vector<vb::Variant> row;
    for (int sheetRow = report.firstDataRow; nextRow(row); ++sheetRow) {
        if (sheetRow > office::SheetStream::maxRows()) throw tooManyRows();
        for (int c = 0; c < columns && c < static_cast<int>(row.size()); ++c) {
            const ReportColumn& column = report.columns[c];
            sheet.write(sheetRow, c + 1, typed(row[c], column.kind), column.numberFormat);
        }
        if (sincePump.elapsed() >= PumpInterval) {
            forms::DoEvents();
            sincePump.restart();
        }
    }
    forms::DoEvents();
    for (int c = 0; c < columns; ++c) {
        const ReportColumn& column = report.columns[c];
        if (column.width > 0)
            sheet.setColumnWidth(c + 1, column.width);
        else if (column.width == 0)
            sheet.autoFit(c + 1);
    }

    if (beforeSave) beforeSave();
    sheet.saveAs(report.path);
    if (afterSave) afterSave();
    forms::MsgBox(report.closingMessage, forms::vbInformation, QString());
}

}  // namespace core
