// The one place where the working windows are wired to the main window's menu items.
#pragma once

class MDIFqhmz;

void registerWindows(MDIFqhmz& mainWindow);
