#include "ConfigFileRules.h"

#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "resources/PathText.h"

namespace qv::configfile {
namespace {

constexpr quint32 kFilterText = 150002;

[[noreturn]] void RaiseInvalidFilename()
{
    RaiseError(kErrorInvalidFilename, QString(), QStringLiteral("Invalid filename"));
}

} // namespace

PathParts SplitConfigPath(const QString &sPath)
{
    const qsizetype at = std::max(sPath.lastIndexOf(QLatin1Char('\\')), sPath.lastIndexOf(QLatin1Char('/')));
    if (at < 0)
        return {QString(), sPath};
    return {sPath.left(at + 1), sPath.mid(at + 1)};
}

QString CheckConfigFileName(const QString &sPath)
{
    PathParts oParts = SplitConfigPath(sPath);
    if (oParts.sName.isEmpty() || oParts.sName.startsWith(QLatin1Char('.')) || oParts.sName.endsWith(QLatin1Char('.')))
        RaiseInvalidFilename();
    if (!oParts.sName.contains(QLatin1Char('.')))
        oParts.sName += QStringLiteral(".cfg");
    const QString sChecked = oParts.sFolder + oParts.sName;
    if (IsInvalidPath(sChecked))
        RaiseInvalidFilename();
    return FileSystemPath(sChecked);
}

QString ProposedTeamFile(const QString &sDefaultFolder)
{
    if (sDefaultFolder.isEmpty())
        return QString();
    QString sFolder = FileSystemPath(sDefaultFolder);
    if (!sFolder.endsWith(QLatin1Char('/')))
        sFolder += QLatin1Char('/');
    return sFolder + QString::fromLatin1(kDefaultTeamFileName);
}

ui::FileDialogRequest BrowseRequest(bool bCreating, const QString &sCurrentPath)
{
    ui::FileDialogRequest oRequest;
    const PathParts oParts = SplitConfigPath(sCurrentPath);
    if (!oParts.sFolder.isEmpty() && !IsInvalidPath(oParts.sFolder))
        oRequest.InitialFolder = FileSystemPath(oParts.sFolder);
    if (!oParts.sName.isEmpty() && !IsInvalidPath(oParts.sName))
        oRequest.FileName = oParts.sName;
    oRequest.Filter = LoadResString(kFilterText) + QStringLiteral("|*.cfg");
    oRequest.DefaultExtension = QStringLiteral("*.cfg");
    if (bCreating) {
        oRequest.DialogMode = ui::FileDialogRequest::Save;
        oRequest.Title = QStringLiteral("Enter configuration file name");
        // Writing over a configuration file keeps its data views and smart
        // tags; only its name and description change, so there is nothing to warn of.
        oRequest.OverwritePrompt = false;
    } else {
        oRequest.DialogMode = ui::FileDialogRequest::Open;
        oRequest.Title = QStringLiteral("Connect to configuration file");
        oRequest.MustExist = true;
    }
    return oRequest;
}

bool SaveRedoingOnConflict(config::ConfigStore &oStore, const std::function<void(config::ConfigStore &)> &redo,
                           const std::function<bool()> &askReload)
{
    for (;;) {
        try {
            oStore.Save();
            return true;
        } catch (const ComError &oError) {
            if (oError.Number() != config::kErrorChangedElsewhere)
                throw;
        }
        if (!askReload())
            return false;
        oStore.Reload(QString());
        redo(oStore);
    }
}

} // namespace qv::configfile
