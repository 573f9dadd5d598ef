#include "frmViewDataItems.h"

#include "SelectDataRules.h"
#include "ado/Recordset.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"
#include "ui/MousePointer.h"
#include "ui/ProgressDialog.h"
#include "ui/Twips.h"
#include "viewer/ctlDataViewer.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>

namespace qv {

using namespace dialogs;

namespace {

// Below the Close button's stored place the window has this much room.
constexpr int kCloseMargin = 1500;
constexpr int kProgressDelayMs = 4000;
constexpr int kFullViewRows = 5000;
constexpr int kSourceRendersItself = 8;

const QString kTitle = QString::fromLatin1(kTitleDataViews);

} // namespace

frmViewDataItems::frmViewDataItems(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmViewDataItems"));
    setWindowTitle(QStringLiteral("Viewing Data"));
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    setSizeGripEnabled(true);
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
        if (!m_bBusy)
            ShowTableView(!bOn);
    });
    connect(chkShow, &QCheckBox::clicked, this, [this] { HandleErrors([this] { ShowNativeView(); }, kTitle); });
    connect(m_oViewer, &ctlDataViewer::ListLimitReached, this, [this](qint32 lLimit, qint32) {
        m_lRowLimit = lLimit;
        if (m_oProgress)
            m_oProgress->Close();
    });
    connect(m_oViewer, &ctlDataViewer::RefreshMe, this, [this] { UpdateStatus(); });
}

void frmViewDataItems::SetDataView(const std::shared_ptr<config::DataView> &oDataView)
{
    m_oDataView = oDataView;
    m_bLoadPending = true;
}

void frmViewDataItems::SetFormCaption(const QString &sCaption)
{
    m_sFormCaption = sCaption;
    setWindowTitle(sCaption);
}

void frmViewDataItems::SetDataServices(const std::shared_ptr<data::DataViewDataServices> &oServices)
{
    m_oServices = oServices;
}

std::shared_ptr<data::DataViewDataServices> frmViewDataItems::Services()
{
    if (!m_oServices)
        m_oServices = std::make_shared<data::DataViewDataServices>();
    return m_oServices;
}

void frmViewDataItems::Prepare()
{
    const ViewPlacement oPlace = ReadViewPlacement();
    move(ui::TwipsToPixels(oPlace.lFormLeft, Qt::Horizontal), ui::TwipsToPixels(oPlace.lFormTop, Qt::Vertical));
    resize(ui::TwipsToPixels(oPlace.lCloseLeft + kCloseMargin, Qt::Horizontal),
           ui::TwipsToPixels(oPlace.lCloseTop + kCloseMargin, Qt::Vertical));
    m_oPages->setCurrentWidget(txtBlankStartupView);
}

void frmViewDataItems::paintEvent(QPaintEvent *oEvent)
{
    QDialog::paintEvent(oEvent);
    if (!m_bLoadPending || m_bBusy)
        return;
    m_bLoadPending = false;
    m_bBusy = true;
    // Loaded once this paint is over, so that the window is seen meanwhile.
    QTimer::singleShot(0, this, [this] { HandleErrors([this] { Load(); }, kTitle); });
}

void frmViewDataItems::keyReleaseEvent(QKeyEvent *oEvent)
{
    if (oEvent->key() == Qt::Key_F5 && oEvent->modifiers() == Qt::NoModifier && !oEvent->isAutoRepeat()) {
        if (!m_bBusy) {
            m_bBusy = true;
            HandleErrors([this] { Load(); }, kTitle);
        }
        return;
    }
    QDialog::keyReleaseEvent(oEvent);
}

