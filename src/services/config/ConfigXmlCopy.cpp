#include "ConfigXmlCopy.h"

namespace qv::config {

QString NamespaceDeclarationName(const QString &prefix)
{
    return prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix;
}

void WriteXmlText(QXmlStreamWriter &writer, QStringView text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        writer.writeCharacters(text.mid(start, i - start).toString());
        writer.writeEntityReference(QStringLiteral("#13"));
        start = i + 1;
    }
    writer.writeCharacters(text.mid(start).toString());
}

bool XmlCopier::Declared(const QString &prefix) const
{
    for (const QSet<QString> &scope : m_scopes) {
        if (scope.contains(prefix))
            return true;
    }
    return false;
}

void XmlCopier::Declare(const QString &prefix, const QString &uri, bool own)
{
    // "xml" is bound by XML itself and may not be declared again.
    if (prefix == u"xml" || m_scopes.last().contains(prefix) || (!own && Declared(prefix)))
        return;
    m_writer.writeAttribute(NamespaceDeclarationName(prefix), uri);
    m_scopes.last().insert(prefix);
}

void XmlCopier::CopyToken(const QXmlStreamReader &reader)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::StartElement: {
        m_writer.writeStartElement(reader.qualifiedName().toString());
        m_scopes.append(QSet<QString>());
        for (const QXmlStreamNamespaceDeclaration &d : reader.namespaceDeclarations())
            Declare(d.prefix().toString(), d.namespaceUri().toString(), true);
        if (!reader.prefix().isEmpty() || !reader.namespaceUri().isEmpty())
            Declare(reader.prefix().toString(), reader.namespaceUri().toString(), false);
        for (const QXmlStreamAttribute &a : reader.attributes()) {
            if (!a.prefix().isEmpty())
                Declare(a.prefix().toString(), a.namespaceUri().toString(), false);
        }
        for (const QXmlStreamAttribute &a : reader.attributes())
            m_writer.writeAttribute(a.qualifiedName().toString(), a.value().toString());
        break;
    }
    case QXmlStreamReader::EndElement:
        m_writer.writeEndElement();
        if (!m_scopes.isEmpty())
            m_scopes.removeLast();
        break;
    case QXmlStreamReader::Characters:
        if (reader.isCDATA())
            m_writer.writeCDATA(reader.text().toString());
        else
            WriteXmlText(m_writer, reader.text());
        break;
    case QXmlStreamReader::Comment:
        m_writer.writeComment(reader.text().toString());
        break;
    case QXmlStreamReader::ProcessingInstruction:
        m_writer.writeProcessingInstruction(reader.processingInstructionTarget().toString(),
                                            reader.processingInstructionData().toString());
        break;
    default:
        break;
    }
}

} // namespace qv::config
