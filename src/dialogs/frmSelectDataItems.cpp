#include "frmSelectDataItems.h"

#include "SelectDataRules.h"
#include "ValueListCombo.h"
#include "ado/Recordset.h"
#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/FetchRunner.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
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

namespace qv {

using namespace dialogs;

namespace {

const QString kTitle = QString::fromLatin1(kTitleDataViews);
constexpr qint32 kLastOperatorCode = 8; // "contains"

QComboBox *MakeCombo(QWidget *oParent, const char *sName, bool bEditable = false)
{
    auto *oCombo = new QComboBox(oParent);
    oCombo->setObjectName(QString::fromLatin1(sName));
    oCombo->setEditable(bEditable);
    oCombo->setInsertPolicy(QComboBox::NoInsert);
    return oCombo;
}

// A list of fixed entries never gets narrower than its longest entry, so that
// none is cut ("is greater th") when the dialog is at its smallest.
void KeepEntriesWhole(QComboBox *oCombo)
{
    oCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    oCombo->setSizePolicy(QSizePolicy::Minimum, oCombo->sizePolicy().verticalPolicy());
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
    m_oFetch = new FetchRunner(this);
    BuildControls();
    ConnectControls();

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
    for (QComboBox *oCombo : {cboOperator, cboFormatType, cboInsertPosition})
        KeepEntriesWhole(oCombo);
    // The operators come with a field; room for the longest of them from the start.
    qsizetype lLongest = 0;
    for (qint32 lCode = 1; lCode <= kLastOperatorCode; ++lCode)
        lLongest = std::max(lLongest, m_oState.ConfigFileSettings().OperatorText(lCode).size());
    cboOperator->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboOperator->setMinimumContentsLength(int(lLongest));
    // Never smaller than the controls need, whatever the font.
    m_oMinimumSize = QSize(ui::TwipsToPixels(7860, Qt::Horizontal), ui::TwipsToPixels(5050, Qt::Vertical))
                         .expandedTo(layout()->minimumSize());
    setMinimumSize(m_oMinimumSize);
    resize(m_oMinimumSize.width() * 5 / 4, m_oMinimumSize.height() * 5 / 4);
}

frmSelectDataItems::~frmSelectDataItems()
{
    // The runner goes with the dialog and cancels a fetch without waiting.
    if (m_oState.DataView() && !m_oState.HostRows())
        m_oState.DataView()->DropRows();
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
}

void frmSelectDataItems::ConnectControls()
{
    connect(cmdOK, &QPushButton::clicked, this, [this] { HandleErrors([this] { OnOK(); }, kTitle); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { HandleErrors([this] { OnCancel(); }, kTitle); });
    connect(cmdLaunchDataViewWizard, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { LaunchDataViewWizard(); }, kTitle); });
    connect(cmdSaveSettings, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { OnSaveSettings(); }, kTitle); });
    connect(cmdSelect, &QPushButton::clicked, this, [this] { HandleErrors([this] { OnSelectAll(true); }, kTitle); });
    connect(cmdDeselect, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { OnSelectAll(false); }, kTitle); });
    connect(cboFormatType, &QComboBox::activated, this, [this] { HandleErrors([this] { OnLayoutChosen(); }, kTitle); });
    connect(cboFormatStyle, &QComboBox::activated, this, [this] { OnStyleChosen(); });
    connect(cboFormatStyle, &QComboBox::editTextChanged, this, [this] {
        if (cboFormatStyle->hasFocus())
            OnStyleChosen();
    });
    connect(cboInsertPosition, &QComboBox::activated, this, [this] { MarkChanged(); });
    connect(cboField, &QComboBox::activated, this, [this] { HandleErrors([this] { OnFieldChosen(); }, kTitle); });
    connect(cboOperator, &QComboBox::activated, this, [this] {
        m_oState.SetApplyWanted(true);
        UpdateControls();
    });
    connect(cboParam, &QComboBox::editTextChanged, this, [this] { OnValueEdited(); });
    connect(cmdApplyFilter, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { OnApplyFilter(); }, kTitle); });
    cboParam->installEventFilter(this);

    connect(m_oViewer, &ctlDataViewer::ListLimitReached, this, [this](qint32 lLimit, qint32) {
        m_oFetch->CloseProgress();
        m_oState.SetDisplayed(lLimit);
    });
    // A notice that times out leaves the row count again; queued, since the
    // status bar is still clearing when it tells of the change.
    connect(sbrStatusBar, &QStatusBar::messageChanged, this, [this](const QString &sMessage) {
        if (sMessage.isEmpty() && m_oState.DataView() && !m_oState.Busy())
            QMetaObject::invokeMethod(this, [this] { UpdateStatus(); }, Qt::QueuedConnection);
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

void frmSelectDataItems::ApplyPositionAndLayout()
{
    const qint32 lPosition = m_oState.InsertPosition();
    if (lPosition >= 0 && lPosition < cboInsertPosition->count())
        cboInsertPosition->setCurrentIndex(lPosition);
    cboFormatType->setCurrentIndex(LayoutIndexOfFormatType(m_oState.FormatType()));
}

std::shared_ptr<data::DataViewDataServices> frmSelectDataItems::Services()
{
    if (!m_oServices)
        m_oServices = std::make_shared<data::DataViewDataServices>();
    return m_oServices;
}

void frmSelectDataItems::Prepare(const SelectDataRequest &oRequest)
{
    Q_ASSERT(!m_oFetch->Busy());
    const bool bNewDataView = oRequest.oDataView && oRequest.oDataView != m_oState.DataView();
    m_oState.Begin(oRequest);
    if (oRequest.oServices)
        m_oServices = oRequest.oServices;
    if (bNewDataView) {
        std::shared_ptr<config::DataView> oNone;
        m_oViewer->SetDataView(oNone, QString(), true, true);
    }
    setWindowTitle(oRequest.sFormCaption.isEmpty() ? QStringLiteral("Insert Data") : oRequest.sFormCaption);
    m_oViewer->SetCheckBoxes(oRequest.bCheckBoxes);
    ui::BusyPointer oBusy;
    sbrStatusBar->clearMessage();
    ResetFilterRow();
    if (!m_oState.DataView() || m_oState.ShowPicker()) {
        HandleErrors([this] {
            if (const auto &oDataView = m_oState.DataView()) {
                FillPicker(oDataView->Id(), m_oState.DataViewType());
                return;
            }
            const LastDataView oLast = ReadLastDataView();
            FillPicker(oLast.lId, oLast.lType);
        }, kTitle);
    }
    ApplyPositionAndLayout();
    LoadSettings(false);
    FillStyleList(m_oState.Style());
    LayoutControls();
    UpdateControls();
}

void frmSelectDataItems::LayoutControls()
{
    const SelectDataRequest &oRequest = m_oState.Request();
    lblDataView->setVisible(m_oState.ShowPicker());
    icboDataView->setVisible(m_oState.ShowPicker());
    cmdLaunchDataViewWizard->setVisible(m_oState.ShowPicker());
    cmdSaveSettings->setVisible(oRequest.bShowSave);
    cmdSelect->setVisible(oRequest.bCheckBoxes);
    cmdDeselect->setVisible(oRequest.bCheckBoxes);
    fraFormatting->setVisible(oRequest.bShowFormatControls);
}

void frmSelectDataItems::Close(bool bCancelled)
{
    m_oState.DiscardUnsavedFilters(false);
    m_oFetch->Cancel();
    m_oViewer->Cancel();
    if (bCancelled) {
        m_oState.Finish(true, Choices(), nullptr, nullptr);
        QDialog::done(QDialog::Rejected);
        return;
    }
    m_oState.Finish(false, Choices(), m_oViewer->GetSelectedItems(), m_oViewer->GetRawSelectedItems());
    if (const auto &oDataView = m_oState.DataView())
        WriteLastDataView(oDataView->Id(), m_oState.DataViewType());
    QDialog::done(QDialog::Accepted);
}

void frmSelectDataItems::OnOK()
{
    Close(false);
}

void frmSelectDataItems::OnCancel()
{
    ui::BusyPointer oBusy;
    Close(true);
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
        m_oState.MarkChanged(false);
        UpdateControls();
        return true;
    }
    return QDialog::event(oEvent);
}

void frmSelectDataItems::showEvent(QShowEvent *oEvent)
{
    QDialog::showEvent(oEvent);
    if (!m_oState.RowsPending())
        return;
    // Queued, so that the window is on screen while the rows come.
    QMetaObject::invokeMethod(this, [this] { HandleErrors([this] { OnFirstShow(); }, kTitle); }, Qt::QueuedConnection);
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
    HandleErrors([this] { OnRefresh(); }, kTitle);
}

void frmSelectDataItems::OnRefresh()
{
    if (!m_oState.RefreshAllowed())
        return;
    m_oState.DataView()->DropRows();
    m_oState.ForgetHostRows();
    FetchRows();
}

const SelectDataResult &RunSelectData(frmSelectDataItems &oForm, const SelectDataRequest &oRequest)
{
    oForm.Prepare(oRequest);
    ui::RunModal(oForm);
    return oForm.Result();
}

} // namespace qv
