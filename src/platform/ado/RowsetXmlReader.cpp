// Reads rowset XML as ADO and other writers produce it.
#include "RowsetXml.h"

#include "AdoError.h"
#include "RowStore.h"
#include "ValueText.h"

#include <QHash>
#include <QXmlStreamReader>

#include <algorithm>
#include <utility>

namespace qv::ado {

namespace {

struct SchemaField
{
    FieldInfo Info;
    QString XmlName;
    qint32 Number = 0;
    bool Base64 = false;
    bool Hidden = false;
};

bool IsTrue(QStringView text)
{
    return text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1";
}

class Reader
{
public:
    Reader(const QString &text, RowStore &store) : m_xml(text), m_store(store) {}

    void Run()
    {
        if (!NextElement() || m_xml.name() != u"xml")
            Fail(QStringLiteral("the document is not rowset XML (its root must be <xml>)"));
        bool sawData = false, sawSchema = false;
        while (NextChild()) {
            if (Is(kSchemaNamespace, u"Schema")) {
                if (std::exchange(sawSchema, true))
                    Fail(QStringLiteral("the document has a second schema"));
                ReadSchema();
            }
            else if (Is(kRowsetNamespace, u"data"))
                sawData = ReadData();
            else
                m_xml.skipCurrentElement();
        }
        Finish();
        if (m_store.FieldCount() == 0)
            Fail(QStringLiteral("the schema describes no fields"));
        if (!sawData)
            Fail(QStringLiteral("the rs:data element is missing"));
    }

private:
    [[noreturn]] void Fail(const QString &cause) const
    {
        throw AdoError(kErrBadPersistedRecordset,
                       QStringLiteral("The persisted recordset cannot be read: %1 (line %2, column %3).")
                           .arg(cause)
                           .arg(m_xml.lineNumber())
                           .arg(m_xml.columnNumber()));
    }

    // Raises the parser's own error, if any.
    void Finish()
    {
        while (!m_xml.atEnd() && !m_xml.hasError())
            m_xml.readNext();
        if (m_xml.hasError())
            Fail(m_xml.errorString());
    }

    bool Is(const char16_t *ns, QStringView name) const
    {
        return m_xml.namespaceUri() == QStringView(ns) && m_xml.name() == name;
    }

    bool NextElement()
    {
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement)
                return true;
            if (token == QXmlStreamReader::DTD)
                Fail(QStringLiteral("a document type declaration is not allowed"));
        }
        Finish();
        return false;
    }

