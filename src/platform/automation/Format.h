#pragma once

#include "automation/Variant.h"

#include <QString>

namespace qv {

// The format language of the platform's Format routine: the named formats
// ("General Number", "Currency", "Fixed", "Standard", "Percent", "Scientific",
// "Yes/No", "True/False", "On/Off", "General Date", "Long Date", "Medium Date",
// "Short Date", "Long Time", "Medium Time", "Short Time"; names compared
// without regard to case) and patterns of up to four ';' sections for
// numbers, dates and times, and texts. Regional behaviour comes from
// QLocale(). A text value is read as a number, then as True/False, then as a
// date; a text that is none of these is returned unchanged by number and date
// formats. Null gives the fourth section or "".
//
// firstDayOfWeek: 1 Sunday .. 7 Saturday (0 means Sunday here);
// firstWeekOfYear: 1 the week of 1 January, 2 the first week of four days,
// 3 the first full week (0 means 1).
// Raises error 5 for a date outside the years 100 to 9999 and for a first day
// or first week outside those ranges.
QString VarFormat(const Variant &value, const QString &format, int firstDayOfWeek = 1, int firstWeekOfYear = 1);

// Tristate arguments: -1 True, 0 False, -2 the locale's default.
inline constexpr int kUseDefault = -2;

// A number with `digits` decimals (-1: the locale's two), a leading zero
// before the point for values below one, parentheses for negatives, grouping.
// Raises error 13 for a text that is no number; Null gives "".
QString VarFormatNumber(const Variant &value, int digits = -1, int leadingDigit = kUseDefault,
                        int parentheses = kUseDefault, int group = kUseDefault);
// The same with the locale's currency symbol, position and negative form.
QString VarFormatCurrency(const Variant &value, int digits = -1, int leadingDigit = kUseDefault,
                          int parentheses = kUseDefault, int group = kUseDefault);
// The value times 100 followed by "%".
QString VarFormatPercent(const Variant &value, int digits = -1, int leadingDigit = kUseDefault,
                         int parentheses = kUseDefault, int group = kUseDefault);

// 0 general date, 1 long date, 2 short date, 3 long time, 4 short time.
// Raises error 13 for a value that is no date, 5 for an unknown style.
QString VarFormatDateTime(const Variant &value, int namedFormat = 0);

// The readers of texts: error 13 "Type mismatch" when the text is no number or no date.
double VarR8FromStr(const QString &text);
DateValue VarDateFromStr(const QString &text);
bool IsNumericText(const QString &text);
bool IsDateText(const QString &text);

} // namespace qv
