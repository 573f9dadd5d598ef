#pragma once

#include "SelectDataState.h"
#include "scripting/Collection.h"

#include <QDialog>
#include <QPointer>
#include <QSet>

#include <exception>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;

namespace qv {
class ctlDataViewer;
class Dictionary;
class FetchRunner;
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

namespace qv {

// The Insert Data dialog: the user picks or keeps a data view, may filter
// its rows by one field, ticks rows and chooses a layout, a style and an
// insert position. A caller runs it through RunSelectData with a request
// and reads the result; OK and Cancel (and the close box) hide the dialog,
// which keeps its data view for the next showing.
//
// What the dialog decides lives in its SelectDataState; the widget shows
// that state and forwards input to it. The rows are fetched once the window
// is shown, through the request's data services (a private object when it
// names none), as jobs of its FetchRunner: while one runs, the dialog takes
// no input that could start another. RowsShown is emitted each time rows
// have been fetched and put into the viewer.
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

    // Sets the dialog up for a new showing; the rows come once it is shown.
    void Prepare(const dialogs::SelectDataRequest &oRequest);
    // The answer of the last showing, built when it closed.
    const dialogs::SelectDataResult &Result() const { return m_oState.Result(); }
    const dialogs::SelectDataState &State() const { return m_oState; }
    // True from Prepare until the first rows are shown, and while rows or a
    // value list are fetched.
    bool Busy() const { return m_oState.Busy(); }

signals:
    void RowsShown();

protected:
    bool event(QEvent *oEvent) override;
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;
    void showEvent(QShowEvent *oEvent) override;
    void keyPressEvent(QKeyEvent *oEvent) override;
    void keyReleaseEvent(QKeyEvent *oEvent) override;
    void closeEvent(QCloseEvent *oEvent) override;
    void reject() override;

private:
    // building and layout (frmSelectDataItems.cpp)
    void BuildControls();
    void ConnectControls();
    void LayoutControls();
    void ApplyPositionAndLayout();
    void OnOK();
    void OnCancel();
    void OnRefresh();
    void Close(bool bCancelled);

    // the choices (frmSelectDataItemsChoices.cpp)
    void LoadSettings(bool bReset);
    // Lists the styles of the chosen layout and shows sStyle; with
    // bListedOnly a style the list lacks gives way to "no style".
    void FillStyleList(const QString &sStyle, bool bListedOnly = false);
    void OnLayoutChosen();
    void OnStyleChosen();
    void MarkChanged();
    void UpdateControls();
    void UpdateStatus();
    void OnSelectAll(bool bSelect);
    void OnSaveSettings();
    dialogs::SelectChoices Choices() const;

    // data views and rows (frmSelectDataItemsRows.cpp)
    void FillPicker(qint32 lId, qint32 lType);
    QString PickerKeyOf(int index) const;
    bool SelectPickerKey(const QString &sKey);
    std::shared_ptr<config::ConfigStore> StoreOfKind(qint32 lKind);
    void OnDataViewChosen();
    void OnFirstShow();
    void FetchRows(std::function<void()> then = {});
    void ShowRows(bool bCancelled);
    void ShowFailedLoad();

    // a source that moved (frmSelectDataItemsLocate.cpp)
    void OnLoadFailed(const std::exception_ptr &oFailure);
    void LocateSource();
    // The wizard button: a new data view for "(New Data View)", else the
    // shown one edited; the picker then shows what the wizard left
    // (frmSelectDataItemsWizard.cpp).
    void LaunchDataViewWizard();
    std::shared_ptr<data::DataViewDataServices> Services();

    // the filter row (frmSelectDataItemsFilter.cpp)
    void ResetFilterRow();
    void PrepareFilterRow();
    void FillOperatorList();
    void ResetValueList();
    void FillValueList();
    void ShowValueList(const Dictionary &colValues, const QString &sTyped);
    void OnFieldChosen();
    void OnValueEdited();
    void OnValueListOpening();
    void OnApplyFilter();
    bool ApplyFilter();
    void RemoveFilter();
    void AfterFilterChange();
    std::shared_ptr<config::Field> ChosenField() const;
    QString EditText(const QString &sValue, const config::Field &oField) const;

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

    dialogs::SelectDataState m_oState;
    FetchRunner *m_oFetch = nullptr;
    std::shared_ptr<config::ConfigStore> m_oPersonalStore;
    std::shared_ptr<config::ConfigStore> m_oTeamStore;
    std::shared_ptr<data::DataViewDataServices> m_oServices;
    QSize m_oMinimumSize;
};

// Shows the dialog for the request through the modal helper and answers its
// result: the one way callers, DVUser and tests alike, run Insert Data.
const dialogs::SelectDataResult &RunSelectData(frmSelectDataItems &oForm, const dialogs::SelectDataRequest &oRequest);

} // namespace qv
