#pragma once

#include "FormatCompiler.h"
#include "NumberDigits.h"

namespace qv {
struct LocaleFacts;
}

namespace qv::format {

// The renderers of one compiled section each; the sign and section choice are
// the caller's.
QString RenderNumber(const NumberLayout &layout, NumberDigits magnitude, const LocaleFacts &facts);
// Raises error 5 when the date is out of range.
QString RenderDate(const Section &section, double oleDays, const LocaleFacts &facts, int firstDayOfWeek,
                   int firstWeekOfYear);
QString RenderText(const Section &section, QString text);
QString RenderLiteral(const Section &section);

// The significant digits a binary number holds; exact kinds (whole numbers,
// Currency, Decimal) have no such limit and are always written plainly.
inline constexpr int kDoubleDigits = 15;
inline constexpr int kSingleDigits = 7;
inline constexpr int kExactDigits = 0;

// A plain number: locale point, no grouping. A binary number takes the
// exponent form when it reaches 10^precision ("1E+20") or when its plain form
// would need more than `precision` digits after the point ("1.5E-20", but
// "0.000056789").
QString GeneralNumber(const NumberDigits &number, const LocaleFacts &facts, int precision);
// Fixed decimals with optional grouping and leading zero; no sign.
QString FixedNumber(NumberDigits magnitude, int digits, bool group, bool leadingZero, const LocaleFacts &facts);
// Date alone, time alone or both, as the value needs.
QString GeneralDate(double oleDays, const LocaleFacts &facts);

} // namespace qv::format
