// The input checks of the windows; see input_check.h.
#include "core/input_check.h"

#include "core/enter_chain.h"
#include "core/entry_boxes.h"
#include "platform/forms/services.h"
#include "platform/forms/textbox.h"

namespace core {

bool passesChecks(const std::vector<InputCheck>& checks)
{
    for (const InputCheck& check : checks) {
        if (!check.fails()) continue;
        forms::Notice(check.message);
        auto* text = qobject_cast<forms::TextBox*>(check.box);
        if (check.selectAll && text)
            text->SetFocusSelectAll();
        else
            check.box->SetFocus();
        return false;
    }
    return true;
}

std::function<bool()> isEmpty(const forms::TextBox* box)
{
    return [box] { return box->Text().isEmpty(); };
}

std::function<bool()> isBlank(const forms::TextBox* box)
{
    return [box] { return !filled(box); };
}

std::function<bool()> isShortDate(const forms::TextBox* box)
{
    return [box] { return box->Text().length() < 10; };
}

std::function<bool()> isNoDate(const forms::TextBox* box)
{
    return [box] { return !holdsDate(*box); };
}

std::function<bool()> isNoNumber(const forms::TextBox* box)
{
    return [box] { return !holdsNumber(*box); };
}

}  // namespace core
