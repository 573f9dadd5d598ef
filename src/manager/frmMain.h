#pragma once

#include "ManagerDetails.h"
#include "ManagerModels.h"
#include "ManagerState.h"

#include <QFuture>
#include <QHash>
#include <QMainWindow>
#include <QSet>

#include <memory>

class QAction;
class QFileSystemWatcher;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTextEdit;
class QTimer;
class QToolBar;
class QTreeView;

class DVUser;

namespace qv::biz {
class ConfigFileSettings;
}
namespace qv::config {
class ConfigStore;
class SmartTag;
}

namespace qv {

// The Data View Manager: the modeless window with the tree of the personal
// (or tutorial) and team configurations and their "Data Views" and "Smart
// Tags" folders, the list of the selected folder's items, the details of
// the selected item, menus, toolbar and status bar. DVUser opens it through
// ShowSmartTagView with a ManagerRequest; its decisions live in its
// ManagerState, its data in a tree model and a list model behind a sort
// model. When another program saves the personal or team file, the window
// rebuilds itself as soon as it is idle and returns to the same node, the
// same items and the same scroll position.
//
// Children by control name: fraTv, lblTvTitle, tvTreeView, fraDetails,
// lvDetails, fraProperties, lblProperties, fraIcon, imgPicture,
// rtfPropertyPane, vsPropertyPane, imgSplitter, imgHorizonalSplitter,
// fraToolbarBottom, tbrMain, sbrStatus, tmrLaunchManageSmartTagRecognizerTerms,
// the menus mnuFile, mnuEdit, mnuView, mnuHelp, mnuPopup, mnuSTPopup,
// mnuConfigurationPopUp and their items (mnuEdit begins with mnuEditUndo,
// an addition of ours); the toolbar's actions by key ("New", "Copy", "Paste",
// "Delete", "Properties", "Help"); keyDelete, the list's Delete key.
//
// Commands: every change of a store is saved at once through the
// store's safe save; a save refused because someone else saved the file
// since (or because it cannot be written) says so and shows the file as it
// now is. Copy puts the data views on the clipboard in a format of its own
// (ManagerClipboard.h), so that another manager process pastes them too;
// dragging list items onto the other root's "Data Views" folder copies
// them there. Ctrl+Z (mnuEditUndo) takes back the last delete, rename,
// paste or drop made since the window opened, while its file is still as
// that change left it.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    // Writes the window's placement unless that was done when it closed.
    ~frmMain() override;

    // Takes the stores and paths, builds the tree, selects the node and
    // item the request names and shows the window.
    void ShowSmartTagView(const manager::ManagerRequest &oRequest);
    const manager::ManagerState &State() const { return m_oState; }

    // Rebuilds everything from the files and returns to the same node and
    // items; oStamps, when given, are the change stamps just read.
    void RefreshAll(const manager::ChangeStamps *oStamps = nullptr);
    // The current node and list, as the tree and list show them.
    QModelIndex CurrentNode() const;
    manager::ListSelection GetListSelection() const;

