// The list and details of frmMain: which items the list shows, their column
// widths and order, the details of the selection, the commands available
// and the status bar.
#include "frmMain.h"

#include "common/basErrorHandling.h"
#include "config/ConfigStore.h"
#include "ui/Twips.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>

namespace qv {

using namespace manager;

void frmMain::ShowListForNode(const ListKey &oKey, bool bForce)
{
    if (!m_oState.ListNeedsFill(oKey, bForce, m_oListModel->rowCount()))
        return;
    if (m_oState.CurrentKey().lNodeType != 0)
        m_oState.SaveColumnWidths(m_oState.CurrentKey(), ColumnWidths());
    m_oState.SetCurrentKey(oKey);
    const bool bFirstTime = m_oState.FirstTime(oKey);
    m_oListModel->Fill(oKey, m_oState.StoreOfList(oKey));
    QHeaderView *oHeader = lvDetails->header();
    const auto &colColumns = m_oListModel->Columns();
    for (int i = 0; i < int(colColumns.size()); ++i) {
        const std::optional<int> lKept = m_oState.ColumnWidth(oKey, i + 1);
        if (lKept)
            oHeader->resizeSection(i, ui::TwipsToPixels(*lKept));
        else if (bFirstTime)
            oHeader->resizeSection(i, ui::TwipsToPixels(colColumns[size_t(i)].lDefaultWidth));
    }
}

std::vector<int> frmMain::ColumnWidths() const
{
    std::vector<int> colWidths;
    for (int i = 0; i < m_oListModel->columnCount(); ++i)
        colWidths.push_back(ui::PixelsToTwips(lvDetails->header()->sectionSize(i)));
    return colWidths;
}

void frmMain::SortList(int lColumn, Qt::SortOrder lOrder)
{
    m_oSortModel->sort(lColumn, lOrder);
    lvDetails->header()->setSortIndicator(lColumn, lOrder);
}

ListSelection frmMain::GetListSelection() const
{
    ListSelection oSelection;
    oSelection.lNodeType = m_oState.CurrentKey().lNodeType;
    const QModelIndexList colRows = lvDetails->selectionModel()->selectedRows();
    int lLastRow = -1;
    for (const QModelIndex &oRow : colRows)
        lLastRow = std::max(lLastRow, oRow.row());
    oSelection.lCount = int(colRows.size());
    if (lLastRow >= 0)
        oSelection.sLastTag = m_oSortModel->index(lLastRow, 0).data(TagRole).toString();
    oSelection.lState = oSelection.lCount == 0   ? ListSelection::None
                        : oSelection.lCount == 1 ? ListSelection::One
                                                 : ListSelection::Several;
    return oSelection;
}

void frmMain::UpdateDetails()
{
    const ListKey &oKey = m_oState.CurrentKey();
    if (oKey.lNodeType == 0)
        return;
    const ListSelection oSelection = GetListSelection();
    const QString sId =
        oSelection.sLastTag.isEmpty() ? QString() : QString::number(ParseNodeTag(oSelection.sLastTag).second);
    ShowDetails(WriteDetails(oKey.lNodeType, oKey.lParentType, m_oState.StoreOfList(oKey), sId, oSelection.lCount));
    UpdateCommandStates();
    UpdateItemCount();
}

void frmMain::ShowDetails(const DetailsText &oText)
{
    // The picture is loaded again only when the kind of node changes.
    if (oText.sImageKey != m_sShownImageKey) {
        m_sShownImageKey = oText.sImageKey;
        imgPicture->setPixmap(m_colImages.value(oText.sImageKey).pixmap(imgPicture->size()));
    }
    rtfPropertyPane->clear();
    QTextCursor oCursor(rtfPropertyPane->document());
    bool bFirstBlock = true;
    for (const DetailsParagraph &oParagraph : oText.colParagraphs) {
        QTextCharFormat oChars;
        oChars.setFontWeight(oParagraph.bBold ? QFont::Bold : QFont::Normal);
        QTextBlockFormat oBlock;
        oBlock.setLeftMargin(ui::TwipsToPixels(oParagraph.lIndent));
        oBlock.setRightMargin(ui::TwipsToPixels(oParagraph.lSecondIndent));
        const QStringList colLines = oParagraph.sText.split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < colLines.size(); ++i) {
            // A line end starts a new block; the paragraph's indents apply to every block it touches.
            if (i > 0)
                oCursor.insertBlock(oBlock, oChars);
            else if (bFirstBlock)
                oCursor.setBlockFormat(oBlock);
            else
                oCursor.mergeBlockFormat(oBlock);
            oCursor.insertText(colLines[i], oChars);
            bFirstBlock = false;
        }
    }
    rtfPropertyPane->moveCursor(QTextCursor::Start);
}

void frmMain::UpdateCommandStates()
{
    const ListSelection oSelection = GetListSelection();
    if (oSelection.lNodeType == 0)
        return;
    bool bEnabled = true;
    QString sWarnings;
    if (oSelection.lNodeType == SmartTagsFolder && oSelection.lState == ListSelection::One) {
        const auto oStore = m_oState.StoreOfList(m_oState.CurrentKey());
        const auto oTag = oStore && oStore->SmartTagSets().Count() >= 1
                              ? oStore->SmartTagSets().Item(1)->Item(ParseNodeTag(oSelection.sLastTag).second)
                              : nullptr;
        if (oTag) {
            bEnabled = oTag->Enabled;
            sWarnings = oTag->Warnings;
        }
    }
    const CommandStates oStates = m_oState.Commands(oSelection, bEnabled, sWarnings);
    const std::pair<const char *, bool> colStates[] = {
        {"New", oStates.bNew},         {"Copy", oStates.bCopy},
        {"Paste", oStates.bPaste},     {"Delete", oStates.bDelete},
        {"Rename", oStates.bRename},   {"Preview", oStates.bPreview},
        {"Properties", oStates.bProperties}, {"Enable", oStates.bEnable},
        {"Disable", oStates.bDisable}, {"Terms", oStates.bTerms},
        {"ClearWarnings", oStates.bClearWarnings}};
    for (const auto &[sCommand, bOn] : colStates)
        for (QAction *oAction : m_colCommands.value(QLatin1String(sCommand)))
            oAction->setEnabled(bOn);
    // In-place renaming follows Rename.
    lvDetails->setEditTriggers(oStates.bRename ? QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                                               : QAbstractItemView::NoEditTriggers);
    UpdateItemCount();
}

void frmMain::UpdateItemCount()
{
    sbrStatus->showMessage(ManagerState::ItemCountText(m_oSortModel->rowCount()));
}

} // namespace qv
