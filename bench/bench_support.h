// What the benchmarks share: a temporary Windows folder for the program's globals, a
// stopwatch and the median of warmed-up runs, beside the plain connection
// (plain_connection.h) and the medians of timing.h.
#pragma once

#include "core/globals.h"
#include "plain_connection.h"
#include "timing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// Makes `folder` the program's Windows folder; returns where its database file goes.
inline QString useAsWindowsDir(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkpath(QStringLiteral("system"));
    core::WindowsDir = folder.path();
    return folder.filePath(QStringLiteral("system/zyqhmz.mdb"));
}

inline double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The median of `values` without the first, the warm-up.
inline double medianOfWarmed(std::vector<double> values)
{
    values.erase(values.begin());
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
