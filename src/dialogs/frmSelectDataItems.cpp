#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "ValueListCombo.h"
#include "ado/Recordset.h"
#include "biz/ConfigFileSettings.h"
#include "biz/Settings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"
#include "ui/MousePointer.h"
#include "ui/ProgressDialog.h"
#include "ui/Twips.h"
#include "viewer/ctlDataViewer.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace qv {

using namespace dialogs;

namespace {

const QString kTitle = QString::fromLatin1(kTitleDataViews);

QComboBox *MakeCombo(QWidget *oParent, const char *sName, bool bEditable = false)
{
    auto *oCombo = new QComboBox(oParent);
    oCombo->setObjectName(QString::fromLatin1(sName));
    oCombo->setEditable(bEditable);
    oCombo->setInsertPolicy(QComboBox::NoInsert);
    return oCombo;
}

QPushButton *MakeButton(QWidget *oParent, const char *sName, const QString &sCaption)
{
    auto *oButton = new QPushButton(sCaption, oParent);
    oButton->setObjectName(QString::fromLatin1(sName));
    oButton->setAutoDefault(false);
    return oButton;
}

QLabel *MakeLabel(QWidget *oParent, const char *sName, const QString &sCaption, QWidget *oBuddy)
{
    auto *oLabel = new QLabel(sCaption, oParent);
    oLabel->setObjectName(QString::fromLatin1(sName));
    oLabel->setBuddy(oBuddy);
    return oLabel;
}

} // namespace

frmSelectDataItems::frmSelectDataItems(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectDataItems"));
    setWindowTitle(QStringLiteral("Insert Data"));
    setSizeGripEnabled(true);
    m_oConfigFileSettings = std::make_shared<biz::ConfigFileSettings>();
    BuildControls();

    cboInsertPosition->addItems({QStringLiteral("Replace"), QStringLiteral("Before"), QStringLiteral("After")});
    cboInsertPosition->setCurrentIndex(0);
    for (int i = 0; i < LayoutCount(); ++i)
        cboFormatType->addItem(LoadResString(quint32(LayoutStringId(i))));
    cboFormatType->setCurrentIndex(LayoutIndexOfFormatType(1));
    m_oViewer->SetParentHandle(this);

    const std::pair<QWidget *, int> colHelp[] = {
        {icboDataView, 10000}, {cboField, 10020}, {cboOperator, 10030}, {cboParam, 10040},
        {m_oViewer, 10050}, {cmdSelect, 10060}, {cmdDeselect, 10070}, {cmdApplyFilter, 10550},
        {cboFormatType, 10080}, {cboInsertPosition, 10090}, {cboFormatStyle, 10100}, {cmdOK, 30010},
        {cmdCancel, 30000}, {cmdLaunchDataViewWizard, 20060}, {cmdSaveSettings, 10110}};
    for (const auto &[oControl, lId] : colHelp)
        ui::SetWhatsThisHelpId(oControl, lId);
    m_oViewer->SetLVWhatsThisHelpID(10050);
    m_oMinimumSize = QSize(ui::TwipsToPixels(7860, Qt::Horizontal), ui::TwipsToPixels(5050, Qt::Vertical));
    setMinimumSize(m_oMinimumSize);
    resize(m_oMinimumSize.width() * 5 / 4, m_oMinimumSize.height() * 5 / 4);
}

frmSelectDataItems::~frmSelectDataItems()
{
    StopFetching();
    if (m_oDataView && !m_bHostRows)
        m_oDataView->DropRows();
}

