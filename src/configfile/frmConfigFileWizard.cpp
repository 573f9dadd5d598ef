#include "frmConfigFileWizard.h"

#include "ConfigFileRules.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/HelpService.h"
#include "ui/Modal.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>

namespace qv {

using namespace configfile;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);
// The text box of the name holds at most this many characters.
constexpr int kMaxNameLength = 100;

template<typename Widget>
Widget *Named(Widget *oWidget, const QString &sName)
{
    oWidget->setObjectName(sName);
    return oWidget;
}

QString Indexed(const char *sName, int lIndex)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(sName)).arg(lIndex);
}

// The wizard's pictures: 202 the side picture of the welcome and complete
// steps, 203 the header picture of the inner steps.
QPixmap WizardPicture(int lId, const QStyle *oStyle)
{
    const QSize oSize = lId == 202 ? QSize(164, 314) : QSize(49, 49);
    QPixmap oPicture(oSize);
    QPainter oPainter(&oPicture);
    QLinearGradient oGradient(0, 0, 0, oSize.height());
    oGradient.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
    oGradient.setColorAt(1, QColor(0x7a, 0xa7, 0xd9));
    oPainter.fillRect(oPicture.rect(), oGradient);
    const int lIcon = lId == 202 ? 64 : 32;
    const QIcon oIcon = oStyle->standardIcon(QStyle::SP_FileDialogDetailedView);
    oPainter.drawPixmap((oSize.width() - lIcon) / 2, lId == 202 ? 40 : (oSize.height() - lIcon) / 2,
                        oIcon.pixmap(lIcon, lIcon));
    oPainter.end();
    return oPicture;
}

QLabel *PictureLabel(const char *sName, int lId, const QStyle *oStyle)
{
    auto *oLabel = Named(new QLabel, QLatin1String(sName));
    oLabel->setPixmap(WizardPicture(lId, oStyle));
    oLabel->setAlignment(Qt::AlignTop);
    return oLabel;
}

QLabel *TitleLabel(const char *sName)
{
    auto *oLabel = Named(new QLabel, QLatin1String(sName));
    QFont oFont = oLabel->font();
    oFont.setBold(true);
    oFont.setPointSize(oFont.pointSize() + 3);
    oLabel->setFont(oFont);
    oLabel->setWordWrap(true);
    return oLabel;
}

QLabel *TextLabel(const char *sName)
{
    auto *oLabel = Named(new QLabel, QLatin1String(sName));
    oLabel->setWordWrap(true);
    oLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return oLabel;
}

} // namespace

frmConfigFileWizard::frmConfigFileWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConfigFileWizard"));
    setWindowTitle(QStringLiteral("Data View Configuration File Wizard"));
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    BuildControls();
    const std::pair<QWidget *, int> colHelp[] = {
        {chkSkipWelcome, 21010}, {txtName, 26010},   {txtDescriptions, 26015}, {optAction[0], 26020},
        {optAction[1], 26030},   {txtFile, 26040},   {findChild<QPushButton *>(QStringLiteral("cmdBrowse")), 26050},
        {cmdNav[0], 30000},      {cmdNav[1], 20030}, {cmdNav[2], 20040},       {cmdNav[3], 20050}};
    for (const auto &[oControl, lId] : colHelp)
        ui::SetWhatsThisHelpId(oControl, lId);
    InstallHelpKey(this, true);
}

frmConfigFileWizard::~frmConfigFileWizard() = default;

void frmConfigFileWizard::BuildControls()
{
    m_oHeader = Named(new QFrame(this), QStringLiteral("fraStepHeader"));
    lblStepHeader = TitleLabel("lblStepHeader");
    lblStepSubHeader = TextLabel("lblStepSubHeader");
    auto *oHeaderTexts = new QVBoxLayout;
    oHeaderTexts->addWidget(lblStepHeader);
    oHeaderTexts->addWidget(lblStepSubHeader);
    auto *oHeaderLayout = new QHBoxLayout(m_oHeader);
    oHeaderLayout->addLayout(oHeaderTexts, 1);
    oHeaderLayout->addWidget(PictureLabel("imgStep", 203, style()));

    m_oSteps = new QStackedWidget(this);
    for (QWidget *oStep : {BuildWelcomeStep(), BuildActionStep(), BuildNameStep(), BuildCompleteStep()})
        m_oSteps->addWidget(oStep);
    auto *oLayout = new QVBoxLayout(this);
    oLayout->addWidget(m_oHeader);
    oLayout->addWidget(m_oSteps, 1);
    oLayout->addWidget(BuildButtons());
    setMinimumSize(520, 400);
}

