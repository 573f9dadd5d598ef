#include "BizFolders.h"

#include "automation/ComError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <dlfcn.h>

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
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void *>(&LibraryFolder), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
}

void RaiseCannotWrite(const QString &path, const QString &why)
{
    throw ComError(kErrorCannotWrite, QString::fromLatin1(kBizSource),
                   QStringLiteral("The file \"%1\" cannot be written: %2.").arg(QDir::toNativeSeparators(path), why));
}

} // namespace qv::biz
