#pragma once

#include "DataTable.h"
#include "VCardReader.h"

namespace qv::data {

// The fields a contacts folder shows, in this order; Birthday is a date,
// Notes long text, the rest text.
QList<DataField> ContactFields();
// One contact's values, one a field of ContactFields() (Null where the card has none).
DataRow ContactRow(const VCard &card);

// The fields a task list shows: Subject, Start Date, Due Date, Status,
// Priority, % Complete, Date Completed, Categories, Notes.
QList<DataField> TaskFields();
// The to-do items of an iCalendar file, wherever they sit among its events
// and other components; one row each, values as TaskFields() orders them.
// A file that is no calendar gives no rows.
QList<DataRow> ReadTaskRows(const QByteArray &ics);

// Widens a text field to long text where a row holds more than 255 characters.
void FitTextSizes(QList<DataField> &fields, const QList<DataRow> &rows);

} // namespace qv::data
