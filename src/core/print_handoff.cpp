// PauseAfterPrint on the kit's pointer and clock services.
#include "core/print_handoff.h"

#include "platform/forms/buttons.h"
#include "platform/forms/services.h"

void PauseAfterPrint(forms::CommandButton* button)
{
    forms::Screen::setMousePointer(forms::vbArrowHourglass);
    button->setEnabled(false);
    forms::Clock::WaitSeconds(4);
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbArrow);
    button->setEnabled(true);
}
