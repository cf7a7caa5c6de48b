// The dispensary's menu items: each opens its window through the main window's
// common opening (busy pointer, menu lock, modeless MDI child), or runs its batch.
#include "dispensary/dispensary_menu.h"

#include "core/main_window.h"
#include "dispensary/drug_list.h"
#include "dispensary/prescription_pricing.h"
#include "dispensary/settlement_run.h"
#include "dispensary/stock_queries.h"
#include "dispensary/stock_taking_sheet.h"
#include "dispensary/stock_in.h"
#include "dispensary/stock_out.h"

void registerDispensaryWindows(core::MDIFqhmz& mainWindow)
{
    using namespace dispensary;
    mainWindow.wire(QStringLiteral("YcqkWh"), [] { return new Frmyjwh; });
    mainWindow.wire(QStringLiteral("ycrc"), [] { return new Frmycrk; });
    mainWindow.wire(QStringLiteral("YcqkCk"), [] { return new FrmYcck; });
    mainWindow.wire(QStringLiteral("YcqkXs"), [] { return new Frmycjj; });
    mainWindow.wire(QStringLiteral("Yckc"), [] { return new Frmyckc; });
    mainWindow.wireBatch(QStringLiteral("YckcPd"), &YckcPd_Click);
    mainWindow.wireBatch(QStringLiteral("Ypjz"), &Ypjz_Click);
}
