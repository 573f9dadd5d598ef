#include "frmMain.h"

#include "ManagerImages.h"
#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "qvuser/DVUser.h"
#include "ui/Twips.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

namespace qv {

using namespace manager;

namespace {

template<typename Widget>
Widget *Named(Widget *oWidget, const char *sName)
{
    oWidget->setObjectName(QLatin1String(sName));
    return oWidget;
}

// The details picture's size and its distance from the pane's edges, in pixels.
constexpr int kPictureSize = 32, kPictureMargin = 4;

int Twips(int lTwips, Qt::Orientation lOrientation = Qt::Horizontal)
{
    return ui::TwipsToPixels(lTwips, lOrientation);
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), m_oSettings(std::make_unique<biz::ConfigFileSettings>())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Data View Manager"));
    m_colImages = BuildImageList(style());
    setWindowIcon(m_colImages.value(QStringLiteral("Dataview")));
    m_oTreeModel = new ManagerTreeModel(this);
    m_oTreeModel->SetImages(&m_colImages);
    m_oListModel = new ManagerListModel(this);
    m_oListModel->SetImages(&m_colImages);
    m_oSortModel = new ManagerSortModel(this);
    m_oSortModel->setSourceModel(m_oListModel);
    tmrLaunchManageSmartTagRecognizerTerms = Named(new QTimer(this), "tmrLaunchManageSmartTagRecognizerTerms");
    tmrLaunchManageSmartTagRecognizerTerms->setSingleShot(true);
    tmrLaunchManageSmartTagRecognizerTerms->setInterval(100);
    BuildMenus();
    BuildToolbar();
    ConnectTeamCommands();
    BuildControls();
    ConnectCommands();
    UpdateUndoState();
    m_oListModel->DragData = [this] { return MakeDragData(); };
    m_oTreeModel->CanDrop = [this](const QMimeData *oData, const QModelIndex &oNode) { return CanDropOn(oData, oNode); };
    m_oTreeModel->Drop = [this](const QMimeData *oData, const QModelIndex &oNode) { return DropOn(oData, oNode); };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
    ClipboardChanged();
    PlaceWindow();
    InstallHelpKey(this);

    mnuHelpEnableTutorialDataViews->setChecked(m_oSettings->TutorialEnabled());
    findChild<QAction *>(QStringLiteral("mnuHelpResetTutorialDataViews"))
        ->setEnabled(mnuHelpEnableTutorialDataViews->isChecked());
    // The change stamps are read when the window is given its files (ShowSmartTagView).
    m_oWatchTimer = new QTimer(this);
    m_oWatchTimer->setSingleShot(true);
    connect(m_oWatchTimer, &QTimer::timeout, this, [this] { HandleErrors([this] { AbsorbOutsideSave(); }); });
}

frmMain::~frmMain()
{
    WritePlacement();
    // The views go with the window's children, after the image list: as they
    // hide they ask the models once more, which must no longer reach it.
    m_oTreeModel->SetImages(nullptr);
    m_oListModel->SetImages(nullptr);
}

void frmMain::BuildControls()
{
    auto *oTop = new QWidget(this);
    auto *oLayout = new QVBoxLayout(oTop);
    oLayout->setContentsMargins(0, 0, 0, 0);
    oLayout->setSpacing(0);
    fraToolbarBottom = Named(new QFrame(oTop), "fraToolbarBottom");
    fraToolbarBottom->setFrameShape(QFrame::HLine);
    fraToolbarBottom->setFrameShadow(QFrame::Sunken);
    oLayout->addWidget(fraToolbarBottom);

    imgHorizonalSplitter = Named(new QSplitter(Qt::Vertical, oTop), "imgHorizonalSplitter");
    imgHorizonalSplitter->addWidget(Named(new QFrame, "fraDetails"));
    imgHorizonalSplitter->addWidget(BuildDetailsPane());
    auto *oListLayout = new QVBoxLayout(imgHorizonalSplitter->widget(0));
    oListLayout->setContentsMargins(0, 0, 0, 0);
    lvDetails = Named(new QTreeView, "lvDetails");
    lvDetails->setRootIsDecorated(false);
    lvDetails->setUniformRowHeights(true);
    lvDetails->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvDetails->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvDetails->setAllColumnsShowFocus(true);
    lvDetails->setModel(m_oSortModel);
    lvDetails->header()->setSectionsClickable(true);
    lvDetails->header()->setSortIndicatorShown(true);
    lvDetails->header()->setStretchLastSection(false);
    // Data views are dragged from the list onto the other root's "Data Views" folder.
    lvDetails->setDragEnabled(true);
    lvDetails->setDragDropMode(QAbstractItemView::DragOnly);
    lvDetails->setDefaultDropAction(Qt::CopyAction);
    oListLayout->addWidget(lvDetails);

    imgSplitter = Named(new QSplitter(Qt::Horizontal, oTop), "imgSplitter");
    imgSplitter->addWidget(BuildTreePane());
    imgSplitter->addWidget(imgHorizonalSplitter);
    // The bar shows while it is dragged and the panes follow when it is let go.
    for (QSplitter *oSplitter : {imgSplitter, imgHorizonalSplitter}) {
        oSplitter->setOpaqueResize(false);
        oSplitter->setChildrenCollapsible(false);
    }
    // No pane comes nearer the window's edges than the splitters' margin.
    imgSplitter->widget(0)->setMinimumWidth(Twips(ManagerState::kSplitterMargin));
    imgHorizonalSplitter->setMinimumWidth(Twips(ManagerState::kSplitterMargin));
    for (int i = 0; i < 2; ++i)
        imgHorizonalSplitter->widget(i)->setMinimumHeight(Twips(ManagerState::kSplitterMargin, Qt::Vertical) / 2);
    imgSplitter->setSizes({Twips(3000), Twips(7000)});
    imgHorizonalSplitter->setSizes({Twips(3000, Qt::Vertical), Twips(2500, Qt::Vertical)});
    oLayout->addWidget(imgSplitter, 1);
    setCentralWidget(oTop);

    sbrStatus = Named(new QStatusBar(this), "sbrStatus");
    setStatusBar(sbrStatus);
    setMinimumSize(Twips(ManagerState::kMinWidth), Twips(ManagerState::kMinHeight, Qt::Vertical));

    connect(tvTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &oNode) {
                if (m_bSelecting || !oNode.isValid())
                    return;
                HandleErrors([&] {
                    OnNodeSelected(oNode, false);
                    UpdateDetails();
                });
            });
    connect(lvDetails->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_bSelecting)
            HandleErrors([this] { UpdateDetails(); });
    });
    connect(lvDetails->header(), &QHeaderView::sectionClicked, this, [this](int lColumn) {
        HandleErrors([&] { SortList(lColumn, m_oSortModel->NextOrder()); });
    });
}

