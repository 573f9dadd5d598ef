// The Insert Data dialog's filter row: one field, an operator and a value,
// applied as a custom filter of the data view and fetched through it.
#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "scripting/Dictionary.h"
#include "format/DataFormat.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QAbstractItemView>
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
    const auto &oDataView = m_oState.DataView();
    if (!oDataView || cboField->currentIndex() < 0)
        return nullptr;
    return oDataView->Fields.ItemById(cboField->currentData().toInt());
}

void frmSelectDataItems::ResetFilterRow()
{
    cboField->clear();
    cboOperator->clear();
    ResetValueList();
}

void frmSelectDataItems::ResetValueList()
{
    const QSignalBlocker oBlock(cboParam);
    cboParam->clear();
    cboParam->addItems({QString::fromLatin1(kNoFilter), QString::fromLatin1(kBlank)});
    cboParam->setCurrentIndex(0);
}

void frmSelectDataItems::FillOperatorList()
{
    cboOperator->clear();
    const auto oField = ChosenField();
    if (!oField)
        return;
    const biz::ConfigFileSettings &oFiles = m_oState.ConfigFileSettings();
    for (int lCode : oFiles.AllowedOperators(m_oState.DataView()->Source.Kind, *oField))
        cboOperator->addItem(oFiles.OperatorText(lCode), lCode);
    if (cboOperator->count() > 0)
        cboOperator->setCurrentIndex(0);
}

void frmSelectDataItems::PrepareFilterRow()
{
    ResetFilterRow();
    const auto &oDataView = m_oState.DataView();
    if (!oDataView)
        return;
    for (const auto &oField : oDataView->Fields) {
        if (!oField->Displayed && oField->Conditions.empty())
            continue;
        if (oDataView->Source.Kind == kOutlookSource && oField->Name == QLatin1String(kOutlookCategories))
            continue;
        cboField->addItem(oField->DisplayName.isEmpty() ? oField->Name : oField->DisplayName, oField->Id());
    }
    if (cboField->count() > 0)
        cboField->setCurrentIndex(0);
    FillOperatorList();

    const auto oShown = m_oState.PrepareFilter([this](const QString &sValue, const config::Field &oField) {
        return EditText(sValue, oField);
    });
    if (!oShown.oField)
        return;
    SelectByData(cboField, oShown.oField->Id());
    FillOperatorList();
    SelectByData(cboOperator, oShown.lOperatorCode);
    const QSignalBlocker oBlock(cboParam);
    cboParam->setEditText(ShownValue(oShown.sValue.isEmpty() ? oShown.sValue : EditText(oShown.sValue, *oShown.oField)));
}

void frmSelectDataItems::OnFieldChosen()
{
    m_oState.FieldChanged();
    ResetValueList();
    FillOperatorList();
    UpdateControls();
}

void frmSelectDataItems::OnValueEdited()
{
    m_oState.SetApplyWanted(ApplyEnabledForValue(cboParam->currentText(), m_oState.Loading()));
    UpdateControls();
}

bool frmSelectDataItems::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    if (oWatched == cboParam && oEvent->type() == QEvent::KeyPress) {
        const auto *oKey = static_cast<QKeyEvent *>(oEvent);
        if (oKey->key() == Qt::Key_Down && oKey->modifiers() == Qt::NoModifier)
            HandleErrors([this] { OnValueListOpening(); }, QString::fromLatin1(kTitleDataViews));
        // Enter in the value box applies the value typed there; it never
        // reaches OK, which would insert the rows ticked before.
        if ((oKey->key() == Qt::Key_Return || oKey->key() == Qt::Key_Enter) && !cboParam->view()->isVisible()) {
            // The typed value replaces the filter in force.
            if (cmdApplyFilter->isEnabled() && m_oState.CanFetch())
                HandleErrors([this] { ApplyFilter(); }, QString::fromLatin1(kTitleDataViews));
            return true;
        }
    }
    return QDialog::eventFilter(oWatched, oEvent);
}

void frmSelectDataItems::OnValueListOpening()
{
    if (!m_oState.CanFetch())
        return;
    // Opening the list is a choice of value: Apply follows what it shows.
    m_oState.SetApplyWanted(m_oState.FilterApplied() ||
                            ApplyEnabledForValue(cboParam->currentText(), m_oState.Loading()));
    UpdateControls();
    if (cboParam->count() <= 2)
        FillValueList();
}

