// The Insert Data state's filter bookkeeping: which conditions belong to the
// data view, which the dialog added, and which one the filter row shows.
#include "SelectDataState.h"

#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "config/ConfigObjects.h"

namespace qv::dialogs {

bool SelectDataState::AddSavedCustomFilter(const EditText &editText)
{
    if (!m_oSettings || !m_oDataView || !m_oSettings->FilterSet)
        return false;
    const QString sValue = m_oSettings->FilterValue.trimmed();
    if (sValue.isEmpty())
        return false;
    bool bNumeric = false;
    const qint32 lFieldId = m_oSettings->FilterField.toInt(&bNumeric);
    const auto oField = bNumeric ? m_oDataView->Fields.ItemById(lFieldId) : m_oDataView->Fields.Item(m_oSettings->FilterField);
    if (!oField)
        return false;
    DropSettingsFilter();
    const config::Condition &oCondition =
        m_oConfigFileSettings->CreateCustomFilter(*oField, m_oSettings->FilterOperator, editText(sValue, *oField));
    m_lSettingsFilterId = oCondition.Id;
    m_colSavedFilters.insert(CustomFilterKey(oField->Name, oCondition.Id));
    return true;
}

SelectDataState::ShownCondition SelectDataState::PrepareFilter(const EditText &editText)
{
    m_bFilterApplied = false;
    m_bApplyWanted = false;
    if (!m_oDataView)
        return {};
    bool bSavedFilter = false;
    if (m_lParameterId <= 0 && AddSavedCustomFilter(editText)) {
        m_lParameterId = m_lSettingsFilterId;
        bSavedFilter = true;
    }
    if (m_lParameterId < 1)
        return {};
    const auto oField = m_oDataView->Fields.FieldOfCondition(m_lParameterId);
    const config::Condition *oCondition = oField ? oField->ConditionById(m_lParameterId) : nullptr;
    if (!oCondition)
        return {};
    ShownCondition oShown;
    oShown.oField = oField;
    oShown.lOperatorCode = m_oConfigFileSettings->OperatorCode(oCondition->Operator);
    oShown.sValue = ValueWithoutWildcards(oCondition->Value, oShown.lOperatorCode);
    // The condition shown is in force, the host's as much as a saved one:
    // the button offers to remove it.
    Q_UNUSED(bSavedFilter);
    m_bFilterApplied = true;
    m_bApplyWanted = true;
    return oShown;
}

void SelectDataState::DiscardUnsavedFilters(bool bKeepCurrent)
{
    if (m_oDataView)
        dialogs::DiscardUnsavedFilters(*m_oDataView, m_colSavedFilters, bKeepCurrent ? m_lParameterId : 0);
}

void SelectDataState::TakeOutFilterInForce()
{
    if (!m_oDataView || m_lParameterId <= 0)
        return;
    if (m_lParameterId == m_lSettingsFilterId) {
        DropSettingsFilter();
        return;
    }
    const auto oField = m_oDataView->Fields.FieldOfCondition(m_lParameterId);
    const config::Condition *oCondition = oField ? oField->ConditionById(m_lParameterId) : nullptr;
    if (!oCondition)
        return;
    const QString sKey = CustomFilterKey(oField->Name, m_lParameterId);
    if (m_colSavedFilters.contains(sKey)) {
        m_colSetAside.append({oField->Name, *oCondition});
        m_colSavedFilters.remove(sKey);
    }
    oField->RemoveCondition(m_lParameterId);
    m_lParameterId = 0;
}

void SelectDataState::RestoreSetAside()
{
    for (const auto &[sField, oCondition] : std::as_const(m_colSetAside)) {
        const auto oField = m_oDataView ? m_oDataView->Fields.Item(sField) : nullptr;
        if (!oField || oField->ConditionById(oCondition.Id))
            continue;
        oField->Conditions.push_back(oCondition);
        m_colSavedFilters.insert(CustomFilterKey(sField, oCondition.Id));
    }
    m_colSetAside.clear();
}

qint32 SelectDataState::ApplyFilter(config::Field &oField, int lOperatorCode, const QString &sStoredValue, bool bAdd)
{
    TakeOutFilterInForce();
    DiscardUnsavedFilters(false);
    if (bAdd)
        m_lParameterId = m_oConfigFileSettings->CreateCustomFilter(oField, lOperatorCode, sStoredValue).Id;
    m_bHostRows = false;
    m_bFilterApplied = true;
    return bAdd ? m_lParameterId : 0;
}

void SelectDataState::DropSettingsFilter()
{
    if (!m_oDataView || m_lSettingsFilterId <= 0)
        return;
    if (const auto oField = m_oDataView->Fields.FieldOfCondition(m_lSettingsFilterId)) {
        m_colSavedFilters.remove(CustomFilterKey(oField->Name, m_lSettingsFilterId));
        oField->RemoveCondition(m_lSettingsFilterId);
    }
    if (m_lParameterId == m_lSettingsFilterId)
        m_lParameterId = 0;
    m_lSettingsFilterId = 0;
}

void SelectDataState::RemoveFilter()
{
    TakeOutFilterInForce();
    DiscardUnsavedFilters(false);
    m_lParameterId = 0;
    m_bHostRows = false;
    m_bFilterApplied = false;
}

void SelectDataState::FieldChanged()
{
    DiscardUnsavedFilters(false);
    m_bFilterApplied = false;
    m_bApplyWanted = false;
}

} // namespace qv::dialogs
