#include "ctlDataViewer.h"

#include "ViewerCall.h"
#include "ViewerDelegate.h"
#include "ado/Recordset.h"
#include "config/ConfigObjects.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTreeView>

namespace qv {

using viewer::DataViewerModel;

namespace {

// Sort arrows and the totals and key marks, drawn once for every header.
QList<QIcon> MakeHeaderIcons(const QWidget *oWidget)
{
    QList<QIcon> colIcons;
    colIcons << oWidget->style()->standardIcon(QStyle::SP_ArrowDown)
             << oWidget->style()->standardIcon(QStyle::SP_ArrowUp);
    const QColor oInk = oWidget->palette().color(QPalette::ButtonText);
    auto draw = [&](auto &&paint) {
        QPixmap oPixmap(16, 16);
        oPixmap.fill(Qt::transparent);
        QPainter oPainter(&oPixmap);
        oPainter.setRenderHint(QPainter::Antialiasing);
        oPainter.setPen(QPen(oInk, 1.5));
        paint(oPainter);
        oPainter.end();
        colIcons << QIcon(oPixmap);
    };
    draw([](QPainter &p) { // a sigma: the column is totalled
        p.drawPolyline(QPolygonF({{12, 3}, {4, 3}, {9, 8}, {4, 13}, {12, 13}}));
    });
    draw([](QPainter &p) { // a key: the column finds chosen rows again
        p.drawEllipse(QRectF(2, 5, 6, 6));
        p.drawPolyline(QPolygonF({{8, 8}, {14, 8}, {14, 11}}));
        p.drawLine(QPointF(11, 8), QPointF(11, 10.5));
    });
    return colIcons;
}

} // namespace

ctlDataViewer::ctlDataViewer(QWidget *parent) : QWidget(parent)
{
    txtDummy = new QLineEdit(this);
    txtDummy->setObjectName(QStringLiteral("txtDummy"));
    txtDummy->setReadOnly(true);
    txtDummy->hide();

    m_oModel = new DataViewerModel(this);
    m_oModel->SetHeaderIcons(MakeHeaderIcons(this));

    lvwItems = new QTreeView(this);
    lvwItems->setObjectName(QStringLiteral("lvwItems"));
    lvwItems->setRootIsDecorated(false);
    lvwItems->setItemsExpandable(false);
    lvwItems->setUniformRowHeights(true);
    lvwItems->setAllColumnsShowFocus(true);
    lvwItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwItems->setModel(m_oModel);
    lvwItems->setItemDelegate(new viewer::ViewerDelegate(lvwItems));
    QHeaderView *oHeader = lvwItems->header();
    oHeader->setStretchLastSection(false);
    oHeader->setSectionsClickable(true);
    oHeader->setMinimumSectionSize(0);
    oHeader->setContextMenuPolicy(Qt::PreventContextMenu);
    txtDummy->raise();
    lblEmpty = new QLabel(lvwItems->viewport());
    lblEmpty->setObjectName(QStringLiteral("lblEmpty"));
    lblEmpty->setAlignment(Qt::AlignCenter);
    lblEmpty->setWordWrap(true);
    lblEmpty->setForegroundRole(QPalette::PlaceholderText);
    lblEmpty->hide();

    mnuColumnSettings = new QMenu(QStringLiteral("Column Settings"), this);
    mnuColumnSettings->setObjectName(QStringLiteral("mnuColumnSettings"));
    mnuColumnSettingsTotals = new QMenu(QStringLiteral("Totals"), mnuColumnSettings);
    mnuColumnSettingsTotals->setObjectName(QStringLiteral("mnuColumnSettingsTotals"));

    connect(m_oModel, &DataViewerModel::CheckChanged, this, &ctlDataViewer::OnCheckChanged);
    connect(lvwItems, &QTreeView::clicked, this, &ctlDataViewer::OnItemClicked);
    connect(lvwItems, &QTreeView::doubleClicked, this, &ctlDataViewer::OnItemDoubleClicked);
    connect(oHeader, &QHeaderView::sectionClicked, this, &ctlDataViewer::OnHeaderClicked);
    connect(oHeader, &QHeaderView::sectionMoved, this, &ctlDataViewer::OnSectionMoved);
    connect(oHeader, &QHeaderView::sectionResized, this, &ctlDataViewer::OnSectionResized);
    connect(oHeader, &QHeaderView::sectionHandleDoubleClicked, this, [this] {
        if (!m_bHooked)
            return;
        SyncColumnWidths();
        PostLayoutChanged();
    });
    lvwItems->installEventFilter(this);
    oHeader->viewport()->installEventFilter(this);

    m_oBackColor = palette().color(QPalette::Base);
    m_oForeColor = palette().color(QPalette::ButtonText);
    ApplyColors();
}

ctlDataViewer::~ctlDataViewer() = default;

QEvent::Type ctlDataViewer::DialogChangedEventType()
{
    static const QEvent::Type eType = QEvent::Type(QEvent::registerEventType());
    return eType;
}

void ctlDataViewer::SetDataviewerColumnsSettings(const std::shared_ptr<biz::ColumnSettings> &colSettings)
{
    m_oCurrentSettings = colSettings;
    m_oModel->RefreshHeader();
}

qint32 ctlDataViewer::RecordCount() const
{
    return m_oModel->rowCount();
}

void ctlDataViewer::SetDataView(std::shared_ptr<config::DataView> &oDataView, const QString &sSelectedRowsXML,
                                bool bDisableMenus, bool bDisableColReorder)
{
    viewer::ViewerCall(".SetDataView()", [&] {
        m_colDisplayRows.clear();
        m_bHasDisplayRows = false;
        m_oSource.reset();
        m_sSelectedRowsXML = sSelectedRowsXML;
        m_bDisableMenus = bDisableMenus;
        m_bDisableColReorder = bDisableColReorder;
        m_lFirstPreselected = 0;
        m_lSelectionCount = 0;
        m_bPopulating = false;
        m_lMaxRows = viewer::ClampMaxRows(m_lMaxRows);
        m_bHooked = false;
        LoadDataView(oDataView);
        m_bHooked = true;
        UpdateEmptyLine();
    });
}

void ctlDataViewer::LoadDataView(const std::shared_ptr<config::DataView> &oDataView)
{
    if (!oDataView) {
        ClearList();
        return;
    }
    m_bCancel = false;
    if (oDataView->Recordset) {
        m_oSource = oDataView->Recordset->Clone();
        m_oSource->SetFilter(oDataView->Recordset->Filter());
    }
    m_oColumns = viewer::BuildDisplayColumns(*oDataView, m_oSource.get());
    // Fresh settings have no key columns: the keys come from the settings
    // that will be in use, the host's own when they fit this data view.
    const bool bKeep = viewer::SettingsMatch(m_oCurrentSettings.get(), m_oColumns.oSettings.get());
    m_oPreselection = viewer::ReadPreselection(
        m_sSelectedRowsXML, viewer::LinkedCaptions(bKeep ? *m_oCurrentSettings : *m_oColumns.oSettings));

    viewer::CopyResult oCopy = viewer::CopyRows(*m_oSource, m_oColumns, m_lMaxRows, &m_bCancel);
    m_colDisplayRows = std::move(oCopy.colRows);
    m_bHasDisplayRows = true;
    if (oCopy.bLimitReached) {
        // The full count may still be running beside the first page: not waited for.
        const auto &oRows = oDataView->Recordset;
        emit ListLimitReached(m_lMaxRows, oRows->RecordCountKnown() ? qint32(oRows->RecordCount()) : -1);
    }

    PopulateListView(m_oColumns.oSettings);
    if (m_oModel->rowCount() == 1) {
        m_lFirstPreselected = m_oModel->RowAt(0).lDisplayBookmark;
        m_lSelectionCount = 1;
    }
    ShowFirstPreselected();
}

void ctlDataViewer::ClearList()
{
    m_oModel->Clear();
    m_oCurrentSettings.reset();
    mnuColumnSettings->clear();
    mnuColumnSettingsTotals->clear();
}

void ctlDataViewer::ShowFirstPreselected()
{
    if (m_lFirstPreselected == 0) {
        lvwItems->selectionModel()->clearCurrentIndex();
        lvwItems->selectionModel()->clearSelection();
        if (m_oModel->rowCount() > 1)
            lvwItems->scrollToTop();
        return;
    }
    for (int lRow = 0; lRow < m_oModel->rowCount(); ++lRow) {
        if (m_oModel->RowAt(lRow).lDisplayBookmark != m_lFirstPreselected)
            continue;
        const QModelIndex oIndex = m_oModel->index(lRow, 0);
        lvwItems->scrollTo(oIndex);
        if (!m_bHideSelection)
            lvwItems->selectionModel()->setCurrentIndex(oIndex, QItemSelectionModel::ClearAndSelect
                                                                    | QItemSelectionModel::Rows);
        m_oModel->SetChecked(lRow, true);
        emit RefreshMe();
        return;
    }
}

void ctlDataViewer::Refresh()
{
    viewer::ViewerCall(".Refresh()", [&] {
        const ui::BusyPointer oBusy;
        m_bHooked = false;
        DeselectAll();
        PopulateListView(nullptr);
        m_bHooked = true;
    });
}

// Settings for the display fields in their order: the current ones when the
// layout carries over, a fresh one for a field they lack.
std::vector<std::shared_ptr<biz::ColumnSetting>> ctlDataViewer::ColumnsInDisplayOrder() const
{
    std::vector<std::shared_ptr<biz::ColumnSetting>> colSettings;
    for (const auto &oFresh : m_oColumns.colSettings) {
        auto oSetting = m_oCurrentSettings ? m_oCurrentSettings->Item(oFresh->Caption) : nullptr;
        colSettings.push_back(oSetting ? oSetting : oFresh);
    }
    return colSettings;
}

void ctlDataViewer::PopulateListView(const std::shared_ptr<biz::ColumnSettings> &colSettings)
{
    if (m_bPopulating)
        return;
    m_bPopulating = true;
    bool bKeepLayout = true;
    if (!colSettings) {
        m_oCurrentSettings = GetControlSettings();
    } else if (!viewer::SettingsMatch(m_oCurrentSettings.get(), colSettings.get())) {
        m_oCurrentSettings = colSettings;
        bKeepLayout = false;
    }
    m_oModel->SetCheckBoxes(m_bCheckBoxes);
    lvwItems->setSelectionMode(m_bHideSelection ? QAbstractItemView::NoSelection
                                                : QAbstractItemView::SingleSelection);
    m_oModel->Clear();
    if (m_bHasDisplayRows) {
        txtDummy->show();
        auto colColumns = ColumnsInDisplayOrder();
        for (size_t i = 0; i < colColumns.size(); ++i)
            colColumns[i]->ColumnIndex = qint32(i) + 2;
        m_oModel->ResetColumns(std::move(colColumns));
        FillRows(bKeepLayout);
    }
    if (m_bHideSelection)
        lvwItems->selectionModel()->clearSelection();
    m_bPopulating = false;
}

void ctlDataViewer::FillRows(bool bKeepLayout)
{
    std::vector<int> colLinked;
    for (int c = 1; c <= m_oModel->DataColumnCount(); ++c) {
        if (m_oModel->SettingOf(c)->Linked)
            colLinked.push_back(c - 1);
    }
    std::vector<DataViewerModel::Row> colBatch;
    bool bLaidOut = false;
    for (const DataViewerModel::Row &oDisplayRow : m_colDisplayRows) {
        if (m_bCancel)
            break;
        colBatch.push_back(oDisplayRow);
        colBatch.back().bChecked = PreselectRow(oDisplayRow, colLinked) && m_bCheckBoxes;
        if (!bLaidOut && colBatch.size() == size_t(viewer::kFirstVisibleRows)) {
            // The first rows decide the widths and show while the rest follow.
            m_oModel->AppendRows(std::move(colBatch));
            colBatch.clear();
            ApplyColumnLayout(bKeepLayout);
            txtDummy->hide();
            bLaidOut = true;
        }
    }
    m_oModel->AppendRows(std::move(colBatch));
    if (!bLaidOut) {
        ApplyColumnLayout(bKeepLayout);
        txtDummy->hide();
    } else if (!bKeepLayout) {
        FitColumnsToAllRows();
    }
    lvwItems->viewport()->update();
    if (const auto oSorted = viewer::SortedSetting(*m_oCurrentSettings))
        Sort(oSorted->ColumnIndex, oSorted->Sorted);
}

bool ctlDataViewer::PreselectRow(const DataViewerModel::Row &oRow, const std::vector<int> &colLinked)
{
    if (m_oPreselection.IsEmpty() || !m_oPreselection.TakeMatch(viewer::RowKey(oRow, colLinked)))
        return false;
    if (m_lFirstPreselected == 0)
        m_lFirstPreselected = oRow.lDisplayBookmark;
    m_lSelectionCount = m_bCheckBoxes ? m_lSelectionCount + 1 : 1;
    return true;
}

} // namespace qv
