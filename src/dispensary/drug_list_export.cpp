// The drug list written to a workbook; see drug_list_export.h.
#include "dispensary/drug_list_export.h"

#include "core/print_handoff.h"
#include "dispensary/error_trap.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/office/workbook.h"
#include "platform/vb/strings.h"
#include "platform/win/file_error.h"
#include "platform/win/paths.h"

#include <array>
#include <filesystem>
#include <vector>

namespace dispensary {

namespace {
constexpr int Columns = 4;                       // code, name, price, unit
constexpr int FirstDataRow = 5;                  // sheet row of grid row 1
constexpr double ColumnWidths[Columns] = {8.8, 20, 9, 9};
const char* const Headers[Columns] = {"药品编码", "药品名称", "药品价格", "计量单位"};
const char* const HeaderCells[Columns] = {"a2", "b2", "c2", "d2"};

using Row = std::array<QString, Columns>;

// The listed drugs as the grid shows them, trimmed; taken once, so that the user's
// work in the window while the rows are written cannot change what is written.
std::vector<Row> listedRows(const forms::FlexGrid& grid)
{
    std::vector<Row> rows;
    for (int r = 1; r < grid.Rows(); ++r) {
        Row& row = rows.emplace_back();
        for (int c = 0; c < Columns; ++c) row[c] = vb::Trim(grid.TextMatrix(r, c));
    }
    return rows;
}

// An older workbook of the same name goes first (a file, or an empty folder).
void removeOldWorkbook(const QString& path)
{
    const std::filesystem::path host(win::hostPath(path).toStdString());
    std::error_code failure;
    std::filesystem::remove(host, failure);
    if (failure) throw win::fileError(failure.value());
}

void writeWorkbook(const std::vector<Row>& rows, forms::CommandButton* button)
{
    removeOldWorkbook(DrugListWorkbook);
    office::ExcelApplication xl;
    office::Workbook book = xl.Workbooks().Add();
    book.Worksheets(QStringLiteral("sheet1"));
    xl.Range(QStringLiteral("b2:d3000")).Value(QString());
    for (int c = 0; c < Columns; ++c)
        xl.Range(QString::fromLatin1(HeaderCells[c])).Value(QString::fromUtf8(Headers[c]));
    xl.Cells().Font().Name(QStringLiteral("宋体 ")).Size(9);

    int sheetRow = FirstDataRow;
    for (const Row& row : rows) {
        for (int c = 0; c < Columns; ++c) {
            xl.Cells(sheetRow, c + 1).Value(row[c]);
            xl.Cells(sheetRow, c + 1).Columns().AutoFit();
        }
        for (int c = 0; c < Columns; ++c) xl.Cells(sheetRow, c + 1).ColumnWidth(ColumnWidths[c]);
        xl.Cells(sheetRow, 3).NumberFormatLocal(QStringLiteral("#,##0.00_ "));
        forms::DoEvents();
        ++sheetRow;
    }

    PauseAfterPrint(button);
    book.SaveAs(DrugListWorkbook);
    forms::MsgBox(QStringLiteral("生成图表已经存放在我的文档中，请查收"), forms::vbInformation, QString());
    xl.Quit();
}
}  // namespace

void exportDrugList(const forms::FlexGrid& grid, forms::CommandButton* button)
{
    if (grid.Rows() < 2) {
        forms::MsgBox(QStringLiteral("没有要打印的内容"), forms::vbInformation, QString());
        return;
    }
    const std::vector<Row> rows = listedRows(grid);
    button->setEnabled(false);
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    if (!runTrapped([&] { writeWorkbook(rows, button); })) {
        button->setEnabled(true);
        forms::Screen::setMousePointer(forms::vbArrow);
    }
}

}  // namespace dispensary
