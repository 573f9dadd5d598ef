// Copy, Paste, copy by dragging and Undo of frmMain. What the clipboard and
// a drag carry is ManagerClipboard.h's format, so that another manager
// process pastes and takes drops as this one does.
#include "frmMain.h"

#include "ManagerCommands.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>

namespace qv {

using namespace manager;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);

// The identifiers of the selected items, in list order.
std::vector<qint32> IdsOf(const std::vector<std::pair<int, QString>> &colItems)
{
    std::vector<qint32> colIds;
    for (const auto &[lRow, sTag] : colItems)
        colIds.push_back(ParseNodeTag(sTag).second);
    return colIds;
}

} // namespace

void frmMain::ClipboardChanged()
{
    const QMimeData *oData = QGuiApplication::clipboard()->mimeData();
    m_oState.SetClipboardHolds(oData && oData->hasFormat(QLatin1String(kDataViewsMimeType)));
    if (m_oState.CurrentKey().lNodeType != 0)
        UpdateCommandStates();
}

void frmMain::CopySelection()
{
    RefreshIfChangedElsewhere();
    if (m_oState.CurrentKey().lNodeType != DataViewsFolder)
        return;
    const auto oStore = ListStore();
    if (!oStore)
        return;
    CopiedItems oItems = CopyDataViews(*oStore, m_oState.CurrentKey().StoreRootType(), IdsOf(SelectedItems()));
    if (oItems.IsEmpty())
        return;
    QGuiApplication::clipboard()->setMimeData(MakeMimeData(oItems));
    m_oState.SetCopyBuffer(std::move(oItems));
    UpdateCommandStates();
}

void frmMain::PasteItems()
{
    RefreshIfChangedElsewhere();
    RememberListSelection();
    const ListKey oKey = m_oState.CurrentKey();
    if (oKey.lNodeType != DataViewsFolder)
        return;
    // What any manager put on the clipboard; else what this one copied last.
    std::optional<CopiedItems> oItems = ReadMimeData(QGuiApplication::clipboard()->mimeData());
    if (!oItems)
        oItems = m_oState.CopyBuffer();
    if (oItems->IsEmpty())
        return;
    auto oTarget = ListStore();
    if (!TrySaveStore(oTarget))
        return;
    const auto oSource = m_oState.StoreOfFile(oItems->sSourceFile);
    const QByteArray baBefore = oTarget->ToXml();
    if (PasteDataViews(*oItems, oSource.get(), *oTarget).empty())
        return;
    if (!SaveChange(oTarget, QStringLiteral("Paste"), baBefore))
        return;
    ShowListForNode(oKey, true);
    RestoreListSelection();
    UpdateDetails();
}

// --- copy by dragging ---------------------------------------------------------------

QMimeData *frmMain::MakeDragData()
{
    QMimeData *oData = nullptr;
    HandleErrors([&] {
        const ListKey &oKey = m_oState.CurrentKey();
        const auto oStore = ListStore();
        if (oKey.lNodeType != DataViewsFolder || !oStore || m_oSortModel->rowCount() == 0)
            return;
        const CopiedItems oItems = CopyDataViews(*oStore, oKey.StoreRootType(), IdsOf(SelectedItems()));
        if (oItems.IsEmpty())
            return;
        oData = MakeMimeData(oItems);
        emit DragStarted(oData);
    }, kTitle);
    return oData;
}

bool frmMain::CanDropOn(const QMimeData *oData, const QModelIndex &oNode)
{
    bool bAllowed = false;
    HandleErrors([&] {
        const ListKey oKey = m_oTreeModel->KeyOf(oNode);
        const std::optional<CopiedItems> oItems = ReadMimeData(oData);
        if (!oItems || oKey.lNodeType != DataViewsFolder)
            return;
        const auto oTarget = m_oState.StoreForNode(DataViewsFolder, oKey.lParentType);
        bAllowed = oTarget && DropAllowed(*oItems, oKey.lNodeType, oTarget->FilePath());
    }, kTitle);
    return bAllowed;
}

