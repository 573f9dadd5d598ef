#pragma once

// The JSON forms of what crosses the host process's channel: the Insert Data
// settings, values, recordsets and errors. docs/host-process.md describes them.

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <memory>

namespace qv {
class ComError;
class Variant;
namespace ado {
class Recordset;
}
namespace biz {
class Settings;
}
} // namespace qv

namespace qvhostd {

// The error source of failures of the process itself (bad requests).
inline constexpr auto kErrorSource = "qvhostd";

// A value as JSON: Empty and Null are null, Booleans and the exact integer
// kinds numbers, doubles numbers, Currency and Decimal their exact digits as
// text, dates "yyyy-MM-ddTHH:mm:ss" text, text as it is.
QJsonValue VariantToJson(const qv::Variant &value);

// The recordset's fields as [{"name", "type"}] (ADO type numbers) and its
// shown rows, from the first, as arrays of values: texts (bFormatted) or
// VariantToJson. A null or closed recordset gives no fields and no rows.
QJsonObject RecordsetToJson(const std::shared_ptr<qv::ado::Recordset> &rows, bool bFormatted);

// The settings as an object of their members, the columns as an array of
// objects keyed by the column properties' names.
QJsonObject SettingsToJson(const qv::biz::Settings &settings);
// The settings an object describes; members it lacks keep their defaults.
// Raises 13 for a member of the wrong kind and 438 for an unknown column property.
std::shared_ptr<qv::biz::Settings> SettingsFromJson(const QJsonObject &object);

// {"number", "source", "description"}.
QJsonObject ErrorToJson(const qv::ComError &error);
// A failure of the request itself: error 5 with the process as its source.
[[noreturn]] void RaiseBadRequest(const QString &description);

// The texts of a JSON array of strings; raises 13 when an item is not text.
QStringList TextList(const QJsonValue &value, const char *member);

// The request's "dataViewType": 1 (personal, also when absent) or 2 (team);
// raises 5 for anything else.
int RequestedConfigType(const QJsonObject &request);

} // namespace qvhostd
