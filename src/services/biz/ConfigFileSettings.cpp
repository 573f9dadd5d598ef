#include "ConfigFileSettings.h"

#include "BizFolders.h"

#include "automation/ComError.h"
#include "config/ConfigFileIo.h"
#include "config/ConfigStore.h"
#include "registry/Registry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

#include <vector>

namespace qv::biz {
namespace {

const QString kKey = QStringLiteral("Software\\Harbrane\\Quorivo\\Data Views\\Configuration");
const QString kPersonalValue = QStringLiteral("PersonalFile");
const QString kTeamValue = QStringLiteral("TeamFile");
const QString kTutorialValue = QStringLiteral("TutorialEnabled");
const QString kTutorialFolder = QStringLiteral("Tutorial");
const QString kTutorialFile = QStringLiteral("qvDataView Tutorial.cfg");
// Connection texts of the shipped tutorial name their files relative to this marker.
const QString kTutorialMarker = QStringLiteral("$(TutorialFolder)");

// The live objects of this process, told when a configuration changed.
std::vector<ConfigFileSettings *> &LiveObjects()
{
    static std::vector<ConfigFileSettings *> objects;
    return objects;
}

QString ReadText(const QString &value)
{
    return Registry().GetValue(Registry::CurrentUser, kKey, value, Registry::String, Variant(QString())).ToText();
}

void CheckKind(int kind)
{
    if (kind != ConfigFileSettings::Personal && kind != ConfigFileSettings::Team)
        throw RuntimeError(vberr::InvalidCall);
}

QString DefaultPersonalFile()
{
    const QString path = QDir(UserDataFolder()).filePath(QStringLiteral("qvDataView Personal.cfg"));
    if (QFileInfo::exists(path))
        return path;
    try {
        config::ConfigStore::CreateFile(path, QStringLiteral("Personal"), QString(),
                                        QStringLiteral("schemas-harbrane-com:quorivo:smarttag#personal"));
    } catch (const ComError &) {
        // Opening the file will say what is wrong with the folder.
    }
    return path;
}

bool MayWrite(const QFileInfo &info)
{
    // Write bits count as well as access(): a file the team marked read-only
    // stays read-only for an author working as root.
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & anyWrite);
}

QByteArray ContentHash(const QString &path)
{
    // Read as a store reads it: a pipe or a device at the path would block
    // or never end, and is no file whose content could change a stamp.
    QByteArray bytes;
    try {
        bytes = config::ReadConfigFile(path);
    } catch (const ComError &) {
    }
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

void WriteWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        RaiseCannotWrite(path, file.errorString());
}

QString ShippedTutorialFolder()
{
    return QDir(LibraryFolder()).filePath(QStringLiteral("1033/tutorial"));
}

// Copies the shipped tutorial over the user's copy, naming the copied sources
// in its connection texts.
void CopyShippedTutorial()
{
    const QDir shipped(ShippedTutorialFolder());
    if (!shipped.exists(kTutorialFile))
        throw ComError(53, QString::fromLatin1(kBizSource),
                       QStringLiteral("The tutorial configuration \"%1\" is missing; install the program again.")
                           .arg(QDir::toNativeSeparators(shipped.filePath(kTutorialFile))));
    const QString target = QFileInfo(ConfigFileSettings::TutorialFilePath()).absolutePath();
    if (!QDir().mkpath(target))
        RaiseCannotWrite(target, QStringLiteral("the folder cannot be created"));
    // The sources first, so that the configuration never names a file that is not there.
    for (const QFileInfo &file : shipped.entryInfoList(QDir::Files)) {
        if (file.fileName() == kTutorialFile)
            continue;
        QFile source(file.absoluteFilePath());
        if (!source.open(QIODevice::ReadOnly))
            throw ComError(53, QString::fromLatin1(kBizSource),
                           QStringLiteral("The tutorial file \"%1\" cannot be read: %2.")
                               .arg(QDir::toNativeSeparators(file.absoluteFilePath()), source.errorString()));
        WriteWhole(QDir(target).filePath(file.fileName()), source.readAll());
    }
    // The shipped file as it stands, byte for byte, but for the folder its
    // marker names; it is read as a store first, so that a damaged install
    // is reported instead of copied.
    QByteArray bytes = config::ReadConfigFile(shipped.filePath(kTutorialFile));
    bytes.replace(kTutorialMarker.toUtf8(), QDir::toNativeSeparators(target).toHtmlEscaped().toUtf8());
    config::ConfigStore::Create()->ReadXml(bytes, shipped.filePath(kTutorialFile));
    WriteWhole(ConfigFileSettings::TutorialFilePath(), bytes);
}

} // namespace

