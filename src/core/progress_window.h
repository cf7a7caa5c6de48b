// Frmjdys: the progress window of the long batches (dictionary builders, the symptom
// refill, the settlement). It stands over the main window and above every other
// window, with no title bar, no buttons and no way to close it; core::ProgressDriver
// shows it, sets the bar and the two labels, draws it and unloads it when done.
#pragma once

#include "platform/forms/form.h"

namespace forms {
class Label;
class ProgressBar;
}

namespace core {

class Frmjdys : public forms::Form {
    Q_OBJECT
public:
    Frmjdys();

    forms::ProgressBar* ProgBar;   // 0 to 100
    forms::Label* Labpre;          // the percentage, "37%"
    forms::Label* Labprg;          // the stage text

protected:
    void Form_Load() override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace core
