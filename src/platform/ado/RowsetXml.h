#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

namespace qv::ado {

class RowStore;
struct FieldInfo;

// ADO's rowset XML (the adPersistXML format). Readers go by these URIs,
// never by the prefixes a file happens to use.
inline constexpr auto kSchemaNamespace = u"uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882";
inline constexpr auto kDataTypeNamespace = u"uuid:C2F41010-65B3-11d1-A29F-00AA00C14882";
inline constexpr auto kRowsetNamespace = u"urn:schemas-microsoft-com:rowset";
inline constexpr auto kRowNamespace = u"#RowsetSchema";

// The document for the given rows of the store, shaped as ADO writes it
// (no declaration, single quotes, tabs, CR LF). Raises adErrInvalidArgument
// for a text holding a character XML cannot carry.
QString WriteRowsetXml(const RowStore &store, const std::vector<qint32> &rows);

// Reads a document into an empty store: its fields from the schema, its
// current rows from the data (pending inserts and the new side of updates
// included, deleted rows left out). Raises kErrBadPersistedRecordset with
// the place and the cause of the fault.
void ReadRowsetXml(const QString &text, RowStore &store);

// How an ADO field type is written in the schema, and read back.
struct XmlDataType
{
    QString Type;   // dt:type
    QString DbType; // rs:dbtype, "" when dt:type says enough
    bool Long = false;
    bool Fixed = false;
};
XmlDataType XmlTypeOf(qint32 adoType);
// The ADO type of a schema's dt:type and rs:dbtype; an unknown or missing
// dt:type reads as text, so that no value is lost.
qint32 AdoTypeOf(QStringView type, QStringView dbType, bool isLong, bool fixed);

// The attribute names of the fields: the field's own name when it is a
// plain XML name, otherwise "c" and its index (the real name then goes into
// rs:name); unique within the row.
QList<QString> XmlNamesOf(const QList<FieldInfo> &fields);

} // namespace qv::ado
