#include "NumberDigits.h"

#include <algorithm>

namespace qv {
namespace {

// The magnitude as `whole` digits before the point and `fraction` after it.
std::string Aligned(const NumberDigits &n, int whole, int fraction)
{
    const std::string integer = n.IntegerDigits();
    return std::string(size_t(whole) - integer.size(), '0') + integer + n.FractionDigits(fraction);
}

int CompareMagnitude(const NumberDigits &a, const NumberDigits &b)
{
    if (a.IsZero() || b.IsZero())
        return int(!a.IsZero()) - int(!b.IsZero());
    if (a.Point != b.Point)
        return a.Point < b.Point ? -1 : 1;
    // Normalized digits: a shorter run that is a prefix of the other is smaller.
    const int order = a.Digits.compare(b.Digits);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int FractionLength(const NumberDigits &n) { return std::max(0, int(n.Digits.size()) - n.Point); }

} // namespace

bool NumberDigits::FromNumber(const Variant &value, NumberDigits &out)
{
    switch (value.Type()) {
    case VarType::Boolean: out = FromInteger(*value.Get<bool>() ? -1 : 0); return true;
    case VarType::Long: out = FromInteger(*value.Get<qint32>()); return true;
    case VarType::LongLong: out = FromInteger(*value.Get<qint64>()); return true;
    case VarType::Single: out = FromSingle(*value.Get<float>()); return true;
    case VarType::Double: out = FromDouble(*value.Get<double>()); return true;
    case VarType::Currency: out = FromCurrency(*value.Get<Currency>()); return true;
    case VarType::Decimal: out = FromDecimal(*value.Get<Decimal>()); return true;
    default: return false;
    }
}

int NumberDigits::Compare(const NumberDigits &a, const NumberDigits &b)
{
    if (a.Negative != b.Negative)
        return a.Negative ? -1 : 1;
    const int magnitude = CompareMagnitude(a, b);
    return a.Negative ? -magnitude : magnitude;
}

void NumberDigits::Add(const NumberDigits &other)
{
    if (other.IsZero())
        return;
    if (IsZero()) {
        *this = other;
        return;
    }
    // One digit more than the larger whole part takes a carry.
    const int whole = std::max({Point, other.Point, 0}) + 1;
    const int fraction = std::max(FractionLength(*this), FractionLength(other));
    const bool subtract = Negative != other.Negative;
    const bool otherLarger = CompareMagnitude(other, *this) > 0;
    const std::string larger = Aligned(otherLarger ? other : *this, whole, fraction);
    const std::string smaller = Aligned(otherLarger ? *this : other, whole, fraction);
    std::string sum(larger.size(), '0');
    int carry = 0;
    for (size_t i = larger.size(); i-- > 0;) {
        const int right = smaller[i] - '0';
        int digit = larger[i] - '0' + (subtract ? -right - carry : right + carry);
        carry = subtract ? int(digit < 0) : digit / 10;
        digit = subtract ? (digit + 10) % 10 : digit % 10;
        sum[i] = char('0' + digit);
    }
    Negative = otherLarger ? other.Negative : Negative;
    Digits = std::move(sum);
    Point = whole;
    Normalize();
}

} // namespace qv