QWidget *frmMain::BuildTreePane()
{
    auto *fraTv = Named(new QFrame, "fraTv");
    auto *oLayout = new QVBoxLayout(fraTv);
    oLayout->setContentsMargins(0, 0, 0, 0);
    lblTvTitle = Named(new QLabel(QStringLiteral("Configurations"), fraTv), "lblTvTitle");
    tvTreeView = Named(new QTreeView(fraTv), "tvTreeView");
    tvTreeView->setHeaderHidden(true);
    tvTreeView->setModel(m_oTreeModel);
    tvTreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    // A drop anywhere on a folder's row is a drop on that folder.
    tvTreeView->setAcceptDrops(true);
    tvTreeView->setDragDropMode(QAbstractItemView::DropOnly);
    tvTreeView->setDragDropOverwriteMode(true);
    tvTreeView->setDropIndicatorShown(true);
    oLayout->addWidget(lblTvTitle);
    oLayout->addWidget(tvTreeView, 1);
    return fraTv;
}

QWidget *frmMain::BuildDetailsPane()
{
    auto *fraProperties = Named(new QFrame, "fraProperties");
    lblProperties = Named(new QLabel(QStringLiteral("Details"), fraProperties), "lblProperties");
    // The picture stands beside the text and scrolls with it: fraIcon clips
    // it, and the text's scroll bar moves it.
    auto *fraIcon = Named(new QFrame(fraProperties), "fraIcon");
    fraIcon->setFixedWidth(kPictureSize + 2 * kPictureMargin);
    imgPicture = Named(new QLabel(fraIcon), "imgPicture");
    imgPicture->setGeometry(kPictureMargin, kPictureMargin, kPictureSize, kPictureSize);
    rtfPropertyPane = Named(new QTextEdit(fraProperties), "rtfPropertyPane");
    rtfPropertyPane->setReadOnly(true);
    rtfPropertyPane->setFrameShape(QFrame::NoFrame);
    // The scroll bar shows only when the text is taller than the pane.
    rtfPropertyPane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QScrollBar *vsPropertyPane = rtfPropertyPane->verticalScrollBar();
    vsPropertyPane->setObjectName(QStringLiteral("vsPropertyPane"));
    connect(vsPropertyPane, &QScrollBar::valueChanged, imgPicture,
            [this](int lValue) { imgPicture->move(kPictureMargin, kPictureMargin - lValue); });
    // The frame takes the text's background, so that picture and text read as one pane.
    fraProperties->setAutoFillBackground(true);
    QPalette oPalette = fraProperties->palette();
    oPalette.setColor(QPalette::Window, rtfPropertyPane->palette().color(QPalette::Base));
    fraProperties->setPalette(oPalette);

    auto *oBody = new QHBoxLayout;
    oBody->addWidget(fraIcon);
    oBody->addWidget(rtfPropertyPane, 1);
    auto *oLayout = new QVBoxLayout(fraProperties);
    oLayout->setContentsMargins(0, 0, 0, 0);
    oLayout->addWidget(lblProperties);
    oLayout->addLayout(oBody, 1);
    return fraProperties;
}

