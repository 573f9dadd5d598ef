// The commands of frmMain that change which files it shows: connecting to,
// changing and disconnecting from the team configuration, and the tutorial
// configuration in place of the personal one.
#include "frmMain.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "qvuser/DVUser.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QAction>
#include <QScopeGuard>

namespace qv {

using namespace manager;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);

} // namespace

void frmMain::ConnectTeamCommands()
{
    const auto oConnect = [this](const char *sName, auto &&body) {
        connect(findChild<QAction *>(QLatin1String(sName)), &QAction::triggered, this,
                [body](bool bChecked) { body(bChecked); });
    };
    oConnect("mnuConnectToTeamDataViews", [this](bool) { HandleErrors([this] { ConnectToTeam(); }, kTitle); });
    oConnect("mnuDisconnectFromTeamDataViews", [this](bool) { HandleErrors([this] { DisconnectFromTeam(); }); });
    // The item has already changed its check mark; a failure puts it back.
    oConnect("mnuHelpEnableTutorialDataViews", [this](bool bChecked) {
        if (!HandleErrors([&] { SetTutorialEnabled(bChecked); }))
            mnuHelpEnableTutorialDataViews->setChecked(!bChecked);
    });
    oConnect("mnuHelpResetTutorialDataViews", [this](bool) { HandleErrors([this] { ResetTutorial(); }); });
    for (QAction *oAction : m_colCommands.value(QStringLiteral("Properties")))
        connect(oAction, &QAction::triggered, this, [this] { RunProperties(); });
}

void frmMain::RefreshIfChangedElsewhere()
{
    if (HasOutsideChanges())
        RefreshAll();
}

void frmMain::UpdateDisconnectState()
{
    mnuDisconnectFromTeamDataViews->setEnabled(m_oSettings->TeamPathSet());
}

void frmMain::RunProperties()
{
    // A second start while the wizard of the first is open does nothing.
    static bool s_bRunning = false;
    if (s_bRunning)
        return;
    s_bRunning = true;
    const auto oDone = qScopeGuard([] { s_bRunning = false; });
    HandleErrors([this] {
        {
            // Not over the wizard: the author works in it.
            ui::BusyPointer oBusy;
            RefreshIfChangedElsewhere();
        }
        if (m_oState.CurrentKey().lNodeType == TeamRoot)
            ChangeTeamConfiguration();
        else
            EditItem();
    }, kTitle);
    if (m_oUser)
        HandleErrors([this] { m_oUser->CloseForms(); });
}

QString frmMain::RefusePersonalAsTeam(const QString &sPath, const QString &sOldSetting)
{
    if (sPath.isEmpty() || sPath.toUpper() != m_oState.Request().sPersonalFilePath.toUpper())
        return sPath;
    ShowError(LoadResString(712, {sPath}), kTitle, QString(), ui::mb::Exclamation);
    // The wizard has stored the file as the team's; the team configuration stays as it was.
    m_oSettings->SetConfigFilePath(biz::ConfigFileSettings::Team, sOldSetting);
    return QString();
}

QString frmMain::OpenTeamFile(const QString &sPath)
{
    // Read before the file, so that a save made after the file was read
    // is seen as a change.
    const ChangeStamps oStamps = ManagerState::ReadChangeStamps();
    auto oStore = config::ConfigStore::Create();
    oStore->Open(sPath);
    const QString sOpened = oStore->FilePath();
    m_oState.SetTeamFile(oStore, sOpened);
    m_oState.SetChangeStamps(oStamps);
    m_oState.SetStartNodes(2, 2);
    ResetView(2, 2, -1, true);
    WatchFiles();
    return sOpened;
}

void frmMain::ConnectToTeam()
{
    DVUser oUser;
    RefreshIfChangedElsewhere();
    const QString sOldPath = m_oState.TeamStore() ? m_oState.TeamStore()->FilePath() : QString();
    const QString sOldSetting = m_oSettings->GetConfigFilePath(biz::ConfigFileSettings::Team);
    QObject *oHost = m_oState.Request().oWordServices;
    const QString sPath =
        RefusePersonalAsTeam(oUser.InvokeWizardCreateOrFindConfig(oHost, Team, QString()), sOldSetting);
    if (!sPath.isEmpty()) {
        QString sNewPath;
        try {
            sNewPath = OpenTeamFile(sPath);
        } catch (...) {
            m_oSettings->SetConfigFilePath(biz::ConfigFileSettings::Team, sOldSetting);
            throw;
        }
        if (sOldPath != sNewPath)
            ShowMessage(QStringLiteral("Team Data View configuration changed to") + QStringLiteral("\r\n") + sNewPath,
                        kTitle, ui::mb::Information);
    }
    UpdateDisconnectState();
    const QModelIndex oNode = CurrentNode();
    if (oNode.isValid()) {
        OnNodeSelected(oNode, false);
        UpdateDetails();
    }
}

void frmMain::ChangeTeamConfiguration()
{
    DVUser oUser;
    const QString sOldSetting = m_oSettings->GetConfigFilePath(biz::ConfigFileSettings::Team);
    QObject *oHost = m_oState.Request().oWordServices;
    const QString sPath = RefusePersonalAsTeam(
        oUser.InvokeWizardCreateOrFindConfig(oHost, Team, m_oState.Request().sTeamFilePath), sOldSetting);
    if (!sPath.isEmpty())
        OpenTeamFile(sPath);
}

void frmMain::DisconnectFromTeam()
{
    m_oSettings->SetConfigFilePath(biz::ConfigFileSettings::Team, QString());
    m_oState.SetTeamFile(nullptr, QString());
    UpdateDisconnectState();
    RefreshAll();
    WatchFiles();
}

void frmMain::SetTutorialEnabled(bool bEnabled)
{
    m_oSettings->SetTutorialEnabled(bEnabled);
    m_oState.SetPersonalFilePath(m_oSettings->GetConfigFilePath(biz::ConfigFileSettings::Personal));
    findChild<QAction *>(QStringLiteral("mnuHelpResetTutorialDataViews"))->setEnabled(bEnabled);
    RefreshAll();
    WatchFiles();
}

void frmMain::ResetTutorial()
{
    const QString sQuestion = QStringLiteral("Are you sure you want lose all changes and reset the Tutorial Data Views")
                              + QStringLiteral("\r\n") + QStringLiteral("to their orginal settings?");
    if (ShowMessage(sQuestion, kTitle, ui::mb::YesNo + ui::mb::Question) != ui::mb::Yes)
        return;
    m_oSettings->ResetTutorial();
    RefreshAll();
}

} // namespace qv
