#include "NumberDigits.h"

#include "LocaleFacts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <limits>

namespace qv {

void NumberDigits::Normalize()
{
    const auto first = Digits.find_first_not_of('0');
    if (first == std::string::npos) {
        Digits.clear();
        Point = 0;
        Negative = false;
        return;
    }
    Digits.erase(0, first);
    Point -= int(first);
    Digits.erase(Digits.find_last_not_of('0') + 1);
}

NumberDigits NumberDigits::FromInteger(qint64 value)
{
    NumberDigits n;
    n.Negative = value < 0;
    const quint64 magnitude = n.Negative ? 0 - quint64(value) : quint64(value);
    n.Digits = std::to_string(magnitude);
    n.Point = int(n.Digits.size());
    n.Normalize();
    return n;
}

namespace {

// The value rounded to `significant` digits, read back from printf's
// d.ddde+XX form.
NumberDigits Significant(double value, int significant)
{
    NumberDigits n;
    if (!std::isfinite(value) || value == 0.0)
        return n;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
    n.Negative = value < 0;
    n.Digits.push_back(buffer[0]);
    const char *rest = buffer + 1;
    if (*rest == '.') {
        n.Digits.append(rest + 1, size_t(significant - 1));
        rest += significant;
    }
    n.Point = std::atoi(rest + 1) + 1; // past the 'e'
    n.Normalize();
    return n;
}

} // namespace

NumberDigits NumberDigits::FromDouble(double value)
{
    return Significant(value, 15);
}

NumberDigits NumberDigits::FromSingle(float value)
{
    return Significant(double(value), 7);
}

NumberDigits NumberDigits::FromCurrency(Currency value)
{
    NumberDigits n = FromInteger(value.Scaled);
    n.Shift(-4);
    return n;
}

NumberDigits NumberDigits::FromDecimal(const Decimal &value)
{
    // The 96-bit mantissa as decimal digits by repeated division.
    quint64 parts[3] = {value.Hi, value.Lo >> 32, value.Lo & 0xffffffffu};
    std::string reversed;
    while (parts[0] || parts[1] || parts[2]) {
        quint64 remainder = 0;
        for (quint64 &part : parts) {
            const quint64 current = (remainder << 32) | part;
            part = current / 10;
            remainder = current % 10;
        }
        reversed.push_back(char('0' + remainder));
    }
    NumberDigits n;
    n.Digits.assign(reversed.rbegin(), reversed.rend());
    n.Point = int(n.Digits.size()) - value.Scale;
    n.Negative = value.Negative;
    n.Normalize();
    return n;
}

void NumberDigits::RoundToSignificant(int count)
{
    if (count < 0 || int(Digits.size()) <= count)
        return;
    const bool up = Digits[size_t(count)] >= '5';
    Digits.resize(size_t(count));
    if (up) {
        int i = count - 1;
        for (; i >= 0 && Digits[size_t(i)] == '9'; --i)
            Digits[size_t(i)] = '0';
        if (i < 0) {
            Digits.insert(Digits.begin(), '1');
            ++Point;
        } else {
            ++Digits[size_t(i)];
        }
    }
    Normalize();
}

void NumberDigits::RoundToFraction(int fraction)
{
    if (IsZero())
        return;
    const int keep = Point + fraction;
    if (keep < 0) {
        *this = NumberDigits{};
        return;
    }
    if (keep == 0) {
        // Only the rounding digit is left: 0.5 and more becomes one unit.
        const bool up = Digits[0] >= '5';
        const bool negative = Negative;
        *this = NumberDigits{};
        if (up) {
            Digits = "1";
            Point = 1 - fraction;
            Negative = negative;
        }
        return;
    }
    const bool negative = Negative;
    RoundToSignificant(keep);
    if (!IsZero())
        Negative = negative;
}

std::string NumberDigits::IntegerDigits() const
{
    if (Point <= 0)
        return {};
    std::string whole = Digits.substr(0, size_t(std::min<int>(Point, int(Digits.size()))));
    whole.append(size_t(std::max<int>(0, Point - int(Digits.size()))), '0');
    return whole;
}

std::string NumberDigits::FractionDigits(int fraction) const
{
    std::string out;
    out.reserve(size_t(std::max(fraction, 0)));
    for (int i = 0; i < fraction; ++i) {
        const int index = Point + i; // digit i after the point
        out.push_back(index >= 0 && index < int(Digits.size()) ? Digits[size_t(index)] : '0');
    }
    return out;
}

double NumberDigits::ToDouble() const
{
    if (IsZero())
        return 0.0;
    std::string text = Negative ? "-0." : "0.";
    text += Digits;
    text += 'e';
    text += std::to_string(Point);
    return std::strtod(text.c_str(), nullptr);
}

namespace {

// Multiplies the 96-bit number in limbs (most significant first) by 10 and
// adds a digit; false on overflow.
bool MultiplyAdd(quint64 (&limbs)[3], unsigned digit)
{
    quint64 carry = digit;
    for (int i = 2; i >= 0; --i) {
        const quint64 current = limbs[i] * 10 + carry;
        limbs[i] = current & 0xffffffffu;
        carry = current >> 32;
    }
    return carry == 0;
}

bool FitDecimal(const NumberDigits &n, int scale, Decimal &out)
{
    const std::string whole = n.IntegerDigits();
    const std::string fraction = n.FractionDigits(scale);
    quint64 limbs[3] = {0, 0, 0};
    for (const std::string *part : {&whole, &fraction}) {
        for (char c : *part) {
            if (!MultiplyAdd(limbs, unsigned(c - '0')))
                return false;
        }
    }
    out.Hi = quint32(limbs[0]);
    out.Lo = (limbs[1] << 32) | limbs[2];
    out.Scale = quint8(scale);
    out.Negative = n.Negative && (out.Hi || out.Lo);
    return true;
}

} // namespace

bool NumberDigits::ToDecimal(Decimal &out) const
{
    if (Point > 29)
        return false;
    int scale = std::clamp(int(Digits.size()) - Point, 0, 28);
    for (; scale >= 0; --scale) {
        NumberDigits rounded = *this;
        rounded.RoundToFraction(scale);
        if (FitDecimal(rounded, scale, out))
            return true;
    }
    return false;
}

bool NumberDigits::ToCurrency(Currency &out) const
{
    NumberDigits rounded = *this;
    rounded.RoundToFraction(4);
    if (rounded.Point > 15)
        return false;
    const std::string digits = rounded.IntegerDigits() + rounded.FractionDigits(4);
    quint64 magnitude = 0;
    for (char c : digits)
        magnitude = magnitude * 10 + quint64(c - '0');
    if (magnitude > quint64(std::numeric_limits<qint64>::max()))
        return false;
    out.Scaled = rounded.Negative ? -qint64(magnitude) : qint64(magnitude);
    return true;
}

namespace {

// The text between the sign markers and the currency symbol, trimmed off both ends.
struct Reader
{
    QStringView text;
    const LocaleFacts &facts;
    bool negative = false;

