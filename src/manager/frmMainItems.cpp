// The commands of frmMain on the items of its list: New and
// Properties of data views, Delete, Rename, Enable and Disable, recognizer
// terms, Clear Warnings, Preview and Help.
#include "frmMain.h"

#include "ManagerCommands.h"
#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "qvuser/DVUser.h"
#include "smarttags/frmSmartTagTerms.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QAction>
#include <QTimer>
#include <QTreeView>

namespace qv {

using namespace manager;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);

// A message of the manager's own, titled as its window.
void ShowManagerMessage(const QString &sText, int lStyle)
{
    ShowMessage(sText, kTitle, lStyle);
}

std::shared_ptr<config::SmartTag> SmartTagOf(const config::ConfigStore &oStore, qint32 lId)
{
    const auto oSet = oStore.SmartTagSets().Count() >= 1 ? oStore.SmartTagSets().Item(1) : nullptr;
    return oSet ? oSet->Item(lId) : nullptr;
}

} // namespace

// --- the commands ------------------------------------------------------------------

qint32 frmMain::RunItemWizard(qint32 lNodeType, std::shared_ptr<config::ConfigStore> &oStore, const QString &sId)
{
    if (lNodeType == SmartTagsFolder) {
        QObject *oHost = m_oState.Request().oWordServices;
        return User().InvokeWizardSmartTag(oHost, oStore, sId);
    }
    if (lNodeType != DataViewsFolder)
        RaiseError(kErrorInvalidNode, QString(), QStringLiteral("unknown node type for launching addnew wizard"));
    return User().InvokeWizardDataView(oStore, sId);
}

void frmMain::NewItem()
{
    RefreshIfChangedElsewhere();
    const ListKey oKey = m_oState.CurrentKey();
    auto oStore = ListStore();
    if (!TrySaveStore(oStore))
        return;
    RememberListSelection();
    const qint32 lId = RunItemWizard(oKey.lNodeType, oStore, QString());
    m_oSettings->ConfigurationChanged(FileKindOfRoot(oKey.StoreRootType()));
    ShowListForNode(oKey, true);
    if (lId != 0)
        SelectListItemById(lId);
    else
        RestoreListSelection();
    UpdateDetails();
}

void frmMain::EditItem()
{
    const ListKey oKey = m_oState.CurrentKey();
    const ListSelection oSelection = GetListSelection();
    if (oSelection.lState != ListSelection::One)
        return;
    auto oStore = ListStore();
    if (!TrySaveStore(oStore))
        return;
    RememberListSelection();
    RunItemWizard(oKey.lNodeType, oStore, QString::number(ParseNodeTag(oSelection.sLastTag).second));
    m_oSettings->ConfigurationChanged(FileKindOfRoot(oKey.StoreRootType()));
    ShowListForNode(oKey, true);
    RestoreListSelection();
    UpdateDetails();
}