QAction *frmMain::AddItem(QMenu *oMenu, const char *sName, const QString &sCaption)
{
    QAction *oItem = sCaption == QLatin1String("-") ? oMenu->addSeparator() : oMenu->addAction(sCaption);
    oItem->setObjectName(QLatin1String(sName));
    return oItem;
}

void frmMain::BuildMenus()
{
    struct Item
    {
        const char *sName, *sCaption, *sCommand;
    };
    struct Menu
    {
        const char *sName, *sCaption;
        std::vector<Item> colItems;
    };
    const Menu colMenus[] = {
        {"mnuFile", "&File",
         {{"mnuFileNew", "&New...", "New"},
          {"mnuConnectToTeamDataViews", "&Connect to Team Data Views...", ""},
          {"mnuDisconnectFromTeamDataViews", "&Disconnect from Team Data Views", ""},
          {"mnuFileSeparator1", "-", ""},
          {"mnuFileExit", "E&xit", ""}}},
        {"mnuEdit", "&Edit",
         {{"mnuEditUndo", "&Undo", ""},
          {"mnuEditSeparator0", "-", ""},
          {"mnuEditCopy", "&Copy", "Copy"},
          {"mnuEditPaste", "&Paste", "Paste"},
          {"mnuEditDelete", "&Delete", "Delete"},
          {"mnuEditRename", "Re&name", "Rename"},
          {"mnuEditSeparator1", "-", ""},
          {"mnuEditEnable", "&Enable", "Enable"},
          {"mnuEditDisable", "D&isable", "Disable"},
          {"mnuEditSeparator2", "-", ""},
          {"mnuEditManageSmartTagRecognizerTerms", "&Smart Tag Recognizer Terms ...", "Terms"},
          {"mnuEditClearWarnings", "Clear &Warnings", "ClearWarnings"},
          {"mnuEditSeparator3", "-", ""},
          {"mnuEditProperties", "P&roperties...", "Properties"}}},
        {"mnuView", "&View",
         {{"mnuViewPreview", "&Preview", "Preview"}, {"mnuViewSeparator1", "-", ""}, {"mnuViewRefresh", "&Refresh", ""}}},
        {"mnuHelp", "&Help",
         {{"mnuHelpContents", "&Data View Manager Help", ""},
          {"mnuViewSeparator2", "-", ""},
          {"mnuHelpEnableTutorialDataViews", "&Enable Tutorial Data Views", ""},
          {"mnuHelpResetTutorialDataViews", "&Reset Tutorial Data Views", ""}}},
        {"mnuPopup", "",
         {{"mnuPopupNew", "&New...", "New"},
          {"mnuPopupCopy", "&Copy", "Copy"},
          {"mnuPopupPaste", "&Paste", "Paste"},
          {"mnuPopupDelete", "&Delete", "Delete"},
          {"mnuPopupRename", "Rena&me", "Rename"},
          {"mnuPopUpSeparator1", "-", ""},
          {"mnuPopupPreview", "&Preview", "Preview"},
          {"mnuPopUpSeparator2", "-", ""},
          {"mnuPopupProperties", "P&roperties...", "Properties"}}},
        {"mnuSTPopup", "",
         {{"mnuSTPopupNew", "&New...", "New"},
          {"mnuSTPopupDelete", "&Delete", "Delete"},
          {"mnuSTPopupRename", "&Rename", "Rename"},
          {"mnuSeparator2", "-", ""},
          {"mnuSTPopupEnable", "&Enable", "Enable"},
          {"mnuSTPopupDisable", "D&isable", "Disable"},
          {"mnuSeparator3", "-", ""},
          {"mnuSTPopupManageSmartTagRecognizerTerms", "&Smart Tag Recognizer Terms...", "Terms"},
          {"mnuSTPopupClearWarnings", "Clear &Warnings", "ClearWarnings"},
          {"mnuSeparator4", "-", ""},
          {"mnuSTPopupProperties", "P&roperties...", "Properties"}}},
        {"mnuConfigurationPopUp", "", {{"mnuConfigurationPopupProperties", "P&roperties...", "Properties"}}},
    };
    for (const Menu &oSpec : colMenus) {
        const bool bPopup = *oSpec.sCaption == '\0';
        auto *oMenu = bPopup ? new QMenu(this) : menuBar()->addMenu(QString::fromLatin1(oSpec.sCaption));
        oMenu->setObjectName(QLatin1String(oSpec.sName));
        for (const Item &oItem : oSpec.colItems) {
            QAction *oAction = AddItem(oMenu, oItem.sName, QString::fromLatin1(oItem.sCaption));
            if (*oItem.sCommand)
                m_colCommands[QLatin1String(oItem.sCommand)] << oAction;
        }
    }
    mnuPopup = findChild<QMenu *>(QStringLiteral("mnuPopup"));
    mnuSTPopup = findChild<QMenu *>(QStringLiteral("mnuSTPopup"));
    mnuConfigurationPopUp = findChild<QMenu *>(QStringLiteral("mnuConfigurationPopUp"));
    mnuHelpEnableTutorialDataViews = findChild<QAction *>(QStringLiteral("mnuHelpEnableTutorialDataViews"));
    mnuHelpEnableTutorialDataViews->setCheckable(true);
    mnuDisconnectFromTeamDataViews = findChild<QAction *>(QStringLiteral("mnuDisconnectFromTeamDataViews"));
    mnuEditUndo = findChild<QAction *>(QStringLiteral("mnuEditUndo"));
    // The keys of the menu bar's items (the right-click items and the toolbar share their commands).
    const std::pair<const char *, QKeySequence> colKeys[] = {
        {"mnuFileNew", QKeySequence::New},      {"mnuEditUndo", QKeySequence::Undo},
        {"mnuEditCopy", QKeySequence::Copy},    {"mnuEditPaste", QKeySequence::Paste},
        {"mnuEditRename", QKeySequence(Qt::Key_F2)}, {"mnuViewRefresh", QKeySequence::Refresh},
        {"mnuEditProperties", QKeySequence(Qt::ALT | Qt::Key_Return)}};
    for (const auto &[sName, oKey] : colKeys)
        findChild<QAction *>(QLatin1String(sName))->setShortcut(oKey);
    connect(findChild<QAction *>(QStringLiteral("mnuFileExit")), &QAction::triggered, this, &QWidget::hide);
}

