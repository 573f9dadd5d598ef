// The data viewer's selection: which rows are chosen, the selection count,
// the item events and the four outputs.
#include "ctlDataViewer.h"

#include "ViewerCall.h"
#include "ViewerOutput.h"
#include "ado/Recordset.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

namespace qv {

void ctlDataViewer::SelectAll()
{
    viewer::ViewerCall(".SelectAll()", [&] { SetAllChosen(true); });
}

void ctlDataViewer::DeselectAll()
{
    viewer::ViewerCall(".DeselectAll()", [&] { SetAllChosen(false); });
}

void ctlDataViewer::SetAllChosen(bool bChosen)
{
    const int lRows = m_oModel->rowCount();
    if (lRows == 0)
        return;
    const ui::BusyPointer oBusy;
    QItemSelectionModel *oSelection = lvwItems->selectionModel();
    if (m_bCheckBoxes) {
        m_oModel->SetAllChecked(bChosen);
        oSelection->clearSelection();
    } else {
        m_oModel->SetAllChecked(false);
        if (bChosen)
            oSelection->select(QItemSelection(m_oModel->index(0, 0), m_oModel->index(lRows - 1, 0)),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        else
            oSelection->clearSelection();
    }
    lvwItems->viewport()->update();
    m_lSelectionCount = bChosen ? lRows : 0;
}

bool ctlDataViewer::NothingChosen() const
{
    if (m_bCheckBoxes)
        return m_oModel->CheckedCount() == 0;
    return !lvwItems->selectionModel()->hasSelection();
}

// The chosen rows in list order: checked ones in check-box mode, selected
// ones otherwise.
std::vector<int> ctlDataViewer::ChosenRows() const
{
    std::vector<int> colRows;
    const QItemSelectionModel *oSelection = lvwItems->selectionModel();
    for (int lRow = 0; lRow < m_oModel->rowCount(); ++lRow) {
        const bool bChosen = m_bCheckBoxes ? m_oModel->RowAt(lRow).bChecked : oSelection->isRowSelected(lRow);
        if (bChosen)
            colRows.push_back(lRow);
    }
    return colRows;
}

// lCount > 0: the first lCount rows; 0: the chosen rows, or every row when
// none is chosen (no bookmark leaves the recordset unfiltered).
std::vector<int> ctlDataViewer::RowsToOutput(int lCount) const
{
    std::vector<int> colRows;
    if (lCount == 0)
        colRows = ChosenRows();
    else
        for (int lRow = 0; lRow < std::min(lCount, m_oModel->rowCount()); ++lRow)
            colRows.push_back(lRow);
    if (colRows.empty())
        for (int lRow = 0; lRow < m_oModel->rowCount(); ++lRow)
            colRows.push_back(lRow);
    return colRows;
}

std::vector<viewer::OutputColumn> ctlDataViewer::VisibleColumnsOnScreen() const
{
    std::vector<viewer::OutputColumn> colColumns;
    const QHeaderView *oHeader = lvwItems->header();
    for (int lVisual = 0; lVisual < oHeader->count(); ++lVisual) {
        const int lColumn = oHeader->logicalIndex(lVisual);
        const auto oSetting = m_oModel->SettingOf(lColumn);
        if (!oSetting || !oSetting->Visible || oHeader->isSectionHidden(lColumn))
            continue;
        colColumns.push_back({lColumn, oSetting});
    }
    return colColumns;
}

std::shared_ptr<ado::Recordset> ctlDataViewer::FilterSelectionRecordset(int lCount, bool bRaw)
{
    return viewer::ViewerCall(".FilterSelectionRecordset()", [&]() -> std::shared_ptr<ado::Recordset> {
        const std::vector<int> colRows = RowsToOutput(lCount);
        if (!bRaw)
            return viewer::BuildOutputRecordset(*m_oModel, colRows, VisibleColumnsOnScreen());
        if (!m_oSource)
            return nullptr;
        QList<Variant> colBookmarks;
        for (int lRow : colRows)
            colBookmarks << Variant(m_oModel->RowAt(lRow).sRawBookmark.toDouble());
        m_oSource->SetFilter(ado::Filter());
        if (!colBookmarks.isEmpty())
            m_oSource->SetFilter(ado::Filter(colBookmarks));
        return m_oSource;
    });
}

std::shared_ptr<ado::Recordset> ctlDataViewer::GetSelectedItems()
{
    return viewer::ViewerCall(".GetSelectItems()", [&]() -> std::shared_ptr<ado::Recordset> {
        return NothingChosen() ? nullptr : FilterSelectionRecordset(0, false);
    });
}

std::shared_ptr<ado::Recordset> ctlDataViewer::GetRawSelectedItems()
{
    return viewer::ViewerCall(".GetRawSelectedItems()", [&]() -> std::shared_ptr<ado::Recordset> {
        return NothingChosen() ? nullptr : FilterSelectionRecordset(0, true);
    });
}

std::shared_ptr<ado::Recordset> ctlDataViewer::GetTopItems(qint32 lNumberOfItems)
{
    return viewer::ViewerCall(".GetTopItems()", [&] {
        auto oRows = FilterSelectionRecordset(lNumberOfItems, false);
        if (oRows->IsBOF() && oRows->IsEOF())
            viewer::AddSampleRows(*oRows, lNumberOfItems);
        return oRows;
    });
}

QString ctlDataViewer::GetSelectedItemsXML()
{
    return viewer::ViewerCall(".GetSelectedItemsXML()", [&]() -> QString {
        if (NothingChosen())
            return {};
        auto oRows = FilterSelectionRecordset(0, false);
        QString sXml = viewer::RecordsetXml(*oRows);
        oRows->Close();
        return sXml;
    });
}

void ctlDataViewer::OnCheckChanged(int lRow, bool bChecked)
{
    HandleErrors([&] {
        if (!m_bHideSelection)
            lvwItems->selectionModel()->setCurrentIndex(m_oModel->index(lRow, 0),
                                                        QItemSelectionModel::ClearAndSelect
                                                            | QItemSelectionModel::Rows);
        m_lSelectionCount += bChecked ? 1 : -1;
        emit ItemCheck(lRow + 1);
        emit RefreshMe();
    }, QString::fromLatin1(kTitleDataViews));
}

void ctlDataViewer::OnItemClicked(const QModelIndex &oIndex)
{
    HandleErrors([&] {
        if (!oIndex.isValid())
            return;
        if (m_bHideSelection)
            lvwItems->selectionModel()->clear();
        else if (!m_bCheckBoxes)
            m_lSelectionCount = 1;
        emit ItemClick(oIndex.row() + 1);
        emit RefreshMe();
    }, QString::fromLatin1(kTitleDataViews));
}

void ctlDataViewer::OnItemDoubleClicked(const QModelIndex &)
{
    HandleErrors([&] {
        const QModelIndexList colSelected = lvwItems->selectionModel()->selectedRows();
        if (!colSelected.isEmpty())
            emit ItemDoubleClick(colSelected.first().row() + 1);
    }, QString::fromLatin1(kTitleDataViews));
}

} // namespace qv
