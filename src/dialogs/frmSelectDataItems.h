#pragma once

#include "scripting/Collection.h"

#include <QDialog>
#include <QPointer>
#include <QSet>

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;

namespace qv {
class ctlDataViewer;
}
namespace qv::ado {
class Recordset;
}
namespace qv::biz {
class ConfigFileSettings;
class Settings;
}
namespace qv::config {
class ConfigStore;
class DataView;
class Field;
}
namespace qv::data {
class DataViewDataServices;
}
namespace qv::ui {
class ProgressDialog;
}

namespace qv {

// The Insert Data dialog: the user picks or keeps a data view, may filter
// its rows by one field, ticks rows and chooses a layout, a style and an
// insert position. The caller sets the properties, SetDataView, Prepare,
// shows it through the modal helper, and then reads Cancelled, DataView,
// Settings and the selections. OK and Cancel (and the close box) hide the
// dialog; it keeps its state for the next showing.
//
// The rows are fetched after the window first paints, through the data
// services set with SetDataServices (a private one when none is set).
// RowsShown is emitted each time rows have been fetched and put into the
// viewer.
//
// Children by control name: icboDataView, cmdLaunchDataViewWizard (hidden
// until the wizard exists), lblDataView, lblFilter, cboField, cboOperator,
// cboParam, cmdApplyFilter, cmdSelect, cmdDeselect, ctlDataViewer,
// fraFormatting, cboFormatType, cboFormatStyle, cboInsertPosition,
// cmdSaveSettings, cmdOK, cmdCancel, sbrStatusBar.
class frmSelectDataItems : public QDialog
{
    Q_OBJECT

public:
    explicit frmSelectDataItems(QWidget *parent = nullptr);
    ~frmSelectDataItems() override;

    // --- inputs
    void SetSettings(const std::shared_ptr<biz::Settings> &oSettings) { m_oSettings = oSettings; }
    void SetParagraphStyles(const std::shared_ptr<Collection> &colStyles);
    void SetTableStyles(const std::shared_ptr<Collection> &colStyles);
    void SetForceDataView(bool bForce);
    bool ForceDataView() const { return m_bForceDataView; }
    void SetShowFormatControls(bool bShow) { m_bShowFormatControls = bShow; }
    bool ShowSave() const { return m_bShowSave; }
    void SetShowSave(bool bShow) { m_bShowSave = bShow; }
    bool CheckBoxes() const;
    void SetCheckBoxes(bool bCheckBoxes);
    qint32 DataViewParameterId() const { return m_lDataViewParameterId; }
    void SetDataViewParameterId(qint32 lId) { m_lDataViewParameterId = lId; }
    void SetSelectedRowsXML(const QString &sXML) { m_sSelectedRowsXML = sXML; }
    void SetDisableMenus(bool bDisable) { m_bDisableMenus = bDisable; }
    void SetDisableColReorder(bool bDisable) { m_bDisableColReorder = bDisable; }
    void SetDisableSavedSettingsRestore(bool bDisable) { m_bDisableSavedSettingsRestore = bDisable; }
    void SetOffline(bool bOffline) { m_bOffline = bOffline; }
    void SetFormCaption(const QString &sCaption);
    qint32 InsertPosition() const { return m_lInsertPosition; }
    void SetInsertPosition(qint32 lPosition);
    qint32 FormatType() const { return m_lFormatType; }
    void SetFormatType(qint32 lFormatType);
    void SetDataServices(const std::shared_ptr<data::DataViewDataServices> &oServices);
    // The data view to show and its kind (1 personal, 2 team). A null data
    // view keeps the one of an earlier call; the reference is left holding
    // the data view the dialog shows.
    void SetDataView(std::shared_ptr<config::DataView> &oDataView, qint32 lDataViewType);
    // Resets the dialog for a new showing; call after the inputs.
    void Prepare();

    // --- results
    bool Cancelled() const { return m_bCancelled; }
    std::shared_ptr<config::DataView> DataView() const { return m_oDataView; }
    qint32 DataViewType() const { return m_lDataViewType; }
    QString Style() const { return m_sStyle; }
    // A new settings object of the current choices.
    std::shared_ptr<biz::Settings> Settings() { return GetDialogSettings(); }
    // True from Prepare until the rows of the first paint are shown, and
    // while rows or a value list are fetched.
    bool Busy() const { return m_bFirstPaint || m_bLoading || m_bFetching; }
    std::shared_ptr<biz::Settings> GetDialogSettings();
    std::shared_ptr<ado::Recordset> GetSelection();
    std::shared_ptr<ado::Recordset> GetRawSelection();

