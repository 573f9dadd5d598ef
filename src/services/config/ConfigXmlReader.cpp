#include "ConfigXmlReader.h"
#include "ConfigXmlCopy.h"

#include "automation/ComError.h"

#include <QDir>
#include <QXmlStreamWriter>

namespace qv::config {

ConfigReader::ConfigReader(ConfigStore &store, const QByteArray &xml) : m_store(store), m_bytes(xml), m_xml(xml)
{
    m_ids = std::make_shared<IdSource>();
    m_views = std::make_unique<DataViews>(m_ids, store.weak_from_this());
}

void ConfigReader::Read()
{
    RefuseZeroBytes();
    if (!NextElement())
        Fail(QStringLiteral("the file holds no configuration (no root element)"));
    if (m_xml.name() != u"qvconfig")
        Fail(QStringLiteral("the root element is <%1>, not <qvconfig>").arg(m_xml.name()));
    ReadRoot();
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        CheckToken();
    }
    if (m_xml.hasError())
        Fail(m_xml.errorString());
    // Conditions of older files have no identifier; they get one above every identifier read.
    for (const auto &[field, index] : m_unnumbered)
        field->Conditions[index].Id = m_ids->Next();
}

void ConfigReader::Commit()
{
    m_store.m_ids = m_ids;
    m_store.m_dataViews = std::move(m_views);
    m_store.m_smartTagSets = std::move(m_sets);
    m_store.m_extras = std::move(m_extras);
    m_store.Name = m_name;
    m_store.Description = m_description;
    m_store.SmartTagNamespace = m_namespace;
}

// A file in UTF-8 holds no zero byte; a run of them is a damaged disk
// block, refused here rather than left to the XML reader, which could
// take it for the end of the text.
void ConfigReader::RefuseZeroBytes() const
{
    const QByteArray &bytes = m_bytes;
    const bool wide = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.startsWith(QByteArray("<\0", 2)) ||
                      bytes.startsWith(QByteArray("\0<", 2));
    const qsizetype zero = wide ? -1 : bytes.indexOf('\0');
    if (zero >= 0)
        throw ConfigReadFailure{QStringLiteral("line %1: the file holds zero bytes where text should be; it is damaged")
                              .arg(bytes.left(zero).count('\n') + 1)};
}

void ConfigReader::Fail(const QString &what) const
{
    throw ConfigReadFailure{QStringLiteral("line %1: %2").arg(m_xml.lineNumber()).arg(what)};
}

void ConfigReader::CheckToken()
{
    switch (m_xml.tokenType()) {
    case QXmlStreamReader::DTD:
        Fail(QStringLiteral("document type declarations are not allowed"));
    case QXmlStreamReader::EntityReference:
        Fail(QStringLiteral("unknown entity &%1;").arg(m_xml.name()));
    case QXmlStreamReader::Invalid:
        Fail(m_xml.errorString());
    case QXmlStreamReader::Characters:
        if (!m_xml.isWhitespace() && m_textAllowed == 0)
            Fail(QStringLiteral("unexpected text \"%1\"").arg(m_xml.text().left(40)));
        break;
    default:
        break;
    }
}

// Moves to the next start element at this level; false at the end of the parent.
bool ConfigReader::NextElement()
{
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        CheckToken();
        if (m_xml.isStartElement()) {
            if (++m_depth > kMaxConfigDepth)
                Fail(QStringLiteral("elements are nested too deeply"));
            return true;
        }
        if (m_xml.isEndElement()) {
            --m_depth;
            return false;
        }
    }
    if (m_xml.hasError())
        Fail(m_xml.errorString());
    return false;
}

qint32 ConfigReader::Number(QStringView name, QStringView value)
{
    bool ok = false;
    const qint32 n = value.toInt(&ok);
    if (!ok)
        Fail(QStringLiteral("the attribute %1 is not a number: \"%2\"").arg(name).arg(value.left(40)));
    return n;
}

qint32 ConfigReader::Identifier(QStringView value)
{
    const qint32 id = Number(u"id", value);
    if (id <= 0 || m_seen.contains(id))
        Fail(QStringLiteral("the identifier %1 is missing or used twice").arg(id));
    m_seen.insert(id);
    m_ids->Saw(id);
    return id;
}

// The element at the reader, whole, as XML text, kept for the next save.
void ConfigReader::Keep(XmlExtras &extras)
{
    QString text;
    QXmlStreamWriter writer(&text);
    XmlCopier copier(writer);
    int depth = 0;
    ++m_textAllowed;
    do {
        CheckToken();
        if (m_xml.isStartElement() && ++depth + m_depth > kMaxConfigDepth)
            Fail(QStringLiteral("elements are nested too deeply"));
        if (m_xml.isEndElement())
            --depth;
        copier.CopyToken(m_xml);
        if (depth == 0)
            break;
        m_xml.readNext();
    } while (!m_xml.atEnd());
    --m_textAllowed;
    --m_depth;
    if (m_xml.hasError())
        Fail(m_xml.errorString());
    extras.elements << text;
}
void ConfigStore::ReadXml(const QByteArray &xml, const QString &pathForMessages)
{
    ConfigReader reader(*this, xml);
    try {
        reader.Read();
    } catch (const ConfigReadFailure &failure) {
        QString what = failure.message;
        while (what.endsWith(QLatin1Char('.')))
            what.chop(1);
        throw ComError(kErrorUnreadable, QString::fromLatin1(kConfigSource),
                       QStringLiteral("The configuration file \"%1\" cannot be read: %2.")
                           .arg(QDir::toNativeSeparators(pathForMessages), what));
    }
    reader.Commit();
}

} // namespace qv::config
