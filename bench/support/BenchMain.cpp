#include "BenchMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace qv::bench {

double PeakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return -1;
}

void ResetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

namespace {

struct TimeGoal
{
    std::string name;
    std::string benchmark;
    double bound;
};

std::vector<RatioGoal> &RatioGoals()
{
    static std::vector<RatioGoal> goals;
    return goals;
}

std::vector<TimeGoal> &TimeGoals()
{
    static std::vector<TimeGoal> goals;
    return goals;
}

std::vector<std::pair<std::string, std::string>> &Figures()
{
    static std::vector<std::pair<std::string, std::string>> figures;
    return figures;
}

// Keeps the console output and remembers each run's time per iteration in ns.
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            m_nanoseconds[run.run_name.function_name] =
                run.GetAdjustedRealTime() * NanosecondsPer(run.time_unit);
            for (const auto &[counter, value] : run.counters)
                m_counters[run.run_name.function_name + '/' + counter] = value.value;
        }
    }

    double Counter(const std::string &name, const std::string &counter) const
    {
        const auto it = m_counters.find(name + '/' + counter);
        return it == m_counters.end() ? -1.0 : it->second;
    }

    double Time(const std::string &name) const
    {
        const auto it = m_nanoseconds.find(name);
        return it == m_nanoseconds.end() ? -1.0 : it->second;
    }

private:
    static double NanosecondsPer(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1.0;
        }
    }

    std::map<std::string, double> m_nanoseconds;
    std::map<std::string, double> m_counters;
};

int PrintGoals(const CollectingReporter &reporter)
{
    // The console reporter may end on a colour reset without a line break:
    // each goal line starts a line of its own.
    std::printf("\n");
    int failed = 0;
    for (const RatioGoal &goal : RatioGoals()) {
        const bool counted = !goal.counter.empty();
        const double ours = counted ? reporter.Counter(goal.ours, goal.counter) : reporter.Time(goal.ours);
        const double base = counted ? reporter.Counter(goal.baseline, goal.counter) : reporter.Time(goal.baseline);
        if (ours < 0 || base <= 0) {
            std::printf("ratio %s: not measured (goal <= %g)\n", goal.name.c_str(), goal.bound);
            ++failed;
            continue;
        }
        const double ratio = ours / base;
        std::printf("ratio %s: %.3f (goal <= %g)\n", goal.name.c_str(), ratio, goal.bound);
        failed += ratio > goal.bound;
    }
    for (const TimeGoal &goal : TimeGoals()) {
        const double us = reporter.Time(goal.benchmark) / 1000.0;
        std::printf("figure %s: %.1f us (goal <= %g)\n", goal.name.c_str(), us, goal.bound);
        failed += us < 0 || us > goal.bound;
    }
    for (const auto &[name, benchmark] : Figures())
        std::printf("figure %s: %.2f ms\n", name.c_str(), reporter.Time(benchmark) / 1e6);
    return failed;
}

} // namespace

bool AddRatioGoal(RatioGoal goal)
{
    RatioGoals().push_back(std::move(goal));
    return true;
}

namespace {

ApplicationFactory &Factory()
{
    static ApplicationFactory factory = nullptr;
    return factory;
}

} // namespace

bool SetApplicationFactory(ApplicationFactory factory)
{
    Factory() = factory;
    return true;
}

bool AddTimeGoal(std::string name, std::string benchmark, double boundMicroseconds)
{
    TimeGoals().push_back({std::move(name), std::move(benchmark), boundMicroseconds});
    return true;
}

bool AddFigure(std::string name, std::string benchmark)
{
    Figures().emplace_back(std::move(name), std::move(benchmark));
    return true;
}

} // namespace qv::bench

int main(int argc, char **argv)
{
    const auto factory = qv::bench::Factory();
    std::unique_ptr<QCoreApplication> app(factory ? factory(argc, argv) : new QCoreApplication(argc, argv));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    qv::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // A missed goal is reported, not fatal: ./qv bench prints every figure.
    qv::bench::PrintGoals(reporter);
    return 0;
}
