// Timing shared by the benchmark programs: best of three runs, wall and processor time.
#ifndef VANTREL_BENCH_TIMING_H
#define VANTREL_BENCH_TIMING_H

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

struct Timing {
    double wallSeconds;
    double cpuSeconds;  // steadier than wall time on a busy machine
};

/// Best of three runs of run, which returns how much it produced (0 is reported).
inline Timing bestOfThree(const std::function<std::size_t()>& run)
{
    using Clock = std::chrono::steady_clock;
    Timing best{1e300, 1e300};
    std::size_t produced = 0;
    for (int i = 0; i < 3; ++i) {
        const auto wallStart = Clock::now();
        const std::clock_t cpuStart = std::clock();
        produced += run();
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
        best = {std::min(best.wallSeconds, wall), std::min(best.cpuSeconds, cpu)};
    }
    if (produced == 0)
        std::printf("(no output)\n");
    return best;
}

/// One line: name, size, and the rate by wall and by processor time.
inline void report(const char* name, std::size_t bytes, Timing timing)
{
    std::printf("%-48s %7.1f MB %7.3f s wall %8.1f MB/s %7.3f s cpu %8.1f MB/s\n", name,
                bytes / 1e6, timing.wallSeconds, bytes / 1e6 / timing.wallSeconds,
                timing.cpuSeconds, bytes / 1e6 / timing.cpuSeconds);
}

#endif
