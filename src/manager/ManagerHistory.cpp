#include "ManagerHistory.h"

#include "ManagerClipboard.h"

#include "config/ConfigStore.h"

#include <QCryptographicHash>
#include <QFile>

namespace qv::manager {
namespace {

// Enough changes to take back a session's worth; older ones are forgotten.
constexpr size_t kMaxEntries = 100;

// The digest of the file as it is now; empty when it cannot be read.
QByteArray FileDigest(const QString &sPath)
{
    QFile oFile(sPath);
    if (!oFile.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash oHash(QCryptographicHash::Sha256);
    if (!oHash.addData(&oFile))
        return {};
    return oHash.result();
}

} // namespace

QByteArray ManagerHistory::Digest(const QByteArray &baBytes)
{
    return QCryptographicHash::hash(baBytes, QCryptographicHash::Sha256);
}

void ManagerHistory::Record(const QString &sWhat, const QString &sFile, QByteArray baBefore,
                            const QByteArray &baWritten)
{
    m_colEntries.push_back({sWhat, sFile, std::move(baBefore), Digest(baWritten)});
    if (m_colEntries.size() > kMaxEntries)
        m_colEntries.erase(m_colEntries.begin());
}

ManagerHistory::Check ManagerHistory::CheckTop(const config::ConfigStore *store) const
{
    const Entry *oTop = Top();
    if (!oTop)
        return Check::Nothing;
    if (!store || ComparableFilePath(store->FilePath()) != oTop->sFile)
        return Check::NotOpen;
    if (FileDigest(oTop->sFile) != oTop->baAfterDigest)
        return Check::ChangedSince;
    return Check::Ready;
}

ManagerHistory::Check ManagerHistory::Undo(config::ConfigStore *store)
{
    const Check lCheck = CheckTop(store);
    if (lCheck == Check::Nothing)
        return lCheck;
    const Entry oTop = m_colEntries.back();
    if (lCheck != Check::Ready) {
        // The earlier changes of that file stand on this one: none can be undone alone.
        DropFile(oTop.sFile);
        return lCheck;
    }
    const QByteArray baNow = store->ToXml();
    store->ReadXml(oTop.baBefore, store->FilePath());
    try {
        store->Save();
    } catch (...) {
        store->ReadXml(baNow, store->FilePath());
        throw;
    }
    m_colEntries.pop_back();
    // The change below now has its file back as its own save left it,
    // written anew: it is judged by what this save wrote.
    for (auto it = m_colEntries.rbegin(); it != m_colEntries.rend(); ++it) {
        if (it->sFile == oTop.sFile) {
            if (it->baAfterDigest == Digest(oTop.baBefore))
                it->baAfterDigest = Digest(store->ToXml());
            break;
        }
    }
    return Check::Ready;
}

void ManagerHistory::DropFile(const QString &sFile)
{
    std::erase_if(m_colEntries, [&sFile](const Entry &oEntry) { return oEntry.sFile == sFile; });
}

} // namespace qv::manager
