// What a workbook holds in memory until SaveAs writes it: per sheet the cells with
// their values and formats, the sheet-wide format, the column widths and each
// column's widest content. Shared by the object model (workbook.cpp) and the file
// writer (xlsx_file.cpp); the windows never see it.
#pragma once

#include "platform/vb/variant.h"

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace office {

// Formats set on a cell, or on the whole sheet; unset parts fall back to the sheet's
// and then to the program's defaults.
struct CellStyle {
    std::optional<QString> fontName;
    std::optional<double> fontSize;
    std::optional<bool> bold;
    std::optional<QString> numberFormat;

    // This style with the unset parts taken from `fallback`.
    CellStyle over(const CellStyle& fallback) const;
    bool isDefault() const { return !fontName && !fontSize && !bold && !numberFormat; }
    bool operator==(const CellStyle&) const = default;
};

struct Cell {
    vb::Variant value;   // Null: empty
    CellStyle style;
};

struct SheetData {
    QString name;
    std::map<std::pair<int, int>, Cell> cells;   // by (row, column), 1-based
    CellStyle sheetStyle;
    std::map<int, double> columnWidths;          // in characters
    std::map<int, double> widestContent;         // in characters, for auto-fit
};

struct ApplicationData;

struct WorkbookData {
    std::vector<std::shared_ptr<SheetData>> sheets;
    std::weak_ptr<ApplicationData> application;
};

struct ApplicationData {
    std::vector<std::shared_ptr<WorkbookData>> workbooks;
    std::shared_ptr<SheetData> activeSheet;
};

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr double kDefaultFontSize = 11;

// Writes the workbook to `hostPath` as a whole; throws office::Error.
void writeXlsx(const WorkbookData& book, const QString& hostPath);

}  // namespace office
