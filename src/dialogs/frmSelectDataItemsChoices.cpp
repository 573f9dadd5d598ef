// The Insert Data dialog's choices: saved settings, the style list, the
// enabled state and status text, and the choices the state builds its
// settings and result from.
#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "biz/Settings.h"
#include "common/basDataViewPicker.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "viewer/ctlDataViewer.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace qv {

using namespace dialogs;

namespace {

constexpr int kSavedNoticeMs = 4000;

} // namespace

void frmSelectDataItems::LoadSettings(bool bReset)
{
    if (!m_oState.LoadSettings(bReset))
        return;
    ApplyPositionAndLayout();
    FillStyleList(m_oState.Style());
}

void frmSelectDataItems::FillStyleList(const QString &sStyle, bool bListedOnly)
{
    const QSignalBlocker oBlock(cboFormatStyle);
    const SelectDataRequest &oRequest = m_oState.Request();
    const bool bTable = IsTableLayout(cboFormatType->currentIndex());
    const auto &colStyles = bTable ? oRequest.colTableStyles : oRequest.colParagraphStyles;
    cboFormatStyle->clear();
    cboFormatStyle->addItem(LoadResString(kNoStyleString));
    if (colStyles) {
        for (const Variant &vStyle : *colStyles)
            cboFormatStyle->addItem(vStyle.ToText());
    }
    if (!bListedOnly)
        m_oState.SetStyle(sStyle);
    if (sStyle.isEmpty()) {
        cboFormatStyle->setCurrentIndex(0);
        return;
    }
    const int lIndex = cboFormatStyle->findText(sStyle, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (lIndex >= 0) {
        cboFormatStyle->setCurrentIndex(lIndex);
    } else if (bListedOnly) {
        // A table style means nothing to a sentence: no style is shown, while
        // the author's pick is kept for a layout whose list has it.
        cboFormatStyle->setCurrentIndex(0);
    } else {
        cboFormatStyle->setEditText(sStyle);
    }
}

void frmSelectDataItems::OnLayoutChosen()
{
    FillStyleList(m_oState.Style(), true);
    MarkChanged();
}

void frmSelectDataItems::OnStyleChosen()
{
    const QString sText = cboFormatStyle->currentText();
    m_oState.SetStyle(sText == LoadResString(kNoStyleString) ? QString() : sText);
    MarkChanged();
}

void frmSelectDataItems::MarkChanged()
{
    m_oState.MarkChanged(icboDataView->currentText() == QLatin1String(kNewDataView));
    UpdateControls();
}

void frmSelectDataItems::UpdateControls()
{
    const SelectControls oControls =
        m_oState.Controls(m_oViewer->RecordCount(), m_oViewer->SelectionCount(), cboOperator->count());
    lblFilter->setEnabled(oControls.oFilter.bField);
    cboField->setEnabled(oControls.oFilter.bField);
    cboOperator->setEnabled(oControls.oFilter.bOperator);
    cboParam->setEnabled(oControls.oFilter.bParam);
    cmdApplyFilter->setEnabled(oControls.oFilter.bApply);
    cmdApplyFilter->setText(QString::fromLatin1(m_oState.FilterApplied() ? kRemoveFilterCaption : kApplyFilterCaption));
    cmdSelect->setEnabled(oControls.oButtons.bSelectAll);
    cmdDeselect->setEnabled(oControls.oButtons.bDeselectAll);
    cmdOK->setEnabled(oControls.oButtons.bOK);
    cmdOK->setDefault(oControls.oButtons.bOK);
    cmdSaveSettings->setEnabled(oControls.bSaveSettings);
}

void frmSelectDataItems::UpdateStatus()
{
    m_oState.NoteTotal();
    sbrStatusBar->showMessage(m_oState.Status(m_oViewer->SelectionCount()));
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

SelectChoices frmSelectDataItems::Choices() const
{
    SelectChoices oChoices;
    if (m_oState.ShowPicker())
        oChoices.lPickerKind = DataViewKeyKind(PickerKeyOf(icboDataView->currentIndex()));
    oChoices.sLayoutText = cboFormatType->currentText();
    oChoices.sStyleText = cboFormatStyle->currentText();
    oChoices.lInsertPosition = cboInsertPosition->currentIndex();
    const auto oField = ChosenField();
    oChoices.sFilterField = oField ? oField->Name : cboField->currentData().toString();
    oChoices.lFilterOperator = cboOperator->currentData().toInt();
    oChoices.sFilterValue = cboParam->currentText();
    oChoices.oColumns = m_oViewer->GetControlSettings();
    return oChoices;
}

void frmSelectDataItems::OnSaveSettings()
{
    const auto oSettings = m_oState.BuildSettings(Choices());
    if (oSettings->Save().isEmpty())
        return;
    m_oState.ClearChanged();
    UpdateControls();
    // Saying so for a while; the row count comes back after.
    sbrStatusBar->showMessage(QStringLiteral("Settings saved for '%1'.").arg(oSettings->DataViewName), kSavedNoticeMs);
}

} // namespace qv
