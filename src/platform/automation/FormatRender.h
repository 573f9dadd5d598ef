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

// A plain number: locale point, no grouping, exponent form for very large and
// very small doubles ("1E+20", "1E-05").
QString GeneralNumber(const NumberDigits &number, const LocaleFacts &facts);
// Fixed decimals with optional grouping and leading zero; no sign.
QString FixedNumber(NumberDigits magnitude, int digits, bool group, bool leadingZero, const LocaleFacts &facts);
// Date alone, time alone or both, as the value needs.
QString GeneralDate(double oleDays, const LocaleFacts &facts);

} // namespace qv::format