void frmViewDataItems::Load()
{
    struct Done
    {
        frmViewDataItems *f;
        ~Done()
        {
            f->m_bBusy = false;
            f->cmdClose->setEnabled(true);
            if (f->m_oProgress)
                f->m_oProgress->Close();
            f->m_oProgress.reset();
            emit f->Loaded();
        }
    } oDone{this};
    m_bBusy = true;
    ui::BusyPointer oBusy;
    cmdClose->setEnabled(false);
    m_sProgressTitle = ViewProgressTitle(m_oDataView ? m_oDataView->Name : QString());
    m_oProgress = std::make_unique<ui::ProgressDialog>(this);
    m_oProgress->SetCaption(m_sProgressTitle);
    m_oProgress->SetMessage(QString::fromLatin1(kRetrievingData));
    connect(Services().get(), &data::DataViewDataServices::Fetching, m_oProgress.get(), &ui::ProgressDialog::SetValue);
    connect(m_oProgress.get(), &ui::ProgressDialog::Cancelled, this, [this] { Services()->Cancel(); });
    m_oProgress->ShowAfter(kProgressDelayMs);
    cmdClose->setEnabled(true);
    if (m_oDataView)
        Services()->FillDataView(m_oDataView, m_lPreview);
    disconnect(Services().get(), nullptr, m_oProgress.get(), nullptr);
    if (Services()->Cancelled())
        return;

    m_lRowLimit = 0;
    m_oViewer->SetMaxRows(m_lPreview > 0 ? m_lPreview : kFullViewRows);
    m_oProgress->Close();
    if (m_oDataView) {
        auto oDataView = m_oDataView;
        m_oViewer->SetDataView(oDataView, QString(), true, true);
    }
    m_oViewer->SetHideSelection(true);

    const bool bNative = m_oDataView && m_oDataView->Source.Kind == kSourceRendersItself;
    chkShow->setEnabled(bNative);
    optNativeView->setEnabled(bNative);
    if (bNative)
        ShowNativeView();
    (bNative ? optNativeView : optTableView)->setChecked(true);
    ShowTableView(!bNative);
    setWindowTitle(WindowTitle(m_sFormCaption, m_oDataView ? m_oDataView->Name : QString(), QString::fromLatin1(kUntitled)));
    UpdateStatus();
}

void frmViewDataItems::ShowNativeView()
{
    if (!m_oDataView)
        return;
    ui::BusyPointer oBusy;
    WebBrowser->setHtml(Services()->GetHtml(m_oDataView, chkShow->isChecked()));
}

void frmViewDataItems::ShowTableView(bool bTable)
{
    m_oPages->setCurrentWidget(bTable ? static_cast<QWidget *>(m_oViewer) : WebBrowser);
}

void frmViewDataItems::UpdateStatus()
{
    qint64 lTotal = 0;
    if (m_oDataView && m_oDataView->Recordset)
        lTotal = m_oDataView->Recordset->RecordCount();
    // The list is read-only: nothing counts as selected, and rows are
    // "displayed" by number only when the row limit cut the list.
    sbrStatusBar->showMessage(StatusText(m_lRowLimit > 0 ? m_oViewer->RecordCount() : 0, 0, lTotal));
}

void frmViewDataItems::SavePlacement()
{
    ViewPlacement oPlace;
    oPlace.lFormLeft = ui::PixelsToTwips(x(), Qt::Horizontal);
    oPlace.lFormTop = ui::PixelsToTwips(y(), Qt::Vertical);
    // The window's size is kept as the Close button's place, as it always was.
    oPlace.lCloseLeft = ui::PixelsToTwips(width(), Qt::Horizontal) - kCloseMargin;
    oPlace.lCloseTop = ui::PixelsToTwips(height(), Qt::Vertical) - kCloseMargin;
    WriteViewPlacement(oPlace);
}

void frmViewDataItems::done(int lResult)
{
    if (m_bBusy && m_oServices)
        m_oServices->Cancel();
    if (m_oProgress)
        m_oProgress->Close();
    SavePlacement();
    if (m_oDataView)
        m_oDataView->DropRows();
    QDialog::done(lResult);
}

} // namespace qv
