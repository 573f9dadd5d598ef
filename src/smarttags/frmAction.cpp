#include "frmAction.h"

#include "qvuser/DVUser.h"

#include "common/basDataViewPicker.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "dialogs/SelectDataRules.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
#include "ui/HelpService.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qv {

using namespace smarttags;

namespace {

constexpr int kMaxPrompt = 100;
const QString kTitle = QStringLiteral("Action");

const std::pair<const char *, int> kHelpIds[] = {
    {"txtName", 25010},  {"icboDataView", 25020}, {"optActionView", 25030}, {"optActionInsert", 25040},
    {"cboLayout", 25060}, {"cboStyle", 25050},    {"cmdOK", 30010},         {"cmdCancel", 30000},
    {"cmdLaunchWizard", 20060},
};

template<typename Widget>
Widget *Named(Widget *oWidget, const char *sName)
{
    oWidget->setObjectName(QString::fromLatin1(sName));
    return oWidget;
}

QLabel *Label(const QString &sText, QWidget *oBuddy, QWidget *oParent, const char *sName)
{
    auto *oLabel = Named(new QLabel(sText, oParent), sName);
    oLabel->setBuddy(oBuddy);
    return oLabel;
}

} // namespace

frmAction::frmAction(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAction"));
    BuildControls();
    ui::SetWhatsThisHelpIds(this, kHelpIds);
    InstallHelpKey(this, true);
}