    // The next child element of the current element; false at its end tag.
    bool NextChild()
    {
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement)
                return true;
            if (token == QXmlStreamReader::EndElement)
                return false;
            if (token == QXmlStreamReader::DTD)
                Fail(QStringLiteral("a document type declaration is not allowed"));
            if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace())
                Fail(QStringLiteral("unexpected text"));
        }
        Finish();
        Fail(QStringLiteral("the document ends early"));
    }

    QStringView Attr(const char16_t *ns, QStringView name) const
    {
        const QStringView uri = ns ? QStringView(ns) : QStringView();
        for (const QXmlStreamAttribute &attribute : m_attributes) {
            if (attribute.name() == name && attribute.namespaceUri() == uri)
                return attribute.value();
        }
        return {};
    }

    // dt:type and its companions, on an AttributeType or its s:datatype.
    void ReadDataType(SchemaField &field, QString &type, QString &dbType, bool &isLong, bool &fixed)
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

    void ReadAttributeType()
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

    void ReadElementType()
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

    void ReadSchema()
    {
        while (NextChild()) {
            if (Is(kSchemaNamespace, u"ElementType"))
                ReadElementType();
            else if (Is(kSchemaNamespace, u"AttributeType"))
                ReadAttributeType(); // declared outside, used through s:attribute
            else
                m_xml.skipCurrentElement();
        }
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
    void BuildFields()
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

    const FieldInfo &FieldAt(qint32 f) const
    {
        return f < m_store.FieldCount() ? m_store.FieldList[f] : m_store.HiddenFields[f - m_store.FieldCount()];
    }

    // What a row element stands for: a current row, one inserted since the
    // source was read, the old side of an update (the base of the new side,
    // which may list only what changed), or a deleted row.
    enum class RowUse { Current, Inserted, Original, Deleted, Skip };

    bool ReadData()
    {
        if (m_store.FieldCount() == 0)
            Fail(QStringLiteral("the schema describes no fields"));
        while (NextChild())
            ReadDataChild(RowUse::Current, 0);
        return true;
    }

    // The sections of pending changes stand in rs:data, and rs:original in
    // rs:update: `depth` bounds how deep they may nest.
    void ReadDataChild(RowUse use, int depth)
    {
        if (m_xml.namespaceUri() == QStringView(kRowNamespace) && m_xml.name() == u"row") {
            ReadRow(use);
            return;
        }
        const QStringView section = m_xml.namespaceUri() == QStringView(kRowsetNamespace) ? m_xml.name() : QStringView();
        RowUse inner = RowUse::Skip;
        if (section == u"original")
            inner = use == RowUse::Current && depth == 1 ? RowUse::Original : RowUse::Skip;
        else if (section == u"update")
            inner = use;
        else if (section == u"insert")
            inner = use == RowUse::Current ? RowUse::Inserted : RowUse::Skip;
        else if (section == u"delete")
            inner = use == RowUse::Current ? RowUse::Deleted : RowUse::Skip;
        else
            return m_xml.skipCurrentElement(); // the format ignores what its schema does not define
        if (depth >= 2)
            Fail(QStringLiteral("the sections of pending changes nest deeper than rs:update and rs:original"));
        while (NextChild())
            ReadDataChild(inner, depth + 1);
        if (section == u"update")
            m_original.clear();
    }

    // Rows list their attributes in field order, Nulls left out, so the
    // next fields are tried before the index.
    qint32 FieldOf(QStringView name, qint32 expected) const
    {
        for (qint32 f = expected; f < m_xmlNames.size(); ++f) {
            if (m_xmlNames[f] == name)
                return f;
        }
        return m_xmlIndex.value(name.toString(), -1);
    }

    void ReadValue(const QXmlStreamAttribute &attribute, qint32 f, QList<Variant> &values)
    {
        const FieldInfo &field = FieldAt(f);
        QStringView text = attribute.value();
        QString decoded;
        if (m_base64[f]) {
            decoded = QString::fromLatin1(QByteArray::fromBase64(text.toLatin1()).toHex());
            text = decoded;
        }
        if (!XmlTextToValue(text, field.Type, values[f]))
            Fail(QStringLiteral("the value \"%1\" of the field \"%2\" is not of its type")
                     .arg(text.left(80).toString(), field.Name));
    }

    void ReadRow(RowUse use)
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        if (NextChild())
            Fail(QStringLiteral("hierarchical recordsets are not supported"));
        if (use == RowUse::Skip)
            return;
        const bool current = use == RowUse::Current || use == RowUse::Inserted;
        QList<Variant> values = current && !m_original.isEmpty()
            ? m_original
            : QList<Variant>(m_xmlNames.size(), Variant::Null());
        qint32 expected = 0;
        for (const QXmlStreamAttribute &attribute : attributes) {
            if (attribute.namespaceUri() == QStringView(kRowsetNamespace) && attribute.name() == u"forcenull") {
                // Fields an update set to Null, which leaving them out cannot say.
                for (QStringView name : attribute.value().split(u' ', Qt::SkipEmptyParts)) {
                    if (const qint32 f = FieldOf(name, 0); f >= 0)
                        values[f] = Variant::Null();
                }
                continue;
            }
            if (!attribute.namespaceUri().isEmpty())
                continue;
            const qint32 f = FieldOf(attribute.name(), expected);
            if (f < 0)
                continue; // an attribute the schema does not declare
            expected = f + 1;
            ReadValue(attribute, f, values);
        }
        if (use == RowUse::Original)
            m_original = std::move(values);
        else if (use == RowUse::Deleted)
            m_store.Changes.Deleted.append(std::move(values));
        else
            AppendCurrent(use, std::move(values));
    }

    void AppendCurrent(RowUse use, QList<Variant> values)
    {
        const qint32 visible = m_store.FieldCount();
        QList<Variant> hidden = values.mid(visible);
        values.resize(visible);
        const qint32 row = m_store.AppendRow(std::move(values));
        if (!hidden.isEmpty())
            m_store.HiddenValues.insert(row, std::move(hidden));
        if (use == RowUse::Inserted)
            m_store.Changes.Inserted.insert(row);
        else if (!m_original.isEmpty())
            m_store.Changes.Originals.insert(row, m_original);
    }

    QXmlStreamReader m_xml;
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

} // namespace

void ReadRowsetXml(const QString &text, RowStore &store)
{
    Reader(text, store).Run();
}

} // namespace qv::ado
