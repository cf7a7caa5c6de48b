// The knowledge-base windows' placement; see placement.h.
#include "core/placement.h"

#include "platform/forms/control.h"
#include "platform/forms/form.h"
#include "platform/forms/services.h"

#include <QMdiArea>

namespace core {

void placeKnowledgeBase(forms::Form& window)
{
    if (forms::Form::MainWidth() > 12000) {
        window.Move((forms::Screen::Width() - 11625) / 2, (forms::Screen::Height() - 8700) / 6);
        return;
    }
    const QWidget* client = forms::Form::mdiArea() ? forms::Form::mdiArea()->viewport() : nullptr;
    if (!client) {
        window.Move(0, 0);
        return;
    }
    window.Move(0, 0, forms::toTwips(client->width()), forms::toTwips(client->height()));
}

}  // namespace core
