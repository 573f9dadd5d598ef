#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace qv {

// OLE dates count days from 1899-12-30. Before that day the whole part counts
// backwards while the fraction still runs forwards from midnight, so -1.25 is
// 1899-12-29 06:00.
QDate OleDatePart(double days);
QTime OleTimePart(double days);
QDateTime OleDateToDateTime(double days);
double DateTimeToOleDate(const QDate &date, const QTime &time = QTime(0, 0));

// A date and time as ISO 8601 writes them ("2024-02-29T13:30:00.000", or a
// date alone, at midnight; a zone after the time, "Z" or "+01:00", is passed
// over), read as written.
// QDateTime would read the same, but asks the system for the local zone at
// each value, which a sheet of dates pays for at every cell. False when the
// text is no such date and time.
bool ReadIsoDateTime(QStringView text, QDate &date, QTime &time);

// The calendar date and the time of day rounded to the second, as the
// formatting routines show it; false outside the years 100 to 9999.
bool SplitOleDate(double oleDays, QDate &date, int &secondsOfDay);
double MakeOleDate(const QDate &date, int secondsOfDay);

} // namespace qv
