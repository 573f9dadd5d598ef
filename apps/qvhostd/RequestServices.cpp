#include "RequestServices.h"

#include "qvuser/scripting/Collection.h"

#include <QStandardPaths>

namespace qvhostd {

RequestServices::RequestServices(QObject *parent) : QObject(parent), m_application(new RequestApplication(this))
{
    setObjectName(QStringLiteral("RequestServices"));
    m_application->setObjectName(QStringLiteral("Application"));
}

void RequestServices::SetStyles(const QStringList &paragraphStyles, const QStringList &tableStyles)
{
    m_paragraphStyles = paragraphStyles;
    m_tableStyles = tableStyles;
}

void RequestServices::SetPaths(const QString &documents, const QString &teamFolder)
{
    m_documents = documents;
    m_teamFolder = teamFolder;
}

QString RequestServices::GetPath(int lPathType) const
{
    switch (lPathType) {
    case DocumentsPath:
        return m_documents.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                     : m_documents;
    case TeamConfigurationPath:
        return m_teamFolder;
    default:
        return {};
    }
}

QStringList RequestServices::GetStyles(int lStyleType, bool bIncludeBuiltIn) const
{
    Q_UNUSED(bIncludeBuiltIn);
    if (lStyleType == ParagraphStyles)
        return m_paragraphStyles;
    if (lStyleType == TableStyles)
        return m_tableStyles;
    return {};
}

std::shared_ptr<qv::Collection> RequestServices::StyleCollection(int lStyleType) const
{
    auto collection = std::make_shared<qv::Collection>();
    for (const QString &name : GetStyles(lStyleType, true))
        collection->Add(qv::Variant(name));
    return collection;
}

} // namespace qvhostd
