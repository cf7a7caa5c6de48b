// ShowTextInWord on the office stand-in; PauseAfterPrint on the kit's pointer and clock.
#include "core/print_handoff.h"

#include "platform/forms/buttons.h"
#include "platform/forms/services.h"
#include "platform/office/document.h"

namespace core {

void ShowTextInWord(const QString& text)
{
    try {
        office::showTextInDocument(text);
    } catch (const office::Error& error) {
        forms::ReportErrorBlock(error.number(), error.description());
    }
}

void PauseAfterPrint(forms::CommandButton* button)
{
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    button->setEnabled(false);
    forms::Clock::WaitSeconds(4);
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
    button->setEnabled(true);
}

}  // namespace core
