// How frmMain's commands are started (menus, right-click menus, toolbar,
// keys, double click) and the saving every change goes through.
// The commands themselves: frmMainItems.cpp, frmMainEdit.cpp.
#include "frmMain.h"

#include "ManagerCommands.h"
#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "qvuser/DVUser.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

namespace qv {

using namespace manager;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);

} // namespace

void frmMain::ConnectCommands()
{
    // The menu items, right-click items and toolbar buttons of each command.
    const auto oOn = [this](const char *sCommand, void (frmMain::*run)()) {
        for (QAction *oAction : m_colCommands.value(QLatin1String(sCommand)))
            connect(oAction, &QAction::triggered, this, [this, run] { HandleErrors([&] { (this->*run)(); }, kTitle); });
    };
    oOn("New", &frmMain::NewItem);
    oOn("Copy", &frmMain::CopySelection);
    oOn("Paste", &frmMain::PasteItems);
    oOn("Delete", &frmMain::DeleteSelection);
    oOn("Rename", &frmMain::StartRename);
    oOn("ClearWarnings", &frmMain::ClearWarnings);
    oOn("Preview", &frmMain::PreviewDataView);
    for (QAction *oAction : m_colCommands.value(QStringLiteral("Enable")))
        connect(oAction, &QAction::triggered, this, [this] { HandleErrors([this] { SetSmartTagEnabled(true); }, kTitle); });
    for (QAction *oAction : m_colCommands.value(QStringLiteral("Disable")))
        connect(oAction, &QAction::triggered, this, [this] { HandleErrors([this] { SetSmartTagEnabled(false); }, kTitle); });
    // The right-click item waits until its menu has closed.
    for (QAction *oAction : m_colCommands.value(QStringLiteral("Terms"))) {
        if (oAction->objectName() == QLatin1String("mnuSTPopupManageSmartTagRecognizerTerms"))
            connect(oAction, &QAction::triggered, tmrLaunchManageSmartTagRecognizerTerms, qOverload<>(&QTimer::start));
        else
            connect(oAction, &QAction::triggered, this, [this] { HandleErrors([this] { ManageRecognizerTerms(); }); });
    }
    connect(tmrLaunchManageSmartTagRecognizerTerms, &QTimer::timeout, this, [this] {
        tmrLaunchManageSmartTagRecognizerTerms->stop();
        HandleErrors([this] { ManageRecognizerTerms(); });
    });
    connect(findChild<QAction *>(QStringLiteral("mnuViewRefresh")), &QAction::triggered, this,
            [this] { HandleErrors([this] { RunCommand(QStringLiteral("Refresh")); }); });
    for (const char *sName : {"mnuHelpContents", "Help"})
        connect(findChild<QAction *>(QLatin1String(sName)), &QAction::triggered, this,
                [this] { HandleErrors([this] { ShowHelpContents(); }); });
    connect(mnuEditUndo, &QAction::triggered, this, [this] { HandleErrors([this] { UndoLastChange(); }, kTitle); });

    // Keys beside the menus' own: Delete on the list (not in the tree).
    auto *oDeleteKey = new QAction(lvDetails);
    oDeleteKey->setObjectName(QStringLiteral("keyDelete"));
    oDeleteKey->setShortcut(QKeySequence::Delete);
    oDeleteKey->setShortcutContext(Qt::WidgetShortcut);
    lvDetails->addAction(oDeleteKey);
    connect(oDeleteKey, &QAction::triggered, this, [this] {
        if (findChild<QAction *>(QStringLiteral("mnuEditDelete"))->isEnabled())
            HandleErrors([this] { DeleteSelection(); }, kTitle);
    });
    connect(lvDetails, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &oIndex) {
        if (oIndex.isValid() && findChild<QAction *>(QStringLiteral("mnuEditProperties"))->isEnabled())
            RunProperties();
    });
    lvDetails->viewport()->installEventFilter(this);
    lvDetails->installEventFilter(this);
    m_oListModel->Renamer = [this](const QString &sTag, const QString &sText) {
        bool bRenamed = false;
        HandleErrors([&] { bRenamed = RenameFromList(sTag, sText); }, kTitle);
        return bRenamed;
    };
}

void frmMain::RunCommand(const QString &sCommand)
{
    if (sCommand == QLatin1String("Refresh")) {
        ui::BusyPointer oBusy;
        RefreshAll();
        return;
    }
    if (sCommand == QLatin1String("Undo")) {
        mnuEditUndo->trigger();
        return;
    }
    if (sCommand == QLatin1String("Help")) {
        ShowHelpContents();
        return;
    }
    const QList<QAction *> colActions = m_colCommands.value(sCommand);
    if (!colActions.isEmpty() && colActions.first()->isEnabled())
        colActions.first()->trigger();
}