void frmMain::BuildToolbar()
{
    tbrMain = Named(new QToolBar(this), "tbrMain");
    tbrMain->setMovable(false);
    tbrMain->setFloatable(false);
    addToolBar(tbrMain);
    const QString colKeys[] = {QStringLiteral("New"), QStringLiteral("Copy"), QStringLiteral("Paste"),
                               QStringLiteral("Delete"), QStringLiteral("Properties"), QStringLiteral("Help")};
    const QList<QIcon> colPictures = ToolbarPictures(style());
    for (int i = 0; i < 6; ++i) {
        QAction *oButton = tbrMain->addAction(colPictures.value(i), colKeys[i]);
        oButton->setObjectName(colKeys[i]);
        oButton->setToolTip(LoadResString(quint32(706 + i)));
        if (colKeys[i] != QLatin1String("Help"))
            m_colCommands[colKeys[i]] << oButton;
    }
}

void frmMain::PlaceWindow()
{
    const ManagerPlacement oPlace = ManagerState::OpeningPlacement(ManagerState::ReadPlacement());
    move(ui::TwipsToPixels(int(oPlace.dLeft)), ui::TwipsToPixels(int(oPlace.dTop), Qt::Vertical));
    resize(ui::TwipsToPixels(int(oPlace.dWidth)), ui::TwipsToPixels(int(oPlace.dHeight), Qt::Vertical));
}

void frmMain::WritePlacement()
{
    if (m_bPlacementWritten)
        return;
    m_bPlacementWritten = true;
    ManagerPlacement oPlace;
    oPlace.lWindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    oPlace.dLeft = ui::PixelsToTwips(x());
    oPlace.dTop = ui::PixelsToTwips(y(), Qt::Vertical);
    oPlace.dWidth = ui::PixelsToTwips(width());
    oPlace.dHeight = ui::PixelsToTwips(height(), Qt::Vertical);
    ManagerState::WritePlacement(oPlace);
}

void frmMain::closeEvent(QCloseEvent *oEvent)
{
    WritePlacement();
    QMainWindow::closeEvent(oEvent);
}

} // namespace qv