ConfigFileSettings::ConfigFileSettings(QObject *parent) : QObject(parent)
{
    LiveObjects().push_back(this);
}

ConfigFileSettings::~ConfigFileSettings()
{
    std::erase(LiveObjects(), this);
}

QString ConfigFileSettings::GetConfigFilePath(int kind) const
{
    CheckKind(kind);
    if (kind == Team)
        return ReadText(kTeamValue);
    if (TutorialEnabled()) {
        // A practice copy the user deleted comes back as shipped.
        if (!QFileInfo::exists(TutorialFilePath())) {
            try {
                CopyShippedTutorial();
            } catch (const ComError &) {
                // Opening the file will say that it is missing.
            }
        }
        return TutorialFilePath();
    }
    const QString chosen = ReadText(kPersonalValue);
    return chosen.isEmpty() ? DefaultPersonalFile() : chosen;
}

void ConfigFileSettings::SetConfigFilePath(int kind, const QString &path)
{
    CheckKind(kind);
    Registry().SetValue(Registry::CurrentUser, kKey, kind == Team ? kTeamValue : kPersonalValue, Registry::String,
                        Variant(path));
}

bool ConfigFileSettings::TeamPathSet() const
{
    return !ReadText(kTeamValue).isEmpty();
}

bool ConfigFileSettings::GrantEditAccess(const std::shared_ptr<config::ConfigStore> &store) const
{
    if (!store || store->FilePath().isEmpty())
        return false;
    const QFileInfo file(store->FilePath());
    if (file.exists())
        return file.isFile() && MayWrite(file);
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && MayWrite(folder);
}

void ConfigFileSettings::ConfigurationChanged(int kind)
{
    CheckKind(kind);
    // A copy: a receiver may create or delete settings objects.
    const std::vector<ConfigFileSettings *> objects = LiveObjects();
    for (ConfigFileSettings *object : objects)
        emit object->ConfigurationChangedSignal(kind);
}

QString ConfigFileSettings::ChangeStamp(int kind) const
{
    CheckKind(kind);
    const QString path = kind == Team ? ReadText(kTeamValue) : GetConfigFilePath(Personal);
    const QByteArray pathHash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString::fromLatin1(pathHash + ":none");
    // A save replaces the file (new inode, new times); the content hash
    // covers two saves within one tick of the file system's clock.
    return QStringLiteral("%1:%2:%3:%4.%5:%6.%7:%8")
        .arg(QString::fromLatin1(pathHash))
        .arg(quint64(info.st_ino))
        .arg(qint64(info.st_size))
        .arg(qint64(info.st_mtim.tv_sec))
        .arg(qint64(info.st_mtim.tv_nsec))
        .arg(qint64(info.st_ctim.tv_sec))
        .arg(qint64(info.st_ctim.tv_nsec))
        .arg(QString::fromLatin1(ContentHash(path)));
}

bool ConfigFileSettings::TutorialEnabled() const
{
    return Registry().GetValue(Registry::CurrentUser, kKey, kTutorialValue, Registry::DWord, Variant(qint32(0))).ToLong()
           != 0;
}

void ConfigFileSettings::SetTutorialEnabled(bool enabled)
{
    if (enabled && !QFileInfo::exists(TutorialFilePath()))
        ResetTutorial();
    Registry().SetValue(Registry::CurrentUser, kKey, kTutorialValue, Registry::DWord, Variant(qint32(enabled ? 1 : 0)));
}

QString ConfigFileSettings::TutorialFilePath()
{
    return QDir(UserDataFolder()).filePath(kTutorialFolder + QLatin1Char('/') + kTutorialFile);
}

void ConfigFileSettings::ResetTutorial()
{
    CopyShippedTutorial();
}

} // namespace qv::biz
