#include "BizFolders.h"

#include "automation/ComError.h"
#include "qvuser/HostSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qv::biz {

QString UserDataFolder()
{
    const QByteArray root = qgetenv("QV_DATA_ROOT");
    const QString folder = root.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                          : QString::fromLocal8Bit(root);
    QDir().mkpath(folder);
    return folder;
}

QString LibraryFolder()
{
    return FoundComponentFolder();
}

void RaiseCannotWrite(const QString &path, const QString &why)
{
    throw ComError(kErrorCannotWrite, QString::fromLatin1(kBizSource),
                   QStringLiteral("The file \"%1\" cannot be written: %2.").arg(QDir::toNativeSeparators(path), why));
}

} // namespace qv::biz
