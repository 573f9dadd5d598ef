// Reads rowset XML as ADO and other writers produce it.
#include "RowsetXmlReaderImpl.h"
#include "ValueText.h"

#include <algorithm>
#include <utility>

namespace qv::ado::rowsetxml {

void Reader::Run()
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
    m_store.TracksChanges = true;
}

[[noreturn]] void Reader::Fail(const QString &cause) const
{
    throw AdoError(kErrBadPersistedRecordset,
                   QStringLiteral("The persisted recordset cannot be read: %1 (line %2, column %3).")
                       .arg(cause)
                       .arg(m_xml.lineNumber())
                       .arg(m_xml.columnNumber()));
}

// Raises the parser's own error, if any.
void Reader::Finish()
{
    while (!m_xml.atEnd() && !m_xml.hasError())
        m_xml.readNext();
    if (m_xml.hasError())
        Fail(m_xml.errorString());
}

bool Reader::Is(const char16_t *ns, QStringView name) const
{
    return m_xml.namespaceUri() == QStringView(ns) && m_xml.name() == name;
}

bool Reader::NextElement()
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
bool Reader::NextChild()
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

QStringView Reader::Attr(const char16_t *ns, QStringView name) const
{
    const QStringView uri = ns ? QStringView(ns) : QStringView();
    for (const QXmlStreamAttribute &attribute : m_attributes) {
        if (attribute.name() == name && attribute.namespaceUri() == uri)
            return attribute.value();
    }
    return {};
}

// Rows list their attributes in field order, Nulls left out, so the
// next fields are tried before the index.
qint32 Reader::FieldOf(QStringView name, qint32 expected) const
{
    for (qint32 f = expected; f < m_xmlNames.size(); ++f) {
        if (m_xmlNames[f] == name)
            return f;
    }
    return m_xmlIndex.value(name.toString(), -1);
}

} // namespace qv::ado::rowsetxml

namespace qv::ado {

void ReadRowsetXml(const QString &text, RowStore &store)
{
    rowsetxml::Reader(text, store).Run();
}

} // namespace qv::ado