    // The command of that name ("New", "Copy", ... "Undo", "Refresh"), as
    // its menu item, right-click item, toolbar button or key starts it.
    void RunCommand(const QString &sCommand);

signals:
    // The window rebuilt itself after another program saved a file.
    void OutsideChangesShown();
    // A drag of list items began, carrying oData (alive while it runs).
    void DragStarted(const QMimeData *oData);
    // A drop on the tree was handled (whatever came of it).
    void DropHandled();

protected:
    void closeEvent(QCloseEvent *oEvent) override;
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;

private:
    // frmMain.cpp: controls, menus, toolbar, images and placement.
    void BuildControls();
    QWidget *BuildTreePane();
    QWidget *BuildDetailsPane();
    void BuildMenus();
    void BuildToolbar();
    QAction *AddItem(QMenu *oMenu, const char *sName, const QString &sCaption);
    void PlaceWindow();
    void WritePlacement();
    // frmMainTree.cpp: the tree, selection on open, refreshes and the watch.
    void ResetView(qint32 lFirst, qint32 lSecond, qint32 lListItemId, bool bSelect);
    void SelectStartNode(qint32 lListItemId);
    void OnNodeSelected(QModelIndex oNode, bool bResetSort);
    void SelectTreeNode(const QModelIndex &oNode);
    QModelIndex RestoreTreeSelection();
    void RememberListSelection();
    void RestoreListSelection();
    void SelectListItemById(qint32 lId);
    bool HasOutsideChanges();
    // Keeps the stamps read since the window opened, once they are needed.
    void TakePendingStamps();
    void WatchFiles();
    void AbsorbOutsideSave();
    bool Idle() const;
    // frmMainList.cpp: the list, its widths and sort, details and command states.
    void ShowListForNode(const manager::ListKey &oKey, bool bForce);
    std::vector<int> ColumnWidths() const;
    void SortList(int lColumn, Qt::SortOrder lOrder);
    void UpdateDetails();
    void ShowDetails(const manager::DetailsText &oText);
    void UpdateCommandStates();
    void UpdateItemCount();
    // frmMainTeam.cpp: the team and tutorial commands, and Properties.
    void ConnectTeamCommands();
    void RunProperties();
    void ConnectToTeam();
    void ChangeTeamConfiguration();
    void DisconnectFromTeam();
    void SetTutorialEnabled(bool bEnabled);
    void ResetTutorial();
    void UpdateDisconnectState();
    // The team file the wizard chose, or "" (with message 712 shown and the
    // stored team file put back to sOldSetting) when it is the personal file.
    QString RefusePersonalAsTeam(const QString &sPath, const QString &sOldSetting);
    // Shows the file at sPath as the team configuration, on its "Data
    // Views" folder, and answers the path the store reports; raises, with
    // nothing changed, when the file cannot be opened.
    QString OpenTeamFile(const QString &sPath);
    // Rebuilds the window first when another program saved a file.
    void RefreshIfChangedElsewhere();
    // frmMainCommands.cpp: how commands start; frmMainItems.cpp: the commands on the list's items.
    void ConnectCommands();
    void NewItem();
    void EditItem();
    void DeleteSelection();
    bool RenameFromList(const QString &sTag, const QString &sText);
    void StartRename();
    void SetSmartTagEnabled(bool bEnabled);
    void ManageRecognizerTerms();
    void ClearWarnings();
    void PreviewDataView();
    void ShowHelpContents();
    void ShowPopupMenu(const QPoint &oGlobal);
    // The wizard of the folder's kind, through the window's private DVUser,
    // on a new item (sId "") or on that one; answers the saved item's identifier.
    qint32 RunItemWizard(qint32 lNodeType, std::shared_ptr<config::ConfigStore> &oStore, const QString &sId);
    // The selected list items in list order: their rows and tags.
    std::vector<std::pair<int, QString>> SelectedItems() const;
    // The store of the list shown and the root it belongs to.
    std::shared_ptr<config::ConfigStore> ListStore() const;
    // The identifier of the smart tag selected in the list, once the window
    // shows what others saved; -1 when the selection is no smart tag.
    qint32 SelectedSmartTagId();
    // The list's smart tag `lId` and, in `oStore`, the list's store.
    std::shared_ptr<config::SmartTag> ListSmartTag(qint32 lId, std::shared_ptr<config::ConfigStore> &oStore) const;
    // Shows the list again from the store, keeping its selection.
    void ShowListAgain();
    // The DVUser the commands open the wizards and View Data through.
    DVUser &User();
    // Saves the unchanged store as a write test; false (with the message
    // shown, and the file shown as it now is) when it cannot be saved.
    bool TrySaveStore(const std::shared_ptr<config::ConfigStore> &oStore);
    // Saves a change; an undoable one (sWhat not "") is recorded with the
    // store's document before it. False when the save was refused: the
    // message is shown and the window shows the file as it now is (at once,
    // or, with bRefreshLater, once the current event is over).
    bool SaveChange(const std::shared_ptr<config::ConfigStore> &oStore, const QString &sWhat,
                    const QByteArray &baBefore, bool bRefreshLater = false);
    void ReportSaveFailure(const QString &sFile, bool bRefreshLater);
    // Tells every settings object that the root's configuration changed and
    // keeps the stamp of that file as this window's own.
    void NotifyConfigurationChanged(qint32 lRootType);
    void KeepOwnStamp(qint32 lRootType);
    // frmMainEdit.cpp: copy, paste, drag and drop, undo.
    void CopySelection();
    void PasteItems();
    QMimeData *MakeDragData();
    bool CanDropOn(const QMimeData *oData, const QModelIndex &oNode);
    bool DropOn(const QMimeData *oData, const QModelIndex &oNode);
    void DropItems(const manager::CopiedItems &oItems, qint32 lTargetRoot);
    void UndoLastChange();
    void UpdateUndoState();
    void ClipboardChanged();

    manager::ManagerState m_oState;
    std::unique_ptr<biz::ConfigFileSettings> m_oSettings;
    manager::ImageList m_colImages;
    manager::ManagerTreeModel *m_oTreeModel = nullptr;
    manager::ManagerListModel *m_oListModel = nullptr;
    manager::ManagerSortModel *m_oSortModel = nullptr;

    QTreeView *tvTreeView = nullptr;
    QTreeView *lvDetails = nullptr;
    QTextEdit *rtfPropertyPane = nullptr;
    QLabel *imgPicture = nullptr;
    QLabel *lblTvTitle = nullptr;
    QLabel *lblProperties = nullptr;
    QSplitter *imgSplitter = nullptr;
    QSplitter *imgHorizonalSplitter = nullptr;
    QToolBar *tbrMain = nullptr;
    QFrame *fraToolbarBottom = nullptr;
    QStatusBar *sbrStatus = nullptr;
    QTimer *tmrLaunchManageSmartTagRecognizerTerms = nullptr;
    QMenu *mnuPopup = nullptr;
    QMenu *mnuSTPopup = nullptr;
    QMenu *mnuConfigurationPopUp = nullptr;
    QAction *mnuHelpEnableTutorialDataViews = nullptr;
    QAction *mnuDisconnectFromTeamDataViews = nullptr;

    // The menu items, right-click items and toolbar buttons of each command.
    QHash<QString, QList<QAction *>> m_colCommands;
    QString m_sShownImageKey;
    QSet<QString> m_colListSelection;
    int m_lTreePosition = -1;
    bool m_bRefreshing = false;
    bool m_bResetting = false;
    // Set while the window selects a node or items itself, so that the
    // views' selection signals are not taken for the user's clicks.
    bool m_bSelecting = false;
    bool m_bPlacementWritten = false;
    QFuture<manager::ChangeStamps> m_oStampsPending;
    QFileSystemWatcher *m_oWatcher = nullptr;
    QTimer *m_oWatchTimer = nullptr;
    std::unique_ptr<DVUser> m_oUser;
    QAction *mnuEditUndo = nullptr;
};

} // namespace qv
