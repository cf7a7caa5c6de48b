// The data maintenance windows' menu items; see maintenance_menu.h.
#include "maintenance/maintenance_menu.h"

#include "core/main_window.h"
#include "maintenance/copy_window.h"
#include "maintenance/import_window.h"

void registerMaintenanceWindows(core::MDIFqhmz& mainWindow)
{
    using namespace maintenance;
    mainWindow.wire(QStringLiteral("cc"), [] { return new Frmcopy; });
    mainWindow.wire(QStringLiteral("DateSj"), [] { return new FrmLinkDb; });
}
