// The Insert Data dialog's choices: saved settings, the style list, the
// changed flag, the enabled state and status text, and the settings the
// host receives.
#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "ado/Recordset.h"
#include "biz/Settings.h"
#include "common/basDataViewPicker.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace qv {

using namespace dialogs;

void frmSelectDataItems::LoadSettings(bool bReset)
{
    if (bReset)
        m_oSettings.reset();
    if (!m_oSettings && !m_bDisableSavedSettingsRestore) {
        auto oSettings = std::make_shared<biz::Settings>();
        if (m_oDataView && oSettings->Load(m_oDataView->TextKey()))
            m_oSettings = oSettings;
    }
    if (!m_oSettings)
        return;
    m_lInsertPosition = m_oSettings->InsertPosition;
    m_lFormatType = m_oSettings->FormatType;
    ApplyPositionAndLayout();
    FillStyleList(m_oSettings->StyleName);
}

void frmSelectDataItems::FillStyleList(const QString &sStyle)
{
    const QSignalBlocker oBlock(cboFormatStyle);
    const bool bTable = IsTableLayout(cboFormatType->currentIndex());
    const Collection &colStyles = bTable ? *m_colTableStyles : *m_colParagraphStyles;
    cboFormatStyle->clear();
    cboFormatStyle->addItem(LoadResString(kNoStyleString));
    for (const Variant &vStyle : colStyles)
        cboFormatStyle->addItem(vStyle.ToText());
    m_sStyle = sStyle;
    if (m_sStyle.isEmpty()) {
        cboFormatStyle->setCurrentIndex(0);
        return;
    }
    const int lIndex = cboFormatStyle->findText(m_sStyle, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (lIndex >= 0)
        cboFormatStyle->setCurrentIndex(lIndex);
    else
        cboFormatStyle->setEditText(m_sStyle);
}

void frmSelectDataItems::OnLayoutChosen()
{
    FillStyleList(m_sStyle);
    MarkChanged();
}

void frmSelectDataItems::MarkChanged()
{
    if (m_bFirstPaint || m_bLoading)
        return;
    if (m_bForceDataView && icboDataView->currentText() == QLatin1String(kNewDataView))
        return;
    m_bChanged = true;
    UpdateSaveState();
}

void frmSelectDataItems::UpdateSaveState()
{
    cmdSaveSettings->setEnabled(m_bShowSave && m_bChanged);
}

void frmSelectDataItems::UpdateControls()
{
    const FilterRowState oFilter = FilterRowStates(bool(m_oDataView), cboOperator->count(), cmdApplyFilter->isEnabled());
    lblFilter->setEnabled(oFilter.bField);
    cboField->setEnabled(oFilter.bField);
    cboOperator->setEnabled(oFilter.bOperator);
    cboParam->setEnabled(oFilter.bParam);
    cmdApplyFilter->setEnabled(oFilter.bApply);

    SelectionButtons oButtons =
        SelectionButtonStates(CheckBoxes(), m_oViewer->RecordCount(), m_oViewer->SelectionCount());
    if (oButtons.bTickOnlyRow)
        m_oViewer->SelectAll();
    cmdSelect->setEnabled(oButtons.bSelectAll);
    cmdDeselect->setEnabled(oButtons.bDeselectAll);
    cmdOK->setEnabled(oButtons.bOK);
    cmdOK->setDefault(oButtons.bOK);
}

void frmSelectDataItems::UpdateStatus()
{
    qint64 lTotal = 0;
    if (m_oDataView && m_oDataView->Recordset)
        lTotal = m_oDataView->Recordset->RecordCount();
    sbrStatusBar->showMessage(StatusText(m_lDisplayed, m_oViewer->SelectionCount(), lTotal));
}

void frmSelectDataItems::OnSelectAll(bool bSelect)
{
    if (bSelect)
        m_oViewer->SelectAll();
    else
        m_oViewer->DeselectAll();
    UpdateStatus();
    UpdateControls();
}

std::shared_ptr<biz::Settings> frmSelectDataItems::GetDialogSettings()
{
    auto oSettings = std::make_shared<biz::Settings>();
    if (m_oDataView) {
        oSettings->DataViewName = m_oDataView->Name;
        oSettings->DataViewKey = m_oDataView->TextKey();
    }
    const qint32 lPickerKind = m_bForceDataView ? DataViewKeyKind(PickerKeyOf(icboDataView->currentIndex())) : 0;
    oSettings->DataViewType = lPickerKind != 0 ? lPickerKind : m_lDataViewType;
    oSettings->FilterSet = false;
    if (m_lDataViewParameterId > 0 && ValueIsFilter(cboParam->currentText())) {
        const auto oField = ChosenField();
        oSettings->FilterField = oField ? oField->Name : cboField->currentData().toString();
        oSettings->FilterOperator = cboOperator->currentData().toInt();
        oSettings->FilterValue = StoredValue(cboParam->currentText().trimmed());
        oSettings->FilterSet = true;
    }
    m_lFormatType = FormatTypeOfLayoutText(cboFormatType->currentText());
    const QString sStyle = cboFormatStyle->currentText();
    m_sStyle = sStyle == LoadResString(kNoStyleString) ? QString() : sStyle;
    m_lInsertPosition = cboInsertPosition->currentIndex();
    oSettings->FormatType = m_lFormatType;
    oSettings->StyleName = m_sStyle;
    oSettings->InsertPosition = m_lInsertPosition;
    if (auto colColumns = m_oViewer->GetControlSettings())
        oSettings->Columns = colColumns;
    return oSettings;
}

std::shared_ptr<ado::Recordset> frmSelectDataItems::GetSelection()
{
    return m_oViewer->GetSelectedItems();
}

std::shared_ptr<ado::Recordset> frmSelectDataItems::GetRawSelection()
{
    return m_oViewer->GetRawSelectedItems();
}

void frmSelectDataItems::OnSaveSettings()
{
    const auto oSettings = GetDialogSettings();
    if (oSettings->Save().isEmpty())
        return;
    m_bChanged = false;
    UpdateSaveState();
}

} // namespace qv
