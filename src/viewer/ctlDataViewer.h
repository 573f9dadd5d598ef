#pragma once

#include "ViewerLoad.h"
#include "ViewerOutput.h"

#include <QColor>
#include <QEvent>
#include <QFont>
#include <QPointer>
#include <QVariantMap>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QHeaderView;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeView;

namespace qv::ado {
class Recordset;
}
namespace qv::config {
class DataView;
}

namespace qv {

// The text under which the changed-layout event was registered by the
// system this control comes from; kept for hosts that log it.
inline constexpr auto kDialogChangedMessage = "DIALOG_CHANGED - {A22179D8-CE60-4D62-95C5-AD432E027197}";

// The data viewer: a report list of one data view's rows, each cell formatted
// once as it is copied, with per-column settings (width, visibility, sort,
// totals, key columns) that travel in and out, check-box or list selection,
// and the chosen rows handed out as recordsets or as rowset XML.
//
// Children by control name: txtDummy (placeholder over the list while it
// fills), lblEmpty (why a loaded list has no rows), lvwItems (the list; its model column 0 is the check-box column),
// mnuColumnSettings (the header's right-click menu).
//
// Errors of the public members are raised as ComError with
// "QVVIEWER.DataViewer.<operation>(): " before the source; nothing raises out
// of the control's event handlers, which report through ShowError.
class ctlDataViewer : public QWidget
{
    Q_OBJECT

public:
    explicit ctlDataViewer(QWidget *parent = nullptr);
    ~ctlDataViewer() override;

    // The event posted, without parameters, to ParentHandle whenever the user
    // changes the column layout (sort, width, order, visibility, totals).
    static QEvent::Type DialogChangedEventType();

    // --- column settings
    // In screen order, hidden columns included, the check-box column never.
    std::shared_ptr<biz::ColumnSettings> GetControlSettings() const;
    std::shared_ptr<biz::ColumnSettings> DataviewerColumnsSettings() const { return GetControlSettings(); }
    // Kept as the current settings and applied at the next population when
    // they fit the data view.
    void SetDataviewerColumnsSettings(const std::shared_ptr<biz::ColumnSettings> &colSettings);

    // --- loading
    void SetDataView(std::shared_ptr<config::DataView> &oDataView, const QString &sSelectedRowsXML = {},
                     bool bDisableMenus = false, bool bDisableColReorder = false);
    // Rebuilds the list from the rows already copied, keeping the layout.
    void Refresh();
    qint32 RecordCount() const;
    qint32 MaxRows() const { return m_lMaxRows; }
    // A line shown in the list when a data view loaded without rows (why
    // there are none); "" shows nothing.
    void SetEmptyText(const QString &sText);
    // The height that shows the header and lRows rows without scrolling.
    int HeightForRows(int lRows) const;
    void SetMaxRows(qint32 lMaxRows) { m_lMaxRows = lMaxRows; }
    void Cancel() { m_bCancel = true; }
    bool Cancelled() const { return m_bCancel; }

    // --- selection and output
    void SelectAll();
    void DeselectAll();
    qint32 SelectionCount() const { return m_lSelectionCount; }
    // The chosen rows as shown (visible columns in screen order, totals row
    // when a column is totalled); nullptr when nothing is chosen.
    std::shared_ptr<ado::Recordset> GetSelectedItems();
    // The control's own source recordset filtered to the chosen rows.
    std::shared_ptr<ado::Recordset> GetRawSelectedItems();
    // The first lNumberOfItems rows as shown; sample rows when there are none.
    std::shared_ptr<ado::Recordset> GetTopItems(qint32 lNumberOfItems);
    QString GetSelectedItemsXML();

