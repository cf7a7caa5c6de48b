// The one-press guard: a handler that lets events run (a write, a look-up or reset
// that pumps, the settlement) runs under it, so that a press reaching a guarded
// control while the handler runs does nothing, and the window's close waits for the
// handler's end (the window's PumpScope is held). A window keeps one guard for all
// such handlers, the write routine's:
//
//   writer_.guarded([this] { ... });      // the write routine's own guard
//   press_.run([this] { ... });           // a guard of its own where there is no writer
#pragma once

#include <functional>

namespace forms { class Form; }

namespace core {

class OnePress {
public:
    // A guard of a handler that belongs to no window (a menu item's).
    OnePress() = default;
    explicit OnePress(forms::Form& window) : window_(&window) {}
    OnePress(const OnePress&) = delete;
    OnePress& operator=(const OnePress&) = delete;

    // Runs `handler`; called again while one runs, returns at once without running it.
    void run(const std::function<void()>& handler);

private:
    forms::Form* window_ = nullptr;
    bool running_ = false;
};

}  // namespace core
