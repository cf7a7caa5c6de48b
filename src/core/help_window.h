// FrmHelp "帮助向导": shows the help text of the code in HelpTopic. A working window's
// help button disables the window, stores its code and shows this window; closing it
// enables that window again, gives it its Form_Activate and clears HelpTopic. Windows
// are found by their help code through RegisterHelpOwner.
#pragma once

#include "platform/forms/form.h"

namespace forms { class TextBox; }

namespace core {

class FrmHelp : public forms::Form {
    Q_OBJECT
public:
    FrmHelp();

    forms::TextBox* TxtHelp;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel) override;
};

// Names `window` as the owner of `helpCode`, so that the help window can hand back to it.
void RegisterHelpOwner(const QString& helpCode, forms::Form* window);

// The help button's whole contract: registers `window` under `helpCode`, disables it,
// stores the code in HelpTopic and shows FrmHelp modeless.
void ShowHelpFor(forms::Form* window, const QString& helpCode);

}  // namespace core
