#include "frmSmartTagWizard.h"

#include "common/basErrorHandling.h"
#include "wizard/WizardPageParts.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "ui/HelpService.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
#include "ui/Twips.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>

namespace qv {

using namespace smarttags;

namespace {

const std::pair<const char *, int> kHelpIds[] = {
    {"chkSkipWelcome", 21010},   {"txtName", 24010},          {"txtDescription", 24015},
    {"cmdTermNew", 24030},       {"cmdTermDelete", 24040},    {"cmdTermDeleteAll", 24050},
    {"cmdLaunchWizard", 20060},  {"cmdActionNew", 24070},     {"cmdActionProperties", 24080},
    {"cmdActionDelete", 24090},  {"chkLookupDataView", 24120}, {"cboRecognizerField", 24140},
    {"chkEnable", 24150},        {"cmdBack", 20030},          {"cmdNext", 20040},
    {"cmdFinish", 20050},        {"cmdCancel", 30000},
};

// The title and description of the step pages, by step.
const std::pair<quint32, quint32> kStepTexts[] = {{81410, 81411}, {81408, 81409}, {81406, 81407}};

QString Title()
{
    return QString::fromLatin1(kTitleSmartTagWizard);
}

QPushButton *Button(const char *sName, const QString &sCaption, QWidget *oParent)
{
    auto *oButton = new QPushButton(sCaption, oParent);
    oButton->setObjectName(QString::fromLatin1(sName));
    oButton->setAutoDefault(false);
    return oButton;
}

} // namespace

frmSmartTagWizard::frmSmartTagWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSmartTagWizard"));
    BuildControls();
    ui::SetWhatsThisHelpIds(this, kHelpIds);
    InstallHelpKey(this, true);
    resize(ui::TwipsToPixels(7515), sizeHint().height());
}

void frmSmartTagWizard::BuildControls()
{
    fraStepHead = wizard::MakeStepHead(this, lblStepTitle, lblStepDescription);

    m_oBody = new QStackedWidget(this);
    m_colPages = {BuildWelcome(), BuildActions(), BuildRecognizer(), BuildTerms(), BuildFinish()};
    for (QWidget *oPage : m_colPages)
        m_oBody->addWidget(oPage);
    auto *oMain = new QVBoxLayout(this);
    oMain->addWidget(fraStepHead);
    oMain->addWidget(m_oBody, 1);
    auto *oRuleBelow = new QFrame(this);
    oRuleBelow->setFrameShape(QFrame::HLine);
    oMain->addWidget(oRuleBelow);
    oMain->addWidget(BuildButtons());
}