void frmSelectDataItems::BuildControls()
{
    icboDataView = MakeCombo(this, "icboDataView");
    icboDataView->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Only the user's choices count: filling the picker raises no activated().
    connect(icboDataView, &QComboBox::activated, this,
            [this] { HandleErrors([this] { OnDataViewChosen(); }, kTitle); });
    lblDataView = MakeLabel(this, "lblDataView", QStringLiteral("Data &View:"), icboDataView);
    cmdLaunchDataViewWizard = MakeButton(this, "cmdLaunchDataViewWizard", QStringLiteral("..."));
    cmdLaunchDataViewWizard->setToolTip(QStringLiteral("Data View Wizard"));
    cmdLaunchDataViewWizard->hide(); // until the wizard can be reached from here

    cboField = MakeCombo(this, "cboField");
    cboOperator = MakeCombo(this, "cboOperator");
    auto *oValues = new ValueListCombo(this);
    oValues->setObjectName(QStringLiteral("cboParam"));
    oValues->setEditable(true);
    oValues->setInsertPolicy(QComboBox::NoInsert);
    oValues->OnOpening = [this] { HandleErrors([this] { OnValueListOpening(); }, kTitle); };
    cboParam = oValues;
    lblFilter = MakeLabel(this, "lblFilter", QStringLiteral("F&ilter:"), cboField);
    cmdApplyFilter = MakeButton(this, "cmdApplyFilter", QString::fromLatin1(kApplyFilterCaption));
    cmdSelect = MakeButton(this, "cmdSelect", QStringLiteral("&Select All"));
    cmdDeselect = MakeButton(this, "cmdDeselect", QStringLiteral("&Deselect All"));

    m_oViewer = new ctlDataViewer(this);
    m_oViewer->setObjectName(QStringLiteral("ctlDataViewer"));

    fraFormatting = new QGroupBox(QStringLiteral("Formatting and Position"), this);
    fraFormatting->setObjectName(QStringLiteral("fraFormatting"));
    cboFormatType = MakeCombo(fraFormatting, "cboFormatType");
    cboFormatStyle = MakeCombo(fraFormatting, "cboFormatStyle", true);
    cboInsertPosition = MakeCombo(fraFormatting, "cboInsertPosition");
    auto *oFormatRow = new QHBoxLayout(fraFormatting);
    oFormatRow->addWidget(MakeLabel(fraFormatting, "lblFormatType", QStringLiteral("&Layout:"), cboFormatType));
    oFormatRow->addWidget(cboFormatType, 2);
    oFormatRow->addWidget(MakeLabel(fraFormatting, "lblFormatStyle", QStringLiteral("S&tyle:"), cboFormatStyle));
    oFormatRow->addWidget(cboFormatStyle, 2);
    oFormatRow->addWidget(
        MakeLabel(fraFormatting, "lblInsertPosition", QStringLiteral("Insert &position:"), cboInsertPosition));
    oFormatRow->addWidget(cboInsertPosition, 1);

    cmdSaveSettings = MakeButton(this, "cmdSaveSettings", QStringLiteral("Save s&ettings"));
    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"));
    cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("Cancel"));
    sbrStatusBar = new QStatusBar(this);
    sbrStatusBar->setObjectName(QStringLiteral("sbrStatusBar"));
    sbrStatusBar->setSizeGripEnabled(false);

    auto *oPickerRow = new QHBoxLayout;
    oPickerRow->addWidget(lblDataView);
    oPickerRow->addWidget(icboDataView, 1);
    oPickerRow->addWidget(cmdLaunchDataViewWizard);
    auto *oFilterRow = new QHBoxLayout;
    oFilterRow->addWidget(lblFilter);
    oFilterRow->addWidget(cboField, 2);
    oFilterRow->addWidget(cboOperator, 1);
    oFilterRow->addWidget(cboParam, 2);
    oFilterRow->addWidget(cmdApplyFilter);
    auto *oSelectRow = new QHBoxLayout;
    oSelectRow->addStretch(1);
    oSelectRow->addWidget(cmdSelect);
    oSelectRow->addWidget(cmdDeselect);
    auto *oButtonRow = new QHBoxLayout;
    oButtonRow->addWidget(cmdSaveSettings);
    oButtonRow->addStretch(1);
    oButtonRow->addWidget(cmdOK);
    oButtonRow->addWidget(cmdCancel);
    auto *oMain = new QVBoxLayout(this);
    oMain->addLayout(oPickerRow);
    oMain->addLayout(oFilterRow);
    oMain->addLayout(oSelectRow);
    oMain->addWidget(m_oViewer, 1);
    oMain->addWidget(fraFormatting);
    oMain->addLayout(oButtonRow);
    oMain->addWidget(sbrStatusBar);

    connect(cmdOK, &QPushButton::clicked, this, [this] { HandleErrors([this] { OnOK(); }, kTitle); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { HandleErrors([this] { OnCancel(); }, kTitle); });
    connect(cmdSaveSettings, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { OnSaveSettings(); }, kTitle); });
    connect(cmdSelect, &QPushButton::clicked, this, [this] { HandleErrors([this] { OnSelectAll(true); }, kTitle); });
    connect(cmdDeselect, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { OnSelectAll(false); }, kTitle); });
    connect(cboFormatType, &QComboBox::activated, this, [this] { HandleErrors([this] { OnLayoutChosen(); }, kTitle); });
    connect(cboFormatStyle, &QComboBox::activated, this, [this] { MarkChanged(); });
    connect(cboFormatStyle, &QComboBox::editTextChanged, this, [this] {
        if (cboFormatStyle->hasFocus())
            MarkChanged();
    });
    connect(cboInsertPosition, &QComboBox::activated, this, [this] { MarkChanged(); });
    connect(cboField, &QComboBox::activated, this, [this] { HandleErrors([this] { OnFieldChosen(); }, kTitle); });
    connect(cboOperator, &QComboBox::activated, this, [this] {
        if (!m_bLoading)
            cmdApplyFilter->setEnabled(true);
    });
    connect(cboParam, &QComboBox::editTextChanged, this, [this] { OnValueEdited(); });
    connect(cmdApplyFilter, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { OnApplyFilter(); }, kTitle); });
    cboParam->installEventFilter(this);

    connect(m_oViewer, &ctlDataViewer::ListLimitReached, this, [this](qint32 lLimit, qint32) {
        if (m_oProgress)
            m_oProgress->Close();
        m_lDisplayed = lLimit;
    });
    connect(m_oViewer, &ctlDataViewer::RefreshMe, this, [this] {
        HandleErrors([this] {
            UpdateStatus();
            UpdateControls();
        }, kTitle);
    });
    connect(m_oViewer, &ctlDataViewer::ItemDoubleClick, this, [this] { HandleErrors([this] { OnOK(); }, kTitle); });
    InstallHelpKey(this);
}

