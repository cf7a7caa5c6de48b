// Wires the knowledge-base windows to their menu items of the main window: the entry
// windows open directly, the query windows after their dictionary builder has run.
#pragma once

namespace core { class MDIFqhmz; }

void registerReferenceWindows(core::MDIFqhmz& mainWindow);
