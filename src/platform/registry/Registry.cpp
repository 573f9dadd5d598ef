#include "Registry.h"

#include "automation/ComError.h"
#include "qvuser/HostSettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <odbcinst.h>

// unixODBC's installer library exports the file data source folder lookup
// that `odbcinst -j` prints, but declares it only for its own build.
extern "C" BOOL _odbcinst_FileINI(char *pszPath);

#include <memory>

namespace qv {
namespace {

constexpr qint32 kPathFileAccessError = 75;
const QLatin1String kDefaultValueName("(Default)");

// QV_REGISTRY_ROOT, else the host's registry root; "" for Qt's own locations.
QString RootFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("QV_REGISTRY_ROOT");
    return fromEnvironment.isEmpty() ? CurrentHostSettings().RegistryRoot : fromEnvironment;
}

bool KnownHive(quint32 hive)
{
    return hive == Registry::CurrentUser || hive == Registry::LocalMachine;
}

std::unique_ptr<QSettings> OpenHive(quint32 hive)
{
    if (!RootFolder().isEmpty())
        return std::make_unique<QSettings>(Registry::HiveFile(hive), QSettings::IniFormat);
    const auto scope = hive == Registry::LocalMachine ? QSettings::SystemScope : QSettings::UserScope;
    return std::make_unique<QSettings>(QSettings::IniFormat, scope, QStringLiteral("Harbrane"),
                                       QStringLiteral("registry"));
}

// Finds each part of the key among the groups that exist, without regard to
// case, and keeps the caller's spelling for the parts that do not exist yet.
QString ResolveKey(QSettings &settings, const QString &key)
{
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QStringList resolved;
    for (const QString &part : parts) {
        QString match = part;
        const QStringList groups = settings.childGroups();
        for (const QString &group : groups) {
            if (group.compare(part, Qt::CaseInsensitive) == 0) {
                match = group;
                break;
            }
        }
        resolved << match;
        settings.beginGroup(match);
    }
    for (qsizetype i = 0; i < resolved.size(); ++i)
        settings.endGroup();
    return resolved.join(QLatin1Char('/'));
}

QString ResolveValue(QSettings &settings, const QString &group, const QString &valueName)
{
    const QString name = valueName.isEmpty() ? QString(kDefaultValueName) : valueName;
    settings.beginGroup(group);
    QString match = name;
    const QStringList keys = settings.childKeys();
    for (const QString &existing : keys) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            match = existing;
            break;
        }
    }
    settings.endGroup();
    return group.isEmpty() ? match : group + QLatin1Char('/') + match;
}

Variant ConvertStored(const QVariant &stored, int type)
{
    bool ok = false;
    switch (type) {
    case Registry::String:
    case Registry::ExpandString:
        return Variant(stored.toString());
    case Registry::DWord: {
        const qint64 n = stored.toLongLong(&ok);
        if (!ok || n < 0 || n > 0xFFFFFFFFLL)
            return Variant::Null();
        return Variant(qint32(quint32(n)));
    }
    case Registry::QWord: {
        const qint64 n = stored.toLongLong(&ok);
        return ok ? Variant(n) : Variant::Null();
    }
    default:
        return Variant::Null();
    }
}

} // namespace

QString Registry::HiveFile(quint32 hive)
{
    const QString name = hive == LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE.ini")
                                              : QStringLiteral("HKEY_CURRENT_USER.ini");
    const QString root = RootFolder();
    if (!root.isEmpty())
        return QDir(root).filePath(name);
    return OpenHive(hive)->fileName();
}

Variant Registry::GetValue(quint32 hive, const QString &key, const QString &valueName, int type,
                           const Variant &defaultValue) const
{
    if (!KnownHive(hive))
        return defaultValue;
    if (hive == LocalMachine
        && key.compare(QLatin1String("SOFTWARE\\ODBC\\ODBC.INI\\ODBC File DSN"), Qt::CaseInsensitive) == 0
        && valueName.compare(QLatin1String("DefaultDSNDir"), Qt::CaseInsensitive) == 0) {
        return Variant(OdbcFileDsnFolder());
    }
    auto settings = OpenHive(hive);
    const QString path = ResolveValue(*settings, ResolveKey(*settings, key), valueName);
    const QVariant stored = settings->value(path);
    if (!stored.isValid())
        return defaultValue;
    const Variant value = ConvertStored(stored, type);
    return value.IsNull() ? defaultValue : value;
}

void Registry::SetValue(quint32 hive, const QString &key, const QString &valueName, int type,
                        const Variant &value)
{
    if (!KnownHive(hive))
        throw RuntimeError(vberr::InvalidCall);
    QVariant stored;
    switch (type) {
    case String:
    case ExpandString:
        stored = value.CStr();
        break;
    case DWord:
        stored = qint64(quint32(value.ToLong()));
        break;
    case QWord:
        stored = value.Get<qint64>() ? *value.Get<qint64>() : qint64(value.ToLong());
        break;
    default:
        throw RuntimeError(vberr::InvalidCall);
    }
    auto settings = OpenHive(hive);
    settings->setValue(ResolveValue(*settings, ResolveKey(*settings, key), valueName), stored);
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw ComError(kPathFileAccessError, QString::fromLatin1(kRuntimeErrorSource),
                       QStringLiteral("Path/File access error: %1").arg(settings->fileName()));
    }
}

QString OdbcFileDsnFolder()
{
    // The FILEDSNPATH entry of odbcinst.ini, or ODBCDataSources in the system
    // configuration folder.
    char folder[4096] = {};
    if (!_odbcinst_FileINI(folder))
        return {};
    return QString::fromLocal8Bit(folder);
}

} // namespace qv
