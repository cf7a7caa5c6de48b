// A workbook of one sheet written row by row straight to a scratch file, for reports
// of any length in bounded memory (libxlsxwriter's constant-memory mode). Every cell
// carries the sheet's font; values keep their types (text, number, date), a date
// shows as "yyyy-mm-dd" unless given a format. A column to be auto-fitted is named
// before its cells are written; the stream then keeps its widest cell, as the
// workbook object model does (workbook.h).
//
//   office::SheetStream sheet(QStringLiteral("宋体 "), 9);
//   sheet.write(2, 1, QStringLiteral("药品名称"));
//   sheet.write(4, 2, 1250.0, QStringLiteral("##,###,##0.00_ "));
//   sheet.setColumnWidth(1, 10);
//   sheet.saveAs(QStringLiteral("c:\\my documents\\report.xls"));
//
// Rows come in ascending order, and within a row the columns too. saveAs replaces an
// existing file only once the new one is complete; without it nothing is written.
// Failures throw office::Error.
#pragma once

#include "platform/office/error.h"
#include "platform/vb/variant.h"

#include <QString>
#include <memory>

namespace office {

class SheetStream {
public:
    SheetStream(const QString& fontName, double fontSize);
    ~SheetStream();
    SheetStream(const SheetStream&) = delete;
    SheetStream& operator=(const SheetStream&) = delete;

    // `value` into (row, column), both from 1; Null or "" writes nothing, or a blank
    // cell when a number format is given.
    void write(int row, int column, const vb::Variant& value, const QString& numberFormat = {});
    // The same into the cell at `address` ("a1").
    void write(const QString& address, const vb::Variant& value);
    void setColumnWidth(int column, double characters);
    // Keeps the widest cell written into `column` from now on, for autoFit.
    void fitColumn(int column);
    // The column as wide as its widest cell so far and one character more; a column
    // with no content, or not named by fitColumn, keeps its width.
    void autoFit(int column);
    // `path` is Windows-style ("c:\my documents\…") or a host path.
    void saveAs(const QString& path);

    // The most rows a sheet holds.
    static int maxRows();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace office