bool frmMain::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    if (oWatched == lvDetails->viewport() && oEvent->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(oEvent)->button() == Qt::RightButton && !m_bRefreshing) {
        const QPoint oAt = static_cast<QMouseEvent *>(oEvent)->globalPosition().toPoint();
        HandleErrors([&] { ShowPopupMenu(oAt); }, kTitle);
        return true;
    }
    if ((oWatched == lvDetails || oWatched == lvDetails->viewport()) && oEvent->type() == QEvent::ContextMenu) {
        // The mouse's menu opens on the button's release; the keyboard's at the current item.
        auto *oMenuEvent = static_cast<QContextMenuEvent *>(oEvent);
        if (oMenuEvent->reason() == QContextMenuEvent::Keyboard && !m_bRefreshing) {
            const QRect oItem = lvDetails->visualRect(lvDetails->currentIndex());
            const QPoint oAt = lvDetails->viewport()->mapToGlobal(oItem.isValid() ? oItem.bottomLeft() : QPoint());
            HandleErrors([&] { ShowPopupMenu(oAt); }, kTitle);
        }
        return true;
    }
    return QMainWindow::eventFilter(oWatched, oEvent);
}

void frmMain::ShowPopupMenu(const QPoint &oGlobal)
{
    RefreshIfChangedElsewhere();
    QMenu *oMenu = nullptr;
    switch (m_oState.CurrentKey().lNodeType) {
    case SmartTagsFolder:
        oMenu = mnuSTPopup;
        break;
    case DataViewsFolder:
        oMenu = mnuPopup;
        break;
    case TeamRoot:
        oMenu = mnuConfigurationPopUp;
        break;
    default:
        return;
    }
    UpdateCommandStates();
    oMenu->popup(oGlobal);
}

std::vector<std::pair<int, QString>> frmMain::SelectedItems() const
{
    std::vector<std::pair<int, QString>> colItems;
    for (const QModelIndex &oRow : lvDetails->selectionModel()->selectedRows())
        colItems.emplace_back(oRow.row(), oRow.data(TagRole).toString());
    std::sort(colItems.begin(), colItems.end());
    return colItems;
}

std::shared_ptr<config::ConfigStore> frmMain::ListStore() const
{
    return m_oState.StoreOfList(m_oState.CurrentKey());
}

DVUser &frmMain::User()
{
    if (!m_oUser)
        m_oUser = std::make_unique<DVUser>();
    return *m_oUser;
}

// --- saving ----------------------------------------------------------------------

void frmMain::KeepOwnStamp(qint32 lRootType)
{
    // The file just saved is this window's doing; the other one's stamp is
    // kept as it was, so that another program's save of it still shows.
    if (lRootType != PersonalRoot && lRootType != TeamRoot)
        return;
    const ChangeStamps oNow = ManagerState::ReadChangeStamps();
    ChangeStamps oKept = m_oState.Stamps();
    (lRootType == TeamRoot ? oKept.sTeam : oKept.sPersonal) = lRootType == TeamRoot ? oNow.sTeam : oNow.sPersonal;
    m_oState.SetChangeStamps(oKept);
}

void frmMain::NotifyConfigurationChanged(qint32 lRootType)
{
    if (lRootType != PersonalRoot && lRootType != TeamRoot)
        return;
    m_oSettings->ConfigurationChanged(FileKindOfRoot(lRootType));
    KeepOwnStamp(lRootType);
}

void frmMain::ReportSaveFailure(const QString &sFile, bool bRefreshLater)
{
    const ErrorState oError = CurrentError();
    const quint32 lMessage = SaveFailureMessage(oError.Number);
    if (lMessage == kMsgChangedElsewhere) {
        ClearCurrentError();
        ShowMessage(LoadResString(lMessage, {QDir::toNativeSeparators(sFile)}), kTitle, ui::mb::Information);
    } else if (lMessage != 0) {
        // What the file system said names the file and the reason.
        ClearCurrentError();
        ShowMessage(LoadResString(lMessage) + QStringLiteral("\n\n") + oError.Description, kTitle, ui::mb::Information);
    } else {
        ShowError(QString(), QString(), QString(), ui::mb::Exclamation);
    }
    // The window shows the file as it now is: another author's save, or
    // without the change that could not be written.
    if (bRefreshLater)
        QTimer::singleShot(0, this, [this] { HandleErrors([this] { RefreshAll(); }); });
    else
        RefreshAll();
}

bool frmMain::TrySaveStore(const std::shared_ptr<config::ConfigStore> &oStore)
{
    if (!oStore)
        return false;
    try {
        oStore->Save();
        KeepOwnStamp(m_oState.RootOfStore(oStore.get()));
        return true;
    } catch (...) {
        CaptureError();
    }
    ReportSaveFailure(oStore->FilePath(), false);
    return false;
}

bool frmMain::SaveChange(const std::shared_ptr<config::ConfigStore> &oStore, const QString &sWhat,
                         const QByteArray &baBefore, bool bRefreshLater)
{
    const qint32 lRoot = m_oState.RootOfStore(oStore.get());
    try {
        oStore->Save();
    } catch (...) {
        CaptureError();
        ReportSaveFailure(oStore->FilePath(), bRefreshLater);
        return false;
    }
    if (!sWhat.isEmpty())
        m_oState.History().Record(sWhat, ComparableFilePath(oStore->FilePath()), baBefore, oStore->ToXml());
    NotifyConfigurationChanged(lRoot);
    UpdateUndoState();
    return true;
}

} // namespace qv
