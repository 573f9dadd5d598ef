#include "qvuser/HostSettings.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

#include <mutex>

namespace qv {
namespace {

std::mutex &SettingsLock()
{
    static std::mutex lock;
    return lock;
}

HostSettings &Stored()
{
    static HostSettings settings;
    return settings;
}

// The libraries are installed side by side, so the folder of this one is the
// folder of qvuser too.
QString LoadedLibraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void *>(&LoadedLibraryFolder), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
}

bool HoldsStringTable(const QString &folder)
{
    return QFileInfo(QDir(folder).filePath(QStringLiteral("1033/qvres.txt"))).isFile();
}

} // namespace

void SetHostSettings(const HostSettings &settings)
{
    const std::lock_guard guard(SettingsLock());
    Stored() = settings;
}

HostSettings CurrentHostSettings()
{
    const std::lock_guard guard(SettingsLock());
    return Stored();
}

QStringList ComponentFolderCandidates()
{
    const QString given = CurrentHostSettings().ComponentFolder;
    if (!given.isEmpty())
        return {QDir(given).absolutePath()};
    const QString library = LoadedLibraryFolder();
    // The build tree and private deployments keep 1033 beside the libraries;
    // an installation keeps it in the share folder (QV_LIB_TO_SHARE is the
    // relative path from the library folder, fixed at configure time).
    return {library, QDir::cleanPath(QDir(library).filePath(QStringLiteral(QV_LIB_TO_SHARE)))};
}

QString FoundComponentFolder()
{
    const QStringList candidates = ComponentFolderCandidates();
    for (const QString &folder : candidates) {
        if (HoldsStringTable(folder))
            return folder;
    }
    return candidates.value(0);
}

} // namespace qv
