// The data viewer's columns: layout, sorting, the column menu and the watch
// over the user's drags on the header.
#include "ctlDataViewer.h"

#include "ViewerCall.h"
#include "ViewerRules.h"
#include "ui/MousePointer.h"
#include "ui/Twips.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeView>

namespace qv {

namespace {

const char *const kColumnProperty = "ColumnIndex";
// The least an automatic width may be capped at, for a list not yet laid out.
constexpr int kMinWidthCap = 240;
// How many characters shorter than a column's longest text a text may be and
// still be measured for its width.
constexpr qsizetype kLengthSlack = 3;
// How many texts of each of those two length bands are measured at most.
constexpr int kMeasuredTexts = 32;

} // namespace

std::shared_ptr<biz::ColumnSettings> ctlDataViewer::GetControlSettings() const
{
    auto colSettings = std::make_shared<biz::ColumnSettings>();
    const QHeaderView *oHeader = lvwItems->header();
    for (int lVisual = 0; lVisual < oHeader->count(); ++lVisual) {
        if (const auto oSetting = m_oModel->SettingOf(oHeader->logicalIndex(lVisual)))
            colSettings->Add(oSetting, oSetting->Caption);
    }
    return colSettings;
}

// Widths the list would give a column for its texts and its header, measured
// over the rows it holds. Widths follow lengths closely, so only the texts
// near the longest are measured: a fill of thousands of rows stays cheap.
int ctlDataViewer::ContentWidth(int lColumn) const
{
    const QFontMetrics oMetrics(lvwItems->font());
    const int lMargin = 2 * (lvwItems->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lvwItems) + 1);
    qsizetype lLongest = 0;
    for (int lRow = 0; lRow < m_oModel->rowCount(); ++lRow)
        lLongest = std::max(lLongest, m_oModel->RowAt(lRow).colTexts.at(lColumn - 1).size());
    // The longest texts first, then those a little shorter, a few of each.
    int lWidth = 0;
    for (const qsizetype lFrom : {lLongest, lLongest - kLengthSlack}) {
        int lMeasured = 0;
        for (int lRow = 0; lRow < m_oModel->rowCount() && lMeasured < kMeasuredTexts && lLongest > 0; ++lRow) {
            const QString &sText = m_oModel->RowAt(lRow).colTexts.at(lColumn - 1);
            if (sText.size() < lFrom || (lFrom < lLongest && sText.size() == lLongest))
                continue;
            lWidth = std::max(lWidth, oMetrics.horizontalAdvance(sText));
            ++lMeasured;
        }
    }
    // One long text must not push every other column out of sight: an
    // automatic width stops at a third of the list (its tooltip has the rest).
    const int lCap = std::max(kMinWidthCap, lvwItems->viewport()->width() / 3);
    return std::max(std::min(lWidth + lMargin, lCap), lvwItems->header()->sectionSizeHint(lColumn));
}

// The first rows set a fresh layout's widths so that they show at once; the
// rest of the rows may be wider ("100" after "99").
void ctlDataViewer::FitColumnsToAllRows()
{
    QHeaderView *oHeader = lvwItems->header();
    for (int lColumn = 1; lColumn <= m_oModel->DataColumnCount(); ++lColumn) {
        const auto oSetting = m_oModel->SettingOf(lColumn);
        const int lAuto = ContentWidth(lColumn);
        if (!oSetting->Visible || lAuto <= oHeader->sectionSize(lColumn))
            continue;
        oSetting->ColumnWidth = float(ui::PixelsToTwips(lAuto));
        oHeader->resizeSection(lColumn, lAuto);
    }
}

void ctlDataViewer::ApplyColumnLayout(bool bKeepLayout)
{
    QHeaderView *oHeader = lvwItems->header();
    for (int lColumn = 1; lColumn <= m_oModel->DataColumnCount(); ++lColumn) {
        const auto oSetting = m_oModel->SettingOf(lColumn);
        const int lAuto = ContentWidth(lColumn);
        if (!bKeepLayout) {
            oSetting->ColumnWidth = float(ui::PixelsToTwips(lAuto));
            if (lAuto == 0 && !m_bDisableMenus)
                oSetting->Visible = false;
        }
        int lRemembered = ui::TwipsToPixels(int(oSetting->ColumnWidth));
        // A header that gained an icon since its width was kept would cut
        // its caption ("Id" under a key).
        if (lRemembered > 0 && viewer::HeaderIconIndex(*oSetting) >= 0)
            lRemembered = std::max(lRemembered, oHeader->sectionSizeHint(lColumn));
        oHeader->resizeSection(lColumn, lRemembered > 0 ? lRemembered : lAuto);
        oHeader->setSectionHidden(lColumn, !oSetting->Visible);
    }
    if (bKeepLayout)
        RestoreColumnOrder();
    oHeader->setSectionResizeMode(0, QHeaderView::Fixed);
    oHeader->resizeSection(0, ui::TwipsToPixels(viewer::kCheckBoxColumnTwips));
    oHeader->setSectionHidden(0, !m_bCheckBoxes);
    BuildColumnMenu();
    oHeader->setSectionsMovable(!m_bDisableColReorder);
}

