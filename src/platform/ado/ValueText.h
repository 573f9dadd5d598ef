#pragma once

#include "ado/AdoEnums.h"
#include "automation/Variant.h"

#include <QString>

namespace qv::ado {

// Values as persisted XML and criteria texts carry them, whatever the user's
// locale: "." as decimal point, no group separators, dates as
// yyyy-mm-ddThh:mm:ss with fractions when there are any, Booleans as
// True/False.

// A value's invariant text; `type` picks the shape of dates (date only, time
// only, both) and of Booleans.
QString ValueToXmlText(const Variant &value, qint32 type = adVariant);

// Reads an invariant text as a value of the field type; false when it is
// not one (a number field's text that is no number).
bool XmlTextToValue(QStringView text, qint32 type, Variant &out);

// A number as a filter or file writes it: sign, digits, ".", exponent, and a
// leading $ sign; the user's own number format as a second chance.
bool ParseLiteralNumber(const QString &text, double &out);

// A date as a filter writes it (yyyy-mm-dd or m/d/yyyy, optionally a time
// h:mm[:ss] with AM/PM); the user's own date format as a second chance.
bool ParseLiteralDate(const QString &text, double &oleDays);

} // namespace qv::ado
