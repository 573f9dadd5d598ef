// The members that run the Configuration File wizard.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "biz/ConfigFileSettings.h"
#include "common/basUtility.h"
#include "configfile/frmConfigFileWizard.h"

using namespace qv;

namespace {

// The runtime's "Object doesn't support this property or method".
constexpr qint32 kNoSuchMember = 438;
// The host's path kind for team configuration files.
constexpr int kTeamConfigurationPath = 3;

// The host's folder for team files, called by name as a host object is.
QString HostTeamFolder(QObject *oWordServices)
{
    if (!oWordServices)
        return QString();
    QString sFolder;
    if (!QMetaObject::invokeMethod(oWordServices, "GetPath", Qt::DirectConnection, Q_RETURN_ARG(QString, sFolder),
                                   Q_ARG(int, kTeamConfigurationPath)))
        RaiseError(kNoSuchMember, QString(), QStringLiteral("Object doesn't support this property or method"));
    return sFolder;
}

} // namespace

bool DVUser::ShowConfigFileWizard(const QString &sDefaultFilePath, QString &sSelectedFilePath)
{
    frmConfigFileWizard oForm;
    const configfile::ConfigFileWizardResult &oResult =
        RunConfigFileWizard(oForm, {sDefaultFilePath, sSelectedFilePath});
    sSelectedFilePath = oResult.FilePath();
    return !oResult.Cancelled();
}

QString DVUser::InvokeWizardCreateOrFindConfig(QObject *&oWordServices, eConfigFileType lFileType,
                                               const QString &sFilePath)
{
    return entry::ShowErrorsOf(QStringLiteral("InvokeWizardCreateOrFindConfig()"), QString(), [&] {
        QString sFolder = lFileType == Team ? HostTeamFolder(oWordServices) : QString();
        if (sFolder.isEmpty())
            sFolder = AppDataFolder();
        QString sPath = sFilePath;
        if (ShowConfigFileWizard(sFolder, sPath) && (lFileType == Team || lFileType == Personal))
            biz::ConfigFileSettings().SetConfigFilePath(lFileType, sPath);
        return sPath;
    });
}
