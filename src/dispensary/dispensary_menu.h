// Wires the dispensary's working windows to their menu items of the main window.
#pragma once

class MDIFqhmz;

void registerDispensaryWindows(MDIFqhmz& mainWindow);
