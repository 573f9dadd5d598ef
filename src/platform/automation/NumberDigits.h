#pragma once

#include "automation/Variant.h"

#include <string>

namespace qv {

struct LocaleFacts;

// A number as its decimal digits: value = 0.Digits x 10^Point, Digits without
// leading or trailing zeros ("" is zero). Formatting works on these digits so
// that Currency and Decimal values keep their exact digits and a value is
// rounded once, at the end.
struct NumberDigits
{
    bool Negative = false;
    std::string Digits;
    int Point = 0;

    bool IsZero() const { return Digits.empty(); }

    static NumberDigits FromInteger(qint64 value);
    // At most 15 significant digits, as the platform shows a double.
    static NumberDigits FromDouble(double value);
    // At most 7 significant digits, as the platform shows a single.
    static NumberDigits FromSingle(float value);
    static NumberDigits FromCurrency(Currency value);
    static NumberDigits FromDecimal(const Decimal &value);

    // Rounds half away from zero to `fraction` digits after the point.
    void RoundToFraction(int fraction);
    // Rounds half away from zero to `count` significant digits.
    void RoundToSignificant(int count);
    // Multiplies by 10^power.
    void Shift(int power) { if (!IsZero()) Point += power; }

    // The digits before the point ("" for a value below 1) and after it,
    // padded with zeros to `fraction` digits.
    std::string IntegerDigits() const;
    std::string FractionDigits(int fraction) const;

    double ToDouble() const;
    // The value as a Decimal (rounded to what 96 bits and 28 decimals hold) or
    // a Currency (rounded to four decimals); false when it does not fit.
    bool ToDecimal(Decimal &out) const;
    bool ToCurrency(Currency &out) const;

    // Drops leading and trailing zeros; a zero loses its sign.
    void Normalize();

    // The digits of a value of a number kind (Boolean, Long, LongLong,
    // Single, Double, Currency, Decimal); false for any other kind.
    static bool FromNumber(const Variant &value, NumberDigits &out);
    // Exact arithmetic on the digits: sums of 64-bit identifiers and decimals
    // keep every digit, where doubles keep fifteen.
    void Add(const NumberDigits &other);
    // -1, 0 or 1 as a is less than, equal to or greater than b.
    static int Compare(const NumberDigits &a, const NumberDigits &b);
};

// Reads a number written as people write it under the locale: spaces around,
// a leading or trailing sign, parentheses for a negative value, the currency
// symbol before or after, group separators in the whole part, the decimal
// point, an exponent. Returns false for anything else (an empty text, a date).
bool ParseNumberText(QStringView text, const LocaleFacts &facts, NumberDigits &out);

} // namespace qv