void frmAction::BuildControls()
{
    icboDataView = Named(new QComboBox(this), "icboDataView");
    cmdLaunchWizard = Named(new QPushButton(QStringLiteral("..."), this), "cmdLaunchWizard");
    cmdLaunchWizard->setToolTip(QStringLiteral("Data View Wizard"));
    cmdLaunchWizard->setAutoDefault(false);
    optActionInsert = Named(new QRadioButton(LoadResString(81605), this), "optActionInsert");
    optActionView = Named(new QRadioButton(LoadResString(81604), this), "optActionView");
    cboLayout = Named(new QComboBox(this), "cboLayout");
    cboStyle = Named(new QComboBox(this), "cboStyle");
    lblLayout = Label(LoadResString(81606), cboLayout, this, "lblLayout");
    lblStyle = Label(LoadResString(81607), cboStyle, this, "lblStyle");
    txtName = Named(new QLineEdit(this), "txtName");
    txtName->setMaxLength(kMaxPrompt);
    cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");

    auto *oPicker = new QHBoxLayout;
    oPicker->addWidget(icboDataView, 1);
    oPicker->addWidget(cmdLaunchWizard);
    auto *oInsertLayout = new QHBoxLayout;
    oInsertLayout->setContentsMargins(20, 0, 0, 0);
    oInsertLayout->addWidget(lblLayout);
    oInsertLayout->addWidget(cboLayout, 1);
    oInsertLayout->addWidget(lblStyle);
    oInsertLayout->addWidget(cboStyle, 1);
    auto *oForm = new QFormLayout;
    oForm->addRow(Label(QStringLiteral("&Data View:"), icboDataView, this, "lblGeneral"), oPicker);
    auto *oButtons = new QDialogButtonBox(this);
    oButtons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    oButtons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    auto *oPrompt = new QFormLayout;
    oPrompt->addRow(Label(QStringLiteral("&Prompt:"), txtName, this, "lblGeneral"), txtName);
    auto *oLayout = new QVBoxLayout(this);
    oLayout->addLayout(oForm);
    oLayout->addWidget(optActionInsert);
    oLayout->addLayout(oInsertLayout);
    oLayout->addWidget(optActionView);
    oLayout->addLayout(oPrompt);
    oLayout->addWidget(oButtons);

    const auto handled = [this](auto handler) {
        return [this, handler] { HandleErrors([this, handler] { (this->*handler)(); }); };
    };
    connect(icboDataView, &QComboBox::currentIndexChanged, this, [this] {
        if (!IsPopulating(icboDataView))
            RefreshControls();
    });
    connect(cboLayout, &QComboBox::currentIndexChanged, this, [this] {
        if (IsPopulating(cboLayout))
            return;
        FillStyles();
        RefreshControls();
    });
    connect(cboStyle, &QComboBox::activated, this, &frmAction::MarkChanged);
    connect(optActionInsert, &QRadioButton::toggled, this, &frmAction::MarkChanged);
    connect(txtName, &QLineEdit::textEdited, this, &frmAction::PromptEdited);
    connect(txtName, &QLineEdit::textChanged, this, &frmAction::PromptChanged);
    connect(txtName, &QLineEdit::editingFinished, this, [this] { TidyEditControl(txtName); });
    connect(cmdLaunchWizard, &QPushButton::clicked, this, handled(&frmAction::LaunchWizard));
    connect(cmdOK, &QPushButton::clicked, this, handled(&frmAction::Confirm));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmAction::Prepare(const ActionRequest &oRequest)
{
    m_bLoading = true;
    m_oState.Begin(oRequest);
    m_bCancelled = true;
    m_bChanged = false;
    (oRequest.ActionType == kActionInsert ? optActionInsert : optActionView)->setChecked(true);
    txtName->setText(m_oState.Request().ActionName);
    const auto oView = oRequest.Store ? oRequest.Store->DataViewCollection().ItemByName(m_oState.WantedDataView())
                                      : nullptr;
    if (oRequest.Store)
        FillDataViewPicker(icboDataView, *oRequest.Store, true, oRequest.ConfigFileType, oView ? oView->Id() : 0);
    FillLayouts();
    FillStyles();
    SelectAllTextBoxes(this);
    m_bLoading = false;
    m_bChanged = false;
    RefreshControls();
    UpdateCaption();
    icboDataView->setFocus();
}

ActionChoices frmAction::Choices() const
{
    return {optActionInsert->isChecked(), icboDataView->currentText(), cboLayout->currentText(),
            cboStyle->currentText(), txtName->text()};
}

void frmAction::FillLayouts()
{
    cboLayout->setProperty("Tag", QString::fromLatin1(kPopulating));
    cboLayout->clear();
    for (int i = 0; i < dialogs::LayoutCount(); ++i)
        cboLayout->addItem(LoadResString(quint32(dialogs::LayoutStringId(i))));
    cboLayout->setCurrentIndex(cboLayout->findText(m_oState.WantedLayoutText(), Qt::MatchFixedString));
    cboLayout->setProperty("Tag", QString());
}

void frmAction::FillStyles()
{
    int lSelect = 0;
    const QStringList colStyles = m_oState.StylesFor(cboLayout->currentText(), &lSelect);
    cboStyle->clear();
    cboStyle->addItems(colStyles);
    cboStyle->setCurrentIndex(lSelect);
}

void frmAction::RefreshControls()
{
    if (m_bLoading)
        return;
    const ActionChoices oChoices = Choices();
    if (!m_oState.PromptTyped())
        txtName->setText(m_oState.Prompt(oChoices));
    const ActionState::Enabled oEnabled = ActionState::EnabledOf(Choices());
    cmdOK->setEnabled(oEnabled.Ok);
    cmdLaunchWizard->setEnabled(oEnabled.LaunchWizard);
    lblLayout->setEnabled(oEnabled.Layout);
    cboLayout->setEnabled(oEnabled.Layout);
    lblStyle->setEnabled(oEnabled.Style);
    cboStyle->setEnabled(oEnabled.Style);
}

void frmAction::UpdateCaption()
{
    setWindowTitle(WindowTitle(kTitle, txtName->text(), QStringLiteral("(Untitled)")));
}

void frmAction::MarkChanged()
{
    if (m_bLoading)
        return;
    m_bChanged = true;
    RefreshControls();
}

void frmAction::PromptEdited()
{
    m_oState.SetPromptTyped(true);
}

void frmAction::PromptChanged(const QString &sText)
{
    if (m_bLoading)
        return;
    m_bChanged = true;
    if (sText.isEmpty()) {
        // An emptied prompt is made again from the choices at the next refresh.
        m_oState.SetPromptTyped(false);
        return;
    }
    RefreshControls();
    UpdateCaption();
}

void frmAction::LaunchWizard()
{
    const auto &oStore = m_oState.Request().Store;
    if (!oStore || IsPopulating(icboDataView))
        return;
    const auto oView = oStore->DataViewCollection().ItemByName(icboDataView->currentText());
    auto oWizardStore = oStore;
    const qint32 lId = DVUser().InvokeWizardDataView(oWizardStore, QString::number(oView ? oView->Id() : 0));
    if (lId <= 0)
        return;
    FillDataViewPicker(icboDataView, *oStore, true, m_oState.Request().ConfigFileType, lId);
    RefreshControls();
}

void frmAction::Confirm()
{
    cmdOK->setFocus();
    if (!m_bChanged) {
        hide();
        return;
    }
    const ActionRefusal oRefusal = m_oState.Check(Choices());
    if (oRefusal) {
        ShowMessage(oRefusal.Message, kTitle, 16);
        if (auto *oControl = findChild<QWidget *>(QString::fromLatin1(oRefusal.Control)))
            oControl->setFocus();
        return;
    }
    m_bCancelled = false;
    accept();
}

void frmAction::closeEvent(QCloseEvent *oEvent)
{
    m_bCancelled = true;
    QDialog::closeEvent(oEvent);
}

void RunAction(frmAction &oForm, const ActionRequest &oRequest)
{
    oForm.Prepare(oRequest);
    ui::RunModal(oForm);
}

} // namespace qv
