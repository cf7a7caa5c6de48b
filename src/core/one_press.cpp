// The one-press guard; see one_press.h.
#include "core/one_press.h"

#include "platform/forms/form.h"

#include <QScopedValueRollback>
#include <optional>

namespace core {

void OnePress::run(const std::function<void()>& handler)
{
    if (running_) return;
    std::optional<forms::Form::PumpScope> pumping;
    if (window_) pumping.emplace(*window_);
    const QScopedValueRollback<bool> running(running_, true);
    handler();
}

}  // namespace core
