// The pages around the source: welcome, template and finish.
#include "WizardPages.h"

#include "common/basDataViewPicker.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace qv::wizard {

namespace {

QLabel *TitleLabel(const QString &sName, QWidget *oParent)
{
    auto *oLabel = new QLabel(oParent);
    oLabel->setObjectName(sName);
    QFont oFont = oLabel->font();
    oFont.setBold(true);
    oFont.setPointSizeF(oFont.pointSizeF() * 1.3);
    oLabel->setFont(oFont);
    oLabel->setWordWrap(true);
    return oLabel;
}

QLabel *TextLabel(const QString &sName, QWidget *oParent)
{
    auto *oLabel = new QLabel(oParent);
    oLabel->setObjectName(sName);
    oLabel->setWordWrap(true);
    return oLabel;
}

} // namespace

// --- welcome

WelcomePage::WelcomePage(WizardContext &context, QWidget *parent) : WizardPage(context, parent)
{
    setObjectName(QStringLiteral("fraWelcome"));
    lblWelcomeTitle = TitleLabel(QStringLiteral("lblWelcomeTitle"), this);
    lblWelcomeDescription = TextLabel(QStringLiteral("lblWelcomeDescription"), this);
    chkSkipWelcome = new QCheckBox(LoadResString(80003), this);
    chkSkipWelcome->setObjectName(QStringLiteral("chkSkipWelcome"));
    auto *oLayout = new QVBoxLayout(this);
    oLayout->addWidget(lblWelcomeTitle);
    oLayout->addWidget(lblWelcomeDescription);
    oLayout->addStretch(1);
    oLayout->addWidget(chkSkipWelcome);
}

void WelcomePage::Enter(Direction, bool)
{
    const DataViewWizardState &oState = *Context().State;
    lblWelcomeTitle->setText(LoadResString(oState.TitleId(Step::Welcome)));
    lblWelcomeDescription->setText(LoadResString(oState.DescriptionId(Step::Welcome)));
    chkSkipWelcome->setChecked(oState.SkipWelcome());
}

bool WelcomePage::Commit(Direction)
{
    const bool bSkip = chkSkipWelcome->isChecked();
    Context().State->SetSkipWelcome(bSkip);
    WriteSkipWelcome(QString::fromLatin1(kWizardSkipWelcomeKey), bSkip);
    return true;
}

// --- template

TemplatePage::TemplatePage(WizardContext &context, QWidget *parent) : WizardPage(context, parent)
{
    setObjectName(QStringLiteral("fraStepBody2"));
    optTemplateNew = new QRadioButton(LoadResString(81316), this);
    optTemplateNew->setObjectName(QStringLiteral("optTemplateNew"));
    optTemplateNew->setChecked(true);
    optTemplateExisting = new QRadioButton(LoadResString(81317), this);
    optTemplateExisting->setObjectName(QStringLiteral("optTemplateExisting"));
    icboDataView = new QComboBox(this);
    icboDataView->setObjectName(QStringLiteral("icboDataView"));
    auto *oLayout = new QVBoxLayout(this);
    oLayout->addWidget(optTemplateNew);
    oLayout->addWidget(optTemplateExisting);
    auto *oPicker = new QHBoxLayout;
    oPicker->addSpacing(20);
    oPicker->addWidget(icboDataView, 1);
    oLayout->addLayout(oPicker);
    oLayout->addStretch(1);
    for (QRadioButton *oOption : {optTemplateNew, optTemplateExisting})
        connect(oOption, &QRadioButton::toggled, this, [this] { emit ButtonsMayChange(); });
}

void TemplatePage::FillPicker(qint32 lConfigFileType)
{
    Q_ASSERT(Context().Store);
    FillDataViewPicker(icboDataView, *Context().Store, false, lConfigFileType);
}

void TemplatePage::Enter(Direction, bool) {}

bool TemplatePage::Commit(Direction)
{
    // The template itself is applied by the frame, which owns the working data view.
    Context().State->SetBasedOnExisting(optTemplateExisting->isChecked());
    return true;
}

QWidget *TemplatePage::FocusControl() const
{
    return optTemplateExisting->isChecked() ? optTemplateExisting : optTemplateNew;
}

void TemplatePage::RefreshControls()
{
    const bool bNone = icboDataView->currentText() == QLatin1String(kNoneAvailable) || icboDataView->count() == 0;
    optTemplateExisting->setEnabled(!bNone);
    icboDataView->setEnabled(optTemplateExisting->isChecked() && !bNone);
}

QString TemplatePage::TemplateName() const
{
    return optTemplateExisting->isChecked() ? icboDataView->currentText() : QString();
}

// --- finish

FinishPage::FinishPage(WizardContext &context, QWidget *parent) : WizardPage(context, parent)
{
    setObjectName(QStringLiteral("fraFinish"));
    lblFinishTitle = TitleLabel(QStringLiteral("lblFinishTitle"), this);
    lblFinishDescription = TextLabel(QStringLiteral("lblFinishDescription"), this);
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(100);
    txtDescription = new QPlainTextEdit(this);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    txtDescription->setTabChangesFocus(true);
    auto *oForm = new QFormLayout;
    auto *lblName = new QLabel(QStringLiteral("&Name:"), this);
    lblName->setBuddy(txtName);
    auto *lblDescription = new QLabel(QStringLiteral("&Description:"), this);
    lblDescription->setBuddy(txtDescription);
    oForm->addRow(lblName, txtName);
    oForm->addRow(lblDescription, txtDescription);
    auto *oLayout = new QVBoxLayout(this);
    oLayout->addWidget(lblFinishTitle);
    oLayout->addWidget(lblFinishDescription);
    oLayout->addLayout(oForm, 1);
    connect(txtName, &QLineEdit::textEdited, this, [this] {
        Context().State->SetNameEdited(true);
        Touched();
    });
}

void FinishPage::Fill(const QString &sBaseName)
{
    m_sBaseName = sBaseName;
}

void FinishPage::Enter(Direction, bool)
{
    DataViewWizardState &oState = *Context().State;
    lblFinishTitle->setText(LoadResString(oState.TitleId(Step::Finish)));
    lblFinishDescription->setText(LoadResString(oState.DescriptionId(Step::Finish)));
    const config::DataView &oView = *Context().View;
    if (!oState.NameEdited()) {
        const auto nameTaken = [this](const QString &sName) {
            return bool(Context().Store->DataViewCollection().ItemByName(sName));
        };
        if (!oState.NewDataView())
            txtName->setText(m_sBaseName);
        else if (oState.BasedOnExisting())
            txtName->setText(DataViewWizardState::MakeUniqueName(m_sBaseName, nameTaken));
        else
            txtName->setText(oView.DataItemName);
        // The name proposed for a new data view is the one it gets unless
        // the author changes it; the template's own name would clash.
        if (oState.NewDataView())
            oState.SetNameEdited(true);
    }
    txtDescription->setPlainText(oView.Description);
}

bool FinishPage::Commit(Direction)
{
    config::DataView &oView = *Context().View;
    oView.Name = Context().State->NameToSave(txtName->text(), m_sBaseName);
    oView.Description = txtDescription->toPlainText();
    return true;
}

QWidget *FinishPage::FocusControl() const
{
    return txtName;
}

QString FinishPage::TypedName() const
{
    return txtName->text();
}

} // namespace qv::wizard
