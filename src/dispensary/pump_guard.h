// A window's guard for its handlers that let pending events run. The event pump can
// deliver the window's exit button or close box in the middle of such a handler, and
// a window deleted under a running handler takes the program down. While a handler
// holds a PumpGuard::Scope, an unload is refused and remembered; when the last scope
// ends, the window unloads as it was asked to.
#pragma once

namespace forms { class Form; }

namespace dispensary {

class PumpGuard {
public:
    explicit PumpGuard(forms::Form& window) : window_(window) {}
    PumpGuard(const PumpGuard&) = delete;
    PumpGuard& operator=(const PumpGuard&) = delete;

    // Held by a handler for as long as it runs.
    class Scope {
    public:
        explicit Scope(PumpGuard& guard) : guard_(guard) { ++guard_.runningHandlers_; }
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        PumpGuard& guard_;
    };

    // Asked from Form_QueryUnload: true while a handler runs (the unload must be
    // cancelled; it happens when that handler ends).
    bool deferUnload();

private:
    forms::Form& window_;
    int runningHandlers_ = 0;
    bool unloadWaiting_ = false;
};

}  // namespace dispensary
