#include "FormatRender.h"

#include "LocaleFacts.h"

namespace qv::format {
namespace {

// Writes digits left to right, putting the group character between groups of three.
struct DigitWriter
{
    QString &out;
    const LocaleFacts &facts;
    bool grouping;
    int remaining; // digits still to write

    void Put(char digit)
    {
        out += QLatin1Char(digit);
        --remaining;
        if (grouping && remaining > 0 && remaining % 3 == 0)
            out += facts.Group;
    }
    void Put(const std::string &digits)
    {
        for (char d : digits)
            Put(d);
    }
};

void RenderWhole(const NumberLayout &n, const std::string &whole, const LocaleFacts &facts, QString &out)
{
    const int placeholders = n.wholePlaceholders;
    const int length = int(whole.size());
    const int extra = std::max(0, length - placeholders);
    // The digit each placeholder shows, counted from the right; '\0' for none.
    std::vector<char> shown(size_t(placeholders), '\0');
    int total = extra;
    int k = 0;
    for (const Token &t : n.whole) {
        if (t.kind != Tok::Zero && t.kind != Tok::Hash)
            continue;
        const int fromRight = placeholders - 1 - k;
        if (fromRight < length)
            shown[size_t(k)] = whole[size_t(length - 1 - fromRight)];
        else if (t.kind == Tok::Zero)
            shown[size_t(k)] = '0';
        total += shown[size_t(k)] != '\0';
        ++k;
    }
    DigitWriter writer{out, facts, n.grouping, total};
    if (placeholders == 0) {
        for (const Token &t : n.whole)
            out += t.text;
        writer.Put(whole);
        return;
    }
    k = 0;
    for (const Token &t : n.whole) {
        if (t.kind == Tok::Literal) {
            out += t.text;
            continue;
        }
        if (k == 0)
            writer.Put(whole.substr(0, size_t(extra)));
        if (shown[size_t(k)] != '\0')
            writer.Put(shown[size_t(k)]);
        ++k;
    }
}

// Decimal places run to the last '0' placeholder, '#'s before it included,
// and on through the '#'s after it while digits other than zero remain.
void RenderFraction(const NumberLayout &n, const std::string &fraction, QString &out)
{
    const size_t nonZero = fraction.find_last_not_of('0');
    int shownTo = nonZero == std::string::npos ? -1 : int(nonZero);
    int k = 0;
    for (const Token &t : n.fraction) {
        if (t.kind == Tok::Zero)
            shownTo = std::max(shownTo, k);
        k += t.kind != Tok::Literal;
    }
    k = 0;
    for (const Token &t : n.fraction) {
        if (t.kind == Tok::Literal) {
            out += t.text;
            continue;
        }
        if (k <= shownTo)
            out += QLatin1Char(fraction[size_t(k)]);
        ++k;
    }
}

void RenderExponent(const NumberLayout &n, int exponent, QString &out)
{
    out += QLatin1Char(n.exponentUpper ? 'E' : 'e');
    if (exponent < 0)
        out += QLatin1Char('-');
    else if (n.exponentSign)
        out += QLatin1Char('+');
    QString digits = QString::number(std::abs(exponent));
    if (digits.size() < n.exponentZeros)
        digits.prepend(QString(n.exponentZeros - digits.size(), QLatin1Char('0')));
    bool written = false;
    for (const Token &t : n.exponent) {
        if (t.kind == Tok::Literal) {
            out += t.text;
        } else if (!written) {
            out += digits;
            written = true;
        }
    }
    if (!written)
        out += digits;
}

// Moves the point so that the mantissa fills every whole placeholder, '#'
// or '0' ("#000.0e+0" of 4.5E45 is 4500.0e+42); returns the exponent.
int Normalise(const NumberLayout &n, NumberDigits &v)
{
    if (v.IsZero())
        return 0;
    const int whole = n.wholePlaceholders;
    v.RoundToSignificant(std::max(1, whole + n.fractionPlaceholders));
    const int exponent = v.Point - whole;
    v.Shift(-exponent);
    return exponent;
}

} // namespace

QString RenderNumber(const NumberLayout &n, NumberDigits v, const LocaleFacts &facts)
{
    v.Negative = false;
    v.Shift(2 * n.percent - 3 * n.scale);
    int exponent = 0;
    if (n.hasExponent)
        exponent = Normalise(n, v);
    else
        v.RoundToFraction(n.fractionPlaceholders);
    QString out;
    out.reserve(24);
    RenderWhole(n, v.IntegerDigits(), facts, out);
    if (n.hasPoint)
        out += facts.DecimalPoint;
    RenderFraction(n, v.FractionDigits(n.fractionPlaceholders), out);
    if (n.hasExponent)
        RenderExponent(n, exponent, out);
    return out;
}

QString FixedNumber(NumberDigits v, int digits, bool group, bool leadingZero, const LocaleFacts &facts)
{
    v.Negative = false;
    v.RoundToFraction(digits);
    std::string whole = v.IntegerDigits();
    if (whole.empty() && (leadingZero || digits == 0))
        whole.assign(1, '0');
    QString out;
    DigitWriter writer{out, facts, group, int(whole.size())};
    writer.Put(whole);
    if (digits > 0) {
        out += facts.DecimalPoint;
        out += QLatin1String(v.FractionDigits(digits).c_str());
    }
    return out;
}

QString GeneralNumber(const NumberDigits &n, const LocaleFacts &facts, int precision)
{
    if (n.IsZero())
        return QStringLiteral("0");
    QString out;
    if (n.Negative)
        out += QLatin1Char('-');
    const int length = int(n.Digits.size());
    const bool scientific = precision > 0 && (n.Point > precision || length - n.Point > precision);
    if (scientific) {
        out += QLatin1Char(n.Digits[0]);
        if (length > 1) {
            out += facts.DecimalPoint;
            out += QLatin1String(n.Digits.c_str() + 1);
        }
        const int exponent = n.Point - 1;
        out += exponent < 0 ? QLatin1String("E-") : QLatin1String("E+");
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return out;
    }
    const std::string whole = n.IntegerDigits();
    out += whole.empty() ? QStringLiteral("0") : QLatin1String(whole.c_str());
    const int fraction = length - n.Point;
    if (fraction > 0) {
        out += facts.DecimalPoint;
        out += QLatin1String(n.FractionDigits(fraction).c_str());
    }
    return out;
}

} // namespace qv::format
