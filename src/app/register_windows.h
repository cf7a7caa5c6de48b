// The one place where the working windows are wired to the main window's menu items.
#pragma once

namespace core { class MDIFqhmz; }

void registerWindows(core::MDIFqhmz& mainWindow);
