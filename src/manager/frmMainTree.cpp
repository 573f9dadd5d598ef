// The tree of frmMain: building it, selecting the node a caller asks for,
// and rebuilding it after another program saved a configuration file.
#include "frmMain.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>
#include <QFuture>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace qv {

using namespace manager;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);

// An outside save that finds the window busy is taken up this much later.
constexpr int kIdleRetryMs = 200;

} // namespace

void frmMain::ShowSmartTagView(const ManagerRequest &oRequest)
{
    m_oState.Begin(oRequest);
    m_bPlacementWritten = false;
    // The stamps hash both files: they are read on the pool (beside the
    // files, when the caller began reading them there) while the tree and
    // list are built, and taken before the window shows, so that a save made
    // after this call is always seen as one.
    m_oStampsPending =
        oRequest.oStamps.isValid() ? oRequest.oStamps : ManagerState::StartReadingChangeStamps();
    ResetView(oRequest.iFirstSelectedNode, oRequest.iSecondSelectedNode, oRequest.iSelectedListItemId, true);
    WatchFiles();
    TakePendingStamps();
    show();
    HandleErrors([this] { UpdateCommandStates(); }, kTitle);
}

void frmMain::ResetView(qint32 lFirst, qint32 lSecond, qint32 lListItemId, bool bSelect)
{
    m_bResetting = true;
    const auto oDone = qScopeGuard([this] { m_bResetting = false; });
    HandleErrors([&] {
        tmrLaunchManageSmartTagRecognizerTerms->stop();
        m_oListModel->Clear();
        UpdateDisconnectState();
        const bool bShow = m_oState.ShowSmartTags();
        for (const char *sName : {"mnuEditEnable", "mnuEditDisable", "mnuEditSeparator2",
                                  "mnuEditManageSmartTagRecognizerTerms", "mnuEditClearWarnings", "mnuEditSeparator3"})
            findChild<QAction *>(QLatin1String(sName))->setVisible(bShow);
        m_bSelecting = true;
        m_oTreeModel->Build(m_oState.PersonalStore(), m_oState.TeamStore(), mnuHelpEnableTutorialDataViews->isChecked(),
                            bShow);
        m_bSelecting = false;
        for (int i = 0; i < m_oTreeModel->NodeCount(); ++i) {
            const QModelIndex oNode = m_oTreeModel->NodeAt(i);
            // Roots and "Data Views" folders open; "Smart Tags" folders have no children anyway.
            tvTreeView->setExpanded(oNode, ParseNodeTag(oNode.data(TagRole).toString()).first != SmartTagsFolder);
        }
        m_oState.SetCurrentKey({});
        if (lFirst == -1 || lSecond == -1) {
            if (m_oTreeModel->NodeCount() > 1 && bSelect) {
                SelectTreeNode(m_oTreeModel->NodeAt(1));
                OnNodeSelected(m_oTreeModel->NodeAt(1), true);
            }
        } else if (bSelect) {
            SelectStartNode(lListItemId);
        }
        setWindowTitle(kTitle);
        UpdateDetails();
    });
}

