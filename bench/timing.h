// How every benchmark measures: the median of several runs after warm-up runs (so
// one slow run, a cold cache or a first allocation does not decide the figure), the
// process's peak memory, and each figure's verdict against its limit.
//
// A step's time is the processor time the process spent on it: the work measured here
// computes over files that stay in the page cache, so on a quiet machine that is what
// the user waits for, and the load of other programs does not stretch it as it
// stretches the clock. The clock's time is kept beside it, for the lines that show both.
#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace bench {

// The processor time the process has used so far (all its threads), in nanoseconds.
inline qint64 processorNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A run's clock: `work` passes each step it wants measured; what it does between them
// (the setting up that both sides of a comparison share) is not counted.
class StepClock {
public:
    void time(const std::function<void()>& step)
    {
        QElapsedTimer timer;
        timer.start();
        const qint64 start = processorNanoseconds();
        step();
        processor_ += processorNanoseconds() - start;
        clock_ += timer.nsecsElapsed();
    }
    // A step the work timed itself (by the clock).
    void add(double milliseconds)
    {
        processor_ += static_cast<qint64>(milliseconds * 1e6);
        clock_ += static_cast<qint64>(milliseconds * 1e6);
    }
    // The processor time of the steps.
    double milliseconds() const { return processor_ / 1e6; }
    // Their time by the clock.
    double clockMilliseconds() const { return clock_ / 1e6; }

private:
    qint64 processor_ = 0;
    qint64 clock_ = 0;
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
// comparison: processor time, and the clock's time beside it.
struct Medians {
    double ours;
    double plain;
    double oursClock = 0;
    double plainClock = 0;
    double ratio() const { return ours / plain; }
    double clockRatio() const { return oursClock / plainClock; }
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
    std::vector<double> ourTimes, plainTimes, ourClock, plainClock;
    const auto timed = [](const std::function<void(StepClock&)>& side, std::vector<double>& times,
                          std::vector<double>& clockTimes) {
        StepClock untimed, clock;
        side(untimed);
        side(clock);
        times.push_back(clock.milliseconds());
        clockTimes.push_back(clock.clockMilliseconds());
    };
    for (int run = 0; run < runs; ++run) {
        timed(ours, ourTimes, ourClock);
        timed(plain, plainTimes, plainClock);
    }
    return {medianOf(ourTimes), medianOf(plainTimes), medianOf(ourClock), medianOf(plainClock)};
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
