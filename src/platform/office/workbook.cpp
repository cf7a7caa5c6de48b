// The workbook object model in memory; see workbook.h. The file is written by
// writeXlsx (xlsx_file.cpp) when SaveAs is called.
#include "platform/office/workbook.h"

#include "platform/office/cell_values.h"
#include "platform/office/workbook_data.h"
#include "platform/win/paths.h"

#include <QRegularExpression>

namespace office {

namespace {

constexpr double kDefaultColumnWidth = 8.43;
constexpr qint64 kMaxCellsPerAssignment = 1000000;

Error objectDefinedError() { return Error(1004, QStringLiteral("应用程序定义或对象定义错误")); }

CellArea singleCell(int row, int column)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) throw objectDefinedError();
    return {row, column, row, column};
}

CellArea wholeSheet() { return {1, 1, kMaxRows, kMaxColumns, false, true}; }

// "A1", "b2:d3000" (letters name the column, digits the row).
CellArea parseAddress(const QString& address)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([A-Za-z]{1,3})(\\d{1,7})(?::([A-Za-z]{1,3})(\\d{1,7}))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(address);
    if (!match.hasMatch()) throw objectDefinedError();
    const auto column = [](const QString& letters) {
        int number = 0;
        for (const QChar c : letters) number = number * 26 + (c.toUpper().unicode() - 'A' + 1);
        return number;
    };
    const CellArea first = singleCell(match.captured(2).toInt(), column(match.captured(1)));
    if (!match.hasCaptured(3)) return first;
    const CellArea last = singleCell(match.captured(4).toInt(), column(match.captured(3)));
    return {std::min(first.firstRow, last.firstRow), std::min(first.firstColumn, last.firstColumn),
            std::max(first.firstRow, last.firstRow), std::max(first.firstColumn, last.firstColumn)};
}

// Visits the stored cells of an area, in row order.
template <typename Visit>
void forStoredCells(SheetData& sheet, const CellArea& area, Visit visit)
{
    for (auto it = sheet.cells.lower_bound({area.firstRow, 0});
         it != sheet.cells.end() && it->first.first <= area.lastRow;) {
        auto next = std::next(it);
        if (it->first.second >= area.firstColumn && it->first.second <= area.lastColumn) visit(it);
        it = next;
    }
}

// Visits every cell of a bounded area, making the missing ones.
template <typename Visit>
void forEveryCell(SheetData& sheet, const CellArea& area, Visit visit)
{
    const qint64 count = qint64(area.lastRow - area.firstRow + 1) * (area.lastColumn - area.firstColumn + 1);
    if (area.wholeColumns || area.wholeSheet || count > kMaxCellsPerAssignment) throw objectDefinedError();
    for (int row = area.firstRow; row <= area.lastRow; ++row)
        for (int column = area.firstColumn; column <= area.lastColumn; ++column)
            visit(sheet.cells[{row, column}], column);
}

void dropIfEmpty(SheetData& sheet, std::map<std::pair<int, int>, Cell>::iterator it)
{
    if (it->second.value.isNull() && it->second.style.isDefault()) sheet.cells.erase(it);
}

// Sets one part of the format on an area. On the whole sheet the part becomes the
// sheet's and is cleared from every cell, as a later whole-sheet format wins.
template <typename T>
void setStylePart(SheetData& sheet, const CellArea& area, std::optional<T> CellStyle::*part, const T& value)
{
    if (area.wholeSheet) {
        sheet.sheetStyle.*part = value;
        forStoredCells(sheet, area, [&](auto it) {
            (it->second.style.*part).reset();
            dropIfEmpty(sheet, it);
        });
    } else if (area.wholeColumns) {
        forStoredCells(sheet, area, [&](auto it) { it->second.style.*part = value; });
    } else {
        forEveryCell(sheet, area, [&](Cell& cell, int) { cell.style.*part = value; });
    }
}

CellStyle firstCellStyle(const SheetData& sheet, const CellArea& area)
{
    const auto it = sheet.cells.find({area.firstRow, area.firstColumn});
    const CellStyle own = it == sheet.cells.end() ? CellStyle() : it->second.style;
    return own.over(sheet.sheetStyle);
}

}  // namespace

CellStyle CellStyle::over(const CellStyle& fallback) const
{
    CellStyle merged = *this;
    if (!merged.fontName) merged.fontName = fallback.fontName;
    if (!merged.fontSize) merged.fontSize = fallback.fontSize;
    if (!merged.bold) merged.bold = fallback.bold;
    if (!merged.numberFormat) merged.numberFormat = fallback.numberFormat;
    return merged;
}

// --- Font

Font& Font::Name(const QString& name)
{
    setStylePart(*sheet_, area_, &CellStyle::fontName, name);
    return *this;
}

Font& Font::Size(double points)
{
    if (!(points >= 1 && points <= 409)) throw objectDefinedError();
    setStylePart(*sheet_, area_, &CellStyle::fontSize, points);
    return *this;
}

Font& Font::Bold(bool bold)
{
    setStylePart(*sheet_, area_, &CellStyle::bold, bold);
    return *this;
}

