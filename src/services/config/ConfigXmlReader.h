#pragma once

// The configuration file's reader, shared by the files that read its parts:
// ConfigXmlReader.cpp (the scanning and the guards) and ConfigXmlElements.cpp
// (the data views and smart tags).

#include "ConfigStore.h"

#include <QSet>
#include <QXmlStreamReader>

#include <memory>
#include <utility>
#include <vector>

namespace qv::config {

inline constexpr int kMaxConfigDepth = 64;
inline constexpr qsizetype kMaxConfigAttribute = 1024 * 1024;

struct ConfigReadFailure
{
    QString message;
};

// Reads the document form into new objects; the store takes them only when
// the whole file was read, so a broken file changes nothing.
class ConfigReader
{
public:
    ConfigReader(ConfigStore &store, const QByteArray &xml);
    void Read();
    void Commit();

private:
    // A file in UTF-8 holds no zero byte; a run of them is a damaged disk
    // block, refused here rather than left to the XML reader, which could
    // take it for the end of the text.
    void RefuseZeroBytes() const;
    [[noreturn]] void Fail(const QString &what) const;
    void CheckToken();
    // Moves to the next start element at this level; false at the end of the parent.
    bool NextElement();
    // Reads the attributes: `known` takes the ones it knows and answers true.
    template<typename Known>
    void Attributes(XmlExtras &extras, Known known)
    {
        for (const QXmlStreamAttribute &a : m_xml.attributes()) {
            if (a.value().size() > kMaxConfigAttribute)
                Fail(QStringLiteral("the attribute %1 is too long").arg(a.qualifiedName()));
            // A prefixed attribute is someone else's, whatever its local name.
            if (!a.namespaceUri().isEmpty() || !known(a.name(), a.value()))
                extras.attributes.append({a.qualifiedName().toString(), a.value().toString(), a.namespaceUri().toString()});
        }
    }

    qint32 Number(QStringView name, QStringView value);
    qint32 Identifier(QStringView value);
    static bool Flag(QStringView value) { return value == u"1" || value == u"true"; }

    // The element at the reader, whole, as XML text, kept for the next save.
    void Keep(XmlExtras &extras);
    void ReadRoot();
    void ReadDataView();
    void ReadDataSource(DataSource &source);
    void ReadField(DataView &view);
    void ReadSmartTagSet();
    void ReadSmartTag(SmartTagSet &set);
    void ReadRecognizer(Recognizer &r);
    void ReadAction(SmartTag &tag);

    ConfigStore &m_store;
    const QByteArray &m_bytes;
    QXmlStreamReader m_xml;
    int m_depth = 0;
    int m_textAllowed = 0;
    QSet<qint32> m_seen;
    std::vector<std::pair<std::shared_ptr<Field>, size_t>> m_unnumbered;
    std::shared_ptr<IdSource> m_ids;
    std::unique_ptr<DataViews> m_views;
    SmartTagSets m_sets;
    XmlExtras m_extras;
    QString m_name, m_description, m_namespace;
};

} // namespace qv::config
