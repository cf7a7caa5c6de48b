// The event pump and the clock; see event_pump.h.
#include "platform/forms/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace forms {

void DoEvents()
{
    if (!PumpPause::held()) QCoreApplication::processEvents();
}

void EventSlice::DoEvents()
{
    if (lastRun_.isValid() && lastRun_.elapsed() < milliseconds_) return;
    forms::DoEvents();
    lastRun_.start();
}

QDate Clock::Today()
{
    const TestHook* hook = TestHook::installed();
    return hook ? hook->today : QDate::currentDate();
}

void Clock::WaitSeconds(double seconds)
{
    if (TestHook* hook = TestHook::installed()) {
        hook->waited += seconds;
        ++hook->waits;
        DoEvents();
        return;
    }
    QElapsedTimer elapsed;   // monotonic: a wait across midnight still ends
    elapsed.start();
    const qint64 until = static_cast<qint64>(seconds * 1000);
    // The pump sleeps until an event comes, and the ticks of this timer are events:
    // the wait keeps the window answering without keeping a processor busy.
    QTimer tick;
    tick.start(20);
    while (elapsed.elapsed() < until)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

Clock::TestHook::TestHook(const QDate& today) : today(today) {}

}  // namespace forms
