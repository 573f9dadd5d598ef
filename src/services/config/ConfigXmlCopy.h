#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace qv::config {

// Copies elements a reader did not know from one XML stream to another as
// they were written: qualified names as they stand and namespace declarations
// as attributes, never prefixes of the writer's own making. Written so, a kept
// element reads back the same after any number of saves.
class XmlCopier
{
public:
    explicit XmlCopier(QXmlStreamWriter &writer) : m_writer(writer) {}

    // Copies the reader's current token. An element that uses a prefix (or a
    // default namespace) declared outside what is copied declares it itself,
    // so that the copy stands alone.
    void CopyToken(const QXmlStreamReader &reader);

private:
    bool Declared(const QString &prefix) const;
    // An element's own declaration is always written, once; a prefix it only
    // uses is declared when no copied ancestor declared it.
    void Declare(const QString &prefix, const QString &uri, bool own);

    QXmlStreamWriter &m_writer;
    QList<QSet<QString>> m_scopes; // prefixes declared by each open copied element
};

// Writes character data; a carriage return goes as a reference, since written
// as itself it would read back as a line break.
void WriteXmlText(QXmlStreamWriter &writer, QStringView text);

// The attribute that declares `prefix` ("xmlns" for the default namespace).
QString NamespaceDeclarationName(const QString &prefix);

} // namespace qv::config