    bool TakePrefix(QStringView piece)
    {
        if (piece.isEmpty() || !text.startsWith(piece))
            return false;
        text = text.mid(piece.size()).trimmed();
        return true;
    }
    bool TakeSuffix(QStringView piece)
    {
        if (piece.isEmpty() || !text.endsWith(piece))
            return false;
        text = text.chopped(piece.size()).trimmed();
        return true;
    }
    bool TakeSign()
    {
        if (TakePrefix(u"-") || TakeSuffix(u"-"))
            return negative = true;
        return TakePrefix(u"+") || TakeSuffix(u"+");
    }
    void TakeDecorations()
    {
        text = text.trimmed();
        if (text.size() >= 2 && text.front() == u'(' && text.back() == u')') {
            text = text.mid(1, text.size() - 2).trimmed();
            negative = true;
        }
        const bool signed_ = TakeSign();
        const bool currency = TakePrefix(facts.CurrencySymbol) || TakeSuffix(facts.CurrencySymbol);
        if (currency && !signed_)
            TakeSign();
    }
};

// Where the locale groups digits with a space of some width (fr_FR a narrow
// no-break space), people type an ordinary or a no-break space: any of them groups.
bool IsGroup(QChar c, QChar group)
{
    if (c == group)
        return true;
    const auto spaceLike = [](QChar s) { return s == u' ' || s == u'\u00a0' || s == u'\u202f'; };
    return spaceLike(group) && spaceLike(c);
}

bool ReadExponent(QStringView text, int &exponent)
{
    if (text.isEmpty())
        return false;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'+' || text[0] == u'-') {
        negative = text[0] == u'-';
        ++i;
    }
    if (i >= text.size())
        return false;
    long value = 0;
    for (; i < text.size(); ++i) {
        if (!text[i].isDigit())
            return false;
        value = std::min<long>(value * 10 + text[i].digitValue(), 100000);
    }
    exponent = int(negative ? -value : value);
    return true;
}

} // namespace

bool ParseNumberText(QStringView text, const LocaleFacts &facts, NumberDigits &out)
{
    Reader reader{text, facts};
    reader.TakeDecorations();
    const QStringView body = reader.text;
    if (body.isEmpty())
        return false;
    NumberDigits n;
    n.Digits.reserve(size_t(body.size()));
    bool point = false;
    bool anyDigit = false;
    int exponent = 0;
    qsizetype lastGroup = -1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c >= u'0' && c <= u'9') {
            n.Digits.push_back(char(c.unicode()));
            anyDigit = true;
            if (!point)
                ++n.Point;
        } else if (c == facts.DecimalPoint && !point) {
            point = true;
        } else if (IsGroup(c, facts.Group) && !point && anyDigit && i != lastGroup + 1) {
            lastGroup = i;
        } else if ((c == u'e' || c == u'E') && anyDigit) {
            if (!ReadExponent(body.mid(i + 1), exponent))
                return false;
            break;
        } else {
            return false;
        }
    }
    if (!anyDigit || lastGroup == body.size() - 1)
        return false;
    n.Negative = reader.negative;
    n.Point += exponent;
    // Beyond the range of any number the platform holds.
    if (n.Point > 330 || n.Point < -330)
        return false;
    n.Normalize();
    out = std::move(n);
    return true;
}

} // namespace qv
