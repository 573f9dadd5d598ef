#pragma once

#include "SelectDataRequest.h"
#include "SelectDataRules.h"

#include "config/ConfigObjects.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

namespace qv::biz {
class ColumnSettings;
class ConfigFileSettings;
}
namespace qv::config {
class Field;
}

namespace qv::dialogs {

// What the Insert Data widgets hold when settings or the result are built.
struct SelectChoices
{
    qint32 lPickerKind = 0; // the kind of the picker's data view (0: none, or no picker)
    QString sLayoutText;
    QString sStyleText;     // as the style box shows it
    qint32 lInsertPosition = 0;
    QString sFilterField;   // the chosen field's name
    qint32 lFilterOperator = 0;
    QString sFilterValue;   // the value box's text
    std::shared_ptr<biz::ColumnSettings> oColumns;
};

// Which controls of the dialog take input now.
struct SelectControls
{
    FilterRowState oFilter;
    SelectionButtons oButtons;
    bool bSaveSettings = false;
};

// The Insert Data dialog's decisions, without a widget: the request of the
// current showing, the data view and its kind, whether rows are awaited or
// a fetch runs, whether the choices changed, the filter bookkeeping (which
// conditions belong to the data view and which the dialog added), the
// enabled states, and the settings and result it hands back.
class SelectDataState
{
public:
    enum class Fetch { None, Rows, Values };
    // How a text typed for a field becomes the text stored in its condition.
    using EditText = std::function<QString(const QString &, const config::Field &)>;

    SelectDataState();

    // --- a showing
    // Takes the request: its data view (or the one kept from the last
    // showing), its options, and rows awaited until the first fetch ends.
    void Begin(const SelectDataRequest &oRequest);
    const SelectDataRequest &Request() const { return m_oRequest; }
    // Whether the picker is shown (no data view given, or the host asked).
    bool ShowPicker() const { return m_bForceDataView; }
    void SetShowPicker(bool bShow) { m_bForceDataView = bShow; }

    // --- the data view
    // A data view that arrives with rows shows them as they are.
    void TakeDataView(const std::shared_ptr<config::DataView> &oDataView, qint32 lType, bool bHostRows = false);
    const std::shared_ptr<config::DataView> &DataView() const { return m_oDataView; }
    qint32 DataViewType() const { return m_lDataViewType; }
    bool HostRows() const { return m_bHostRows; }
    void ForgetHostRows() { m_bHostRows = false; }

    // --- the saved choices
    // The settings the showing starts from: the request's, else (with
    // bReset, or when the request had none) those saved for the data view,
    // unless restoring them is off. Null when there are none.
    std::shared_ptr<biz::Settings> LoadSettings(bool bReset);
    const std::shared_ptr<biz::Settings> &Settings() const { return m_oSettings; }
    void SetSettings(std::shared_ptr<biz::Settings> oSettings) { m_oSettings = std::move(oSettings); }
    qint32 FormatType() const { return m_lFormatType; }
    qint32 InsertPosition() const { return m_lInsertPosition; }
    const QString &Style() const { return m_sStyle; }
    void SetLayout(qint32 lFormatType, qint32 lInsertPosition);
    void SetStyle(const QString &sStyle) { m_sStyle = sStyle; }

    // --- fetching
    bool RowsPending() const { return m_bRowsPending; }
    void SetRowsPending(bool bPending) { m_bRowsPending = bPending; }
    Fetch Fetching() const { return m_eFetch; }
    // Not while another fetch runs: there is never a second one inside it.
    bool CanFetch() const { return m_eFetch == Fetch::None; }
    void FetchStarted(Fetch eFetch);
    void FetchEnded();
    bool Busy() const { return m_bRowsPending || m_eFetch != Fetch::None; }
    // Lists filled while rows are awaited or fetched are not the user's doing.
    bool Loading() const { return m_bRowsPending || m_eFetch == Fetch::Rows; }
    // F5 fetches the rows again: not under a filter, offline, or while busy.
    bool RefreshAllowed() const;
    qint32 Displayed() const { return m_lDisplayed; }
    void SetDisplayed(qint32 lDisplayed) { m_lDisplayed = lDisplayed; }

    // --- changes worth saving
    // A choice the user made; not while loading, nor with "(New Data View)" picked.
    void MarkChanged(bool bNewDataViewPicked);
    void ClearChanged() { m_bChanged = false; }
    bool Changed() const { return m_bChanged; }

