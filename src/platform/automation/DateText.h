#pragma once

#include <QDate>
#include <QStringView>

namespace qv {

struct LocaleFacts;

// Reads a date, a time or both as people type them under the locale: numeric
// dates in the locale's order (another order when that one gives no date, a
// four-digit first number meaning year-month-day), month names and their
// abbreviations, weekday names (ignored), two-digit years (00-29 in the 2000s),
// times with or without seconds and AM/PM. A lone number is no date. Gives the
// OLE date (days since 1899-12-30) on success.
bool ParseDateText(QStringView text, const LocaleFacts &facts, double &oleDays);

} // namespace qv