void frmSelectDataItems::FillValueList()
{
    const auto oField = ChosenField();
    if (!oField || Formats().IsMemo(oField->AdoType))
        return;
    const QString sTyped = cboParam->currentText();
    const auto &oDataView = m_oState.DataView();
    if (m_oState.Request().bOffline) {
        // The rows already fetched answer at once.
        if (const auto colValues = Services()->GetValueList(oDataView, oField->Name, -1, true, true))
            ShowValueList(*colValues, sTyped);
        return;
    }
    auto oJob = Services()->StartValueList(oDataView, oField->Name, -1, true,
                                           [this, sTyped](std::shared_ptr<Dictionary> colValues, bool) {
                                               ShowValueList(*colValues, sTyped);
                                           });
    const bool bApply = m_oState.ApplyWanted();
    m_oState.FetchStarted(SelectDataState::Fetch::Values);
    m_oFetch->Run(oJob, windowTitle(), QString::fromLatin1(kRetrievingValueList), [this, bApply](data::DataJob &oJob) {
        m_oState.FetchEnded();
        m_oState.SetApplyWanted(bApply);
        UpdateControls();
        if (oJob.Failed())
            HandleErrors([&] { std::rethrow_exception(oJob.Failure()); }, QString::fromLatin1(kTitleDataViews));
    });
}

void frmSelectDataItems::ShowValueList(const Dictionary &colValues, const QString &sTyped)
{
    const auto oField = ChosenField();
    if (!oField)
        return;
    const QSignalBlocker oBlock(cboParam);
    cboParam->clear();
    cboParam->addItems({QString::fromLatin1(kNoFilter), QString::fromLatin1(kBlank)});
    for (const Variant &vValue : colValues.Keys())
        cboParam->addItem(EditText(vValue.ToText(), *oField));
    if (sTyped == QLatin1String(kNoFilter))
        cboParam->setCurrentIndex(0);
    else
        cboParam->setEditText(sTyped);
}

void frmSelectDataItems::OnApplyFilter()
{
    if (!m_oState.CanFetch())
        return;
    if (m_oState.FilterApplied())
        RemoveFilter();
    else if (!ApplyFilter())
        return; // the value was refused: the focus stays on it
}

bool frmSelectDataItems::ApplyFilter()
{
    const auto oField = ChosenField();
    if (!oField)
        return false;
    const QString sValue = cboParam->currentText().trimmed();
    const int lCode = cboOperator->currentData().toInt();
    if (!ValueNeedsNoCheck(sValue) && !m_oState.ConfigFileSettings().IsValueValid(sValue, *oField)) {
        ShowMessage(InvalidFilterMessage(cboField->currentText(), cboOperator->currentText(), cboParam->currentText()),
                    QString::fromLatin1(kTitleDataViews), 64);
        cboParam->setFocus();
        return false;
    }
    QString sStored = StoredValue(sValue);
    if (ValueIsFilter(sValue)) {
        if (!sStored.isEmpty())
            sStored = EditText(sStored, *oField);
        const QSignalBlocker oBlock(cboParam);
        cboParam->setEditText(ShownValue(sStored));
    }
    m_oState.ApplyFilter(*oField, lCode, sStored, ValueIsFilter(sValue));
    AfterFilterChange();
    return true;
}

void frmSelectDataItems::RemoveFilter()
{
    m_oState.RemoveFilter();
    AfterFilterChange();
}

void frmSelectDataItems::AfterFilterChange()
{
    // The columns keep the layout the user gave them across the new fetch.
    m_oState.SetSettings(m_oState.BuildSettings(Choices()));
    FetchRows([this] {
        m_oState.SetSettings(m_oState.BuildSettings(Choices()));
        m_oViewer->SetDataviewerColumnsSettings(m_oState.Settings()->Columns);
        m_oState.SetApplyWanted(m_oState.FilterApplied() ||
                                ApplyEnabledForValue(cboParam->currentText(), m_oState.Loading()));
        UpdateStatus();
        UpdateControls();
        if (cmdApplyFilter->isEnabled())
            cmdApplyFilter->setFocus();
    });
}

} // namespace qv
