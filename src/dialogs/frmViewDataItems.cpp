#include "frmViewDataItems.h"

#include "SelectDataRules.h"
#include "ado/Recordset.h"
#include "common/FetchRunner.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
#include "ui/Twips.h"
#include "viewer/ctlDataViewer.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTextBrowser>

namespace qv {

using namespace dialogs;

namespace {

const QString kTitle = QString::fromLatin1(kTitleDataViews);

} // namespace

frmViewDataItems::frmViewDataItems(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmViewDataItems"));
    setWindowTitle(QStringLiteral("Viewing Data"));
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    setSizeGripEnabled(true);
    m_oFetch = new FetchRunner(this);
    BuildControls();
    const std::pair<QWidget *, int> colHelp[] = {
        {m_oViewer, 10500}, {WebBrowser, 10510}, {optTableView, 10520}, {optNativeView, 10530}, {chkShow, 10540}};
    for (const auto &[oControl, lId] : colHelp)
        ui::SetWhatsThisHelpId(oControl, lId);
    m_oViewer->SetLVWhatsThisHelpID(10500);
    InstallHelpKey(this, true);
}

frmViewDataItems::~frmViewDataItems() = default;

void frmViewDataItems::BuildControls()
{
    txtBlankStartupView = new QLineEdit(this);
    txtBlankStartupView->setObjectName(QStringLiteral("txtBlankStartupView"));
    txtBlankStartupView->setReadOnly(true);
    txtBlankStartupView->setFocusPolicy(Qt::NoFocus);
    WebBrowser = new QTextBrowser(this);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    WebBrowser->setOpenLinks(false);
    m_oViewer = new ctlDataViewer(this);
    m_oViewer->setObjectName(QStringLiteral("ctlDataViewer"));
    m_oViewer->SetCheckBoxes(false);

    auto *oArea = new QWidget(this);
    m_oPages = new QStackedLayout(oArea);
    m_oPages->setContentsMargins(0, 0, 0, 0);
    m_oPages->addWidget(txtBlankStartupView);
    m_oPages->addWidget(WebBrowser);
    m_oPages->addWidget(m_oViewer);

    optTableView = new QRadioButton(QStringLiteral("&Display filtered data"), this);
    optTableView->setObjectName(QStringLiteral("optTableView"));
    optNativeView = new QRadioButton(QStringLiteral("Display data in &native format"), this);
    optNativeView->setObjectName(QStringLiteral("optNativeView"));
    chkShow = new QCheckBox(QStringLiteral("&Show contextual data"), this);
    chkShow->setObjectName(QStringLiteral("chkShow"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    sbrStatusBar = new QStatusBar(this);
    sbrStatusBar->setObjectName(QStringLiteral("sbrStatusBar"));
    sbrStatusBar->setSizeGripEnabled(false);

    auto *oBottom = new QHBoxLayout;
    oBottom->addWidget(optTableView);
    oBottom->addWidget(optNativeView);
    oBottom->addWidget(chkShow);
    oBottom->addStretch(1);
    oBottom->addWidget(cmdClose);
    auto *oMain = new QVBoxLayout(this);
    oMain->addWidget(oArea, 1);
    oMain->addLayout(oBottom);
    oMain->addWidget(sbrStatusBar);

    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(optNativeView, &QRadioButton::toggled, this, [this](bool bOn) {
        if (!m_oState.Busy())
            ShowTableView(!bOn);
    });
    connect(chkShow, &QCheckBox::clicked, this, [this] { HandleErrors([this] { ShowNativeView(); }, kTitle); });
    connect(m_oViewer, &ctlDataViewer::ListLimitReached, this, [this](qint32 lLimit, qint32) {
        m_oState.SetRowLimitReached(lLimit);
        m_oFetch->CloseProgress();
    });
    connect(m_oViewer, &ctlDataViewer::RefreshMe, this, [this] { UpdateStatus(); });
}

std::shared_ptr<data::DataViewDataServices> frmViewDataItems::Services()
{
    if (!m_oServices)
        m_oServices = std::make_shared<data::DataViewDataServices>();
    return m_oServices;
}

bool frmViewDataItems::Busy() const
{
    return m_oState.Busy() || m_oFetch->Busy();
}

void frmViewDataItems::Prepare(const ViewDataRequest &oRequest)
{
    m_oState.Begin(oRequest);
    if (oRequest.oServices)
        m_oServices = oRequest.oServices;
    setWindowTitle(oRequest.sFormCaption);
    const ViewPlacement oStored = ReadViewPlacement();
    const ViewDataState::Geometry oPlace = ViewDataState::GeometryOf(oStored);
    move(ui::TwipsToPixels(oPlace.lLeft, Qt::Horizontal), ui::TwipsToPixels(oPlace.lTop, Qt::Vertical));
    resize(ui::TwipsToPixels(oPlace.lWidth, Qt::Horizontal), ui::TwipsToPixels(oPlace.lHeight, Qt::Vertical));
    // Until the user places the window, it opens over the host's window.
    m_bCentre = oStored == ViewPlacement{};
    m_oHost = QApplication::activeWindow();
    CentreOnHost();
    m_oPages->setCurrentWidget(txtBlankStartupView);
}

void frmViewDataItems::showEvent(QShowEvent *oEvent)
{
    QDialog::showEvent(oEvent);
    if (!m_oState.LoadPending())
        return;
    // Queued, so that the window is on screen while the rows come.
    QMetaObject::invokeMethod(this, [this] { HandleErrors([this] { Load(); }, kTitle); }, Qt::QueuedConnection);
}

void frmViewDataItems::keyReleaseEvent(QKeyEvent *oEvent)
{
    if (oEvent->key() == Qt::Key_F5 && oEvent->modifiers() == Qt::NoModifier && !oEvent->isAutoRepeat()) {
        HandleErrors([this] { Load(); }, kTitle);
        return;
    }
    QDialog::keyReleaseEvent(oEvent);
}

void frmViewDataItems::Load()
{
    if (!m_oState.CanLoad())
        return;
    const auto &oRequest = m_oState.Request();
    auto oJob = Services()->StartFillDataView(oRequest.oDataView, oRequest.lPreview);
    m_oState.FetchStarted();
    m_oFetch->Run(oJob, m_oState.ProgressTitle(), QString::fromLatin1(kRetrievingData), [this](data::DataJob &oJob) {
        const bool bShow = !oJob.Failed() && !oJob.WasCancelled();
        m_oState.FetchEnded(bShow);
        if (oJob.Failed()) {
            // A window of no rows whose options do nothing helps nobody: the
            // error says what is wrong, and the window goes.
            HandleErrors([&] { std::rethrow_exception(oJob.Failure()); }, kTitle);
            emit Loaded();
            reject();
            return;
        }
        if (bShow)
            HandleErrors([this] { ShowRows(); }, kTitle);
        emit Loaded();
    });
}

void frmViewDataItems::ShowRows()
{
    ui::BusyPointer oBusy;
    auto oDataView = m_oState.Request().oDataView;
    m_oViewer->SetMaxRows(m_oState.MaxRows());
    m_oViewer->SetEmptyText(QString::fromLatin1(kNoRecords));
    m_oViewer->SetDataView(oDataView, QString(), true, true);
    m_oViewer->SetHideSelection(true);

    const bool bNative = m_oState.NativeView();
    chkShow->setEnabled(bNative);
    optNativeView->setEnabled(bNative);
    if (bNative)
        ShowNativeView();
    (bNative ? optNativeView : optTableView)->setChecked(true);
    ShowTableView(!bNative);
    setWindowTitle(m_oState.Title());
    FitPreview();
    UpdateStatus();
    const auto oCounted = oDataView;
    m_oFetch->WhenReady([oCounted] { return !CountPending(oCounted); }, [this] { UpdateStatus(); });
}

void frmViewDataItems::CentreOnHost()
{
    if (!m_bCentre || !m_oHost || m_oHost == this)
        return;
    QRect oFrame = frameGeometry();
    oFrame.moveCenter(m_oHost->frameGeometry().center());
    move(oFrame.topLeft());
}

// A preview is as tall as its few rows need, never taller than it opened.
void frmViewDataItems::FitPreview()
{
    if (m_oState.Request().lPreview <= 0 || m_oViewer->RecordCount() == 0)
        return;
    const int lWanted = m_oViewer->HeightForRows(m_oViewer->RecordCount());
    const int lSpare = m_oViewer->height() - lWanted;
    if (lSpare <= 0)
        return;
    resize(width(), height() - lSpare);
    CentreOnHost();
}

void frmViewDataItems::ShowNativeView()
{
    const auto &oDataView = m_oState.Request().oDataView;
    if (!oDataView || m_oFetch->Busy())
        return;
    if (chkShow->isChecked()) {
        // The whole page is the file as it stands: nothing to wait for.
        WebBrowser->setHtml(Services()->GetHtml(oDataView, true));
        return;
    }
    auto oJob = Services()->StartTableHtml(oDataView, [this](QString sHtml) { WebBrowser->setHtml(sHtml); });
    m_oFetch->Run(oJob, m_oState.ProgressTitle(), QString::fromLatin1(kRetrievingData), [](data::DataJob &oJob) {
        if (oJob.Failed())
            HandleErrors([&] { std::rethrow_exception(oJob.Failure()); }, kTitle);
    });
}

void frmViewDataItems::ShowTableView(bool bTable)
{
    m_oPages->setCurrentWidget(bTable ? static_cast<QWidget *>(m_oViewer) : WebBrowser);
}

void frmViewDataItems::UpdateStatus()
{
    sbrStatusBar->showMessage(m_oState.Status(m_oViewer->RecordCount()));
}

void frmViewDataItems::done(int lResult)
{
    m_oFetch->Cancel();
    m_oState.Finish({ui::PixelsToTwips(x(), Qt::Horizontal), ui::PixelsToTwips(y(), Qt::Vertical),
                     ui::PixelsToTwips(width(), Qt::Horizontal), ui::PixelsToTwips(height(), Qt::Vertical)});
    WriteViewPlacement(m_oState.Result().oPlacement);
    if (const auto &oDataView = m_oState.Request().oDataView)
        oDataView->DropRows();
    QDialog::done(lResult);
}

const ViewDataResult &RunViewData(frmViewDataItems &oForm, const ViewDataRequest &oRequest)
{
    oForm.Prepare(oRequest);
    ui::RunModal(oForm);
    return oForm.Result();
}

} // namespace qv
