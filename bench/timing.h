// How every benchmark measures: the median of several runs after warm-up runs (so
// one slow run, a cold cache or a first allocation does not decide the figure), and
// the process's peak memory.
#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace bench {

// A run's clock: `work` passes each step it wants measured; what it does between them
// (the setting up that both sides of a comparison share) is not counted.
class StepClock {
public:
    void time(const std::function<void()>& step)
    {
        QElapsedTimer timer;
        timer.start();
        step();
        nanoseconds_ += timer.nsecsElapsed();
    }
    double milliseconds() const { return nanoseconds_ / 1e6; }

private:
    qint64 nanoseconds_ = 0;
};

// The median, in milliseconds, of `runs` runs of `work` after `warmups` untimed runs,
// each run counting only the steps it gave its clock.
inline double medianMillisecondsOfSteps(const std::function<void(StepClock&)>& work, int runs = 7, int warmups = 2)
{
    std::vector<double> times;
    for (int i = 0; i < warmups + runs; ++i) {
        StepClock clock;
        work(clock);
        if (i >= warmups) times.push_back(clock.milliseconds());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The same median when the whole of each run is timed.
inline double medianMilliseconds(const std::function<void()>& work, int runs = 7, int warmups = 2)
{
    return medianMillisecondsOfSteps([&work](StepClock& clock) { clock.time(work); }, runs, warmups);
}

// The most memory the process has held so far, in megabytes.
inline double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

}  // namespace bench