void frmMain::SelectStartNode(qint32 lListItemId)
{
    const auto [sRootTag, sChildTag] = m_oState.StartNodeTags();
    const QModelIndex oRoot = m_oTreeModel->FindRoot(sRootTag);
    const QModelIndex oChild = m_oTreeModel->FindChild(oRoot, sChildTag);
    if (!oChild.isValid())
        return;
    SelectTreeNode(oChild);
    OnNodeSelected(oChild, false);
    lvDetails->clearSelection();
    for (int lRow = 0; lRow < m_oSortModel->rowCount(); ++lRow) {
        const QModelIndex oItem = m_oSortModel->index(lRow, 0);
        if (ParseNodeTag(oItem.data(TagRole).toString()).second != lListItemId)
            continue;
        m_bSelecting = true;
        lvDetails->selectionModel()->select(oItem, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_bSelecting = false;
        UpdateCommandStates();
        break;
    }
    UpdateDetails();
}

void frmMain::SelectTreeNode(const QModelIndex &oNode)
{
    m_bSelecting = true;
    tvTreeView->selectionModel()->setCurrentIndex(oNode, QItemSelectionModel::ClearAndSelect);
    m_bSelecting = false;
}

QModelIndex frmMain::CurrentNode() const
{
    return tvTreeView->selectionModel()->currentIndex();
}

void frmMain::OnNodeSelected(QModelIndex oNode, bool bResetSort)
{
    // A rebuild has just read the stamps; only a node the user chose looks again.
    if (!m_bRefreshing && !m_bResetting && HasOutsideChanges()) {
        RefreshAll();
        oNode = CurrentNode();
    }
    if (!oNode.isValid())
        return;
    ShowListForNode(m_oTreeModel->KeyOf(oNode), false);
    if (bResetSort)
        SortList(0, Qt::AscendingOrder);
    if (m_oSortModel->rowCount() > 0) {
        m_bSelecting = true;
        lvDetails->selectionModel()->setCurrentIndex(m_oSortModel->index(0, 0),
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_bSelecting = false;
    }
    UpdateCommandStates();
}

void frmMain::RefreshAll(const ChangeStamps *oStamps)
{
    if (m_bRefreshing)
        return;
    m_bRefreshing = true;
    ui::BusyPointer oBusy;
    const auto oDone = qScopeGuard([this] { m_bRefreshing = false; });
    // The stamps are read beside the files unless the caller has just read them.
    QFuture<ChangeStamps> oStampsRead;
    m_oStampsPending = {};
    if (!oStamps)
        oStampsRead = ManagerState::StartReadingChangeStamps();
    RememberListSelection();
    m_lTreePosition = m_oTreeModel->PositionOf(CurrentNode());

    const ManagerRequest &oRequest = m_oState.Request();
    std::shared_ptr<config::ConfigStore> oPersonal, oTeam;
    QString sPersonalError;
    if (!oRequest.sPersonalFilePath.isEmpty()) {
        oPersonal = config::ConfigStore::Create();
        try {
            oPersonal->Open(oRequest.sPersonalFilePath);
        } catch (...) {
            CaptureError();
            oPersonal.reset();
            sPersonalError = LoadResString(704, {oRequest.sPersonalFilePath});
        }
    }
    if (!oRequest.sTeamFilePath.isEmpty() && sPersonalError.isEmpty()) {
        oTeam = config::ConfigStore::Create();
        if (!HandleErrors([&] { oTeam->Open(oRequest.sTeamFilePath); }, kTitle,
                          LoadResString(704, {oRequest.sTeamFilePath}), 48))
            oTeam.reset();
    }
    m_oState.SetChangeStamps(oStamps ? *oStamps : oStampsRead.result());
    if (!sPersonalError.isEmpty()) {
        // Without its personal configuration the manager has nothing to stand on.
        ShowError(sPersonalError, kTitle, QString(), 16);
        m_oState.SetStores(nullptr, m_oState.TeamStore());
        hide();
        return;
    }
    m_oState.SetStores(oPersonal, oTeam);
    if (!oPersonal && !oTeam)
        return;
    ResetView(-1, -1, -1, false);
    QModelIndex oNode = RestoreTreeSelection();
    if (!oNode.isValid())
        oNode = m_oTreeModel->NodeAt(0);
    if (oNode.isValid()) {
        SelectTreeNode(oNode);
        OnNodeSelected(oNode, false);
        RestoreListSelection();
    }
    UpdateDetails();
}

QModelIndex frmMain::RestoreTreeSelection()
{
    const QModelIndex oNode = m_oTreeModel->NodeAt(m_lTreePosition);
    if (oNode.isValid())
        SelectTreeNode(oNode);
    return oNode;
}

void frmMain::RememberListSelection()
{
    m_colListSelection.clear();
    for (const QModelIndex &oRow : lvDetails->selectionModel()->selectedRows())
        m_colListSelection.insert(oRow.data(TagRole).toString());
}

void frmMain::RestoreListSelection()
{
    QItemSelection oSelection;
    QModelIndex oFirst;
    for (int lRow = 0; lRow < m_oSortModel->rowCount(); ++lRow) {
        const QModelIndex oItem = m_oSortModel->index(lRow, 0);
        if (!m_colListSelection.contains(oItem.data(TagRole).toString()))
            continue;
        oSelection.select(oItem, oItem);
        if (!oFirst.isValid())
            oFirst = oItem;
    }
    m_bSelecting = true;
    lvDetails->selectionModel()->select(oSelection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_bSelecting = false;
    if (oFirst.isValid())
        lvDetails->scrollTo(oFirst);
}

void frmMain::SelectListItemById(qint32 lId)
{
    m_colListSelection.clear();
    for (int lRow = 0; lRow < m_oSortModel->rowCount(); ++lRow) {
        const QString sTag = m_oSortModel->index(lRow, 0).data(TagRole).toString();
        if (ParseNodeTag(sTag).second == lId)
            m_colListSelection.insert(sTag);
    }
    RestoreListSelection();
}

void frmMain::TakePendingStamps()
{
    if (!m_oStampsPending.isValid())
        return;
    m_oState.SetChangeStamps(m_oStampsPending.result());
    m_oStampsPending = {};
}

bool frmMain::HasOutsideChanges()
{
    TakePendingStamps();
    return m_oState.HasOutsideChanges(*m_oSettings);
}

void frmMain::WatchFiles()
{
    if (!m_oWatcher) {
        m_oWatcher = new QFileSystemWatcher(this);
        // A save replaces the file, so its folder is watched too; the change
        // stamps then tell a real save from any other change in the folder.
        const auto oLater = [this] { m_oWatchTimer->start(0); };
        connect(m_oWatcher, &QFileSystemWatcher::fileChanged, this, oLater);
        connect(m_oWatcher, &QFileSystemWatcher::directoryChanged, this, oLater);
    }
    QStringList colPaths;
    for (const QString &sPath : {m_oState.Request().sPersonalFilePath, m_oState.Request().sTeamFilePath}) {
        if (sPath.isEmpty())
            continue;
        const QFileInfo oFile(sPath);
        colPaths << oFile.absolutePath();
        if (oFile.exists())
            colPaths << oFile.absoluteFilePath();
    }
    if (!m_oWatcher->files().isEmpty())
        m_oWatcher->removePaths(m_oWatcher->files());
    colPaths.removeDuplicates();
    for (const QString &sPath : colPaths)
        if (!m_oWatcher->directories().contains(sPath))
            m_oWatcher->addPath(sPath);
}

bool frmMain::Idle() const
{
    return !m_bRefreshing && !QApplication::activeModalWidget() && !QApplication::activePopupWidget()
           && QApplication::mouseButtons() == Qt::NoButton;
}

void frmMain::AbsorbOutsideSave()
{
    if (!isVisible())
        return;
    if (!Idle()) {
        m_oWatchTimer->start(kIdleRetryMs);
        return;
    }
    WatchFiles();
    TakePendingStamps();
    const ChangeStamps oNow = ManagerState::ReadChangeStamps();
    if (!m_oState.Differs(oNow))
        return;
    const int lTreeScroll = tvTreeView->verticalScrollBar()->value();
    const int lListScroll = lvDetails->verticalScrollBar()->value();
    RefreshAll(&oNow);
    tvTreeView->verticalScrollBar()->setValue(lTreeScroll);
    lvDetails->verticalScrollBar()->setValue(lListScroll);
    emit OutsideChangesShown();
}

} // namespace qv
