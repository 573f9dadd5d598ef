#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace qv::format {

// A format text compiled once into sections and tokens; the renderers walk
// the tokens. Compiled formats are cached per thread by their text, since a
// column repeats its format for every row.

enum class SectionKind { Number, Date, Text, Literal };

enum class Tok {
    Literal,
    // numbers
    Zero, Hash, Point, Exponent,
    // dates and times
    Day, Day2, DayAbbr, DayName, ShortDate, LongDate, Weekday, Week, Month, Month2, MonthAbbr,
    MonthName, Quarter, DayOfYear, Year2, Year4, Hour, Hour2, Minute, Minute2, Second, Second2,
    LongTime, GeneralDate, AmPmText, AmPmLocale, DateSeparator, TimeSeparator,
    // texts
    CharOrSpace, CharOrNothing,
};

struct Token
{
    Token(Tok k = Tok::Literal, QString t = {}) : kind(k), text(std::move(t)) {}
    Tok kind;
    QString text; // literal text; the AM and PM texts of AmPmText joined by '/'
    bool upper = true; // Exponent: 'E' rather than 'e'
    bool sign = false; // Exponent: "+" shows the sign of positive exponents too
};

struct NumberLayout
{
    std::vector<Token> whole;    // up to the point: placeholders and literals
    std::vector<Token> fraction; // after the point, up to the exponent
    std::vector<Token> exponent; // after "E+": placeholders and literals
    bool hasPoint = false;
    bool hasExponent = false;
    bool exponentUpper = true;
    bool exponentSign = false;
    bool grouping = false;
    int scale = 0;    // each scaling comma divides by 1000
    int percent = 0;  // each '%' multiplies by 100
    int wholePlaceholders = 0;
    int fractionPlaceholders = 0;
    int exponentZeros = 0;
};

struct Section
{
    SectionKind kind = SectionKind::Literal;
    bool empty = true; // nothing was written between the semicolons
    std::vector<Token> tokens; // dates, texts and literals
    NumberLayout number;
    bool twelveHour = false;
    bool lower = false, upperCase = false, fillLeft = false; // texts
};

struct CompiledFormat
{
    std::vector<Section> sections; // one to four
};

std::shared_ptr<const CompiledFormat> Compile(const QString &format);

} // namespace qv::format
