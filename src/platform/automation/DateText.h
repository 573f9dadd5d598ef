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

// The calendar date and the time of day (rounded to the second) of an OLE
// date; false when it lies outside the years 100 to 9999.
bool SplitOleDate(double oleDays, QDate &date, int &secondsOfDay);

// The OLE date of a calendar date and a time of day in seconds.
double MakeOleDate(const QDate &date, int secondsOfDay);

} // namespace qv
