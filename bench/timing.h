#pragma once

// What the benchmarks share: timing a piece of work over many runs, and printing a row
// of median, p95 and maximum in milliseconds.
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace velmora::bench {

inline std::vector<double> timeRuns(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return ms;
}

// One row: the label padded to `width`, then median, p95, maximum and the run count.
inline void report(const char *what, std::vector<double> ms, int width = 34)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double p) { return ms[std::min(ms.size() - 1, std::size_t(p * double(ms.size())))]; };
    std::printf("%-*s %8.3f %8.3f %8.3f %6zu\n", width, what, at(0.5), at(0.95), ms.back(), ms.size());
}

} // namespace velmora::bench
