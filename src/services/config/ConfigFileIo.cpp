#include "ConfigFileIo.h"

#include "ConfigStore.h"

#include "automation/ComError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv::config {
namespace {

// Files beyond this size are no configuration of ours; reading them would only exhaust memory.
constexpr qint64 kMaxFileSize = 512LL * 1024 * 1024;
// Free space below which a failed write is put down to a full disk.
constexpr qint64 kNearlyFull = 64 * 1024;

QString Native(const QString &path) { return QDir::toNativeSeparators(path); }

[[noreturn]] void RaiseUnreadable(const QString &path, const QString &why)
{
    throw ComError(kErrorUnreadable, QString::fromLatin1(kConfigSource),
                   QStringLiteral("The configuration file \"%1\" cannot be opened: %2.").arg(Native(path), why));
}

bool DiskFull(const QString &path, qint64 needed)
{
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.bytesAvailable() < needed + kNearlyFull;
}

} // namespace

QByteArray ReadConfigFile(const QString &path)
{
    // Opened without blocking and checked on the open descriptor, so that a
    // FIFO put in the file's place after any earlier check still cannot block.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        RaiseUnreadable(path, qt_error_string(errno));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        RaiseUnreadable(path, file.errorString());
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        RaiseUnreadable(path, QStringLiteral("it is not a regular file (a folder, a device or a pipe)"));
    if (status.st_size > kMaxFileSize)
        RaiseUnreadable(path, QStringLiteral("it is too large to be a configuration file"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        RaiseUnreadable(path, file.errorString());
    return bytes;
}

QString CanonicalConfigPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

void CheckNotReadOnly(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.isWritable() && (info.permissions() & anyWrite))
        return;
    throw ComError(kErrorCannotWrite, QString::fromLatin1(kConfigSource),
                   QStringLiteral("The configuration file \"%1\" is read-only, so it was not saved. Ask whoever "
                                  "keeps it for permission to change it, or save it under another name.")
                       .arg(Native(path)));
}

void RaiseCannotWrite(const QString &path, const QString &why, qint64 needed)
{
    const QString reason = DiskFull(path, needed)
                               ? QStringLiteral("the disk is full. Free some space on it and save again")
                               : why + QStringLiteral(". Check that the folder exists and that you may change files in it");
    throw ComError(kErrorCannotWrite, QString::fromLatin1(kConfigSource),
                   QStringLiteral("The configuration file \"%1\" cannot be written: %2.").arg(Native(path), reason));
}

void WriteConfigFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        RaiseCannotWrite(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        RaiseCannotWrite(path, file.errorString(), bytes.size());
}

} // namespace qv::config
