// The schema part of rowset XML: field types, names, flags and keys.
#include "RowsetXmlReaderImpl.h"
#include "ValueText.h"

#include <algorithm>

namespace qv::ado::rowsetxml {

// dt:type and its companions, on an AttributeType or its s:datatype.
void Reader::ReadDataType(SchemaField &field, QString &type, QString &dbType, bool &isLong, bool &fixed)
{
    if (const QStringView t = Attr(kDataTypeNamespace, u"type"); !t.isEmpty())
        type = t.toString();
    if (const QStringView d = Attr(kRowsetNamespace, u"dbtype"); !d.isEmpty())
        dbType = d.toString();
    if (const QStringView m = Attr(kDataTypeNamespace, u"maxLength"); !m.isEmpty())
        field.Info.DefinedSize = qint32(qBound<qint64>(0, m.toLongLong(), qint64(2147483647)));
    if (const QStringView p = Attr(kRowsetNamespace, u"precision"); !p.isEmpty())
        field.Info.Precision = quint8(qBound(0, p.toInt(), 255));
    if (const QStringView s = Attr(kRowsetNamespace, u"scale"); !s.isEmpty())
        field.Info.NumericScale = quint8(qBound(0, s.toInt(), 255));
    isLong = isLong || IsTrue(Attr(kRowsetNamespace, u"long"));
    fixed = fixed || IsTrue(Attr(kRowsetNamespace, u"fixedlength"));
    if (Attr(kRowsetNamespace, u"maybenull") == u"false")
        field.Info.Attributes &= ~adFldMayBeNull;
}

void Reader::ReadAttributeType()
{
    m_attributes = m_xml.attributes();
    SchemaField field;
    field.XmlName = Attr(nullptr, u"name").toString();
    if (field.XmlName.isEmpty())
        Fail(QStringLiteral("an AttributeType has no name"));
    const QStringView realName = Attr(kRowsetNamespace, u"name");
    field.Info.Name = realName.isEmpty() ? field.XmlName : realName.toString();
    field.Number = Attr(kRowsetNamespace, u"number").toInt();
    field.Hidden = IsTrue(Attr(kRowsetNamespace, u"hidden"));
    qint32 attributes = 0;
    if (IsTrue(Attr(kRowsetNamespace, u"nullable")))
        attributes |= adFldIsNullable | adFldMayBeNull;
    if (IsTrue(Attr(kRowsetNamespace, u"writeunknown")))
        attributes |= adFldUnknownUpdatable;
    if (IsTrue(Attr(kRowsetNamespace, u"keycolumn"))) {
        attributes |= adFldKeyColumn;
        field.Info.Properties.append({QStringLiteral("KEYCOLUMN"), Variant(true)});
    }
    if (IsTrue(Attr(kRowsetNamespace, u"autoincrement")))
        field.Info.Properties.append({QStringLiteral("ISAUTOINCREMENT"), Variant(true)});
    if (m_updatable)
        attributes |= adFldUpdatable;
    field.Info.Attributes = attributes;
    static const std::pair<const char16_t *, const char *> bases[] = {
        {u"basecatalog", "BASECATALOGNAME"}, {u"basetable", "BASETABLENAME"}, {u"basecolumn", "BASECOLUMNNAME"}};
    for (const auto &[attribute, property] : bases) {
        if (const QStringView v = Attr(kRowsetNamespace, attribute); !v.isEmpty())
            field.Info.Properties.append({QString::fromLatin1(property), Variant(v.toString())});
    }
    QString type, dbType;
    bool isLong = false, fixed = false;
    ReadDataType(field, type, dbType, isLong, fixed);
    while (NextChild()) {
        if (Is(kSchemaNamespace, u"datatype")) {
            m_attributes = m_xml.attributes();
            ReadDataType(field, type, dbType, isLong, fixed);
        }
        m_xml.skipCurrentElement();
    }
    field.Info.Type = AdoTypeOf(type, dbType, isLong, fixed);
    field.Base64 = type == u"bin.base64";
    if (isLong)
        field.Info.Attributes |= adFldLong;
    if (fixed)
        field.Info.Attributes |= adFldFixed;
    m_declared.insert(field.XmlName, m_fields.size());
    m_fields.append(std::move(field));
}

void Reader::ReadElementType()
{
    m_attributes = m_xml.attributes();
    if (m_sawRowType)
        Fail(QStringLiteral("hierarchical recordsets are not supported"));
    m_sawRowType = true;
    m_updatable = IsTrue(Attr(kRowsetNamespace, u"updatable")) || IsTrue(Attr(nullptr, u"updatable"));
    while (NextChild()) {
        if (Is(kSchemaNamespace, u"AttributeType")) {
            ReadAttributeType();
            m_used.append(m_fields.size() - 1);
            continue;
        }
        if (Is(kSchemaNamespace, u"ElementType"))
            Fail(QStringLiteral("hierarchical recordsets are not supported"));
        if (Is(kSchemaNamespace, u"attribute"))
        {
            m_attributes = m_xml.attributes();
            m_references.append(Attr(nullptr, u"type").toString());
        }
        m_xml.skipCurrentElement();
    }
}

void Reader::ReadSchema()
{
    while (NextChild()) {
        if (Is(kSchemaNamespace, u"ElementType"))
            ReadElementType();
        else if (Is(kSchemaNamespace, u"AttributeType"))
            ReadAttributeType(); // declared outside, used through s:attribute
        else
            m_xml.skipCurrentElement();
    }
    m_attributes.clear(); // lets the parser reuse its own list for the rows
    for (const QString &reference : std::as_const(m_references)) {
        const auto it = m_declared.constFind(reference);
        if (it == m_declared.cend())
            Fail(QStringLiteral("the attribute type \"%1\" is not declared").arg(reference));
        if (!m_used.contains(*it))
            m_used.append(*it);
    }
    BuildFields();
}

// Fields in rs:number order (declaration order where numbers are missing).
void Reader::BuildFields()
{
    std::stable_sort(m_used.begin(), m_used.end(), [this](qsizetype a, qsizetype b) {
        const qint32 na = m_fields[a].Number > 0 ? m_fields[a].Number : INT_MAX;
        const qint32 nb = m_fields[b].Number > 0 ? m_fields[b].Number : INT_MAX;
        return na < nb;
    });
    m_store.ClearFields();
    m_store.Updatable = m_updatable;
    m_xmlIndex.clear();
    m_base64.clear();
    // Visible fields first, then the hidden ones, which values lists carry after them.
    for (const bool hidden : {false, true}) {
        for (qsizetype i : std::as_const(m_used)) {
            const SchemaField &field = m_fields[i];
            if (field.Hidden != hidden)
                continue;
            if (m_xmlIndex.contains(field.XmlName))
                Fail(QStringLiteral("the attribute name \"%1\" is used twice").arg(field.XmlName));
            m_xmlIndex.insert(field.XmlName, qint32(m_xmlNames.size()));
            m_xmlNames.append(field.XmlName);
            m_base64.append(field.Base64);
            if (hidden)
                m_store.HiddenFields.append(field.Info); // keys the provider added, kept for saving
            else
                m_store.AddField(field.Info);
        }
    }
}

} // namespace qv::ado::rowsetxml