    // --- columns and look
    // lColumnIndex counts list columns from 1 (the check-box column);
    // lSortOrder 0 ascending, 1 descending.
    void Sort(qint32 lColumnIndex, qint32 lSortOrder);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool bEnabled) { setEnabled(bEnabled); }
    QColor BackColor() const { return m_oBackColor; }
    void SetBackColor(const QColor &oColor);
    QColor ForeColor() const { return m_oForeColor; }
    void SetForeColor(const QColor &oColor);
    QFont Font() const;
    void SetFont(const QFont &oFont);
    int LVWhatsThisHelpID() const;
    void SetLVWhatsThisHelpID(int lHelpId);
    bool CheckBoxes() const { return m_bCheckBoxes; }
    void SetCheckBoxes(bool bCheckBoxes);
    bool HideSelection() const { return m_bHideSelection; }
    void SetHideSelection(bool bHideSelection);
    QWidget *ParentHandle() const { return m_oParentHandle; }
    void SetParentHandle(QWidget *oParent) { m_oParentHandle = oParent; }
    // A persisted property changed since the control was made or read.
    bool PropertiesChanged() const { return m_bPropertiesChanged; }
    // The persisted properties under their stored names ("BackColor",
    // "ForeColor", "Enabled", "Font", "CheckBoxes"). Reading applies each
    // through its setter; a missing one takes its default (the window and
    // button text colours, enabled, the container's font, check boxes on).
    QVariantMap WriteProperties() const;
    void ReadProperties(const QVariantMap &colBag);

signals:
    // The list stopped at lLimit rows of lRecordCount (-1 while the source
    // still counts them).
    void ListLimitReached(qint32 lLimit, qint32 lRecordCount);
    void RefreshMe();
    // Declared for hosts; the list fills too fast to report progress.
    void PopulatingList(qint32 lPercentageComplete);
    // Item indexes count list rows from 1, in the order shown.
    void ItemCheck(qint32 lItemIndex);
    void ItemClick(qint32 lItemIndex);
    void ItemDoubleClick(qint32 lItemIndex);

protected:
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;
    void changeEvent(QEvent *oEvent) override;
    void resizeEvent(QResizeEvent *oEvent) override;

private:
    // loading (ctlDataViewer.cpp)
    void LoadDataView(const std::shared_ptr<config::DataView> &oDataView);
    void ClearList();
    void PopulateListView(const std::shared_ptr<biz::ColumnSettings> &colSettings);
    void FillRows(bool bKeepLayout);
    bool PreselectRow(const viewer::DataViewerModel::Row &oRow, const std::vector<int> &colLinked);
    void ShowFirstPreselected();
    std::vector<std::shared_ptr<biz::ColumnSetting>> ColumnsInDisplayOrder() const;

    // selection (ctlDataViewerSelection.cpp)
    void SetAllChosen(bool bChosen);
    bool NothingChosen() const;
    std::vector<int> ChosenRows() const;
    std::vector<int> RowsToOutput(int lCount) const;
    std::vector<viewer::OutputColumn> VisibleColumnsOnScreen() const;
    std::shared_ptr<ado::Recordset> FilterSelectionRecordset(int lCount, bool bRaw);
    void OnCheckChanged(int lRow, bool bChecked);
    void OnItemClicked(const QModelIndex &oIndex);
    void OnItemDoubleClicked(const QModelIndex &oIndex);

    // columns (ctlDataViewerColumns.cpp)
    void ApplyColumnLayout(bool bKeepLayout);
    void RestoreColumnOrder();
    int ContentWidth(int lColumn) const;
    void FitColumnsToAllRows();
    void BuildColumnMenu();
    void SyncColumnWidths();
    void SortColumn(int lColumn, Qt::SortOrder eOrder);
    void OnHeaderClicked(int lColumn);
    void OnColumnMenu(QAction *oAction);
    void OnSectionMoved(int lColumn, int lOldVisual, int lNewVisual);
    void OnSectionResized(int lColumn);
    void PostLayoutChanged();
    bool HeaderEvent(QEvent *oEvent);
    bool OverCheckBoxColumn(const QPoint &oPos) const;

    // look (ctlDataViewerLook.cpp)
    void ApplyColors();
    void UpdateEmptyLine();

    QLineEdit *txtDummy = nullptr;
    QLabel *lblEmpty = nullptr; // over an empty list's viewport
    QTreeView *lvwItems = nullptr;
    QMenu *mnuColumnSettings = nullptr;
    QMenu *mnuColumnSettingsTotals = nullptr;
    viewer::DataViewerModel *m_oModel = nullptr;

    std::shared_ptr<ado::Recordset> m_oSource;
    viewer::DisplayColumns m_oColumns;      // of the latest data view
    std::vector<viewer::DataViewerModel::Row> m_colDisplayRows;
    bool m_bHasDisplayRows = false;
    std::shared_ptr<biz::ColumnSettings> m_oCurrentSettings;
    viewer::PreselectionKeys m_oPreselection;
    QString m_sSelectedRowsXML;
    QString m_sEmptyText;
    qint32 m_lFirstPreselected = 0;
    qint32 m_lSelectionCount = 0;
    qint32 m_lMaxRows = 0;
    bool m_bCancel = false;
    bool m_bPopulating = false;
    bool m_bDisableMenus = false;
    bool m_bDisableColReorder = false;

    bool m_bHooked = false;       // user changes to the columns are being watched
    bool m_bMovingBack = false;   // a refused drag is being undone
    bool m_bWidthChanged = false; // a divider was dragged
    bool m_bHeaderPressed = false;
    bool m_bDropBeforeCheckBoxes = false;
    bool m_bCheckBoxes = true;
    bool m_bHideSelection = false;
    bool m_bPropertiesChanged = false;
    QColor m_oBackColor;
    QColor m_oForeColor;
    QPointer<QWidget> m_oParentHandle;
};

} // namespace qv
