// How every benchmark measures: the median of several runs after warm-up runs (so
// one slow run, a cold cache or a first allocation does not decide the figure), the
// process's peak memory, and each figure's verdict against its limit.
#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
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
    // A step the work timed itself.
    void add(double milliseconds) { nanoseconds_ += static_cast<qint64>(milliseconds * 1e6); }
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

// The medians, in milliseconds, of the program's side and the plain side of one
// comparison.
struct Medians {
    double ours;
    double plain;
    double ratio() const { return ours / plain; }
};

inline double medianOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The two sides of a comparison in turns, so that a change of the machine's load falls
// on both: each run is an untimed run of the program's side, a timed one, an untimed run
// of the plain side and a timed one (each timed run follows one of its own side, so
// neither pays for what the other left in the caches or the file).
inline Medians inTurnsOfSteps(const std::function<void(StepClock&)>& ours, const std::function<void(StepClock&)>& plain,
                              int runs = 7)
{
    std::vector<double> ourTimes, plainTimes;
    const auto timed = [](const std::function<void(StepClock&)>& side, std::vector<double>& times) {
        StepClock untimed, clock;
        side(untimed);
        side(clock);
        times.push_back(clock.milliseconds());
    };
    for (int run = 0; run < runs; ++run) {
        timed(ours, ourTimes);
        timed(plain, plainTimes);
    }
    return {medianOf(ourTimes), medianOf(plainTimes)};
}

// The same when the whole of each run is timed.
inline Medians inTurns(const std::function<void()>& ours, const std::function<void()>& plain, int runs = 7)
{
    return inTurnsOfSteps([&ours](StepClock& clock) { clock.time(ours); },
                          [&plain](StepClock& clock) { clock.time(plain); }, runs);
}

// The verdicts of this run: every figure judged against its limit is counted, and the
// benchmark's last line says how many were judged and how many are over, in the form
// `make bench` adds up ("verdicts: 7 figures, 1 over the limit").
class Verdicts {
public:
    static Verdicts& ofThisRun()
    {
        static Verdicts verdicts;
        return verdicts;
    }
    void count(bool over)
    {
        ++figures_;
        if (over) ++over_;
    }
    ~Verdicts()
    {
        std::printf("verdicts: %d figures, %d over the limit\n", figures_, over_);
        std::fflush(stdout);
    }

private:
    Verdicts() = default;
    int figures_ = 0;
    int over_ = 0;
};

// What a figure's line says after its limit: nothing when the figure is within it,
// ": not met" when it is over (or no figure came out); the verdict is counted.
inline const char* overLimit(double figure, double limit)
{
    const bool over = !(figure <= limit);
    Verdicts::ofThisRun().count(over);
    return over ? ": not met" : "";
}

// The most memory the process has held so far, in megabytes.
inline double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

}  // namespace bench
