#pragma once

#include <QDate>
#include <QStringView>

namespace qv {

struct LocaleFacts;

// Reads a date, a time or both as people type them under the locale: numeric
// dates in the locale's order (another order when that one gives no date, a
// four-digit first number meaning year-month-day), month names and their
// abbreviations, weekday names (ignored), two-digit years (00-49 in the 2000s,
// 50-99 in the 1900s), times with or without seconds, ':' or (where dates do not
// use it) '.' between the parts, and a closing AM/PM. A lone number is no date.
// Gives the OLE date (days since 1899-12-30) on success.
bool ParseDateText(QStringView text, const LocaleFacts &facts, double &oleDays);

} // namespace qv
