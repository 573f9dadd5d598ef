#include "frmDataViewWizard.h"

#include "DisplayFieldsPage.h"
#include "FilterPage.h"
#include "WizardPages.h"

#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "WizardPageParts.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
#include "ui/Twips.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace qv {

using namespace wizard;

namespace {

// The What's-This help ids of the wizard's controls, by control name.
const std::pair<const char *, int> kHelpIds[] = {
    {"chkSkipWelcome", 21010},      {"txtName", 22010},          {"txtDescription", 22015},
    {"cmdPreview", 22030},          {"optTemplateNew", 22040},   {"optTemplateExisting", 22050},
    {"icboDataView", 22060},        {"lvwDataSource", 22070},    {"lvwDataItem", 22080},
    {"txtLocation", 22090},         {"cmdBrowseLocation", 22100}, {"cboDisplayField", 22110},
    {"txtDisplayName", 22120},      {"lvwDisplayField", 22130},  {"cmdDisplayAdd", 22140},
    {"cmdDisplayAddAll", 22150},    {"cmdDisplayRemove", 22160}, {"cmdDisplayRemoveAll", 22170},
    {"cmdDisplayMoveUp", 22180},    {"cmdDisplayMoveDown", 22190}, {"lvwFilterField", 22200},
    {"cboFilterField", 22210},      {"cboFilterOperator", 22220}, {"cboFilterValue", 22230},
    {"cmdFilterAdd", 22250},        {"cmdFilterRemove", 22260},  {"cmdFilterRemoveAll", 22270},
    {"cmdBack", 20030},             {"cmdNext", 20040},          {"cmdFinish", 20050},
    {"cmdCancel", 30000},
};

QPushButton *Button(const QString &sName, const QString &sCaption, QWidget *oParent)
{
    auto *oButton = new QPushButton(sCaption, oParent);
    oButton->setObjectName(sName);
    oButton->setAutoDefault(false);
    return oButton;
}

} // namespace

frmDataViewWizard::frmDataViewWizard(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDataViewWizard"));
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    m_oContext.State = &m_oState;
    m_oContext.Window = this;
    m_oContext.Fetch = new FetchRunner(this);
    BuildControls();
    ui::SetWhatsThisHelpIds(this, kHelpIds);
    InstallHelpKey(this, true);
    resize(ui::TwipsToPixels(7515), sizeHint().height());
}

frmDataViewWizard::~frmDataViewWizard() = default;

void frmDataViewWizard::BuildControls()
{
    fraStepHead = wizard::MakeStepHead(this, lblStepTitle, lblStepDescription);

    m_oBody = new QStackedWidget(this);
    m_oTemplate = new TemplatePage(m_oContext, m_oBody);
    m_oDataSource = new DataSourcePage(m_oContext, m_oBody);
    m_oLocation = new LocationPage(m_oContext, m_oBody);
    m_oDataItem = new DataItemPage(m_oContext, m_oBody);
    m_oFinish = new FinishPage(m_oContext, m_oBody);
    m_colPages = {new WelcomePage(m_oContext, m_oBody), m_oTemplate, m_oDataSource, m_oLocation, m_oDataItem,
                  new DisplayFieldsPage(m_oContext, m_oBody), new FilterPage(m_oContext, m_oBody), m_oFinish};
    for (size_t i = 0; i < m_colPages.size(); ++i) {
        WizardPage *oPage = m_colPages.at(i);
        // The body frames of the step pages are named by their step.
        if (i > 0 && i + 1 < m_colPages.size())
            oPage->setObjectName(QStringLiteral("fraStepBody%1").arg(i + 1));
        m_oBody->addWidget(oPage);
        ConnectPage(oPage);
    }
    connect(m_oFinish->NameBox(), &QLineEdit::textEdited, this, [this] { UpdateCaption(); });

    auto *oMain = new QVBoxLayout(this);
    oMain->addWidget(fraStepHead);
    oMain->addWidget(m_oBody, 1);
    oMain->addWidget(BuildButtons());
}

