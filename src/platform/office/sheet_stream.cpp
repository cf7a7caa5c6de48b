// The streamed sheet; see sheet_stream.h.
#include "platform/office/sheet_stream.h"

#include "platform/office/cell_values.h"
#include "platform/office/xlsx_writer.h"
#include "platform/win/paths.h"

#include <algorithm>

namespace office {

SheetStream::SheetStream(const QString& fontName, double fontSize)
    : writer_(std::make_unique<XlsxWriter>()),
      sheet_(writer_->addSheet(QStringLiteral("Sheet1"))),
      fontName_(fontName),
      fontSize_(fontSize)
{
}

SheetStream::~SheetStream() = default;

void SheetStream::write(int row, int column, const vb::Variant& value, const QString& numberFormat)
{
    if (row < lastRow_ || row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw Error(1004, QStringLiteral("应用程序定义或对象定义错误"));
    lastRow_ = row;
    const bool empty = isEmptyValue(value);
    if (empty && numberFormat.isEmpty()) return;
    CellStyle style;
    style.fontName = fontName_;
    style.fontSize = fontSize_;
    if (!numberFormat.isEmpty()) style.numberFormat = numberFormat;
    writer_->writeCell(sheet_, row, column, empty ? vb::Variant() : value, style);
    if (empty) return;
    const auto fitted = widest_.find(column);
    if (fitted != widest_.end())
        fitted->second = std::max(fitted->second, contentWidth(value) * fontSize_ / DefaultFontSize);
}

int SheetStream::maxRows() { return MaxRows; }

void SheetStream::setColumnWidth(int column, double characters) { widths_[column] = characters; }

void SheetStream::fitColumn(int column) { widest_.emplace(column, 0); }

void SheetStream::autoFit(int column)
{
    const auto it = widest_.find(column);
    if (it != widest_.end() && it->second > 0) widths_[column] = std::min(255.0, it->second + 1);
}

void SheetStream::saveAs(const QString& path)
{
    CellStyle sheetStyle;
    sheetStyle.fontName = fontName_;
    sheetStyle.fontSize = fontSize_;
    writer_->setColumns(sheet_, widths_, sheetStyle);
    writer_->saveAs(win::hostPath(path));
}

}  // namespace office
