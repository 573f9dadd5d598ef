#include "ConfigStore.h"

#include "ConfigFileIo.h"

#include "automation/ComError.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace qv::config {
namespace {

QString Source() { return QString::fromLatin1(kConfigSource); }

QByteArray Digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Waits up to ten seconds for the lock. A lock whose holder died is taken
// over at once; so is a lock file that holds nothing readable after a second
// (its writer was killed between creating and filling it), which QLockFile
// alone would respect until its stale time, long after the caller gave up.
bool TakeLock(QLockFile &lock, const QString &lockPath)
{
    lock.setStaleLockTime(30000);
    QDeadlineTimer deadline(10000);
    while (!lock.tryLock(200)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        qint64 pid = 0;
        QString host, application;
        const QFileInfo file(lockPath);
        if (!lock.getLockInfo(&pid, &host, &application) && file.exists()
            && file.lastModified().msecsTo(QDateTime::currentDateTime()) > 1000)
            lock.removeStaleLockFile();
    }
    return true;
}

QString LockFailure(QLockFile::LockError error)
{
    switch (error) {
    case QLockFile::LockFailedError:
        return QStringLiteral("someone else is saving it; try again in a moment");
    case QLockFile::PermissionError:
        return QStringLiteral("permission denied");
    default:
        return QStringLiteral("its lock file cannot be created");
    }
}

} // namespace

std::shared_ptr<SmartTagSet> SmartTagSets::Item(int position) const
{
    return position >= 1 && position <= Count() ? m_sets[size_t(position - 1)] : nullptr;
}

std::shared_ptr<SmartTagSet> SmartTagSets::Add(const std::shared_ptr<IdSource> &ids, std::weak_ptr<ConfigStore> store)
{
    auto set = std::make_shared<SmartTagSet>(ids->Next(), ids, std::move(store));
    m_sets.push_back(set);
    return set;
}

std::shared_ptr<ConfigStore> ConfigStore::Create()
{
    std::shared_ptr<ConfigStore> store(new ConfigStore);
    store->Reset();
    return store;
}

void ConfigStore::Reset()
{
    m_ids = std::make_shared<IdSource>();
    m_dataViews = std::make_unique<DataViews>(m_ids, weak_from_this());
    m_smartTagSets = {};
    m_extras = {};
    Name.clear();
    Description.clear();
    SmartTagNamespace.clear();
}

void ConfigStore::Open(const QString &path)
{
    QByteArray bytes;
    try {
        bytes = ReadConfigFile(path);
        ReadXml(bytes, path);
    } catch (const std::bad_alloc &) {
        throw ComError(kErrorUnreadable, Source(),
                       QStringLiteral("The configuration file \"%1\" cannot be opened: there is not enough memory "
                                      "to read it. Close other programs and try again.")
                           .arg(QDir::toNativeSeparators(path)));
    }
    m_path = path;
    m_fileExisted = true;
    m_fileDigest = Digest(bytes);
}

void ConfigStore::Reload(const QString &path)
{
    Open(path.isEmpty() ? m_path : path);
}

void ConfigStore::CreateNew(const QString &path, const QString &name, const QString &description,
                            const QString &smartTagNamespace)
{
    Reset();
    m_path = path;
    Name = name;
    Description = description;
    SmartTagNamespace = smartTagNamespace;
    m_smartTagSets.Add(m_ids, weak_from_this())->Name = name;
    m_fileExisted = false;
    m_fileDigest.clear();
}

std::shared_ptr<ConfigStore> ConfigStore::CreateFile(const QString &path, const QString &name,
                                                     const QString &description, const QString &smartTagNamespace)
{
    auto store = Create();
    if (QFileInfo::exists(path)) {
        store->Open(path);
        store->Name = name;
        store->Description = description;
        store->SmartTagNamespace = smartTagNamespace;
    } else {
        store->CreateNew(path, name, description, smartTagNamespace);
    }
    store->Save();
    return store;
}

bool ConfigStore::DataViewInUse(qint32 id) const
{
    for (const auto &set : m_smartTagSets) {
        for (const auto &tag : *set) {
            if (tag->Recognizer.DataViewId == id)
                return true;
            for (const auto &action : tag->Actions) {
                if (action->DataViewId == id)
                    return true;
            }
        }
    }
    return false;
}

void ConfigStore::CheckUnchangedOnDisk() const
{
    const bool exists = QFileInfo::exists(m_path);
    if (!exists && !m_fileExisted)
        return;
    bool same = exists == m_fileExisted;
    if (same && exists) {
        try {
            same = Digest(ReadConfigFile(m_path)) == m_fileDigest;
        } catch (const ComError &) {
            same = false; // no longer a file this store could have written
        }
    }
    if (!same)
        throw ComError(kErrorChangedElsewhere, Source(),
                       QStringLiteral("The configuration file \"%1\" was changed by someone else since it was "
                                      "opened, so it was not saved. Open it again to see the latest version.")
                           .arg(QDir::toNativeSeparators(m_path)));
}

void ConfigStore::Save(const QString &path, int /*flags*/)
{
    const QString target = path.isEmpty() ? m_path : path;
    if (target.isEmpty())
        RaiseCannotWrite(target, QStringLiteral("the store has no file"));
    const QByteArray bytes = ToXml();
    // Everyone who saves this file takes the lock, so the check and the write
    // are one step; the lock is named by the file's real path, whatever link
    // this writer reached it through.
    const QString canonical = CanonicalConfigPath(target);
    const QString lockPath = canonical + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    if (!TakeLock(lock, lockPath))
        RaiseCannotWrite(target, LockFailure(lock.error()), 1);
    CheckNotReadOnly(canonical);
    const bool ownFile = m_path == target || canonical == CanonicalConfigPath(m_path);
    if (ownFile)
        CheckUnchangedOnDisk();
    WriteConfigFile(canonical, bytes);
    m_path = target;
    m_fileExisted = true;
    m_fileDigest = Digest(bytes);
}

} // namespace qv::config
