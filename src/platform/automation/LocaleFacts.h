#pragma once

#include <QLocale>
#include <QString>

#include <array>

namespace qv {

// The order of day, month and year in the locale's numeric dates.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// What the formatting routines and the text readers need to know of the
// user's regional settings, read once from QLocale() and kept per thread
// until the default locale changes. Date and time patterns are given in the
// format language of Format(), not in Qt's.
struct LocaleFacts
{
    QLocale Locale;
    // Changes whenever the facts are read anew, so that caches of formatted
    // texts know when to forget.
    quint64 Generation = 0;
    QChar DecimalPoint;
    QChar Group;
    QString CurrencySymbol;
    int CurrencyDigits = 2;
    // The text around the digits of a positive and a negative amount.
    QString CurrencyPrefix, CurrencySuffix, NegativeCurrencyPrefix, NegativeCurrencySuffix;
    DateOrder Order = DateOrder::MonthDayYear;
    QChar DateSeparator;
    QChar TimeSeparator;
    QString ShortDate, LongDate, LongTime, ShortTime;
    QString AmText, PmText;
    std::array<QString, 12> MonthNames, MonthAbbreviations;
    std::array<QString, 7> DayNames, DayAbbreviations; // [0] is Sunday
};

// The facts of the current default locale. Asking QLocale() for it takes a
// lock inside Qt, so inside a LocaleScope the facts read when the scope began
// are answered without asking again.
const LocaleFacts &CurrentLocaleFacts();

// Pins the current locale's facts on this thread for its lifetime: a loop that
// formats or reads many values (a column, a recordset) reads the locale once,
// as a caller of QLocale's own methods does by keeping one QLocale. The default
// locale must not be changed while a scope is alive; scopes nest.
class LocaleScope
{
public:
    LocaleScope();
    ~LocaleScope();
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;
};

// A Qt date/time pattern ("dddd, MMMM d, yyyy", "h:mm:ss AP t") in the
// format language ("dddd, mmmm d, yyyy", "h:nn:ss AMPM"); time zones dropped.
QString QtPatternToFormat(const QString &pattern);

} // namespace qv