QString Font::Name() const { return firstCellStyle(*sheet_, area_).fontName.value_or(QStringLiteral("Calibri")); }
double Font::Size() const { return firstCellStyle(*sheet_, area_).fontSize.value_or(kDefaultFontSize); }
bool Font::Bold() const { return firstCellStyle(*sheet_, area_).bold.value_or(false); }

// --- Range

Range& Range::Value(const vb::Variant& given)
{
    SheetData& sheet = *sheet_;
    const vb::Variant value = typedEntry(given);
    if (isEmptyValue(value)) {
        forStoredCells(sheet, area_, [&](auto it) {
            it->second.value = vb::Variant();
            dropIfEmpty(sheet, it);
        });
        return *this;
    }
    const double width = contentWidth(value);
    forEveryCell(sheet, area_, [&](Cell& cell, int column) {
        cell.value = value;
        const double size = cell.style.over(sheet.sheetStyle).fontSize.value_or(kDefaultFontSize);
        double& widest = sheet.widestContent[column];
        widest = std::max(widest, width * size / kDefaultFontSize);
    });
    return *this;
}

vb::Variant Range::Value() const
{
    const auto it = sheet_->cells.find({area_.firstRow, area_.firstColumn});
    return it == sheet_->cells.end() ? vb::Variant() : it->second.value;
}

office::Font Range::Font() const { return office::Font(sheet_, area_); }

Range& Range::NumberFormatLocal(const QString& format)
{
    setStylePart(*sheet_, area_, &CellStyle::numberFormat, format);
    return *this;
}

QString Range::NumberFormatLocal() const
{
    return firstCellStyle(*sheet_, area_).numberFormat.value_or(QStringLiteral("G/通用格式"));
}

Range& Range::ColumnWidth(double characters)
{
    if (!(characters >= 0 && characters <= 255)) throw objectDefinedError();
    for (int column = area_.firstColumn; column <= area_.lastColumn; ++column)
        sheet_->columnWidths[column] = characters;
    return *this;
}

double Range::ColumnWidth() const
{
    const auto it = sheet_->columnWidths.find(area_.firstColumn);
    return it == sheet_->columnWidths.end() ? kDefaultColumnWidth : it->second;
}

Range Range::Columns() const
{
    CellArea columns = area_;
    columns.firstRow = 1;
    columns.lastRow = kMaxRows;
    columns.wholeColumns = !area_.wholeSheet;
    return Range(sheet_, columns);
}

void Range::AutoFit()
{
    // One margin character, as the program leaves beside the widest text.
    for (auto it = sheet_->widestContent.lower_bound(area_.firstColumn);
         it != sheet_->widestContent.end() && it->first <= area_.lastColumn; ++it)
        sheet_->columnWidths[it->first] = std::min(255.0, it->second + 1);
}

// --- Worksheet, Workbook, Workbooks

QString Worksheet::Name() const { return sheet_->name; }
Range Worksheet::Range(const QString& address) const { return office::Range(sheet_, parseAddress(address)); }
Range Worksheet::Cells(int row, int column) const { return office::Range(sheet_, singleCell(row, column)); }
Range Worksheet::Cells() const { return office::Range(sheet_, wholeSheet()); }
Range Worksheet::Columns() const { return Cells(); }

Worksheet Workbook::Worksheets(const QString& name) const
{
    for (const std::shared_ptr<SheetData>& sheet : book_->sheets) {
        if (sheet->name.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (const std::shared_ptr<ApplicationData> application = book_->application.lock())
            application->activeSheet = sheet;
        return Worksheet(sheet);
    }
    throw Error(9, QStringLiteral("下标越界"));
}

void Workbook::SaveAs(const QString& path) const { writeXlsx(*book_, win::hostPath(path)); }

Workbook Workbooks::Add() const
{
    auto book = std::make_shared<WorkbookData>();
    auto sheet = std::make_shared<SheetData>();
    sheet->name = QStringLiteral("Sheet1");
    book->sheets.push_back(sheet);
    book->application = application_;
    application_->workbooks.push_back(book);
    application_->activeSheet = sheet;
    return Workbook(book);
}

// --- ExcelApplication

ExcelApplication::ExcelApplication() : application_(std::make_shared<ApplicationData>()) {}

Workbooks ExcelApplication::Workbooks() const { return office::Workbooks(application_); }

Worksheet ExcelApplication::activeSheet() const
{
    if (!application_->activeSheet) throw Error(91, QStringLiteral("对象变量或 With 块变量未设置"));
    return Worksheet(application_->activeSheet);
}

Range ExcelApplication::Range(const QString& address) const { return activeSheet().Range(address); }
Range ExcelApplication::Cells(int row, int column) const { return activeSheet().Cells(row, column); }
Range ExcelApplication::Cells() const { return activeSheet().Cells(); }
Range ExcelApplication::Columns() const { return activeSheet().Columns(); }

void ExcelApplication::Quit()
{
    application_->workbooks.clear();
    application_->activeSheet.reset();
}

}  // namespace office