QWidget *frmSmartTagWizard::BuildButtons()
{
    auto *oRow = new QWidget(this);
    cmdBack = Button("cmdBack", QStringLiteral("< &Back"), oRow);
    cmdNext = Button("cmdNext", QStringLiteral("&Next >"), oRow);
    cmdFinish = Button("cmdFinish", QStringLiteral("&Finish"), oRow);
    cmdCancel = Button("cmdCancel", QStringLiteral("Cancel"), oRow);
    auto *oLayout = new QHBoxLayout(oRow);
    oLayout->setContentsMargins(0, 0, 0, 0);
    oLayout->addStretch(1);
    for (QPushButton *oButton : {cmdBack, cmdNext, cmdFinish, cmdCancel})
        oLayout->addWidget(oButton);
    connect(cmdNext, &QPushButton::clicked, this, [this] { HandleErrors([this] { GoNext(); }, Title()); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { HandleErrors([this] { GoBack(); }, Title()); });
    connect(cmdFinish, &QPushButton::clicked, this, [this] { HandleErrors([this] { FinishWizard(); }, Title()); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { HandleErrors([this] { CancelWizard(); }, Title()); });
    return oRow;
}

void frmSmartTagWizard::Prepare(const SmartTagWizardRequest &oRequest)
{
    ui::BusyPointer oBusy;
    m_oRequest = oRequest;
    m_oState.SetLoading(true);
    m_oState.Begin(oRequest, ReadSkipWelcome(QString::fromLatin1(kSmartTagWizardKey)));
    const config::SmartTag &oTag = *m_oState.Tag();
    chkLookupDataView->setChecked(!m_oState.IsNew() && oTag.Recognizer.DataViewId != 0);
    txtName->setText(oTag.Name);
    txtDescription->setText(oTag.Description);
    chkEnable->setChecked(oTag.Enabled);
    chkSkipWelcome->setChecked(m_oState.FirstStep() != StepWelcome);
    lblWelcomeDescription->setText(LoadResString(m_oState.IsNew() ? 81401 : 81420));
    lblFinishDescription->setText(LoadResString(m_oState.IsNew() ? 81403 : 81421));
    UpdateCaption();
    ShowStep(StepWelcome);
    m_oState.SetLoading(false);
}

SmartTagChoices frmSmartTagWizard::Choices() const
{
    QStringList colTerms;
    for (int i = 0; i < lvwTerm->count(); ++i)
        colTerms << lvwTerm->item(i)->text();
    return {chkLookupDataView->isChecked(), icboDataView->currentText(), cboRecognizerField->currentText(),
            colTerms, txtName->text(), txtDescription->text(), chkEnable->isChecked()};
}

void frmSmartTagWizard::Changed()
{
    m_oState.MarkChanged();
}

void frmSmartTagWizard::UpdateCaption()
{
    setWindowTitle(WindowTitle(Title(), txtName->text(), QStringLiteral("(Untitled)")));
}

void frmSmartTagWizard::Refuse(const Refusal &oRefusal)
{
    const QStringList colArguments = oRefusal.Argument.isEmpty() ? QStringList() : QStringList{oRefusal.Argument};
    ShowMessage(LoadResString(oRefusal.MessageId, colArguments), Title(), 16);
    if (QWidget *oFocus = PageFocus(m_oState.Step()))
        oFocus->setFocus();
}

void frmSmartTagWizard::GoNext()
{
    const int lStep = m_oState.Step();
    if (lStep == StepWelcome)
        WriteSkipWelcome(QString::fromLatin1(kSmartTagWizardKey), chkSkipWelcome->isChecked());
    if (const Refusal oRefusal = m_oState.LeaveStep(lStep, Choices())) {
        Refuse(oRefusal);
        return;
    }
    m_oState.SetStep(lStep + 1);
    ShowStep(lStep);
}

void frmSmartTagWizard::GoBack()
{
    const int lStep = m_oState.Step();
    if (lStep <= StepWelcome)
        return;
    m_oState.SetStep(lStep - 1);
    ShowStep(lStep);
}

void frmSmartTagWizard::ShowStep(int lPrevious)
{
    const int lStep = m_oState.Step();
    const bool bForward = lPrevious < lStep || lPrevious == lStep;
    if (lStep == StepActions && (bForward || lPrevious == StepWelcome))
        FillActions();
    if (lStep == StepRecognizer && bForward)
        FillRecognizer();
    if (lStep == StepTerms && bForward)
        FillTerms();
    if (lStep == StepFinish && txtName->text().isEmpty() && m_oState.Tag()->Name.isEmpty())
        txtName->setText(m_oState.ProposedName());
    const bool bStepPage = lStep > StepWelcome && lStep < StepFinish;
    fraStepHead->setVisible(bStepPage);
    if (bStepPage) {
        lblStepTitle->setText(LoadResString(kStepTexts[lStep - StepActions].first));
        lblStepDescription->setText(LoadResString(kStepTexts[lStep - StepActions].second));
    }
    m_oBody->setCurrentIndex(lStep - 1);
    RefreshButtons();
    if (lStep == StepFinish)
        txtName->selectAll();
    if (QWidget *oFocus = PageFocus(lStep))
        oFocus->setFocus();
    emit StepShown(lStep);
}

void frmSmartTagWizard::RefreshButtons()
{
    const SmartTagWizardState::Buttons oButtons = m_oState.ButtonsOf(m_oState.Step());
    cmdBack->setEnabled(oButtons.Back);
    cmdNext->setEnabled(oButtons.Next);
    cmdFinish->setEnabled(oButtons.Finish);
    (oButtons.Next ? cmdNext : cmdFinish)->setDefault(true);
    cmdActionProperties->setEnabled(lvwAction->count() > 0);
    cmdActionDelete->setEnabled(lvwAction->count() > 0);
    const bool bLookup = chkLookupDataView->isChecked();
    lblDataView->setEnabled(bLookup);
    icboDataView->setEnabled(bLookup);
    const bool bField = bLookup && icboDataView->currentText() != QLatin1String("(New Data View)");
    lblRecognizerField->setEnabled(bField);
    cboRecognizerField->setEnabled(bField);
    cmdTermDelete->setEnabled(lvwTerm->count() > 0);
    cmdTermDeleteAll->setEnabled(lvwTerm->count() > 0);
}

void frmSmartTagWizard::FinishWizard()
{
    if (const Refusal oRefusal = m_oState.Finish(Choices())) {
        Refuse(oRefusal);
        return;
    }
    hide();
}

void frmSmartTagWizard::CancelWizard()
{
    if (m_oState.Changed()
        && ShowMessage(LoadResString(81430), Title(), ui::mb::YesNo | ui::mb::Question) != ui::mb::Yes)
        return;
    hide();
}

void frmSmartTagWizard::closeEvent(QCloseEvent *oEvent)
{
    // The close box cancels as Cancel does; the window only hides.
    oEvent->ignore();
    HandleErrors([this] { CancelWizard(); }, Title());
}

void frmSmartTagWizard::keyPressEvent(QKeyEvent *oEvent)
{
    if (oEvent->key() == Qt::Key_Escape) {
        HandleErrors([this] { CancelWizard(); }, Title());
        return;
    }
    QDialog::keyPressEvent(oEvent);
}

const SmartTagWizardResult &RunSmartTagWizard(frmSmartTagWizard &oForm, const SmartTagWizardRequest &oRequest)
{
    oForm.Prepare(oRequest);
    ui::RunModal(oForm);
    return oForm.Result();
}

} // namespace qv
