#pragma once

#include "automation/ComError.h"

namespace qv::ado {

inline constexpr auto kRecordsetSource = "ADODB.Recordset";
inline constexpr auto kStreamSource = "ADODB.Stream";
inline constexpr auto kFieldSource = "ADODB.Field";

// The one way the recordset layer fails: a ComError with an ADO error number
// (AdoEnums.h), the object's source name and `detail` as the description, or
// a short standard text for the number when no detail is given.
ComError AdoError(qint32 number, const QString &detail = {}, const char *source = kRecordsetSource);

} // namespace qv::ado
