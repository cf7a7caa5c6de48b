// What the services' test hooks share: a hook is installed for its lifetime (the
// latest one wins, and nothing real is shown while it is), it cannot be copied, and
// the answers a test queued for the next box, dialog or pop-up are taken off in order.
#pragma once

#include <deque>
#include <optional>
#include <utility>

namespace forms {

template <class Hook>
class InstalledHook {
public:
    InstalledHook(const InstalledHook&) = delete;
    InstalledHook& operator=(const InstalledHook&) = delete;
    // The hook installed now, or nullptr.
    static Hook* installed() { return current_; }

protected:
    InstalledHook() { current_ = static_cast<Hook*>(this); }
    ~InstalledHook()
    {
        if (current_ == this) current_ = nullptr;
    }

private:
    static inline Hook* current_ = nullptr;
};

template <class T>
std::optional<T> takeNext(std::deque<T>& queue)
{
    if (queue.empty()) return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

}  // namespace forms