    // --- the filter
    bool FilterApplied() const { return m_bFilterApplied; }
    qint32 ParameterId() const { return m_lParameterId; }
    // Adds the filter of the settings as a custom filter of the data view,
    // kept while the dialog lives; false when the settings hold none.
    bool AddSavedCustomFilter(const EditText &editText);
    // Puts the filter row's condition (the host's or the saved one) in
    // force: the field and condition it names, or none.
    struct ShownCondition
    {
        std::shared_ptr<config::Field> oField;
        qint32 lOperatorCode = 0;
        QString sValue; // without wildcards, as the condition stores it
    };
    ShownCondition PrepareFilter(const EditText &editText);
    // Conditions the dialog added and did not save leave the data view.
    void DiscardUnsavedFilters(bool bKeepCurrent = false);
    // Applies a condition on the field (an empty value is "(blank)"; none
    // at all when bAdd is false) in place of the filter in force, and
    // answers its id (0 for none).
    qint32 ApplyFilter(config::Field &oField, int lOperatorCode, const QString &sStoredValue, bool bAdd);
    // Takes the filter in force away, the host's condition included: the
    // rows come without it.
    void RemoveFilter();
    // A new field in the filter row undoes an applied filter.
    void FieldChanged();
    const biz::ConfigFileSettings &ConfigFileSettings() const { return *m_oConfigFileSettings; }

    // Whether Apply (or Remove) Filter can be pressed: after a filter
    // applies, after a choice of operator or value, never while loading.
    void SetApplyWanted(bool bWanted) { m_bApplyWanted = bWanted && !Loading(); }
    bool ApplyWanted() const { return m_bApplyWanted; }

    // --- what the widgets show
    SelectControls Controls(qint64 lRows, qint64 lChosen, int lOperatorCount) const;
    QString Status(qint64 lChosen) const;
    // Remembers the row count of a load without the dialog's filter, which
    // an empty filtered load is told against.
    void NoteTotal();
    // Why a loaded list is empty.
    QString EmptyListText() const;

    // --- the answer
    // The choices as a settings object of the data view.
    std::shared_ptr<biz::Settings> BuildSettings(const SelectChoices &oChoices) const;
    // Builds the result of the showing, once; OK also takes the choices
    // as the next showing's defaults.
    void Finish(bool bCancelled, const SelectChoices &oChoices, std::shared_ptr<ado::Recordset> oSelection,
                std::shared_ptr<ado::Recordset> oRawSelection);
    const SelectDataResult &Result() const { return m_oResult; }

private:
    // Takes the condition AddSavedCustomFilter added out of the data view.
    void DropSettingsFilter();
    // Takes the filter in force out of the data view: one the dialog added
    // goes, one of the data view's own (the host's) is set aside until the
    // showing ends.
    void TakeOutFilterInForce();
    // Puts the conditions set aside back where they were.
    void RestoreSetAside();

    SelectDataRequest m_oRequest;
    SelectDataResult m_oResult;
    std::shared_ptr<biz::ConfigFileSettings> m_oConfigFileSettings;
    std::shared_ptr<config::DataView> m_oDataView;
    std::shared_ptr<biz::Settings> m_oSettings;
    QSet<QString> m_colSavedFilters; // keys of the conditions that stay in the data view
    // The data view's own conditions a filter replaced or Remove took away,
    // by field name, put back when the showing ends.
    QList<QPair<QString, config::Condition>> m_colSetAside;
    qint32 m_lSettingsFilterId = 0;  // the condition AddSavedCustomFilter added
    qint32 m_lParameterId = 0;       // the condition the filter row shows
    qint32 m_lDataViewType = -1;
    qint32 m_lFormatType = 2;
    qint32 m_lInsertPosition = 2;
    qint32 m_lDisplayed = 0;
    qint64 m_lUnfilteredTotal = -1;
    QString m_sStyle;
    Fetch m_eFetch = Fetch::None;
    bool m_bRowsPending = false;
    bool m_bForceDataView = false;
    bool m_bHostRows = false;
    bool m_bChanged = false;
    bool m_bFilterApplied = false;
    bool m_bApplyWanted = false;
};

} // namespace qv::dialogs
