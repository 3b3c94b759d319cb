// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wall-clock and CPU time of the timed parts of a benchmark, kept per case so that
// a benchmark program can print its cases side by side as ratios after the run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>

namespace benchtimer {

using Clock = std::chrono::steady_clock;

inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

/// Sums the time between start() and stop() over the iterations of one case.
struct Timer
{
    double wall = 0;
    double cpu = 0;
    Clock::time_point t0;
    double c0 = 0;
    void start()
    {
        c0 = cpuMs();
        t0 = Clock::now();
    }
    void stop()
    {
        wall += std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        cpu += cpuMs() - c0;
    }
};

/// Milliseconds per iteration of every case recorded, by case name.
inline std::map<std::string, double> g_msPerIteration;
inline std::map<std::string, double> g_cpuMsPerIteration;

inline void record(benchmark::State &state, const std::string &name, const Timer &t)
{
    const double n = double(state.iterations());
    g_msPerIteration[name] = t.wall / n;
    g_cpuMsPerIteration[name] = t.cpu / n;
    state.counters["ms"] = t.wall / n;
    state.counters["cpu_ms"] = t.cpu / n;
}

/// Prints the case \a fast beside the case \a reference: both times and their ratio.
inline void printRatio(const char *what, const std::string &fast, const std::string &reference)
{
    const auto f = g_msPerIteration.find(fast);
    const auto r = g_msPerIteration.find(reference);
    if (f == g_msPerIteration.end() || r == g_msPerIteration.end() || f->second <= 0)
        return;
    const double fc = g_cpuMsPerIteration[fast];
    const double rc = g_cpuMsPerIteration[reference];
    std::printf("%-50s wall %8.2f ms vs %8.2f ms literal (fast/literal %.3f); cpu %8.2f ms vs %8.2f ms (%.3f)\n",
                what, f->second, r->second, f->second / r->second, fc, rc, rc > 0 ? fc / rc : 0.0);
}

/// Runs the registered benchmarks; the caller
/// keeps the QGuiApplication the fonts need alive around this call.
inline void runAll(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

} // namespace benchtimer