QWidget *frmDataViewWizard::BuildButtons()
{
    auto *oRow = new QWidget(this);
    cmdPreview = Button(QStringLiteral("cmdPreview"), QStringLiteral("&Preview..."), oRow);
    cmdBack = Button(QStringLiteral("cmdBack"), QStringLiteral("< &Back"), oRow);
    cmdNext = Button(QStringLiteral("cmdNext"), QStringLiteral("&Next >"), oRow);
    cmdFinish = Button(QStringLiteral("cmdFinish"), QStringLiteral("&Finish"), oRow);
    cmdCancel = Button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), oRow);
    auto *oLayout = new QHBoxLayout(oRow);
    oLayout->setContentsMargins(0, 0, 0, 0);
    oLayout->addWidget(cmdPreview);
    oLayout->addStretch(1);
    for (QPushButton *oButton : {cmdBack, cmdNext, cmdFinish, cmdCancel})
        oLayout->addWidget(oButton);
    const QString sTitle = QString::fromLatin1(kTitleWizard);
    connect(cmdNext, &QPushButton::clicked, this, [this] { GoNext(); });
    connect(cmdBack, &QPushButton::clicked, this, [this] { GoBack(); });
    connect(cmdFinish, &QPushButton::clicked, this, [this] { FinishWizard(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { CancelWizard(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this, sTitle] { HandleErrors([this] { Preview(); }, sTitle); });
    return oRow;
}

void frmDataViewWizard::ConnectPage(WizardPage *oPage)
{
    connect(oPage, &WizardPage::ButtonsMayChange, this, [this] { RefreshButtons(); });
    connect(oPage, &WizardPage::NextRequested, this, [this] {
        if (cmdNext->isEnabled())
            GoNext();
    });
}

WizardPage *frmDataViewWizard::Page(Step eStep) const
{
    const int lIndex = int(eStep) - 1;
    Q_ASSERT(lIndex >= 0 && lIndex < int(m_colPages.size()));
    return m_colPages.at(size_t(lIndex));
}

bool frmDataViewWizard::Prepare(const DataViewWizardRequest &oRequest)
{
    Q_ASSERT(oRequest.oStore);
    ui::BusyPointer oBusy;
    m_oResult = {};
    m_oContext.Store = oRequest.oStore;
    m_oServices = std::make_shared<data::DataViewDataServices>();
    m_oContext.Services = m_oServices.get();
    m_lConfigFileType = oRequest.lConfigFileType;
    const qint32 lId = std::max(oRequest.lDataViewID, 0);
    m_oState.Begin(lId == 0, ReadSkipWelcome(QString::fromLatin1(kWizardSkipWelcomeKey)));
    m_oContext.View = lId ? m_oContext.Store->DataViewCollection().Item(lId) : nullptr;
    if (lId && !m_oContext.View)
        RaiseError(kErrorNoSuchDataView, QStringLiteral("frmDataViewWizard.Prepare"),
                   QStringLiteral("The configuration file has no data view %1.").arg(lId));
    if (m_oContext.View) {
        m_sBaseName = m_oContext.View->Name;
        m_sLastConnection = m_oContext.View->Source.ConnectionText;
        m_oState.SetSource(SourceTypeOfKind(m_oContext.View->Source.Kind));
        m_oLocation->SetLocation(GetLocationFromDataView(*m_oContext.View));
        m_oDataSource->Populate();
    } else {
        m_oTemplate->FillPicker(m_lConfigFileType);
    }
    m_oFinish->Fill(m_sBaseName);
    UpdateCaption();
    m_oResult.bCancelled = false;
    m_bStarted = false;
    return true;
}

bool frmDataViewWizard::Busy() const
{
    return m_oContext.Fetch->Busy() || m_bTransition;
}

void frmDataViewWizard::UpdateCaption()
{
    const QString sName =
        m_oState.NameEdited() ? m_oFinish->TypedName() : (m_oContext.View ? m_oContext.View->Name : QString());
    setWindowTitle(DataViewWizardState::Caption(sName.trimmed()));
}

void frmDataViewWizard::showEvent(QShowEvent *oEvent)
{
    QDialog::showEvent(oEvent);
    if (m_bStarted)
        return;
    m_bStarted = true;
    m_bTransition = true;
    QMetaObject::invokeMethod(this, [this] { Start(); }, Qt::QueuedConnection);
}

void frmDataViewWizard::Start()
{
    m_eDirection = Direction::Next;
    if (m_oState.NewDataView()) {
        ShowStep(m_oState.FirstStep());
        return;
    }
    PopulateDataItems([this](bool) {
        if (m_oState.FirstStep() == Step::DisplayFields)
            MoveOn(Step::DisplayFields);
        else
            ShowStep(m_oState.FirstStep());
    });
}

void frmDataViewWizard::closeEvent(QCloseEvent *oEvent)
{
    // The close box cancels as the Cancel button does, with its question.
    if (m_oResult.bCancelled || !isVisible()) {
        oEvent->accept();
        return;
    }
    oEvent->ignore();
    CancelWizard();
}

void frmDataViewWizard::keyPressEvent(QKeyEvent *oEvent)
{
    if (oEvent->key() == Qt::Key_Escape) {
        CancelWizard();
        return;
    }
    QDialog::keyPressEvent(oEvent);
}

const DataViewWizardResult &RunDataViewWizard(frmDataViewWizard &oForm, const DataViewWizardRequest &oRequest)
{
    if (!oForm.Prepare(oRequest))
        return oForm.Result();
    ui::RunModal(oForm);
    return oForm.Result();
}

} // namespace qv
