#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>

class QCoreApplication;

namespace qv::bench {

// A speed goal: the mean real time of the benchmark `ours` divided by that of
// `baseline`, both run in the same process, must be at most `bound`. The
// benchmarks are registered the usual way (BENCHMARK); a goal names them.
// With a `counter`, the goal compares that counter of the two runs instead
// of their times (a peak of memory, say).
struct RatioGoal
{
    RatioGoal(std::string name, std::string ours, std::string baseline, double bound, std::string counter = {})
        : name(std::move(name)), ours(std::move(ours)), baseline(std::move(baseline)), bound(bound),
          counter(std::move(counter))
    {
    }

    std::string name;
    std::string ours;
    std::string baseline;
    double bound;
    std::string counter;
};

// Registers a goal; returns true so it can initialise a namespace-scope bool.
bool AddRatioGoal(RatioGoal goal);

// A figure without a baseline (a time in microseconds, say), printed as
// "figure NAME: VALUE UNIT (goal <= BOUND)" from the benchmark's mean time.
bool AddTimeGoal(std::string name, std::string benchmark, double boundMicroseconds);

// A figure that has no goal of its own but belongs beside the goals (the
// count that runs beside a first page, say): "figure NAME: VALUE ms".
bool AddFigure(std::string name, std::string benchmark);
// The kernel's high-water mark of this process's resident memory, in
// kilobytes (-1 when unknown); ResetPeak brings it down to the present size.
double PeakKilobytes();
void ResetPeak();

// The application object main makes: a QCoreApplication unless a benchmark
// of widgets registers a factory of a QApplication (before main runs, like
// the goals). Returns true so it can initialise a namespace-scope bool.
using ApplicationFactory = QCoreApplication *(*)(int &argc, char **argv);
bool SetApplicationFactory(ApplicationFactory factory);

} // namespace qv::bench
