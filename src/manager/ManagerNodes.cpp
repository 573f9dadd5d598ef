#include "ManagerNodes.h"

#include "common/basErrorHandling.h"

namespace qv::manager {
namespace {

[[noreturn]] void RaiseTagError(const char *sDescription)
{
    RaiseError(kErrorNodeTag, QString(), QString::fromLatin1(sDescription));
}

} // namespace

QString MakeNodeTag(qint32 lType, qint32 lId)
{
    return QString::number(lType) + QLatin1Char(':') + QString::number(lId);
}

std::pair<qint32, qint32> ParseNodeTag(const QString &sTag)
{
    if (sTag.isEmpty())
        RaiseTagError("Node tag is empty");
    const qsizetype lColon = sTag.indexOf(QLatin1Char(':'));
    if (lColon <= 0 || lColon == sTag.size() - 1)
        RaiseTagError("Incorrectly formed node tag");
    bool bTypeOk = false, bIdOk = false;
    const qint32 lType = sTag.left(lColon).toInt(&bTypeOk);
    const qint32 lId = sTag.mid(lColon + 1).toInt(&bIdOk);
    // A tag the window did not make (letters, a second colon, a number past
    // 32 bits) says nothing about any node.
    if (!bTypeOk || !bIdOk)
        RaiseTagError("Incorrectly formed node tag");
    return {lType, lId};
}

QString ListKey::ColumnKey(int lColumn) const
{
    return QStringLiteral("%1:%2:%3:%4:%5").arg(lNodeType).arg(lNodeId).arg(lParentType).arg(lRootType).arg(lColumn);
}

} // namespace qv::manager
