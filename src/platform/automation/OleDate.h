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

// The calendar date and the time of day rounded to the second, as the
// formatting routines show it; false outside the years 100 to 9999.
bool SplitOleDate(double oleDays, QDate &date, int &secondsOfDay);
double MakeOleDate(const QDate &date, int secondsOfDay);

} // namespace qv
