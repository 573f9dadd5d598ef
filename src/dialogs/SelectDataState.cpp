#include "SelectDataState.h"

#include "ado/Recordset.h"
#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"

namespace qv::dialogs {

SelectDataState::SelectDataState() : m_oConfigFileSettings(std::make_shared<biz::ConfigFileSettings>())
{
}

void SelectDataState::Begin(const SelectDataRequest &oRequest)
{
    m_oRequest = oRequest;
    m_oResult = SelectDataResult();
    m_oSettings = oRequest.oSettings;
    m_bForceDataView = oRequest.bForceDataView;
    m_lParameterId = oRequest.lDisplayParam;
    m_lFormatType = oRequest.lFormatType;
    m_lInsertPosition = oRequest.lInsertPosition;
    m_lDisplayed = 0;
    m_bRowsPending = true;
    m_bChanged = false;
    m_bFilterApplied = false;
    m_bApplyWanted = false;
    m_bHostRows = false;
    if (oRequest.oDataView) {
        TakeDataView(oRequest.oDataView, oRequest.lDataViewType, bool(oRequest.oDataView->Recordset));
        return;
    }
    // Nothing given: the user picks, starting from the data view kept from
    // the last showing, if any.
    if (!m_oDataView)
        m_lDataViewType = oRequest.lDataViewType;
    m_bForceDataView = true;
}

void SelectDataState::TakeDataView(const std::shared_ptr<config::DataView> &oDataView, qint32 lType, bool bHostRows)
{
    // The data view that goes gets back what the showing set aside.
    RestoreSetAside();
    m_oDataView = oDataView;
    m_lDataViewType = lType;
    m_bHostRows = bHostRows && oDataView;
    m_lSettingsFilterId = 0;
    m_lDisplayed = 0;
    m_lUnfilteredTotal = -1;
    m_bFilterApplied = false;
    // The data view's own conditions are part of its definition and stay.
    m_colSavedFilters = oDataView ? ConditionKeys(*oDataView) : QSet<QString>();
}

std::shared_ptr<biz::Settings> SelectDataState::LoadSettings(bool bReset)
{
    if (bReset)
        m_oSettings.reset();
    // Without Save, saved choices are neither made nor restored.
    if (!m_oSettings && m_oRequest.bShowSave && m_oDataView) {
        auto oSettings = std::make_shared<biz::Settings>();
        if (oSettings->Load(m_oDataView->TextKey()))
            m_oSettings = oSettings;
    }
    if (!m_oSettings)
        return nullptr;
    m_lInsertPosition = m_oSettings->InsertPosition;
    m_lFormatType = m_oSettings->FormatType;
    m_sStyle = m_oSettings->StyleName;
    return m_oSettings;
}

void SelectDataState::SetLayout(qint32 lFormatType, qint32 lInsertPosition)
{
    m_lFormatType = lFormatType;
    m_lInsertPosition = lInsertPosition;
}

void SelectDataState::FetchStarted(Fetch eFetch)
{
    Q_ASSERT(CanFetch() && eFetch != Fetch::None);
    m_eFetch = eFetch;
    m_bApplyWanted = false;
}

void SelectDataState::FetchEnded()
{
    if (m_eFetch == Fetch::Rows)
        m_bRowsPending = false;
    m_eFetch = Fetch::None;
}

bool SelectDataState::RefreshAllowed() const
{
    return m_oDataView && !m_bFilterApplied && !m_oRequest.bOffline && !Busy();
}

void SelectDataState::MarkChanged(bool bNewDataViewPicked)
{
    if (Loading())
        return;
    if (m_bForceDataView && bNewDataViewPicked)
        return;
    m_bChanged = true;
}

SelectControls SelectDataState::Controls(qint64 lRows, qint64 lChosen, int lOperatorCount) const
{
    SelectControls oControls;
    oControls.oFilter = FilterRowStates(bool(m_oDataView), lOperatorCount, m_bApplyWanted);
    oControls.oButtons = SelectionButtonStates(m_oRequest.bCheckBoxes, lRows, lChosen);
    oControls.bSaveSettings = m_oRequest.bShowSave && m_bChanged;
    return oControls;
}

QString SelectDataState::Status(qint64 lChosen) const
{
    const qint64 lTotal = TotalOf(m_oDataView);
    if (lTotal == 0 && !Busy() && m_oDataView && m_oDataView->Recordset)
        return EmptyStatusText(m_bFilterApplied ? m_lUnfilteredTotal : 0);
    return StatusText(m_lDisplayed, lChosen, lTotal);
}

void SelectDataState::NoteTotal()
{
    const qint64 lTotal = TotalOf(m_oDataView);
    if (!m_bFilterApplied && lTotal >= 0)
        m_lUnfilteredTotal = lTotal;
}

QString SelectDataState::EmptyListText() const
{
    return QString::fromLatin1(m_bFilterApplied ? kNoMatchingRecords : kNoRecords);
}

std::shared_ptr<biz::Settings> SelectDataState::BuildSettings(const SelectChoices &oChoices) const
{
    auto oSettings = std::make_shared<biz::Settings>();
    if (m_oDataView) {
        oSettings->DataViewName = m_oDataView->Name;
        oSettings->DataViewKey = m_oDataView->TextKey();
    }
    oSettings->DataViewType = oChoices.lPickerKind != 0 ? oChoices.lPickerKind : m_lDataViewType;
    oSettings->FilterSet = false;
    if (m_lParameterId > 0 && ValueIsFilter(oChoices.sFilterValue)) {
        oSettings->FilterField = oChoices.sFilterField;
        oSettings->FilterOperator = oChoices.lFilterOperator;
        oSettings->FilterValue = StoredValue(oChoices.sFilterValue.trimmed());
        oSettings->FilterSet = true;
    }
    oSettings->FormatType = FormatTypeOfLayoutText(oChoices.sLayoutText);
    oSettings->StyleName = oChoices.sStyleText == LoadResString(kNoStyleString) ? QString() : oChoices.sStyleText;
    oSettings->InsertPosition = oChoices.lInsertPosition;
    if (oChoices.oColumns)
        oSettings->Columns = oChoices.oColumns;
    return oSettings;
}

void SelectDataState::Finish(bool bCancelled, const SelectChoices &oChoices,
                             std::shared_ptr<ado::Recordset> oSelection, std::shared_ptr<ado::Recordset> oRawSelection)
{
    // Every condition the showing added leaves the data view with it; the
    // saved filter comes back from the settings next time.
    DiscardUnsavedFilters(false);
    DropSettingsFilter();
    RestoreSetAside();
    m_oResult = SelectDataResult();
    m_oResult.m_bCancelled = bCancelled;
    m_oResult.m_oDataView = m_oDataView;
    m_oResult.m_lDataViewType = m_lDataViewType;
    if (bCancelled)
        return;
    const auto oSettings = BuildSettings(oChoices);
    SetLayout(oSettings->FormatType, oSettings->InsertPosition);
    m_sStyle = oSettings->StyleName;
    m_oResult.m_oSettings = oSettings;
    m_oResult.m_sStyle = m_sStyle;
    m_oResult.m_oSelection = std::move(oSelection);
    m_oResult.m_oRawSelection = std::move(oRawSelection);
}

} // namespace qv::dialogs
