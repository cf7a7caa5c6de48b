// The drug list written to a workbook; see drug_list_export.h.
#include "dispensary/drug_list_export.h"

#include "core/error_trap.h"
#include "core/print_handoff.h"
#include "core/workbook_report.h"
#include "platform/forms/buttons.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/services.h"
#include "platform/vb/strings.h"

#include <array>
#include <vector>

namespace dispensary {

namespace {
constexpr int Columns = 4;                       // code, name, price, unit; no category

using Kind = core::ReportColumn::Kind;
const core::WorkbookReport Report{
    DrugListWorkbook,
    {{QStringLiteral("药品编码"), Kind::Text, {}, 8.8},
     {QStringLiteral("药品名称"), Kind::Text, {}, 20},
     {QStringLiteral("药品价格"), Kind::Number, QStringLiteral("#,##0.00_ "), 9},
     {QStringLiteral("计量单位"), Kind::Text, {}, 9}},
};

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
    std::size_t next = 0;
    const bool written = core::runTrapped([&] {
        core::writeWorkbookReport(Report, [&](std::vector<vb::Variant>& row) {
            if (next == rows.size()) return false;
            row.assign(rows[next].begin(), rows[next].end());
            ++next;
            return true;
        }, [button] { core::PauseAfterPrint(button); });
    });
    if (!written) {
        button->setEnabled(true);
        forms::Screen::setMousePointer(forms::vbArrow);
    }
}

}  // namespace dispensary
