#include "FormatRender.h"

#include "ComError.h"
#include "DateText.h"
#include "OleDate.h"
#include "LocaleFacts.h"

namespace qv::format {
namespace {

// 1 Sunday .. 7 Saturday.
int WeekdayOf(const QDate &date) { return date.dayOfWeek() % 7 + 1; }

int RelativeWeekday(const QDate &date, int firstDay) { return (WeekdayOf(date) - firstDay + 7) % 7 + 1; }

QDate FirstWeekStart(int year, int firstDay, int firstWeek)
{
    const QDate jan1(year, 1, 1);
    const int offset = RelativeWeekday(jan1, firstDay) - 1; // days of the week before 1 January
    QDate start = jan1.addDays(-offset);
    if (firstWeek == 2 && 7 - offset < 4)
        start = start.addDays(7);
    else if (firstWeek == 3 && offset != 0)
        start = start.addDays(7);
    return start;
}

int WeekOfYear(const QDate &date, int firstDay, int firstWeek)
{
    const QDate start = FirstWeekStart(date.year(), firstDay, firstWeek);
    if (date < start) {
        // Still in the last week of the previous year.
        const QDate previous = FirstWeekStart(date.year() - 1, firstDay, firstWeek);
        return int(previous.daysTo(date) / 7) + 1;
    }
    return int(start.daysTo(date) / 7) + 1;
}

QString TwoDigits(int n) { return n < 10 ? QLatin1Char('0') + QString::number(n) : QString::number(n); }

struct Moment
{
    double days;
    QDate date;
    int seconds;
    int Hour() const { return seconds / 3600; }
    int Minute() const { return seconds / 60 % 60; }
    int Second() const { return seconds % 60; }
};

QString Pattern(const QString &pattern, const Moment &m, const LocaleFacts &facts)
{
    const auto compiled = Compile(pattern);
    return RenderDate(compiled->sections.front(), m.days, facts, 1, 1);
}

QString Meridiem(const Token &t, const Moment &m, const LocaleFacts &facts)
{
    const bool morning = m.Hour() < 12;
    if (t.kind == Tok::AmPmLocale)
        return morning ? facts.AmText : facts.PmText;
    const qsizetype slash = t.text.indexOf(u'/');
    return morning ? t.text.left(slash) : t.text.mid(slash + 1);
}

QString Field(const Token &t, const Section &s, const Moment &m, const LocaleFacts &facts, int firstDay,
              int firstWeek)
{
    const QDate &d = m.date;
    switch (t.kind) {
    case Tok::Day: return QString::number(d.day());
    case Tok::Day2: return TwoDigits(d.day());
    case Tok::DayAbbr: return facts.DayAbbreviations[size_t(WeekdayOf(d) - 1)];
    case Tok::DayName: return facts.DayNames[size_t(WeekdayOf(d) - 1)];
    case Tok::ShortDate: return Pattern(facts.ShortDate, m, facts);
    case Tok::LongDate: return Pattern(facts.LongDate, m, facts);
    case Tok::Weekday: return QString::number(RelativeWeekday(d, firstDay));
    case Tok::Week: return QString::number(WeekOfYear(d, firstDay, firstWeek));
    case Tok::Month: return QString::number(d.month());
    case Tok::Month2: return TwoDigits(d.month());
    case Tok::MonthAbbr: return facts.MonthAbbreviations[size_t(d.month() - 1)];
    case Tok::MonthName: return facts.MonthNames[size_t(d.month() - 1)];
    case Tok::Quarter: return QString::number((d.month() - 1) / 3 + 1);
    case Tok::DayOfYear: return QString::number(d.dayOfYear());
    case Tok::Year2: return TwoDigits(d.year() % 100);
    case Tok::Year4: return QString::number(d.year());
    case Tok::Hour:
    case Tok::Hour2: {
        int hour = m.Hour();
        if (s.twelveHour)
            hour = hour % 12 == 0 ? 12 : hour % 12;
        return t.kind == Tok::Hour ? QString::number(hour) : TwoDigits(hour);
    }
    case Tok::Minute: return QString::number(m.Minute());
    case Tok::Minute2: return TwoDigits(m.Minute());
    case Tok::Second: return QString::number(m.Second());
    case Tok::Second2: return TwoDigits(m.Second());
    case Tok::LongTime: return Pattern(facts.LongTime, m, facts);
    case Tok::GeneralDate: return GeneralDate(m.days, facts);
    case Tok::AmPmText:
    case Tok::AmPmLocale: return Meridiem(t, m, facts);
    case Tok::DateSeparator: return QString(facts.DateSeparator);
    case Tok::TimeSeparator: return QString(facts.TimeSeparator);
    default: return t.text;
    }
}

Moment MomentOf(double days)
{
    Moment m{days, {}, 0};
    if (!SplitOleDate(days, m.date, m.seconds))
        throw ComError(vberr::InvalidCall, QString::fromLatin1(kRuntimeErrorSource),
                       QStringLiteral("The value %1 is outside the range of dates (years 100 to 9999).")
                           .arg(days));
    return m;
}

} // namespace

QString RenderDate(const Section &s, double days, const LocaleFacts &facts, int firstDay, int firstWeek)
{
    const Moment m = MomentOf(days);
    QString out;
    out.reserve(32);
    for (const Token &t : s.tokens)
        out += Field(t, s, m, facts, firstDay, firstWeek);
    return out;
}

QString GeneralDate(double days, const LocaleFacts &facts)
{
    const Moment m = MomentOf(days);
    const bool hasDate = m.date != QDate(1899, 12, 30);
    if (!hasDate)
        return Pattern(facts.LongTime, m, facts);
    if (m.seconds == 0)
        return Pattern(facts.ShortDate, m, facts);
    return Pattern(facts.ShortDate, m, facts) + QLatin1Char(' ') + Pattern(facts.LongTime, m, facts);
}

QString RenderText(const Section &s, QString text)
{
    if (s.lower)
        text = text.toLower();
    else if (s.upperCase)
        text = text.toUpper();
    qsizetype placeholders = 0;
    for (const Token &t : s.tokens)
        placeholders += t.kind == Tok::CharOrSpace || t.kind == Tok::CharOrNothing;
    QString out;
    if (placeholders == 0) {
        out = RenderLiteral(s);
        return out + text;
    }
    // Characters go into the placeholders in order; a short text leaves the
    // first placeholders empty (the last ones with '!'), a long one runs on
    // after the last placeholder.
    const qsizetype missing = std::max<qsizetype>(0, placeholders - text.size());
    qsizetype k = 0;
    qsizetype next = 0;
    for (const Token &t : s.tokens) {
        if (t.kind == Tok::Literal) {
            out += t.text;
            continue;
        }
        const bool empty = s.fillLeft ? k >= text.size() : k < missing;
        if (!empty)
            out += text[next++];
        else if (t.kind == Tok::CharOrSpace)
            out += QLatin1Char(' ');
        if (++k == placeholders)
            out += text.mid(next);
    }
    return out;
}

QString RenderLiteral(const Section &s)
{
    QString out;
    for (const Token &t : s.tokens)
        out += t.text;
    return out;
}

} // namespace qv::format