QWidget *frmConfigFileWizard::BuildWelcomeStep()
{
    auto *oStep = Named(new QFrame, Indexed("fraStep", 1));
    lblWelcomeTitle = TitleLabel("lblWelcomeTitle");
    lblWelcomeDescription = TextLabel("lblWelcomeDescription");
    chkSkipWelcome =
        Named(new QCheckBox(QStringLiteral("# Skip this screen next time")), QStringLiteral("chkSkipWelcome"));
    // The choice is kept as soon as it is made, even when the wizard is then cancelled.
    connect(chkSkipWelcome, &QCheckBox::clicked, this, [this](bool bChecked) {
        HandleErrors([&] {
            m_oState.SetSkipWelcome(bChecked);
            WriteSkipWelcome(QString::fromLatin1(kSkipWelcomeKey), bChecked);
        }, kTitle);
    });
    auto *oTexts = new QVBoxLayout;
    oTexts->addWidget(lblWelcomeTitle);
    oTexts->addWidget(lblWelcomeDescription, 1);
    oTexts->addWidget(chkSkipWelcome);
    auto *oLayout = new QHBoxLayout(oStep);
    oLayout->addWidget(PictureLabel("imgWelcome", 202, style()));
    oLayout->addLayout(oTexts, 1);
    return oStep;
}

QWidget *frmConfigFileWizard::BuildActionStep()
{
    auto *oStep = Named(new QFrame, Indexed("fraStep", 2));
    auto *oLayout = new QVBoxLayout(oStep);
    oLayout->addWidget(Named(new QLabel(QStringLiteral("Select Action:")), QStringLiteral("lblAction")));
    for (int i = 0; i < 2; ++i) {
        const QString sCaption = i == 0 ? QStringLiteral("create new") : QStringLiteral("link to existing");
        optAction[i] = Named(new QRadioButton(sCaption), Indexed("optAction", i));
        connect(optAction[i], &QRadioButton::toggled, this, [this, i](bool bOn) {
            if (bOn)
                m_oState.SetAction(ConfigAction(i));
        });
        oLayout->addWidget(optAction[i]);
    }
    optAction[0]->setChecked(true);
    oLayout->addStretch(1);
    return oStep;
}

QWidget *frmConfigFileWizard::BuildNameStep()
{
    auto *oStep = Named(new QFrame, Indexed("fraStep", 3));
    txtName = Named(new QLineEdit, QStringLiteral("txtName"));
    txtName->setMaxLength(kMaxNameLength);
    txtDescriptions = Named(new QPlainTextEdit, QStringLiteral("txtDescriptions"));
    txtDescriptions->setTabChangesFocus(true);
    auto *lblName = Named(new QLabel(QStringLiteral("Na&me:")), QStringLiteral("lblName"));
    auto *lblDescriptions = Named(new QLabel(QStringLiteral("&Description:")), QStringLiteral("lblDescriptions"));
    lblName->setBuddy(txtName);
    lblDescriptions->setBuddy(txtDescriptions);
    auto *oLayout = new QVBoxLayout(oStep);
    oLayout->addWidget(lblName);
    oLayout->addWidget(txtName);
    oLayout->addWidget(lblDescriptions);
    oLayout->addWidget(txtDescriptions, 1);
    return oStep;
}

QWidget *frmConfigFileWizard::BuildCompleteStep()
{
    auto *oStep = Named(new QFrame, Indexed("fraStep", 4));
    lblCompleteTitle = TitleLabel("lblCompleteTitle");
    lblCompleteDescription = TextLabel("lblCompleteDescription");
    lblFile = Named(new QLabel, QStringLiteral("lblFile"));
    txtFile = Named(new QLineEdit, QStringLiteral("txtFile"));
    lblFile->setBuddy(txtFile);
    auto *cmdBrowse = Named(new QPushButton(QStringLiteral("B&rowse...")), QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { HandleErrors([this] { Browse(); }, kTitle); });
    auto *oFileRow = new QHBoxLayout;
    oFileRow->addWidget(txtFile, 1);
    oFileRow->addWidget(cmdBrowse);
    auto *oTexts = new QVBoxLayout;
    oTexts->addWidget(lblCompleteTitle);
    oTexts->addWidget(lblCompleteDescription);
    oTexts->addStretch(1);
    oTexts->addWidget(lblFile);
    oTexts->addLayout(oFileRow);
    auto *oLayout = new QHBoxLayout(oStep);
    oLayout->addWidget(PictureLabel("imgComplete", 202, style()));
    oLayout->addLayout(oTexts, 1);
    return oStep;
}

