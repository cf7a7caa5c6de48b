// The knowledge-base windows' menu items: each opens its window through the main
// window's common opening; the query windows' items rebuild their dictionaries first.
#pragma once

namespace core { class MDIFqhmz; }

void registerReferenceWindows(core::MDIFqhmz& mainWindow);
