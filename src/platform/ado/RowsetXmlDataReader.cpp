// The rows of rowset XML, with the sections of pending changes.
#include "RowsetXmlReaderImpl.h"
#include "ValueText.h"

#include <utility>

namespace qv::ado::rowsetxml {

const FieldInfo &Reader::FieldAt(qint32 f) const
{
    return f < m_store.FieldCount() ? m_store.FieldList[f] : m_store.HiddenFields[f - m_store.FieldCount()];
}

bool Reader::ReadData()
{
    if (m_store.FieldCount() == 0)
        Fail(QStringLiteral("the schema describes no fields"));
    // Rows stand one a line: room for them at once spares the cells being
    // moved as they grow.
    m_store.Reserve(m_text.count(u'\n'));
    while (NextChild())
        ReadDataChild(RowUse::Current, 0);
    return true;
}

// The sections of pending changes stand in rs:data, and rs:original in
// rs:update: `depth` bounds how deep they may nest.
void Reader::ReadDataChild(RowUse use, int depth)
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

void Reader::ReadValue(const QXmlStreamAttribute &attribute, qint32 f, QList<Variant> &values)
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

void Reader::ReadRow(RowUse use)
{
    if (use != RowUse::Skip)
        KeepRow(use, RowValues(use));
    if (NextChild())
        Fail(QStringLiteral("hierarchical recordsets are not supported"));
}

// The row's values are taken before the parser moves on: a copy of its
// attributes held across readNext() would make the parser reallocate them
// for every row.
QList<Variant> Reader::RowValues(RowUse use)
{
    const bool current = use == RowUse::Current || use == RowUse::Inserted;
    QList<Variant> values = current && !m_original.isEmpty()
        ? m_original
        : QList<Variant>(m_xmlNames.size(), Variant::Null());
    qint32 expected = 0;
    const QXmlStreamAttributes attributes = m_xml.attributes();
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
    return values;
}

void Reader::KeepRow(RowUse use, QList<Variant> values)
{
    if (use == RowUse::Original)
        m_original = std::move(values);
    else if (use == RowUse::Deleted)
        m_store.Changes.Deleted.append(std::move(values));
    else
        AppendCurrent(use, std::move(values));
}

void Reader::AppendCurrent(RowUse use, QList<Variant> values)
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

} // namespace qv::ado::rowsetxml
