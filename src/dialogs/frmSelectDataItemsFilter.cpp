// The Insert Data dialog's filter row: one field, an operator and a value,
// applied as a custom filter of the data view and fetched through it.
#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "data/DataViewDataServices.h"
#include "format/DataFormat.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

namespace qv {

using namespace dialogs;

namespace {

constexpr int kOutlookSource = 1;
constexpr auto kOutlookCategories = "Categories";

const DataFormat &Formats()
{
    thread_local DataFormat oFormat;
    return oFormat;
}

void SelectByData(QComboBox *oCombo, const QVariant &vData)
{
    const int lIndex = oCombo->findData(vData);
    oCombo->setCurrentIndex(lIndex >= 0 ? lIndex : (oCombo->count() > 0 ? 0 : -1));
}

} // namespace

QString frmSelectDataItems::EditText(const QString &sValue, const config::Field &oField) const
{
    // Texts are compared without regard to case by every source, so a text
    // shown "All Uppercase" still finds its rows.
    return Formats().GetFormattedDataForEdit(sValue, oField.DataKind, oField.ViewFormat);
}

std::shared_ptr<config::Field> frmSelectDataItems::ChosenField() const
{
    if (!m_oDataView || cboField->currentIndex() < 0)
        return nullptr;
    return m_oDataView->Fields.ItemById(cboField->currentData().toInt());
}

bool frmSelectDataItems::FilterApplied() const
{
    return cmdApplyFilter->text() == QLatin1String(kRemoveFilterCaption);
}

void frmSelectDataItems::ResetFilterRow()
{
    cboField->clear();
    cboOperator->clear();
    ResetValueList();
    cmdApplyFilter->setText(QString::fromLatin1(kApplyFilterCaption));
    cmdApplyFilter->setEnabled(false);
}

void frmSelectDataItems::ResetValueList()
{
    m_bFillingValues = true;
    cboParam->clear();
    cboParam->addItems({QString::fromLatin1(kNoFilter), QString::fromLatin1(kBlank)});
    cboParam->setCurrentIndex(0);
    m_bFillingValues = false;
}

void frmSelectDataItems::FillOperatorList()
{
    cboOperator->clear();
    const auto oField = ChosenField();
    if (!oField)
        return;
    for (int lCode : m_oConfigFileSettings->AllowedOperators(m_oDataView->Source.Kind, *oField))
        cboOperator->addItem(m_oConfigFileSettings->OperatorText(lCode), lCode);
    if (cboOperator->count() > 0)
        cboOperator->setCurrentIndex(0);
}

void frmSelectDataItems::PrepareFilterRow()
{
    ResetFilterRow();
    if (!m_oDataView)
        return;
    for (const auto &oField : m_oDataView->Fields) {
        if (!oField->Displayed && oField->Conditions.empty())
            continue;
        if (m_oDataView->Source.Kind == kOutlookSource && oField->Name == QLatin1String(kOutlookCategories))
            continue;
        cboField->addItem(oField->DisplayName.isEmpty() ? oField->Name : oField->DisplayName, oField->Id());
    }
    if (cboField->count() > 0)
        cboField->setCurrentIndex(0);
    FillOperatorList();

    bool bSavedFilter = false;
    if (m_lDataViewParameterId <= 0 && AddSavedCustomFilter()) {
        m_lDataViewParameterId = m_lSettingsFilterId;
        bSavedFilter = true;
    }
    if (m_lDataViewParameterId < 1)
        return;
    const auto oField = m_oDataView->Fields.FieldOfCondition(m_lDataViewParameterId);
    const config::Condition *oCondition = oField ? oField->ConditionById(m_lDataViewParameterId) : nullptr;
    if (!oCondition)
        return;
    SelectByData(cboField, oField->Id());
    FillOperatorList();
    const int lCode = m_oConfigFileSettings->OperatorCode(oCondition->Operator);
    SelectByData(cboOperator, lCode);
    const QString sValue = ValueWithoutWildcards(oCondition->Value, lCode);
    m_bFillingValues = true;
    cboParam->setEditText(ShownValue(sValue.isEmpty() ? sValue : EditText(sValue, *oField)));
    m_bFillingValues = false;
    if (bSavedFilter)
        cmdApplyFilter->setText(QString::fromLatin1(kRemoveFilterCaption));
}

bool frmSelectDataItems::AddSavedCustomFilter()
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
    // A dialog shown again adds the saved filter again: drop the last copy.
    if (m_lSettingsFilterId > 0) {
        if (const auto oOld = m_oDataView->Fields.FieldOfCondition(m_lSettingsFilterId)) {
            m_colSavedFilters.remove(CustomFilterKey(oOld->Name, m_lSettingsFilterId));
            oOld->RemoveCondition(m_lSettingsFilterId);
        }
    }
    const config::Condition &oCondition =
        m_oConfigFileSettings->CreateCustomFilter(*oField, m_oSettings->FilterOperator, EditText(sValue, *oField));
    m_lSettingsFilterId = oCondition.Id;
    m_colSavedFilters.insert(CustomFilterKey(oField->Name, oCondition.Id));
    return true;
}

void frmSelectDataItems::DiscardUnsavedCustomFilters(bool bKeepCurrent)
{
    if (m_oDataView)
        DiscardUnsavedFilters(*m_oDataView, m_colSavedFilters, bKeepCurrent ? m_lDataViewParameterId : 0);
}

