// The members that open the Data View Manager.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "biz/ConfigFileSettings.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"

using namespace qv;

namespace {

// The store of a file, or nullptr (with the message shown) when it cannot be opened.
std::shared_ptr<config::ConfigStore> OpenOrReport(const QString &sPath, int lStyle)
{
    if (sPath.isEmpty())
        return nullptr;
    auto oStore = config::ConfigStore::Create();
    try {
        oStore->Open(sPath);
        return oStore;
    } catch (...) {
        CaptureError();
    }
    ShowError(LoadResString(704, {sPath}), QString::fromLatin1(kTitleManager), QString(), lStyle);
    return nullptr;
}

} // namespace

void DVUser::OpenSmartTagView(QObject *&oWordServices, const QString &sPersonalFilePath, const QString &sTeamFilePath,
                              EFirstSelectedNode iFirstSelectedNode, ESecondSelectedNode iSecondSelectedNode,
                              int32_t iSelectedListItemId)
{
    manager::ManagerRequest oRequest;
    // The change stamps hash both files; they are read on the pool beside the
    // files, before them, so that any save the stores miss is seen as a change.
    oRequest.oStamps = manager::ManagerState::StartReadingChangeStamps();
    oRequest.oPersonalStore = OpenOrReport(sPersonalFilePath, 16);
    oRequest.oTeamStore = OpenOrReport(sTeamFilePath, 48);
    if (!oRequest.oPersonalStore && !oRequest.oTeamStore)
        return;
    oRequest.sPersonalFilePath = sPersonalFilePath;
    oRequest.sTeamFilePath = sTeamFilePath;
    if (!sPersonalFilePath.isEmpty() && sPersonalFilePath.compare(sTeamFilePath, Qt::CaseInsensitive) == 0) {
        ShowError(LoadResString(713), QString(), QString(), 48);
        biz::ConfigFileSettings().SetConfigFilePath(biz::ConfigFileSettings::Team, QString());
        oRequest.oTeamStore.reset();
        // The window's refreshes must not open the personal file as the team's either.
        oRequest.sTeamFilePath.clear();
    }
    oRequest.oWordServices = oWordServices;
    oRequest.iFirstSelectedNode = iFirstSelectedNode;
    oRequest.iSecondSelectedNode = iSecondSelectedNode;
    oRequest.iSelectedListItemId = iSelectedListItemId;
    entry::Unload(d->oManagerForm);
    d->oManagerForm = std::make_unique<frmMain>();
    d->oManagerForm->ShowSmartTagView(oRequest);
}

void DVUser::VisualSmartTagConfig(QObject *&oWordServices, int32_t iConfigClass, int32_t iConfigSubClass,
                                  int32_t lSelectedNodeId)
{
    entry::ShowErrorsOf(QStringLiteral("VisualSmartTagConfig()"), 0, [&] {
        biz::ConfigFileSettings oSettings;
        QString sPersonal = oSettings.GetConfigFilePath(biz::ConfigFileSettings::Personal);
        QString sTeam = oSettings.GetConfigFilePath(biz::ConfigFileSettings::Team);
        if (!FileExists(sPersonal))
            sPersonal.clear();
        if (!FileExists(sTeam))
            sTeam.clear();
        OpenSmartTagView(oWordServices, sPersonal, sTeam, EFirstSelectedNode(iConfigClass),
                         ESecondSelectedNode(iConfigSubClass), lSelectedNodeId);
        oSettings.ConfigurationChanged(biz::ConfigFileSettings::Personal);
        oSettings.ConfigurationChanged(biz::ConfigFileSettings::Team);
        return 0;
    });
}
