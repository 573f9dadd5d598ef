#include "ManagerClipboard.h"

#include "config/ConfigStore.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QMimeData>

namespace qv::manager {
namespace {

// "QVDV" and the format's version; a later version is not read here.
constexpr quint32 kMagic = 0x51564456;
constexpr quint32 kVersion = 1;
// More data views than anyone copies at once: a header claiming more is damaged.
constexpr quint32 kMaxItems = 1000000;

} // namespace

QString ComparableFilePath(const QString &sPath)
{
    if (sPath.isEmpty())
        return {};
    const QFileInfo oFile(sPath);
    const QString sCanonical = oFile.canonicalFilePath();
    return sCanonical.isEmpty() ? QDir::cleanPath(oFile.absoluteFilePath()) : sCanonical;
}

CopiedItems CopyDataViews(const config::ConfigStore &source, qint32 lSourceRoot, const std::vector<qint32> &colIds)
{
    CopiedItems oItems;
    oItems.sSourceFile = ComparableFilePath(source.FilePath());
    oItems.lSourceRoot = lSourceRoot;
    auto oCarrier = config::ConfigStore::Create();
    for (const qint32 lId : colIds) {
        const auto oView = source.DataViewCollection().Item(lId);
        if (!oView)
            continue;
        // Added under a name of its own (the collection refuses a name twice,
        // and a file may hold one twice), then named as the original.
        auto oCopy = oView->CopyInto(std::make_shared<config::IdSource>(), {});
        oCopy->Name = config::NewKeyText();
        oCarrier->DataViewCollection().AddFrom(*oCopy)->Name = oView->Name;
        oItems.colIds.push_back(lId);
        oItems.colNames << oView->Name;
    }
    oItems.baXml = oCarrier->ToXml();
    return oItems;
}

std::vector<std::shared_ptr<config::DataView>> CarriedDataViews(const CopiedItems &oItems)
{
    auto oCarrier = config::ConfigStore::Create();
    oCarrier->ReadXml(oItems.baXml, QStringLiteral("(clipboard)"));
    std::vector<std::shared_ptr<config::DataView>> colViews;
    for (const auto &oView : oCarrier->DataViewCollection())
        colViews.push_back(oView->CopyInto(std::make_shared<config::IdSource>(), {}));
    return colViews;
}

QByteArray EncodeCopiedItems(const CopiedItems &oItems)
{
    QByteArray baBytes;
    QDataStream oOut(&baBytes, QIODevice::WriteOnly);
    oOut.setVersion(QDataStream::Qt_6_0);
    oOut << kMagic << kVersion << oItems.sSourceFile << oItems.lSourceRoot << quint32(oItems.colIds.size());
    for (const qint32 lId : oItems.colIds)
        oOut << lId;
    oOut << oItems.colNames << oItems.baXml;
    return baBytes;
}

std::optional<CopiedItems> DecodeCopiedItems(const QByteArray &baBytes)
{
    QDataStream oIn(baBytes);
    oIn.setVersion(QDataStream::Qt_6_0);
    quint32 lMagic = 0, lVersion = 0, lCount = 0;
    CopiedItems oItems;
    oIn >> lMagic >> lVersion;
    if (oIn.status() != QDataStream::Ok || lMagic != kMagic || lVersion != kVersion)
        return std::nullopt;
    oIn >> oItems.sSourceFile >> oItems.lSourceRoot >> lCount;
    // Every identifier takes four bytes: a count the bytes cannot hold is a lie.
    if (oIn.status() != QDataStream::Ok || lCount > kMaxItems || qint64(lCount) * 4 > baBytes.size())
        return std::nullopt;
    oItems.colIds.reserve(lCount);
    for (quint32 i = 0; i < lCount; ++i) {
        qint32 lId = 0;
        oIn >> lId;
        oItems.colIds.push_back(lId);
    }
    oIn >> oItems.colNames >> oItems.baXml;
    if (oIn.status() != QDataStream::Ok || !oIn.atEnd() || oItems.colNames.size() != qsizetype(lCount))
        return std::nullopt;
    return oItems;
}

QMimeData *MakeMimeData(const CopiedItems &oItems)
{
    auto *oData = new QMimeData;
    oData->setData(QLatin1String(kDataViewsMimeType), EncodeCopiedItems(oItems));
    oData->setText(oItems.colNames.join(QLatin1Char('\n')));
    return oData;
}

std::optional<CopiedItems> ReadMimeData(const QMimeData *oData)
{
    if (!oData || !oData->hasFormat(QLatin1String(kDataViewsMimeType)))
        return std::nullopt;
    return DecodeCopiedItems(oData->data(QLatin1String(kDataViewsMimeType)));
}

} // namespace qv::manager
