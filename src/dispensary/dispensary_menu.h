// Wires the dispensary's working windows to their menu items of the main window.
#pragma once

namespace core { class MDIFqhmz; }

void registerDispensaryWindows(core::MDIFqhmz& mainWindow);
