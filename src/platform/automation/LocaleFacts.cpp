#include "LocaleFacts.h"

#include <memory>

namespace qv {
namespace {

// Splits a formatted sample amount around its digits.
void SplitAround(const QString &sample, QString &prefix, QString &suffix)
{
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < sample.size(); ++i) {
        if (!sample[i].isDigit())
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    if (first < 0) {
        prefix = sample;
        return;
    }
    prefix = sample.left(first);
    suffix = sample.mid(last + 1);
}

int CurrencyDigitsOf(const QLocale &locale, QChar point)
{
    const QString sample = locale.toCurrencyString(1.5);
    const qsizetype at = sample.indexOf(point);
    if (at < 0)
        return 0;
    int digits = 0;
    for (qsizetype i = at + 1; i < sample.size() && sample[i].isDigit(); ++i)
        ++digits;
    return digits;
}

void ReadDateOrder(LocaleFacts &facts, const QString &shortDate)
{
    const qsizetype d = shortDate.indexOf(QLatin1Char('d'));
    const qsizetype m = shortDate.indexOf(QLatin1Char('m'));
    const qsizetype y = shortDate.indexOf(QLatin1Char('y'));
    if (y >= 0 && y < d && y < m)
        facts.Order = DateOrder::YearMonthDay;
    else if (d >= 0 && d < m)
        facts.Order = DateOrder::DayMonthYear;
    else
        facts.Order = DateOrder::MonthDayYear;
    facts.DateSeparator = QLatin1Char('/');
    for (QChar c : shortDate) {
        if (!c.isLetter() && !c.isSpace()) {
            facts.DateSeparator = c;
            break;
        }
    }
}

std::unique_ptr<LocaleFacts> ReadFacts(const QLocale &locale)
{
    auto facts = std::make_unique<LocaleFacts>();
    facts->Locale = locale;
    facts->DecimalPoint = locale.decimalPoint().front();
    facts->Group = locale.groupSeparator().isEmpty() ? QChar(u',') : locale.groupSeparator().front();
    facts->CurrencySymbol = locale.currencySymbol();
    facts->CurrencyDigits = CurrencyDigitsOf(locale, facts->DecimalPoint);
    SplitAround(locale.toCurrencyString(1.0), facts->CurrencyPrefix, facts->CurrencySuffix);
    SplitAround(locale.toCurrencyString(-1.0), facts->NegativeCurrencyPrefix, facts->NegativeCurrencySuffix);
    // Numeric short dates keep four-digit years, as the desktop's regional settings do.
    QString shortDate = QtPatternToFormat(locale.dateFormat(QLocale::ShortFormat));
    if (!shortDate.contains(QLatin1String("yyyy")))
        shortDate.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    facts->ShortDate = shortDate;
    facts->LongDate = QtPatternToFormat(locale.dateFormat(QLocale::LongFormat));
    facts->LongTime = QtPatternToFormat(locale.timeFormat(QLocale::LongFormat));
    facts->ShortTime = QtPatternToFormat(locale.timeFormat(QLocale::ShortFormat));
    ReadDateOrder(*facts, shortDate);
    facts->TimeSeparator = QLatin1Char(':');
    facts->AmText = locale.amText();
    facts->PmText = locale.pmText();
    for (int i = 0; i < 12; ++i) {
        facts->MonthNames[i] = locale.monthName(i + 1, QLocale::LongFormat);
        facts->MonthAbbreviations[i] = locale.monthName(i + 1, QLocale::ShortFormat);
    }
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i; // Qt counts Monday as 1
        facts->DayNames[i] = locale.dayName(qtDay, QLocale::LongFormat);
        facts->DayAbbreviations[i] = locale.dayName(qtDay, QLocale::ShortFormat);
    }
    return facts;
}

// One Qt pattern letter run in the format language.
QString TranslateRun(QChar letter, qsizetype count, bool twelveHour)
{
    const QString run(count, letter);
    switch (letter.unicode()) {
    case 'M': return QString(count, QLatin1Char('m'));
    case 'm': return QString(std::min<qsizetype>(count, 2), QLatin1Char('n'));
    case 'H': return QString(std::min<qsizetype>(count, 2), QLatin1Char('h'));
    case 'h': return QString(std::min<qsizetype>(count, 2), QLatin1Char('h'));
    case 'A': case 'a': return count == 1 ? QString() : QStringLiteral("AMPM");
    case 'P': case 'p': return count == 1 && twelveHour ? QStringLiteral("AMPM") : QString();
    case 'z': return QString();
    default: return run;
    }
}

// The time zone is dropped with what only framed it: its brackets and the
// separator before it ("HH:mm:ss (t)", "h:mm:ss AP, t", "t HH:mm:ss").
void DropZone(QString &out, const QString &pattern, qsizetype &next)
{
    if (out.endsWith(QLatin1Char('(')) || out.endsWith(QLatin1Char('['))) {
        out.chop(1);
        if (next < pattern.size() && (pattern[next] == QLatin1Char(')') || pattern[next] == QLatin1Char(']')))
            ++next;
    }
    while (!out.isEmpty() && (out.back().isSpace() || out.back() == QLatin1Char(',')))
        out.chop(1);
    if (!out.isEmpty())
        return;
    while (next < pattern.size() && (pattern[next].isSpace() || pattern[next] == QLatin1Char(',')))
        ++next;
}

} // namespace

QString QtPatternToFormat(const QString &pattern)
{
    const bool twelveHour = pattern.contains(QLatin1String("AP"), Qt::CaseInsensitive);
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype end = pattern.indexOf(QLatin1Char('\''), i + 1);
            const QString literal = pattern.mid(i + 1, (end < 0 ? pattern.size() : end) - i - 1);
            out += literal.isEmpty() ? QStringLiteral("\\'") : QLatin1Char('"') + literal + QLatin1Char('"');
            i = end < 0 ? pattern.size() : end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
            // "AP" / "ap": one AM/PM marker.
            if (i + 1 < pattern.size() && pattern[i + 1].toLower() == QLatin1Char('p')) {
                out += QStringLiteral("AMPM");
                i += 2;
                continue;
            }
        }
        i += run;
        if (c == QLatin1Char('t'))
            DropZone(out, pattern, i);
        else
            out += c.isLetter() ? TranslateRun(c, run, twelveHour) : QString(run, c);
    }
    return out.trimmed();
}

namespace {

thread_local std::unique_ptr<LocaleFacts> t_facts;
thread_local int t_pins = 0;

} // namespace

const LocaleFacts &CurrentLocaleFacts()
{
    if (t_pins > 0 && t_facts)
        return *t_facts;
    const QLocale current;
    thread_local quint64 generation = 0;
    if (!t_facts || !(t_facts->Locale == current)) {
        t_facts = ReadFacts(current);
        t_facts->Generation = ++generation;
    }
    return *t_facts;
}

LocaleScope::LocaleScope()
{
    // Brings the facts up to date before they are pinned.
    if (t_pins == 0)
        CurrentLocaleFacts();
    ++t_pins;
}

LocaleScope::~LocaleScope()
{
    --t_pins;
}

} // namespace qv
