// The format of a cell as the workbook writer takes it (font, size, bold, number
// format; unset parts are the program's defaults) and the limits of a sheet. Shared by
// the streamed sheet (sheet_stream.cpp) and the file writer (xlsx_file.cpp); the
// windows never see it.
#pragma once

#include <QString>
#include <optional>

namespace office {

struct CellStyle {
    std::optional<QString> fontName;
    std::optional<double> fontSize;
    std::optional<bool> bold;
    std::optional<QString> numberFormat;

    bool isDefault() const { return !fontName && !fontSize && !bold && !numberFormat; }
    bool operator==(const CellStyle&) const = default;
};

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;
constexpr double DefaultFontSize = 11;

}  // namespace office
