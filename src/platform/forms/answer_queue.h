// The answer a test queued for the next message box, file dialog or pop-up menu, taken
// off its queue; shared by the services' test hooks.
#pragma once

#include <deque>
#include <optional>
#include <utility>

namespace forms {

template <class T>
std::optional<T> takeNext(std::deque<T>& queue)
{
    if (queue.empty()) return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

}  // namespace forms