    // Adds the filter of the settings as a custom filter of the data view that
    // the dialog keeps; false when the settings hold none.
    bool AddSavedCustomFilter();
    void UpdateSaveState();

signals:
    void RowsShown();

protected:
    bool event(QEvent *oEvent) override;
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;
    void paintEvent(QPaintEvent *oEvent) override;
    void keyPressEvent(QKeyEvent *oEvent) override;
    void keyReleaseEvent(QKeyEvent *oEvent) override;
    void closeEvent(QCloseEvent *oEvent) override;
    void reject() override;

private:
    // building and layout (frmSelectDataItems.cpp)
    void BuildControls();
    void LayoutControls();
    void FillStyleList(const QString &sStyle);
    void ApplyPositionAndLayout();
    void LoadSettings(bool bReset);
    void UpdateControls();
    void UpdateStatus();
    void MarkChanged();
    void OnLayoutChosen();
    void OnOK();
    void OnCancel();
    void OnSaveSettings();
    void OnSelectAll(bool bSelect);
    void StopFetching();

    // data views and rows (frmSelectDataItemsRows.cpp)
    void FillPicker(qint32 lId, qint32 lType);
    QString PickerKeyOf(int index) const;
    bool SelectPickerKey(const QString &sKey);
    std::shared_ptr<config::ConfigStore> StoreOfKind(qint32 lKind);
    void TakeDataView(const std::shared_ptr<config::DataView> &oDataView, qint32 lType);
    void OnDataViewChosen();
    void OnFirstPaint();
    void FetchAndShowRows();
    void ShowRows(bool bCancelled);
    std::shared_ptr<data::DataViewDataServices> Services();
    void StartProgress(const QString &sMessage);
    void EndProgress();

    // the filter row (frmSelectDataItemsFilter.cpp)
    void ResetFilterRow();
    void PrepareFilterRow();
    void FillOperatorList();
    void ResetValueList();
    void FillValueList();
    void OnFieldChosen();
    void OnValueEdited();
    void OnValueListOpening();
    void OnApplyFilter();
    bool ApplyFilter();
    void RemoveFilter();
    void AfterFilterChange();
    void DiscardUnsavedCustomFilters(bool bKeepCurrent);
    std::shared_ptr<config::Field> ChosenField() const;
    QString EditText(const QString &sValue, const config::Field &oField) const;
    bool FilterApplied() const;

    QLabel *lblDataView = nullptr;
    QComboBox *icboDataView = nullptr;
    QPushButton *cmdLaunchDataViewWizard = nullptr;
    QLabel *lblFilter = nullptr;
    QComboBox *cboField = nullptr;
    QComboBox *cboOperator = nullptr;
    QComboBox *cboParam = nullptr;
    QPushButton *cmdApplyFilter = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdDeselect = nullptr;
    ctlDataViewer *m_oViewer = nullptr;
    QGroupBox *fraFormatting = nullptr;
    QComboBox *cboFormatType = nullptr;
    QComboBox *cboFormatStyle = nullptr;
    QComboBox *cboInsertPosition = nullptr;
    QPushButton *cmdSaveSettings = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QStatusBar *sbrStatusBar = nullptr;

    std::shared_ptr<config::DataView> m_oDataView;
    std::shared_ptr<biz::Settings> m_oSettings;
    std::shared_ptr<biz::ConfigFileSettings> m_oConfigFileSettings;
    std::shared_ptr<config::ConfigStore> m_oPersonalStore;
    std::shared_ptr<config::ConfigStore> m_oTeamStore;
    std::shared_ptr<data::DataViewDataServices> m_oServices;
    std::unique_ptr<ui::ProgressDialog> m_oProgress;
    std::shared_ptr<Collection> m_colTableStyles = std::make_shared<Collection>();
    std::shared_ptr<Collection> m_colParagraphStyles = std::make_shared<Collection>();
    QSet<QString> m_colSavedFilters; // keys of the conditions that stay in the data view
    qint32 m_lSettingsFilterId = 0;  // the condition AddSavedCustomFilter added

    QString m_sSelectedRowsXML;
    QString m_sStyle;
    qint32 m_lDataViewType = -1;
    qint32 m_lFormatType = 2;
    qint32 m_lInsertPosition = 0;
    qint32 m_lDataViewParameterId = 0;
    qint32 m_lDisplayed = 0;
    bool m_bCancelled = false;
    bool m_bForceDataView = false;
    bool m_bShowFormatControls = true;
    bool m_bShowSave = true;
    bool m_bDisableMenus = false;
    bool m_bDisableColReorder = false;
    bool m_bDisableSavedSettingsRestore = false;
    bool m_bOffline = false;
    bool m_bChanged = false;
    bool m_bLoading = false;
    bool m_bFetching = false;
    bool m_bFetchingValues = false;
    bool m_bFillingValues = false;
    bool m_bFirstPaint = true;
    bool m_bHostRows = false;
    bool m_bDataViewShown = false;
    int m_lF1HelpId = 0;
    QSize m_oMinimumSize;
};

} // namespace qv