void frmMain::DeleteSelection()
{
    RefreshIfChangedElsewhere();
    RememberListSelection();
    const ListKey oKey = m_oState.CurrentKey();
    auto oStore = ListStore();
    if (!TrySaveStore(oStore))
        return;
    const auto colSelected = SelectedItems();
    std::vector<ListItemRef> colItems;
    for (const auto &[lRow, sTag] : colSelected) {
        const auto [lType, lId] = ParseNodeTag(sTag);
        colItems.push_back({lType, lId});
    }
    const QByteArray baBefore = oStore->ToXml();
    DeleteAsk oAsk;
    oAsk.inUse = [](const QString &sText) { ShowManagerMessage(sText, ui::mb::Critical); };
    oAsk.confirm = [](const QString &sText) {
        return ShowMessage(sText, kTitle, ui::mb::YesNo + ui::mb::Question) == ui::mb::Yes;
    };
    const std::vector<int> colRemoved = DeleteItems(*oStore, colItems, oAsk);
    if (colRemoved.empty())
        return;
    const int lFirstRow = colSelected[size_t(colRemoved.front())].first;
    if (!SaveChange(oStore, QStringLiteral("Delete"), baBefore))
        return;
    ShowListForNode(oKey, true);
    RestoreListSelection();
    const int lRow = RowAfterDelete(lFirstRow, m_oSortModel->rowCount());
    if (lRow >= 0) {
        m_bSelecting = true;
        lvDetails->selectionModel()->setCurrentIndex(m_oSortModel->index(lRow, 0),
                                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_bSelecting = false;
        lvDetails->scrollTo(m_oSortModel->index(lRow, 0));
    }
    UpdateDetails();
}

void frmMain::StartRename()
{
    const QModelIndex oCurrent = lvDetails->currentIndex();
    const QModelIndex oItem = oCurrent.isValid() && lvDetails->selectionModel()->isRowSelected(oCurrent.row())
                                  ? oCurrent.siblingAtColumn(0)
                                  : (lvDetails->selectionModel()->selectedRows().isEmpty()
                                         ? QModelIndex()
                                         : lvDetails->selectionModel()->selectedRows().first());
    if (!oItem.isValid())
        return;
    lvDetails->setFocus();
    lvDetails->setCurrentIndex(oItem);
    lvDetails->edit(oItem);
}

bool frmMain::RenameFromList(const QString &sTag, const QString &sText)
{
    const ListKey oKey = m_oState.CurrentKey();
    auto oStore = ListStore();
    if (!oStore)
        return false;
    const QByteArray baBefore = oStore->ToXml();
    const NameVerdict oVerdict = RenameItem(*oStore, oKey.lNodeType, ParseNodeTag(sTag).second, sText);
    if (oVerdict.lMessage != 0)
        ShowManagerMessage(oVerdict.sMessage, ui::mb::Exclamation);
    if (oVerdict.lCheck != NameVerdict::Accepted)
        return false;
    // The list is being edited: a refused save rebuilds it once the edit is over.
    if (!SaveChange(oStore, QStringLiteral("Rename"), baBefore, true))
        return false;
    QTimer::singleShot(0, this, [this] { HandleErrors([this] { UpdateDetails(); }); });
    return true;
}

qint32 frmMain::SelectedSmartTagId()
{
    RefreshIfChangedElsewhere();
    const ListSelection oSelection = GetListSelection();
    if (oSelection.sLastTag.isEmpty() || oSelection.lNodeType != SmartTagsFolder)
        return -1;
    return ParseNodeTag(oSelection.sLastTag).second;
}

std::shared_ptr<config::SmartTag> frmMain::ListSmartTag(qint32 lId, std::shared_ptr<config::ConfigStore> &oStore) const
{
    oStore = ListStore();
    return oStore && lId >= 0 ? SmartTagOf(*oStore, lId) : nullptr;
}

void frmMain::ShowListAgain()
{
    RememberListSelection();
    ShowListForNode(m_oState.CurrentKey(), true);
    RestoreListSelection();
}

void frmMain::SetSmartTagEnabled(bool bEnabled)
{
    const qint32 lId = SelectedSmartTagId();
    std::shared_ptr<config::ConfigStore> oStore;
    if (!ListSmartTag(lId, oStore) || !TrySaveStore(oStore))
        return;
    // Taken after the write test, which may have shown the file anew.
    const auto oTag = ListSmartTag(lId, oStore);
    if (!oTag)
        return;
    const QByteArray baBefore = oStore->ToXml();
    oTag->Enabled = bEnabled;
    if (!SaveChange(oStore, bEnabled ? QStringLiteral("Enable") : QStringLiteral("Disable"), baBefore))
        return;
    ShowListAgain();
    UpdateDetails();
}

void frmMain::ManageRecognizerTerms()
{
    std::shared_ptr<config::ConfigStore> oStore;
    const auto oTag = ListSmartTag(SelectedSmartTagId(), oStore);
    if (!oTag)
        return;
    const QByteArray baBefore = oStore->ToXml();
    {
        frmSmartTagTerms oDialog(this);
        oDialog.setWindowIcon(QIcon());
        oDialog.SetCaption(oTag->Name);
        oDialog.ShowForm(oTag->Recognizer);
    }
    // Saved whether or not the terms changed, as the write test of other commands.
    if (!TrySaveStore(oStore))
        return;
    if (const QByteArray baAfter = oStore->ToXml(); baAfter != baBefore) {
        m_oState.History().Record(QStringLiteral("Recognizer Terms"), ComparableFilePath(oStore->FilePath()), baBefore,
                                  baAfter);
        UpdateUndoState();
    }
    NotifyConfigurationChanged(m_oState.CurrentKey().StoreRootType());
    ShowListAgain();
    UpdateDetails();
}

void frmMain::ClearWarnings()
{
    const qint32 lId = SelectedSmartTagId();
    std::shared_ptr<config::ConfigStore> oStore;
    auto oTag = ListSmartTag(lId, oStore);
    if (!oTag)
        return;
    if (oTag->Warnings.isEmpty()) {
        ShowMessage(QStringLiteral("No Warnings exist for this Smart Tag"), kTitle, ui::mb::Information);
    } else if (TrySaveStore(oStore) && (oTag = ListSmartTag(lId, oStore))) {
        const QByteArray baBefore = oStore->ToXml();
        oTag->Warnings.clear();
        if (SaveChange(oStore, QStringLiteral("Clear Warnings"), baBefore))
            ShowListAgain();
    }
    UpdateDetails();
}

void frmMain::PreviewDataView()
{
    const ListSelection oSelection = GetListSelection();
    if (oSelection.sLastTag.isEmpty() || oSelection.lNodeType != DataViewsFolder)
        return;
    auto oStore = ListStore();
    auto oView = oStore ? oStore->DataViewCollection().Item(ParseNodeTag(oSelection.sLastTag).second) : nullptr;
    if (!oView)
        return;
    {
        ui::BusyPointer oBusy;
        User().ShowViewData(oView, 200, -1, QString());
    }
    User().CloseForms();
}

void frmMain::ShowHelpContents()
{
    ShowHelp(this, HelpFilePath(QString::fromLatin1(kHelpFileName), false), 0);
}

} // namespace qv
