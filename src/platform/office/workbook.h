// The spreadsheet program as the dispensary's reports drive it: a small object model
// of the automation members they call, written to a real workbook with libxlsxwriter.
//
//   office::ExcelApplication xl;                 // CreateObject("Excel.Application")
//   office::Workbook book = xl.Workbooks().Add();
//   book.Worksheets("sheet1");
//   xl.Range("a2").Value("药品编码");
//   xl.Cells().Font().Name("宋体 ").Size(9);
//   xl.Cells(5, 3).Value("1,250.00").NumberFormatLocal("#,##0.00_ ");
//   xl.Cells(5, 3).Columns().AutoFit();
//   book.SaveAs("c:\\my documents\\药品编码名称对照表.xls");
//   xl.Quit();
//
// Cells keep their values' types (text, number, date) and their formats in memory;
// SaveAs writes the whole workbook at once (the file keeps the name it is given,
// with workbook content) and replaces an existing file only when the new one is
// complete. Auto-fit keeps a running widest cell per column, so a report of any
// length costs linear time. Failures throw office::Error (error.h).
#pragma once

#include "platform/office/error.h"
#include "platform/vb/variant.h"

#include <QString>
#include <memory>

namespace office {

struct SheetData;
struct WorkbookData;
struct ApplicationData;

// A rectangle of cells, whole columns, or the whole sheet.
struct CellArea {
    int firstRow = 1, firstColumn = 1, lastRow = 1, lastColumn = 1;
    bool wholeColumns = false;
    bool wholeSheet = false;
};

class Font {
public:
    Font& Name(const QString& name);
    Font& Size(double points);
    Font& Bold(bool bold);
    // The font of the area's first cell (the sheet's when unset there).
    QString Name() const;
    double Size() const;
    bool Bold() const;

private:
    friend class Range;
    Font(std::shared_ptr<SheetData> sheet, CellArea area) : sheet_(std::move(sheet)), area_(area) {}
    std::shared_ptr<SheetData> sheet_;
    CellArea area_;
};

class Range {
public:
    // Sets every cell of the area; Null or "" empties the cells (their formats stay).
    Range& Value(const vb::Variant& value);
    vb::Variant Value() const;                      // the first cell's value
    office::Font Font() const;
    Range& NumberFormatLocal(const QString& format);
    QString NumberFormatLocal() const;
    Range& ColumnWidth(double characters);          // every column of the area
    double ColumnWidth() const;                      // the first column's width
    Range Columns() const;                           // the whole columns of the area
    // Fits every column of the area to its widest cell written so far (a CJK
    // character counts double); a column with no content keeps its width.
    void AutoFit();

private:
    friend class Worksheet;
    Range(std::shared_ptr<SheetData> sheet, CellArea area) : sheet_(std::move(sheet)), area_(area) {}
    std::shared_ptr<SheetData> sheet_;
    CellArea area_;
};

class Worksheet {
public:
    QString Name() const;
    // "A1", "b2:d3000"; an address that is not one raises error 1004.
    office::Range Range(const QString& address) const;
    office::Range Cells(int row, int column) const;  // 1-based
    office::Range Cells() const;                     // the whole sheet
    office::Range Columns() const;                   // all columns

private:
    friend class Workbook;
    friend class ExcelApplication;
    explicit Worksheet(std::shared_ptr<SheetData> sheet) : sheet_(std::move(sheet)) {}
    std::shared_ptr<SheetData> sheet_;
};

class Workbook {
public:
    // A new workbook has one sheet "Sheet1"; names compare without letter case.
    // Another name raises error 9. The sheet becomes the active sheet.
    Worksheet Worksheets(const QString& name) const;
    // `path` is Windows-style ("c:\my documents\…") or a host path.
    void SaveAs(const QString& path) const;

private:
    friend class Workbooks;
    explicit Workbook(std::shared_ptr<WorkbookData> book) : book_(std::move(book)) {}
    std::shared_ptr<WorkbookData> book_;
};

class Workbooks {
public:
    Workbook Add() const;   // the new workbook and its first sheet become active

private:
    friend class ExcelApplication;
    explicit Workbooks(std::shared_ptr<ApplicationData> application) : application_(std::move(application)) {}
    std::shared_ptr<ApplicationData> application_;
};

class ExcelApplication {
public:
    ExcelApplication();
    office::Workbooks Workbooks() const;
    // The active sheet's members; with no workbook open they raise error 91.
    office::Range Range(const QString& address) const;
    office::Range Cells(int row, int column) const;
    office::Range Cells() const;
    office::Range Columns() const;
    // Closes every workbook without saving.
    void Quit();

private:
    Worksheet activeSheet() const;
    std::shared_ptr<ApplicationData> application_;
};

}  // namespace office
