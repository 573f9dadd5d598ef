#include "HostServices.h"

#include "qvuser/scripting/Collection.h"

#include <QStandardPaths>

namespace qvdemo {

namespace {
// The built-in styles: names the style book does not know, so they write plainly.
const QString kPlainParagraph = QStringLiteral("Normal");
const QString kPlainTable = QStringLiteral("Table Normal");
} // namespace

HostServices::HostServices(StyleBook styles, QString samplesFolder, QObject *parent)
    : QObject(parent), m_styles(std::move(styles)), m_samplesFolder(std::move(samplesFolder)),
      m_application(new DemoApplication(this))
{
    setObjectName(QStringLiteral("HostServices"));
    m_application->setObjectName(QStringLiteral("Application"));
}

QString HostServices::GetPath(int lPathType) const
{
    switch (lPathType) {
    case DocumentsPath:
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case SamplesPath:
    case TeamConfigurationPath:
        return m_samplesFolder;
    default:
        return {};
    }
}

QStringList HostServices::GetStyles(int lStyleType, bool bIncludeBuiltIn) const
{
    QStringList names;
    if (lStyleType == ParagraphStyles) {
        if (bIncludeBuiltIn)
            names.append(kPlainParagraph);
        names.append(m_styles.ParagraphStyleNames());
    } else if (lStyleType == TableStyles) {
        if (bIncludeBuiltIn)
            names.append(kPlainTable);
        names.append(m_styles.TableStyleNames());
    }
    return names;
}

std::shared_ptr<qv::Collection> HostServices::StyleCollection(int lStyleType) const
{
    auto collection = std::make_shared<qv::Collection>();
    for (const QString &name : GetStyles(lStyleType, false))
        collection->Add(qv::Variant(name));
    return collection;
}

} // namespace qvdemo