// Puts the columns in the order of the current settings, the check-box
// column first; a setting without its column leaves the order as it is.
void ctlDataViewer::RestoreColumnOrder()
{
    std::vector<int> colOrder{0};
    for (const auto &oSetting : *m_oCurrentSettings) {
        int lColumn = -1;
        for (int c = 1; c <= m_oModel->DataColumnCount(); ++c) {
            if (m_oModel->SettingOf(c) == oSetting)
                lColumn = c;
        }
        if (lColumn < 0)
            return;
        colOrder.push_back(lColumn);
    }
    QHeaderView *oHeader = lvwItems->header();
    if (int(colOrder.size()) != oHeader->count())
        return;
    for (int lVisual = 0; lVisual < int(colOrder.size()); ++lVisual)
        oHeader->moveSection(oHeader->visualIndex(colOrder[size_t(lVisual)]), lVisual);
}

void ctlDataViewer::BuildColumnMenu()
{
    mnuColumnSettings->clear();
    mnuColumnSettingsTotals->clear();
    for (int lColumn = 1; lColumn <= m_oModel->DataColumnCount(); ++lColumn) {
        const auto oSetting = m_oModel->SettingOf(lColumn);
        QAction *oEntry = mnuColumnSettings->addAction(oSetting->Caption);
        oEntry->setObjectName(QStringLiteral("mnuColumnSettingsName"));
        oEntry->setCheckable(true);
        oEntry->setChecked(oSetting->Visible);
        oEntry->setProperty(kColumnProperty, lColumn);
        connect(oEntry, &QAction::triggered, this, [this, oEntry] { OnColumnMenu(oEntry); });
    }
    mnuColumnSettings->addSeparator()->setObjectName(QStringLiteral("mnuColumnSettingsSeperator"));
    QAction *oTotals = mnuColumnSettings->addMenu(mnuColumnSettingsTotals);
    for (int lColumn = 1; lColumn <= m_oModel->DataColumnCount(); ++lColumn) {
        const auto oSetting = m_oModel->SettingOf(lColumn);
        if (oSetting->Totalled == 0)
            continue;
        QAction *oEntry = mnuColumnSettingsTotals->addAction(oSetting->Caption);
        oEntry->setObjectName(QStringLiteral("mnuColumnSettingsTotalsName"));
        oEntry->setCheckable(true);
        oEntry->setChecked(oSetting->Totalled == 2);
        oEntry->setProperty(kColumnProperty, lColumn);
        connect(oEntry, &QAction::triggered, this, [this, oEntry] { OnColumnMenu(oEntry); });
    }
    oTotals->setEnabled(!mnuColumnSettingsTotals->isEmpty());
}

void ctlDataViewer::SyncColumnWidths()
{
    const QHeaderView *oHeader = lvwItems->header();
    for (QAction *oEntry : mnuColumnSettings->actions()) {
        const int lColumn = oEntry->property(kColumnProperty).toInt();
        const auto oSetting = m_oModel->SettingOf(lColumn);
        if (!oSetting)
            continue;
        const int lWidth = oHeader->isSectionHidden(lColumn) ? 0 : oHeader->sectionSize(lColumn);
        oSetting->Visible = lWidth != 0;
        if (lWidth != 0)
            oSetting->ColumnWidth = float(ui::PixelsToTwips(lWidth));
        oEntry->setChecked(lWidth != 0);
    }
}

