#pragma once

#include <QSet>
#include <QString>

#include <memory>

namespace qv::config {
class DataView;
}

// What the Insert Data and View Data windows decide that is not drawing:
// texts, enabled states and the filter bookkeeping, as plain functions.
namespace qv::dialogs {

inline constexpr auto kNoFilter = "(no filter)";
inline constexpr auto kBlank = "(blank)";
inline constexpr auto kApplyFilterCaption = "Apply &Filter";
inline constexpr auto kRemoveFilterCaption = "Remove &Filter";
inline constexpr auto kRetrievingData = "Retrieving data...";
inline constexpr auto kRetrievingValueList = "Retrieving field value list...";
inline constexpr int kNoStyleString = 81332;

// The row count line of both windows: "3 of 1,200 records selected",
// "First 2,000 of 50,000 records displayed", "12 records displayed" or "".
// A total below 0 is still being counted: "First 2,000 of 2,000+ records
// displayed", "3 of 2,000+ records selected".
QString StatusText(qint64 lDisplayed, qint64 lSelected, qint64 lTotal);
// The line of a load that gave no rows, against the rows there are without
// the dialog's filter: "0 of 1,200 records"; "0 records" when that count is
// not known or none.
QString EmptyStatusText(qint64 lUnfiltered);
// What the empty list says.
inline constexpr auto kNoMatchingRecords = "No records match the filter.";
inline constexpr auto kNoRecords = "This data view has no records.";

// The data view's full row count for the status line: 0 without rows, -1
// while the source still counts (never waited for).
qint64 TotalOf(const std::shared_ptr<config::DataView> &oDataView);
// True while the data view's rows are still being counted.
bool CountPending(const std::shared_ptr<config::DataView> &oDataView);

// The layout list: its resource strings in list order and their layouts.
int LayoutCount();
int LayoutStringId(int lIndex);
qint32 LayoutFormatType(int lIndex);
// The layout of a list text (0 when it names none) and the list entry of a
// layout (the first one that maps to it, else the first entry).
qint32 FormatTypeOfLayoutText(const QString &sText);
int LayoutIndexOfFormatType(qint32 lFormatType);
// The first three layouts are tables and take table styles.
inline bool IsTableLayout(int lIndex) { return lIndex >= 0 && lIndex < 3; }

// Select All, Deselect All and OK for the rows the viewer holds. With check
// boxes and nothing ticked, a single row is ticked for the user (bTickOnlyRow).
struct SelectionButtons
{
    bool bSelectAll = false;
    bool bDeselectAll = false;
    bool bOK = false;
    bool bTickOnlyRow = false;
};
SelectionButtons SelectionButtonStates(bool bCheckBoxes, qint64 lRows, qint64 lChosen);

// The filter row: label and field list follow the data view, operator and
// value lists need operators, and Apply Filter keeps its state only while
// the lists are usable.
struct FilterRowState
{
    bool bField = false;
    bool bOperator = false;
    bool bParam = false;
    bool bApply = false;
};
FilterRowState FilterRowStates(bool bHasDataView, int lOperatorCount, bool bApplyNow);

// Whether a typed or chosen value lets Apply Filter be pressed.
bool ApplyEnabledForValue(const QString &sValue, bool bLoading);
// "(no filter)", "" and "(blank)" are taken without a type check.
bool ValueNeedsNoCheck(const QString &sValue);
// True when the value names a filter to write into the settings.
bool ValueIsFilter(const QString &sValue);
inline QString StoredValue(const QString &sValue) { return sValue == QLatin1String(kBlank) ? QString() : sValue; }
inline QString ShownValue(const QString &sValue) { return sValue.isEmpty() ? QString::fromLatin1(kBlank) : sValue; }
// "like" (7) and "contains" (8) keep their wildcards in the stored value; the
// value box shows it without them.
QString ValueWithoutWildcards(const QString &sValue, int lOperatorCode);
QString InvalidFilterMessage(const QString &sField, const QString &sOperator, const QString &sValue);

// Custom filters: the key of a condition in the saved-filters set, every
// key a data view has now, and the removal of those not saved (all but
// lKeepId when it is above 0).
QString CustomFilterKey(const QString &sFieldName, qint32 lConditionId);
QSet<QString> ConditionKeys(const config::DataView &oDataView);
int DiscardUnsavedFilters(config::DataView &oDataView, const QSet<QString> &colSaved, qint32 lKeepId = 0);

// The last data view chosen with OK, in the user's registry; registry
// failures read as none (-1 type) and are not reported.
struct LastDataView
{
    qint32 lId = 0;
    qint32 lType = -1;
};
LastDataView ReadLastDataView();
void WriteLastDataView(qint32 lId, qint32 lType);

} // namespace qv::dialogs

namespace qv::dialogs {

// The first letter of every word upper case, the rest lower case.
QString ProperCase(const QString &sText);

// The View Data window's progress title: the name and " Rows" in proper
// case, "(Untitled) Rows" for a data view without a name.
QString ViewProgressTitle(const QString &sName);

// The View Data window's place: its position and the Close button's, in
// twips, under the component's registry key.
struct ViewPlacement
{
    qint32 lCloseLeft = 7260;
    qint32 lCloseTop = 6300;
    qint32 lFormLeft = 400;
    qint32 lFormTop = 400;
    friend bool operator==(const ViewPlacement &, const ViewPlacement &) = default;
};
ViewPlacement ReadViewPlacement();
void WriteViewPlacement(const ViewPlacement &oPlacement);

} // namespace qv::dialogs
