// The dispensary's input checks; see input_check.h.
#include "dispensary/input_check.h"

#include "platform/forms/services.h"
#include "platform/forms/textbox.h"

namespace dispensary {

bool passesChecks(const std::vector<InputCheck>& checks)
{
    for (const InputCheck& check : checks) {
        if (!check.fails()) continue;
        forms::Notice(check.message);
        if (check.selectAll)
            check.box->SetFocusSelectAll();
        else
            check.box->SetFocus();
        return false;
    }
    return true;
}

}  // namespace dispensary