void ctlDataViewer::Sort(qint32 lColumnIndex, qint32 lSortOrder)
{
    viewer::ViewerCall(".Sort()", [&] {
        const int lColumn = lColumnIndex - 1;
        if (!m_oModel->SettingOf(lColumn))
            return;
        SortColumn(lColumn, lSortOrder == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
    });
}

void ctlDataViewer::SortColumn(int lColumn, Qt::SortOrder eOrder)
{
    {
        const ui::BusyPointer oBusy;
        m_oModel->sort(lColumn, eOrder);
    }
    for (int c = 1; c <= m_oModel->DataColumnCount(); ++c)
        m_oModel->SettingOf(c)->Sorted = c != lColumn ? -1 : eOrder == Qt::DescendingOrder ? 1 : 0;
    m_oModel->RefreshHeader();
    PostLayoutChanged();
}

void ctlDataViewer::OnHeaderClicked(int lColumn)
{
    HandleErrors([&] {
        const auto oSetting = m_oModel->SettingOf(lColumn);
        if (!oSetting)
            return;
        SortColumn(lColumn, oSetting->Sorted == 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
    }, QString::fromLatin1(kTitleDataViews));
}

void ctlDataViewer::OnColumnMenu(QAction *oAction)
{
    HandleErrors([&] {
        const auto oSetting = m_oModel->SettingOf(oAction->property(kColumnProperty).toInt());
        if (!oSetting)
            return;
        const int lColumn = oAction->property(kColumnProperty).toInt();
        QHeaderView *oHeader = lvwItems->header();
        if (oAction->objectName() == QLatin1String("mnuColumnSettingsTotalsName")) {
            oSetting->Totalled = oAction->isChecked() ? 2 : 1;
            m_oModel->RefreshHeader();
        } else if (oAction->isChecked()) {
            oSetting->Visible = true;
            const int lWidth = ui::TwipsToPixels(int(oSetting->ColumnWidth));
            oHeader->setSectionHidden(lColumn, false);
            oHeader->resizeSection(lColumn, lWidth > 0 ? lWidth : ContentWidth(lColumn));
        } else {
            if (!oHeader->isSectionHidden(lColumn) && oHeader->sectionSize(lColumn) > 0)
                oSetting->ColumnWidth = float(ui::PixelsToTwips(oHeader->sectionSize(lColumn)));
            oSetting->Visible = false;
            oHeader->setSectionHidden(lColumn, true);
        }
        PostLayoutChanged();
    }, QString::fromLatin1(kTitleDataViews));
}

// A column dropped before the check-box column goes back where it was.
void ctlDataViewer::OnSectionMoved(int, int lOldVisual, int lNewVisual)
{
    if (!m_bHooked || m_bMovingBack)
        return;
    QHeaderView *oHeader = lvwItems->header();
    if (m_bDropBeforeCheckBoxes || oHeader->visualIndex(0) != 0) {
        m_bMovingBack = true;
        oHeader->moveSection(lNewVisual, lOldVisual);
        m_bMovingBack = false;
        return;
    }
    PostLayoutChanged();
}

// Only a divider dragged by the user counts; the control's own resizing
// happens while no button is down on the header.
void ctlDataViewer::OnSectionResized(int)
{
    if (m_bHooked && m_bHeaderPressed && !m_bDisableColReorder)
        m_bWidthChanged = true;
}

void ctlDataViewer::PostLayoutChanged()
{
    if (!m_bHooked || !m_oParentHandle)
        return;
    QCoreApplication::postEvent(m_oParentHandle, new QEvent(DialogChangedEventType()));
}

bool ctlDataViewer::OverCheckBoxColumn(const QPoint &oPos) const
{
    return m_bCheckBoxes && lvwItems->header()->logicalIndexAt(oPos) == 0;
}

// The header's mouse: the check-box column takes no clicks and starts no
// drags; a finished divider drag records the widths; a right click opens the
// column menu.
bool ctlDataViewer::HeaderEvent(QEvent *oEvent)
{
    switch (oEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *oMouse = static_cast<QMouseEvent *>(oEvent);
        if (oMouse->button() == Qt::RightButton) {
            if (!m_bDisableMenus && m_oModel->DataColumnCount() > 0)
                mnuColumnSettings->popup(oMouse->globalPosition().toPoint());
            return true;
        }
        m_bHeaderPressed = true;
        m_bDropBeforeCheckBoxes = false;
        return OverCheckBoxColumn(oMouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        // Qt keeps a dropped column after the first one; a drop on the
        // left half of the check-box column is refused altogether.
        const QHeaderView *oHeader = lvwItems->header();
        const int lMiddle = oHeader->sectionViewportPosition(0) + oHeader->sectionSize(0) / 2;
        m_bDropBeforeCheckBoxes = m_bCheckBoxes && static_cast<QMouseEvent *>(oEvent)->position().x() < lMiddle;
        m_bHeaderPressed = false;
        if (m_bWidthChanged) {
            m_bWidthChanged = false;
            SyncColumnWidths();
            PostLayoutChanged();
        }
        return false;
    }
    default:
        return false;
    }
}

bool ctlDataViewer::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    if (!m_bHooked)
        return QWidget::eventFilter(oWatched, oEvent);
    if (oWatched == lvwItems->header()->viewport())
        return HeaderEvent(oEvent);
    if (oWatched == lvwItems && oEvent->type() == QEvent::KeyPress) {
        const auto *oKey = static_cast<QKeyEvent *>(oEvent);
        if (oKey->key() == Qt::Key_A && oKey->modifiers() == Qt::ControlModifier) {
            HandleErrors([&] { SelectAll(); }, QString::fromLatin1(kTitleDataViews));
            emit RefreshMe();
            return true;
        }
        // Space ticks the current row whichever of its cells has the focus.
        const QModelIndex oCurrent = lvwItems->currentIndex();
        if (oKey->key() == Qt::Key_Space && oKey->modifiers() == Qt::NoModifier && m_bCheckBoxes
            && oCurrent.isValid()) {
            const QModelIndex oBox = m_oModel->index(oCurrent.row(), 0);
            m_oModel->setData(oBox, m_oModel->RowAt(oCurrent.row()).bChecked ? Qt::Unchecked : Qt::Checked,
                              Qt::CheckStateRole);
            return true;
        }
    }
    return QWidget::eventFilter(oWatched, oEvent);
}

} // namespace qv