void frmSelectDataItems::SetParagraphStyles(const std::shared_ptr<Collection> &colStyles)
{
    m_colParagraphStyles = colStyles ? colStyles : std::make_shared<Collection>();
}

void frmSelectDataItems::SetTableStyles(const std::shared_ptr<Collection> &colStyles)
{
    m_colTableStyles = colStyles ? colStyles : std::make_shared<Collection>();
}

void frmSelectDataItems::SetForceDataView(bool bForce)
{
    m_bForceDataView = bForce;
    UpdateControls();
}

bool frmSelectDataItems::CheckBoxes() const
{
    return m_oViewer->CheckBoxes();
}

void frmSelectDataItems::SetCheckBoxes(bool bCheckBoxes)
{
    m_oViewer->SetCheckBoxes(bCheckBoxes);
}

void frmSelectDataItems::SetFormCaption(const QString &sCaption)
{
    setWindowTitle(sCaption);
}

void frmSelectDataItems::SetInsertPosition(qint32 lPosition)
{
    m_lInsertPosition = lPosition;
}

void frmSelectDataItems::SetFormatType(qint32 lFormatType)
{
    m_lFormatType = lFormatType;
}

void frmSelectDataItems::ApplyPositionAndLayout()
{
    if (m_lInsertPosition >= 0 && m_lInsertPosition < cboInsertPosition->count())
        cboInsertPosition->setCurrentIndex(m_lInsertPosition);
    cboFormatType->setCurrentIndex(LayoutIndexOfFormatType(m_lFormatType));
}

void frmSelectDataItems::SetDataServices(const std::shared_ptr<data::DataViewDataServices> &oServices)
{
    m_oServices = oServices;
}

void frmSelectDataItems::SetDataView(std::shared_ptr<config::DataView> &oDataView, qint32 lDataViewType)
{
    m_bHostRows = false;
    if (oDataView) {
        std::shared_ptr<config::DataView> oNone;
        m_oViewer->SetDataView(oNone, QString(), true, true);
        TakeDataView(oDataView, lDataViewType);
        m_bHostRows = bool(oDataView->Recordset);
    } else if (!m_oDataView) {
        m_lDataViewType = lDataViewType;
        m_bDataViewShown = false;
    }
    oDataView = m_oDataView;
}

