// The event pump (DoEvents) and the clock: today, the time of day and the busy waits,
// with a test hook that fixes the time and runs the waits at once.
#pragma once

#include "platform/forms/test_hook.h"

#include <QDate>
#include <QElapsedTimer>

namespace forms {

// Lets pending events run, unless a PumpPause is held.
void DoEvents();

// The event pump of a long loop, which calls it on every row: the first call lets
// pending events run, later ones only when a slice of time has passed since they last
// did. The window keeps answering (a press, a close box, a repaint within a slice)
// while the loop pays for the pump a few times a second instead of on every row.
class EventSlice {
public:
    explicit EventSlice(int milliseconds = 30) : milliseconds_(milliseconds) {}
    void DoEvents();

private:
    int milliseconds_;
    QElapsedTimer lastRun_;
};

// Held while a write's transaction is open: DoEvents lets no event run meanwhile, so
// no handler can slip its own writes into the transaction, whatever the code inside
// calls. Widgets may still be repainted directly.
class PumpPause {
public:
    PumpPause() { ++held_; }
    ~PumpPause() { --held_; }
    PumpPause(const PumpPause&) = delete;
    PumpPause& operator=(const PumpPause&) = delete;
    static bool held() { return held_ > 0; }

private:
    static inline int held_ = 0;
};

class Clock {
public:
    static QDate Today();
    // Waits `seconds` on a monotonic clock, pumping events all the while.
    static void WaitSeconds(double seconds);

    // Installed for its lifetime: Today comes from the hook and waits return at
    // once (after one pass of the event pump), adding to `waited`.
    class TestHook : public InstalledHook<TestHook> {
    public:
        explicit TestHook(const QDate& today = QDate(2024, 3, 15));

        QDate today;
        double waited = 0;
        int waits = 0;
    };
};

}  // namespace forms
