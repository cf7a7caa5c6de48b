// Wires each built working window to its menu item of the main window; items whose
// window is not built yet stay disabled.
#include "app/register_windows.h"

#include "dispensary/dispensary_menu.h"
#include "reference/reference_menu.h"

void registerWindows(core::MDIFqhmz& mainWindow)
{
    registerDispensaryWindows(mainWindow);
    registerReferenceWindows(mainWindow);
}