void frmSelectDataItems::OnFieldChosen()
{
    DiscardUnsavedCustomFilters(false);
    ResetValueList();
    cmdApplyFilter->setText(QString::fromLatin1(kApplyFilterCaption));
    cmdApplyFilter->setEnabled(false);
    FillOperatorList();
    UpdateControls();
}

void frmSelectDataItems::OnValueEdited()
{
    if (m_bFillingValues)
        return;
    cmdApplyFilter->setEnabled(ApplyEnabledForValue(cboParam->currentText(), m_bLoading));
}

bool frmSelectDataItems::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    if (oWatched == cboParam && oEvent->type() == QEvent::KeyPress) {
        const auto *oKey = static_cast<QKeyEvent *>(oEvent);
        if (oKey->key() == Qt::Key_Down && oKey->modifiers() == Qt::NoModifier)
            HandleErrors([this] { OnValueListOpening(); }, QString::fromLatin1(kTitleDataViews));
    }
    return QDialog::eventFilter(oWatched, oEvent);
}

void frmSelectDataItems::OnValueListOpening()
{
    if (cboParam->count() <= 2 && !m_bFetching)
        FillValueList();
    if (!m_bFillingValues)
        cmdApplyFilter->setEnabled(ApplyEnabledForValue(cboParam->currentText(), m_bLoading));
}

void frmSelectDataItems::FillValueList()
{
    const auto oField = ChosenField();
    if (!oField || Formats().IsMemo(oField->AdoType))
        return;
    const QString sTyped = cboParam->currentText();
    StartProgress(QString::fromLatin1(kRetrievingValueList));
    m_bFetchingValues = true;
    std::shared_ptr<Dictionary> colValues;
    try {
        colValues = Services()->GetValueList(m_oDataView, oField->Name, -1, m_bOffline, true);
    } catch (...) {
        m_bFetchingValues = false;
        EndProgress();
        throw;
    }
    const bool bCancelled = Services()->Cancelled();
    m_bFetchingValues = false;
    EndProgress();
    if (bCancelled || !colValues)
        return;
    m_bFillingValues = true;
    cboParam->clear();
    cboParam->addItems({QString::fromLatin1(kNoFilter), QString::fromLatin1(kBlank)});
    for (const Variant &vValue : colValues->Keys())
        cboParam->addItem(EditText(vValue.ToText(), *oField));
    if (sTyped == QLatin1String(kNoFilter))
        cboParam->setCurrentIndex(0);
    else
        cboParam->setEditText(sTyped);
    m_bFillingValues = false;
}

void frmSelectDataItems::OnApplyFilter()
{
    if (FilterApplied())
        RemoveFilter();
    else if (!ApplyFilter())
        return; // the value was refused: the focus stays on it
    UpdateControls();
    if (cmdApplyFilter->isEnabled())
        cmdApplyFilter->setFocus();
}

bool frmSelectDataItems::ApplyFilter()
{
    const auto oField = ChosenField();
    if (!oField)
        return false;
    const QString sValue = cboParam->currentText().trimmed();
    const int lCode = cboOperator->currentData().toInt();
    if (!ValueNeedsNoCheck(sValue) && !m_oConfigFileSettings->IsValueValid(sValue, *oField)) {
        ShowMessage(InvalidFilterMessage(cboField->currentText(), cboOperator->currentText(), cboParam->currentText()),
                    QString::fromLatin1(kTitleDataViews), 64);
        cboParam->setFocus();
        return false;
    }
    DiscardUnsavedCustomFilters(false);
    if (ValueIsFilter(sValue)) {
        QString sStored = StoredValue(sValue);
        if (!sStored.isEmpty())
            sStored = EditText(sStored, *oField);
        m_bFillingValues = true;
        cboParam->setEditText(ShownValue(sStored));
        m_bFillingValues = false;
        m_lDataViewParameterId = m_oConfigFileSettings->CreateCustomFilter(*oField, lCode, sStored).Id;
    }
    AfterFilterChange();
    cmdApplyFilter->setText(QString::fromLatin1(kRemoveFilterCaption));
    cmdApplyFilter->setEnabled(true); // showing the rows disabled it; Remove must stay reachable
    return true;
}

void frmSelectDataItems::RemoveFilter()
{
    DiscardUnsavedCustomFilters(false);
    if (m_lSettingsFilterId > 0 && m_lDataViewParameterId == m_lSettingsFilterId) {
        if (const auto oField = m_oDataView->Fields.FieldOfCondition(m_lSettingsFilterId)) {
            m_colSavedFilters.remove(CustomFilterKey(oField->Name, m_lSettingsFilterId));
            oField->RemoveCondition(m_lSettingsFilterId);
        }
        m_lSettingsFilterId = 0;
    }
    m_lDataViewParameterId = 0;
    AfterFilterChange();
    cmdApplyFilter->setText(QString::fromLatin1(kApplyFilterCaption));
    cmdApplyFilter->setEnabled(ApplyEnabledForValue(cboParam->currentText(), m_bLoading));
}

void frmSelectDataItems::AfterFilterChange()
{
    // The columns keep the layout the user gave them across the new fetch.
    m_oSettings = GetDialogSettings();
    m_bHostRows = false;
    FetchAndShowRows();
    m_oSettings = GetDialogSettings();
    m_oViewer->SetDataviewerColumnsSettings(m_oSettings->Columns);
    UpdateStatus();
    UpdateSaveState();
}

} // namespace qv
