// Where the knowledge-base windows (herbs, formulas, diagnoses, patent medicines,
// western drugs, and their query windows) stand when they open: a rule of this
// system's windows, built on the window kit's placement in twips. A window calls it
// from its Form_Load once its client size is set:
//
//   core::placeKnowledgeBase(*this);
#pragma once

namespace forms { class Form; }

namespace core {

// Main window wider than 12000 twips: left (screen width - 11625) / 2, top (screen
// height - 8700) / 6. Otherwise (0, 0), the window fitted to the main window's client
// area.
void placeKnowledgeBase(forms::Form& window);

}  // namespace core