bool frmMain::DropOn(const QMimeData *oData, const QModelIndex &oNode)
{
    if (!CanDropOn(oData, oNode))
        return false;
    const std::optional<CopiedItems> oItems = ReadMimeData(oData);
    const qint32 lRoot = m_oTreeModel->KeyOf(oNode).lParentType;
    // The work (and its messages) once the drag has ended.
    QTimer::singleShot(0, this, [this, oItems, lRoot] {
        HandleErrors([&] { DropItems(*oItems, lRoot); }, kTitle);
        emit DropHandled();
    });
    return true;
}

void frmMain::DropItems(const CopiedItems &oItems, qint32 lTargetRoot)
{
    const auto oTarget = m_oState.StoreForNode(DataViewsFolder, lTargetRoot);
    if (!oTarget || !DropAllowed(oItems, DataViewsFolder, oTarget->FilePath()))
        return;
    if (!TrySaveStore(oTarget))
        return;
    const auto oSource = m_oState.StoreOfFile(oItems.sSourceFile);
    const QByteArray baBefore = oTarget->ToXml();
    const DropOutcome oOutcome = DropDataViews(oItems, oSource.get(), *oTarget);
    for (const QString &sName : oOutcome.colRefused)
        ShowMessage(LoadResString(kMsgNotAccepted, {sName}), kTitle, ui::mb::Exclamation);
    if (!oOutcome.colAdded.empty() && !SaveChange(oTarget, QStringLiteral("Drop"), baBefore))
        return;
    ShowListForNode(m_oState.CurrentKey(), !oOutcome.colAdded.empty() && m_oState.CurrentKey().StoreRootType() == lTargetRoot);
    UpdateDetails();
}

// --- undo --------------------------------------------------------------------------

void frmMain::UpdateUndoState()
{
    const ManagerHistory::Entry *oTop = m_oState.History().Top();
    mnuEditUndo->setEnabled(oTop != nullptr);
    mnuEditUndo->setText(oTop ? QStringLiteral("&Undo ") + oTop->sWhat : QStringLiteral("&Undo"));
}

void frmMain::UndoLastChange()
{
    const ManagerHistory::Entry *oTop = m_oState.History().Top();
    if (!oTop)
        return;
    const QString sWhat = oTop->sWhat, sFile = oTop->sFile;
    const auto oStore = m_oState.StoreOfFile(sFile);
    ManagerHistory::Check lDone = ManagerHistory::Check::Nothing;
    try {
        lDone = m_oState.History().Undo(oStore.get());
    } catch (...) {
        CaptureError();
        UpdateUndoState();
        ReportSaveFailure(sFile, false);
        return;
    }
    UpdateUndoState();
    const QString sNative = QDir::toNativeSeparators(sFile);
    switch (lDone) {
    case ManagerHistory::Check::Ready: {
        NotifyConfigurationChanged(m_oState.RootOfStore(oStore.get()));
        // The store holds its earlier objects now: the list is built anew.
        ShowListAgain();
        UpdateDetails();
        break;
    }
    case ManagerHistory::Check::NotOpen:
        ShowMessage(QStringLiteral("The %1 cannot be undone: the configuration file \"%2\" is no longer shown here.")
                        .arg(sWhat.toLower(), sNative),
                    kTitle, ui::mb::Information);
        break;
    case ManagerHistory::Check::ChangedSince:
        ShowMessage(QStringLiteral("The %1 cannot be undone: the configuration file \"%2\" was saved again since, "
                                   "by someone else or by another command here.\nThe window now shows the file as "
                                   "it is.")
                        .arg(sWhat.toLower(), sNative),
                    kTitle, ui::mb::Information);
        RefreshAll();
        break;
    case ManagerHistory::Check::Nothing:
        break;
    }
}

} // namespace qv
