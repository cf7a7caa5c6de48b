// The libxlsxwriter plumbing of the streamed sheet: the file made in a private
// temporary folder and copied over its target only when complete, one format per
// distinct style, cells written by their value's type, and the columns' widths and
// formats. The windows never see it.
#pragma once

#include "platform/office/cell_style.h"
#include "platform/office/leftovers.h"
#include "platform/vb/variant.h"

#include <QString>
#include <QTemporaryDir>
#include <map>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace office {

class XlsxWriter {
public:
    // Each row goes to disk once a later row is written.
    XlsxWriter();
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    lxw_worksheet* addSheet(const QString& name);
    // The format of a cell of this style (a date without a number format gets the
    // built-in short date, number format 14); nullptr for the default style.
    lxw_format* format(const CellStyle& style, bool isDate);
    // Rows and columns 1-based; Null writes a blank only when it carries a format.
    void writeCell(lxw_worksheet* sheet, int row, int column, const vb::Variant& value, const CellStyle& style);
    // Every column of the sheet gets `sheetStyle`'s format, so that empty cells show
    // the sheet's font too; the columns in `widths` get their width.
    void setColumns(lxw_worksheet* sheet, const std::map<int, double>& widths, const CellStyle& sheetStyle);
    // Closes the file and copies it over `hostPath`.
    void saveAs(const QString& hostPath);

private:
    QTemporaryDir scratch_;
    ScratchLock scratchLock_;   // so that a start-up's sweep leaves the folder alone
    QByteArray scratchPath_;
    QString built_;
    lxw_workbook* book_ = nullptr;
    std::map<QString, lxw_format*> formats_;
    // The styles met so far with their formats: a sheet uses a few, so a cell finds its
    // own among them without building a key.
    struct UsedStyle {
        CellStyle style;
        bool isDate;
        lxw_format* format;
    };
    std::vector<UsedStyle> used_;
};

}  // namespace office
