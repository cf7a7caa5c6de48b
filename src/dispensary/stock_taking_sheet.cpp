// The stock-taking sheet; see stock_taking_sheet.h.
#include "dispensary/stock_taking_sheet.h"

#include "core/error_trap.h"
#include "core/globals.h"
#include "core/main_window.h"
#include "core/workbook_report.h"
#include "data/columns.h"
#include "platform/forms/services.h"

namespace dispensary {

namespace {

constexpr double WaitSeconds = 3;

using Kind = core::ReportColumn::Kind;
const QString Quantity = QStringLiteral("##,###,##0.00_ ");
// Counted quantity and difference stay empty for the dispenser's pen; the counted
// quantity carries the number format, the difference keeps the default width.
const core::WorkbookReport Sheet{
    QStringLiteral("c:\\my documents\\药品盘点表.xls"),
    {{QStringLiteral("药品名称"), Kind::Text, {}, 10},
     {QStringLiteral("结余数量"), Kind::Number, Quantity, 10},
     {QStringLiteral("实余数量"), Kind::Number, Quantity, 10},
     {QStringLiteral("差异数量"), Kind::Number, {}, core::ReportColumn::DefaultWidth}},
    2,
    4,
};

}  // namespace

void YckcPd_Click()
{
    core::menuOff();
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    core::runTrapped([] {
        dao::Database db = core::OpenDb();
        dao::Recordset balances = db.openTable(QStringLiteral("ycyltb"));
        if (balances.eof() || balances.field(data::ycyltb::ycbm).isNull()) {
            forms::Notice(QStringLiteral("尚未发生药品购销业务"));
            return;
        }
        core::writeWorkbookReport(Sheet, [&](std::vector<vb::Variant>& row) {
            if (balances.eof()) return false;
            row = {balances.field(data::ycyltb::ycbm), balances.field(data::ycyltb::ycyl), vb::Variant()};
            balances.moveNext();
            return true;
        }, {}, [&] {
            balances.close();
            db.close();
            forms::Clock::WaitSeconds(WaitSeconds);
        });
    });
    forms::Screen::setMousePointer(forms::vbArrow);
    core::menuOn();
}

}  // namespace dispensary