void frmSelectDataItems::Prepare()
{
    m_bFirstPaint = true;
    m_bCancelled = false;
    m_bChanged = false;
    ui::BusyPointer oBusy;
    sbrStatusBar->clearMessage();
    ResetFilterRow();
    if (!m_oDataView || m_bForceDataView) {
        HandleErrors([this] {
            if (m_oDataView) {
                FillPicker(m_oDataView->Id(), m_lDataViewType);
                return;
            }
            const LastDataView oLast = ReadLastDataView();
            FillPicker(oLast.lId, oLast.lType);
        }, kTitle);
    }
    ApplyPositionAndLayout();
    LoadSettings(false);
    FillStyleList(m_sStyle);
    LayoutControls();
    UpdateControls();
    UpdateSaveState();
}

void frmSelectDataItems::LayoutControls()
{
    lblDataView->setVisible(m_bForceDataView);
    icboDataView->setVisible(m_bForceDataView);
    cmdSaveSettings->setVisible(m_bShowSave);
    cmdSelect->setVisible(CheckBoxes());
    cmdDeselect->setVisible(CheckBoxes());
    fraFormatting->setVisible(m_bShowFormatControls);
}

void frmSelectDataItems::StopFetching()
{
    if (m_bFetching && !m_bFetchingValues)
        m_oViewer->Cancel();
    if (m_bFetching && m_oServices)
        m_oServices->Cancel();
    if (m_oProgress)
        m_oProgress->Close();
}

void frmSelectDataItems::OnOK()
{
    m_bCancelled = false;
    GetDialogSettings(); // takes the layout, style and position from the lists
    DiscardUnsavedCustomFilters(false);
    if (m_oDataView)
        WriteLastDataView(m_oDataView->Id(), m_lDataViewType);
    StopFetching();
    QDialog::done(QDialog::Accepted);
}

void frmSelectDataItems::OnCancel()
{
    ui::BusyPointer oBusy;
    m_bCancelled = true;
    DiscardUnsavedCustomFilters(false);
    StopFetching();
    QDialog::done(QDialog::Rejected);
}

void frmSelectDataItems::reject()
{
    // Escape and the close box cancel; the dialog stays for its results.
    HandleErrors([this] { OnCancel(); }, kTitle);
}

void frmSelectDataItems::closeEvent(QCloseEvent *oEvent)
{
    oEvent->ignore();
    reject();
}

bool frmSelectDataItems::event(QEvent *oEvent)
{
    if (oEvent->type() == ctlDataViewer::DialogChangedEventType()) {
        m_bChanged = true;
        UpdateSaveState();
        return true;
    }
    return QDialog::event(oEvent);
}

void frmSelectDataItems::paintEvent(QPaintEvent *oEvent)
{
    QDialog::paintEvent(oEvent);
    if (!m_bFirstPaint)
        return;
    // The rows are fetched after this paint returns, so that the window is
    // on screen while they come.
    m_bFirstPaint = false;
    m_bLoading = true;
    QTimer::singleShot(0, this, [this] { HandleErrors([this] { OnFirstPaint(); }, kTitle); });
}

void frmSelectDataItems::keyPressEvent(QKeyEvent *oEvent)
{
    if (oEvent->key() == Qt::Key_F5 && oEvent->modifiers() == Qt::NoModifier)
        return; // acted on when the key comes up
    QDialog::keyPressEvent(oEvent);
}

void frmSelectDataItems::keyReleaseEvent(QKeyEvent *oEvent)
{
    if (oEvent->key() != Qt::Key_F5 || oEvent->modifiers() != Qt::NoModifier || oEvent->isAutoRepeat()) {
        QDialog::keyReleaseEvent(oEvent);
        return;
    }
    if (FilterApplied() || m_bOffline || m_bFetching || m_bLoading || !m_oDataView)
        return;
    HandleErrors([this] {
        m_oDataView->DropRows();
        m_bHostRows = false;
        FetchAndShowRows();
        UpdateControls();
    }, kTitle);
}

} // namespace qv