QWidget *frmConfigFileWizard::BuildButtons()
{
    auto *oRow = new QWidget(this);
    auto *oLayout = new QHBoxLayout(oRow);
    oLayout->setContentsMargins(0, 0, 0, 0);
    oLayout->addStretch(1);
    const char *colCaptions[] = {"Cancel", "< &Back", "&Next >", "&Finish"};
    // Back, Next and Finish stand together; Cancel stands after them.
    for (int i : {1, 2, 3, 0}) {
        cmdNav[i] = Named(new QPushButton(QString::fromLatin1(colCaptions[i])), Indexed("cmdNav", i));
        cmdNav[i]->setAutoDefault(false);
        connect(cmdNav[i], &QPushButton::clicked, this, [this, i] { HandleErrors([&] { OnNavigate(i); }, kTitle); });
        oLayout->addWidget(cmdNav[i]);
    }
    return oRow;
}

void frmConfigFileWizard::Prepare(const ConfigFileWizardRequest &oRequest)
{
    m_oState.Begin(oRequest, ReadSkipWelcome(QString::fromLatin1(kSkipWelcomeKey)));
    m_oStore.reset();
    setWindowTitle(LoadResString(150014));
    chkSkipWelcome->setText(LoadResString(80003));
    chkSkipWelcome->setChecked(m_oState.SkipWelcome());
    optAction[0]->setText(LoadResString(150016));
    optAction[1]->setText(LoadResString(150017));
    optAction[0]->setChecked(true);
    txtName->clear();
    txtDescriptions->clear();
    txtFile->setText(m_oState.InitialFilePath());
    txtFile->setCursorPosition(int(txtFile->text().size()));
    if (!m_oState.NewFileStart()) {
        m_oStore = config::ConfigStore::Create();
        m_oStore->Open(oRequest.sFilePath);
        txtName->setText(m_oStore->Name);
        txtDescriptions->setPlainText(m_oStore->Description);
    }
    ShowStep(m_oState.FirstStep());
}

void frmConfigFileWizard::ShowStep(ConfigStep eStep)
{
    if (eStep < ConfigStep::Welcome || eStep > ConfigStep::Complete)
        RaiseError(5, QString(), QStringLiteral("Unknown wizard step"));
    m_oState.MoveTo(eStep);
    m_oSteps->setCurrentIndex(int(eStep) - 1);
    const QString sTitle = LoadResString(m_oState.TitleId(eStep));
    const QString sDescription = LoadResString(m_oState.DescriptionId(eStep));
    m_oHeader->setVisible(eStep == ConfigStep::Action || eStep == ConfigStep::Name);
    switch (eStep) {
    case ConfigStep::Welcome:
        lblWelcomeTitle->setText(sTitle);
        lblWelcomeDescription->setText(sDescription);
        break;
    case ConfigStep::Action:
    case ConfigStep::Name:
        lblStepHeader->setText(sTitle);
        lblStepSubHeader->setText(sDescription);
        break;
    default:
        lblCompleteTitle->setText(sTitle);
        lblCompleteDescription->setText(sDescription);
        lblFile->setText(m_oState.FileLabel());
        break;
    }
    UpdateControls();
    QWidget *colFocus[] = {chkSkipWelcome, optAction[int(m_oState.Action())], txtName, txtFile};
    colFocus[int(eStep) - 1]->setFocus();
}

void frmConfigFileWizard::UpdateControls()
{
    const ConfigFileWizardButtons oButtons = m_oState.Buttons();
    cmdNav[1]->setEnabled(oButtons.bBack);
    cmdNav[2]->setEnabled(oButtons.bNext);
    cmdNav[3]->setEnabled(oButtons.bFinish);
    // Enter presses Next, and Finish on the last step.
    cmdNav[2]->setDefault(oButtons.bNext);
    cmdNav[3]->setDefault(oButtons.bFinish);
}

void frmConfigFileWizard::OnNavigate(int lIndex)
{
    switch (lIndex) {
    case 0:
        reject();
        return;
    case 1:
        ShowStep(m_oState.BackStep());
        return;
    case 2:
        if (ValidateStep())
            ShowStep(m_oState.NextStep());
        return;
    default:
        if (ValidateStep())
            FinishWizard();
        return;
    }
}

bool frmConfigFileWizard::ValidateStep()
{
    const QString sMissing = m_oState.MissingField(txtName->text(), txtFile->text());
    if (sMissing.isEmpty())
        return true;
    ShowMessage(LoadResString(150003, {sMissing}), kTitle, 16);
    (m_oState.Current() == ConfigStep::Name ? txtName : txtFile)->setFocus();
    return false;
}

void frmConfigFileWizard::reject()
{
    m_oState.Cancel();
    QDialog::reject();
}

const ConfigFileWizardResult &RunConfigFileWizard(frmConfigFileWizard &oForm, const ConfigFileWizardRequest &oRequest)
{
    oForm.Prepare(oRequest);
    ui::RunModal(oForm);
    return oForm.Result();
}

} // namespace qv
