// Formatting speed: DataFormat against Qt's own locale formatting of the
// same values, in the same process.
#include "BenchMain.h"

#include "automation/LocaleFacts.h"
#include "format/DataFormat.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <vector>

namespace {

constexpr int kValues = 1024;

const std::vector<double> &Numbers()
{
    static const std::vector<double> numbers = [] {
        std::vector<double> v;
        for (int i = 0; i < kValues; ++i)
            v.push_back((i * 7919 % 100000) / 7.0 - 5000.0);
        return v;
    }();
    return numbers;
}

// The texts a recordset column hands over: what the values read as.
const QStringList &NumberTexts()
{
    static const QStringList texts = [] {
        QStringList t;
        for (double d : Numbers())
            t << QString::number(d, 'g', 15);
        return t;
    }();
    return texts;
}

const std::vector<QDateTime> &Moments()
{
    static const std::vector<QDateTime> moments = [] {
        std::vector<QDateTime> v;
        for (int i = 0; i < kValues; ++i)
            v.push_back(QDateTime(QDate(1990, 1, 1).addDays(i * 13), QTime(0, 0)));
        return v;
    }();
    return moments;
}

const QStringList &MomentTexts()
{
    static const QStringList texts = [] {
        QStringList t;
        for (const QDateTime &m : Moments())
            t << m.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return t;
    }();
    return texts;
}

// Each baseline keeps one QLocale for its loop; ours pins the locale's facts
// for the loop the same way, as the data viewer does while it fills a column.

void BM_GetFormattedDataNumber(benchmark::State &state)
{
    const qv::LocaleScope locale;
    const qv::DataFormat format;
    const QString pattern = QStringLiteral("#,##0.00");
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(format.GetFormattedData(NumberTexts()[i++ & (kValues - 1)], pattern, qv::FieldTypeNumber));
}
BENCHMARK(BM_GetFormattedDataNumber);

void BM_QLocaleNumber(benchmark::State &state)
{
    const QLocale locale;
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(locale.toString(Numbers()[size_t(i++ & (kValues - 1))], 'f', 2));
}
BENCHMARK(BM_QLocaleNumber);

void BM_GetFormattedDataDate(benchmark::State &state)
{
    const qv::LocaleScope locale;
    qv::DataFormat format;
    format.SetSupressDateResolve(true);
    const QString pattern = QStringLiteral("d mmmm yyyy");
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(format.GetFormattedData(MomentTexts()[i++ & (kValues - 1)], pattern, qv::FieldTypeDate));
}
BENCHMARK(BM_GetFormattedDataDate);

void BM_QLocaleDate(benchmark::State &state)
{
    const QLocale locale;
    const QString pattern = QStringLiteral("d MMMM yyyy");
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(locale.toString(Moments()[size_t(i++ & (kValues - 1))], pattern));
}
BENCHMARK(BM_QLocaleDate);

// The first time a cell is asked for: nothing remembered yet.
void BM_ColdNumber(benchmark::State &state)
{
    qv::DataFormat format;
    const QString pattern = QStringLiteral("#,##0.00");
    int i = 0;
    for (auto _ : state) {
        format.SetSupressTimeResolve(i & 1); // forgets the texts made so far
        benchmark::DoNotOptimize(format.GetFormattedData(NumberTexts()[i++ & (kValues - 1)], pattern, qv::FieldTypeNumber));
    }
}
BENCHMARK(BM_ColdNumber);

void BM_ColdDate(benchmark::State &state)
{
    qv::DataFormat format;
    format.SetSupressDateResolve(true);
    const QString pattern = QStringLiteral("d mmmm yyyy");
    int i = 0;
    for (auto _ : state) {
        format.SetSupressTimeResolve(i & 1);
        benchmark::DoNotOptimize(format.GetFormattedData(MomentTexts()[i++ & (kValues - 1)], pattern, qv::FieldTypeDate));
    }
}
BENCHMARK(BM_ColdDate);

void BM_ResolveDateString(benchmark::State &state)
{
    const qv::LocaleScope locale;
    const qv::DataFormat format;
    const QString text = QStringLiteral("Tuesday, 4.6.2002");
    for (auto _ : state)
        benchmark::DoNotOptimize(format.ResolveDateString(text));
}
BENCHMARK(BM_ResolveDateString);

void BM_QLocaleToDateTime(benchmark::State &state)
{
    const QLocale locale;
    const QString text = QStringLiteral("Tuesday, 4.6.2002");
    const QString pattern = QStringLiteral("dddd, M.d.yyyy");
    for (auto _ : state)
        benchmark::DoNotOptimize(locale.toDateTime(text, pattern));
}
BENCHMARK(BM_QLocaleToDateTime);

const bool g_goals = qv::bench::AddRatioGoal({"GetFormattedData #,##0.00 vs QLocale::toString", "BM_GetFormattedDataNumber", "BM_QLocaleNumber", 1.0})
                     && qv::bench::AddRatioGoal({"GetFormattedData d mmmm yyyy vs QLocale::toString", "BM_GetFormattedDataDate", "BM_QLocaleDate", 0.2})
                     && qv::bench::AddTimeGoal("first formatting of a number cell", "BM_ColdNumber", 2.0)
                     && qv::bench::AddTimeGoal("first formatting of a date cell", "BM_ColdDate", 2.0)
                     && qv::bench::AddRatioGoal({"ResolveDateString vs QLocale::toDateTime", "BM_ResolveDateString", "BM_QLocaleToDateTime", 0.2});

} // namespace
