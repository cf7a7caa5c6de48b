// A workbook of one sheet written row by row straight to its file, for reports of
// any length: each row reaches the disk once a later row is written, so memory stays
// bounded and the time is linear in the cells.
//
//   office::SheetStream sheet(QStringLiteral("宋体 "), 9);   // the font of all cells
//   sheet.write(2, 1, QStringLiteral("药品编码"));
//   sheet.write(5, 3, 1250.0, QStringLiteral("#,##0.00_ "));
//   sheet.setColumnWidth(1, 8.8);
//   sheet.autoFit(2);
//   sheet.saveAs(QStringLiteral("c:\\my documents\\药品编码名称对照表.xls"));
//
// Rows come in increasing order (cells of one row in any order before the next row
// starts). Each value keeps its type: a text stays a text cell whatever it looks
// like ("0000123" keeps its zeros), a number a number, a date a date. The sheet's font is every
// cell's, empty cells included. The file keeps the name it is given and replaces an
// existing one only when complete. Failures throw office::Error.
#pragma once

#include "platform/office/error.h"
#include "platform/vb/variant.h"

#include <QString>
#include <map>
#include <memory>

struct lxw_worksheet;

namespace office {

class XlsxWriter;

class SheetStream {
public:
    SheetStream(const QString& fontName, double fontSize);
    ~SheetStream();
    SheetStream(const SheetStream&) = delete;
    SheetStream& operator=(const SheetStream&) = delete;

    // Writes a cell (1-based), with a number format when one is given; an empty value
    // with a number format leaves a blank cell carrying it. A row before the last row
    // written raises error 1004.
    void write(int row, int column, const vb::Variant& value, const QString& numberFormat = {});
    // Sets a column's width in characters; auto-fit sets it to the widest cell
    // written so far plus one character (a column with no content keeps its width).
    // The widest cell is kept only for the columns named by fitColumn before their
    // cells are written.
    void setColumnWidth(int column, double characters);
    void fitColumn(int column);
    void autoFit(int column);
    // `path` is Windows-style ("c:\my documents\…") or a host path.
    void saveAs(const QString& path);

    // The most rows a sheet holds.
    static int maxRows();

private:
    std::unique_ptr<XlsxWriter> writer_;
    lxw_worksheet* sheet_;
    QString fontName_;
    double fontSize_;
    int lastRow_ = 0;
    std::map<int, double> widths_;
    std::map<int, double> widest_;
};

}  // namespace office
