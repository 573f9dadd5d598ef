#include "OleDate.h"

#include <cmath>

namespace qv {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;
// Far beyond any calendar date (27 million years) yet well inside a 64-bit
// day count: a serial from a damaged file past it is no date at all.
constexpr double kMaxDays = 1e10;

bool IsDay(double days)
{
    return std::isfinite(days) && std::fabs(days) < kMaxDays;
}

// Whole days and milliseconds into the day, rounded to the millisecond first so
// that 0.9999999999 does not show as 23:59:59.999 of the wrong day.
void Split(double days, qint64 &whole, qint64 &ms)
{
    double wholePart = std::trunc(days);
    double fraction = std::fabs(days - wholePart);
    ms = std::llround(fraction * kMsPerDay);
    whole = qint64(wholePart);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += days < 0 ? -1 : 1;
    }
}

} // namespace

QDate OleDatePart(double days)
{
    if (!IsDay(days))
        return {};
    qint64 whole = 0;
    qint64 ms = 0;
    Split(days, whole, ms);
    return kEpoch.addDays(whole);
}

QTime OleTimePart(double days)
{
    if (!IsDay(days))
        return {};
    qint64 whole = 0;
    qint64 ms = 0;
    Split(days, whole, ms);
    return QTime(0, 0).addMSecs(int(ms));
}

QDateTime OleDateToDateTime(double days)
{
    return QDateTime(OleDatePart(days), OleTimePart(days));
}

double DateTimeToOleDate(const QDate &date, const QTime &time)
{
    double whole = double(kEpoch.daysTo(date));
    double fraction = time.isValid() ? time.msecsSinceStartOfDay() / double(kMsPerDay) : 0.0;
    return whole < 0 ? whole - fraction : whole + fraction;
}

bool ReadIsoDateTime(QStringView text, QDate &date, QTime &time)
{
    text = text.trimmed();
    qsizetype split = text.indexOf(u'T');
    if (split < 0)
        split = text.indexOf(u' ');
    if (split < 0) {
        date = QDate::fromString(text.toString(), Qt::ISODate);
        time = QTime(0, 0);
        return date.isValid();
    }
    QStringView clock = text.sliced(split + 1);
    if (clock.endsWith(u'Z'))
        clock.chop(1);
    else if (clock.size() > 6 && (clock[clock.size() - 6] == u'+' || clock[clock.size() - 6] == u'-') && clock[clock.size() - 3] == u':')
        clock.chop(6);
    date = QDate::fromString(text.first(split).toString(), Qt::ISODate);
    time = QTime::fromString(clock.toString(), Qt::ISODateWithMs);
    return date.isValid() && time.isValid();
}

bool SplitOleDate(double oleDays, QDate &date, int &secondsOfDay)
{
    constexpr double kFirst = -657434.0;          // 100-01-01
    constexpr double kLast = 2958465.0 + 86399.5 / 86400; // 9999-12-31 23:59:59.5
    if (!std::isfinite(oleDays) || oleDays < kFirst || oleDays >= kLast)
        return false;
    double whole = std::trunc(oleDays);
    long long seconds = std::llround(std::fabs(oleDays - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += oleDays < 0 ? -1 : 1;
    }
    date = kEpoch.addDays(qint64(whole));
    secondsOfDay = int(seconds);
    return date.isValid() && date.year() >= 100 && date.year() <= 9999;
}

double MakeOleDate(const QDate &date, int secondsOfDay)
{
    return DateTimeToOleDate(date, QTime(0, 0).addSecs(secondsOfDay));
}

} // namespace qv
