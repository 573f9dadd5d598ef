#pragma once

// The rowset XML reader, shared by the files that read its parts:
// RowsetXmlReader.cpp (the document and its guards), RowsetXmlSchemaReader.cpp
// (the schema) and RowsetXmlDataReader.cpp (the rows and pending changes).

#include "RowsetXml.h"

#include "AdoError.h"
#include "RowStore.h"

#include <QHash>
#include <QXmlStreamReader>

namespace qv::ado::rowsetxml {

struct SchemaField
{
    FieldInfo Info;
    QString XmlName;
    qint32 Number = 0;
    bool Base64 = false;
    bool Hidden = false;
};

inline bool IsTrue(QStringView text)
{
    return text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1";
}

class Reader
{
public:
    Reader(const QString &text, RowStore &store) : m_xml(text), m_text(text), m_store(store) {}
    void Run();

private:
    [[noreturn]] void Fail(const QString &cause) const;
    // Raises the parser's own error, if any.
    void Finish();
    bool Is(const char16_t *ns, QStringView name) const;
    bool NextElement();
    // The next child element of the current element; false at its end tag.
    bool NextChild();
    QStringView Attr(const char16_t *ns, QStringView name) const;
    // dt:type and its companions, on an AttributeType or its s:datatype.
    void ReadDataType(SchemaField &field, QString &type, QString &dbType, bool &isLong, bool &fixed);
    void ReadAttributeType();
    void ReadElementType();
    void ReadSchema();
    // Fields in rs:number order (declaration order where numbers are missing).
    void BuildFields();
    const FieldInfo &FieldAt(qint32 f) const;
    // What a row element stands for: a current row, one inserted since the
    // source was read, the old side of an update (the base of the new side,
    // which may list only what changed), or a deleted row.
    enum class RowUse { Current, Inserted, Original, Deleted, Skip };
    bool ReadData();
    // The sections of pending changes stand in rs:data, and rs:original in
    // rs:update: `depth` bounds how deep they may nest.
    void ReadDataChild(RowUse use, int depth);
    // Rows list their attributes in field order, Nulls left out, so the
    // next fields are tried before the index.
    qint32 FieldOf(QStringView name, qint32 expected) const;
    void ReadValue(const QXmlStreamAttribute &attribute, qint32 f, QList<Variant> &values);
    void ReadRow(RowUse use);
    QList<Variant> RowValues(RowUse use);
    void KeepRow(RowUse use, QList<Variant> values);
    void AppendCurrent(RowUse use, QList<Variant> values);

    QXmlStreamReader m_xml;
    const QString &m_text;
    RowStore &m_store;
    QXmlStreamAttributes m_attributes;
    QList<SchemaField> m_fields;
    QHash<QString, qsizetype> m_declared;
    QList<qsizetype> m_used;
    QStringList m_references;
    bool m_sawRowType = false;
    bool m_updatable = false;
    QHash<QString, qint32> m_xmlIndex;
    QStringList m_xmlNames;
    QList<bool> m_base64;
    QList<Variant> m_original;
};

} // namespace qv::ado::rowsetxml
