// Wires the data maintenance windows to their menu items of the main window: `cc`
// the backup and restore window, `DateSj` the import window.
#pragma once

namespace core { class MDIFqhmz; }

void registerMaintenanceWindows(core::MDIFqhmz& mainWindow);
