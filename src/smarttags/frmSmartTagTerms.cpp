#include "frmSmartTagTerms.h"

#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "ui/HelpService.h"
#include "ui/Modal.h"
#include "ui/MousePointer.h"
#include "ui/Twips.h"

#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace qv {

using namespace smarttags;

namespace {

template<typename Widget>
Widget *Named(Widget *oWidget, const char *sName)
{
    oWidget->setObjectName(QLatin1String(sName));
    return oWidget;
}

} // namespace

frmSmartTagTerms::frmSmartTagTerms(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSmartTagTerms"));
    setWindowTitle(QStringLiteral("SmartTag Terms"));
    setModal(true);

    auto *lblDataView = Named(new QLabel(QStringLiteral("Data View:"), this), "lblDataView");
    lblTermsFromDataView = Named(new QLabel(this), "lblTermsFromDataView");
    lblTermsFromDataView->setWordWrap(true);

    auto *oLayout = new QVBoxLayout(this);
    oLayout->addWidget(lblDataView);
    oLayout->addWidget(lblTermsFromDataView);
    oLayout->addWidget(BuildList(SmartTagTermsState::Included, QStringLiteral("&Additional Terms:"),
                                 "lblAdditionalTermsTitle", "lvIncludedItems",
                                 {QStringLiteral("&New"), QStringLiteral("&Rename"), QStringLiteral("&Delete")},
                                 {"cmdIncludedNew", "cmdIncludedRename", "cmdIncludedDelete"}),
                       1);
    oLayout->addWidget(BuildList(SmartTagTermsState::Excluded, QStringLiteral("&Excluded Terms:"), "lblExcludedTitle",
                                 "lvExcludedItems",
                                 {QStringLiteral("Ne&w"), QStringLiteral("Ren&ame"), QStringLiteral("De&lete")},
                                 {"cmdExcludedNew", "cmdExcludedRename", "cmdExcludedDelete"}),
                       1);
    auto *cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    auto *cmdCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    cmdOK->setDefault(true);
    auto *oButtons = new QHBoxLayout;
    oButtons->addStretch(1);
    oButtons->addWidget(cmdOK);
    oButtons->addWidget(cmdCancel);
    oLayout->addLayout(oButtons);
    connect(cmdOK, &QPushButton::clicked, this, &frmSmartTagTerms::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSmartTagTerms::reject);

    mnuPopUpMenu = Named(new QMenu(this), "mnuPopUpMenu");
    QAction *mnuRename = mnuPopUpMenu->addAction(QStringLiteral("&Rename"));
    mnuRename->setObjectName(QStringLiteral("mnuPopUpMenuRename"));
    QAction *mnuDelete = mnuPopUpMenu->addAction(QStringLiteral("&Delete"));
    mnuDelete->setObjectName(QStringLiteral("mnuPopUpMenuDelete"));
    connect(mnuRename, &QAction::triggered, this, [this] { HandleErrors([this] { RenameTerm(m_lPopupList); }); });
    connect(mnuDelete, &QAction::triggered, this, [this] { HandleErrors([this] { DeleteTerms(m_lPopupList); }); });

    const std::pair<QWidget *, int> colHelp[] = {
        {lvItems[0], 24200}, {cmdNew[0], 24220}, {cmdRename[0], 24230}, {cmdDelete[0], 24240},
        {lvItems[1], 24051}, {cmdNew[1], 24250}, {cmdRename[1], 24260}, {cmdDelete[1], 24270},
        {cmdOK, 30010},      {cmdCancel, 30000}};
    for (const auto &[oControl, lId] : colHelp)
        ui::SetWhatsThisHelpId(oControl, lId);
    InstallHelpKey(this, true);
    resize(sizeHint().expandedTo(QSize(ui::TwipsToPixels(6000, Qt::Horizontal), ui::TwipsToPixels(6000, Qt::Vertical))));
}

frmSmartTagTerms::~frmSmartTagTerms() = default;

QWidget *frmSmartTagTerms::BuildList(List lList, const QString &sTitle, const char *sLabel, const char *sView,
                                     const QStringList &colCaptions, const std::array<const char *, 3> &colButtons)
{
    auto *oFrame = new QWidget(this);
    auto *oGrid = new QGridLayout(oFrame);
    oGrid->setContentsMargins(0, 0, 0, 0);
    lblTitle[lList] = Named(new QLabel(sTitle, oFrame), sLabel);
    QTreeWidget *oView = lvItems[lList] = Named(new QTreeWidget(oFrame), sView);
    lblTitle[lList]->setBuddy(oView);
    oView->setColumnCount(1);
    oView->setHeaderLabels({QStringLiteral("Terms")});
    oView->setRootIsDecorated(false);
    oView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    oView->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    oView->header()->setSectionsClickable(true);
    oView->header()->setStretchLastSection(true);
    oView->viewport()->installEventFilter(this);
    oView->installEventFilter(this);
    QPushButton **colTargets[] = {&cmdNew[lList], &cmdRename[lList], &cmdDelete[lList]};
    auto *oButtons = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        *colTargets[i] = Named(new QPushButton(colCaptions[i], oFrame), colButtons[size_t(i)]);
        (*colTargets[i])->setAutoDefault(false);
        oButtons->addWidget(*colTargets[i]);
    }
    oButtons->addStretch(1);
    oGrid->addWidget(lblTitle[lList], 0, 0, 1, 2);
    oGrid->addWidget(oView, 1, 0);
    oGrid->addLayout(oButtons, 1, 1);

    connect(cmdNew[lList], &QPushButton::clicked, this, [this, lList] { HandleErrors([&] { NewTerm(lList); }); });
    connect(cmdRename[lList], &QPushButton::clicked, this, [this, lList] { HandleErrors([&] { RenameTerm(lList); }); });
    connect(cmdDelete[lList], &QPushButton::clicked, this, [this, lList] { HandleErrors([&] { DeleteTerms(lList); }); });
    connect(oView, &QTreeWidget::itemChanged, this, [this, lList](QTreeWidgetItem *oItem) {
        if (!m_bFilling)
            m_oState.SetTerm(lList, lvItems[lList]->indexOfTopLevelItem(oItem), oItem->text(0));
    });
    connect(oView, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(oView->header(), &QHeaderView::sectionClicked, this,
            [this, lList] { HandleErrors([&] { SortList(lList); }); });
    return oFrame;
}

void frmSmartTagTerms::SetCaption(const QString &sName)
{
    m_sCaption = sName;
    setWindowTitle(SmartTagTermsState::Caption(sName));
}

void frmSmartTagTerms::SetHeaderIcon(QHeaderView *oHeader, int lColumn, Qt::SortOrder lOrder)
{
    oHeader->setSortIndicatorShown(true);
    oHeader->setSortIndicator(lColumn - 1, lOrder);
}

void frmSmartTagTerms::Prepare(const SmartTagTermsRequest &oRequest)
{
    m_oState.Begin(oRequest);
    SetCaption(oRequest.sSmartTagName);
    lblTitle[0]->setText(QStringLiteral("&Additional Terms:"));
    lblTitle[1]->setText(QStringLiteral("&Excluded Terms:"));
    lblTermsFromDataView->setText(SmartTagTermsState::DataViewSentence(oRequest));
    for (const List lList : {SmartTagTermsState::Included, SmartTagTermsState::Excluded}) {
        lvItems[lList]->header()->setSortIndicatorShown(false);
        FillList(lList);
    }
    if (lvItems[0]->topLevelItemCount() > 0) {
        lvItems[0]->setCurrentItem(lvItems[0]->topLevelItem(0));
        lvItems[0]->topLevelItem(0)->setSelected(true);
    }
    UpdateButtons();
}

void frmSmartTagTerms::ShowForm(config::Recognizer &oRecognizer)
{
    const SmartTagTermsResult &oResult =
        RunSmartTagTerms(*this, SmartTagTermsRequest::For(oRecognizer, m_sCaption));
    oResult.WriteBack(oRecognizer);
}

void frmSmartTagTerms::FillList(List lList)
{
    m_bFilling = true;
    QTreeWidget *oView = lvItems[lList];
    oView->clear();
    for (const QString &sTerm : m_oState.Terms(lList)) {
        auto *oItem = new QTreeWidgetItem(oView, {sTerm});
        oItem->setFlags(oItem->flags() | Qt::ItemIsEditable);
    }
    m_bFilling = false;
}

int frmSmartTagTerms::SelectedRow(List lList) const
{
    QTreeWidget *oView = lvItems[lList];
    QTreeWidgetItem *oCurrent = oView->currentItem();
    if (oCurrent && oCurrent->isSelected())
        return oView->indexOfTopLevelItem(oCurrent);
    const QList<QTreeWidgetItem *> colSelected = oView->selectedItems();
    return colSelected.isEmpty() ? -1 : oView->indexOfTopLevelItem(colSelected.first());
}

void frmSmartTagTerms::UpdateButtons()
{
    for (const List lList : {SmartTagTermsState::Included, SmartTagTermsState::Excluded}) {
        const auto oButtons = SmartTagTermsState::ButtonStates(lvItems[lList]->topLevelItemCount(),
                                                               int(lvItems[lList]->selectedItems().size()));
        cmdRename[lList]->setEnabled(oButtons.bRename);
        cmdDelete[lList]->setEnabled(oButtons.bDelete);
    }
}

void frmSmartTagTerms::NewTerm(List lList)
{
    QTreeWidget *oView = lvItems[lList];
    oView->clearSelection();
    const int lRow = m_oState.NewTerm(lList);
    m_bFilling = true;
    auto *oItem = new QTreeWidgetItem(oView, {m_oState.Terms(lList).at(lRow)});
    oItem->setFlags(oItem->flags() | Qt::ItemIsEditable);
    m_bFilling = false;
    oView->setCurrentItem(oItem);
    oItem->setSelected(true);
    oView->setFocus();
    oView->editItem(oItem, 0);
    UpdateButtons();
}

void frmSmartTagTerms::RenameTerm(List lList)
{
    const int lRow = SelectedRow(lList);
    if (lRow < 0)
        return;
    QTreeWidget *oView = lvItems[lList];
    oView->setFocus();
    oView->setCurrentItem(oView->topLevelItem(lRow));
    oView->editItem(oView->topLevelItem(lRow), 0);
}

void frmSmartTagTerms::DeleteTerms(List lList)
{
    QTreeWidget *oView = lvItems[lList];
    QList<int> colRows;
    for (QTreeWidgetItem *oItem : oView->selectedItems())
        colRows << oView->indexOfTopLevelItem(oItem);
    if (colRows.isEmpty())
        return;
    const int lSelect = m_oState.DeleteTerms(lList, colRows, SelectedRow(lList));
    FillList(lList);
    if (lSelect >= 0) {
        oView->setCurrentItem(oView->topLevelItem(lSelect));
        oView->topLevelItem(lSelect)->setSelected(true);
    } else {
        oView->setFocus();
    }
    UpdateButtons();
}

void frmSmartTagTerms::SortList(List lList)
{
    const auto lOrder = m_oState.SortList(lList);
    FillList(lList);
    SetHeaderIcon(lvItems[lList]->header(), 1,
                  lOrder == SmartTagTermsState::Sort::Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    UpdateButtons();
}

void frmSmartTagTerms::ShowPopup(List lList, const QPoint &oGlobal)
{
    m_lPopupList = lList;
    findChild<QAction *>(QStringLiteral("mnuPopUpMenuRename"))->setEnabled(cmdRename[lList]->isEnabled());
    findChild<QAction *>(QStringLiteral("mnuPopUpMenuDelete"))->setEnabled(cmdDelete[lList]->isEnabled());
    mnuPopUpMenu->popup(oGlobal);
}

bool frmSmartTagTerms::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    for (const List lList : {SmartTagTermsState::Included, SmartTagTermsState::Excluded}) {
        QTreeWidget *oView = lvItems[lList];
        if (oWatched != oView && oWatched != oView->viewport())
            continue;
        const QRect oCurrent = oView->visualItemRect(oView->currentItem());
        const QPoint oAtCurrent = oView->viewport()->mapToGlobal(oCurrent.isValid() ? oCurrent.bottomLeft() : QPoint());
        switch (oEvent->type()) {
        case QEvent::MouseButtonRelease:
            if (oWatched == oView->viewport() && static_cast<QMouseEvent *>(oEvent)->button() == Qt::RightButton) {
                UpdateButtons();
                ShowPopup(lList, static_cast<QMouseEvent *>(oEvent)->globalPosition().toPoint());
                return true;
            }
            if (static_cast<QMouseEvent *>(oEvent)->button() == Qt::LeftButton)
                UpdateButtons();
            break;
        case QEvent::ContextMenu:
            if (static_cast<QContextMenuEvent *>(oEvent)->reason() == QContextMenuEvent::Keyboard)
                ShowPopup(lList, oAtCurrent);
            return true;
        case QEvent::KeyPress: {
            auto *oKey = static_cast<QKeyEvent *>(oEvent);
            if (oWatched != oView)
                break;
            if (oKey->key() == Qt::Key_Delete && oKey->modifiers() == Qt::NoModifier) {
                if (cmdDelete[lList]->isEnabled())
                    HandleErrors([&] { DeleteTerms(lList); });
                return true;
            }
            if (oKey->key() == Qt::Key_Menu || (oKey->key() == Qt::Key_F10 && oKey->modifiers() == Qt::ShiftModifier)) {
                ShowPopup(lList, oAtCurrent);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(oWatched, oEvent);
}

void frmSmartTagTerms::showEvent(QShowEvent *oEvent)
{
    QDialog::showEvent(oEvent);
    if (lvItems[0]->topLevelItemCount() == 0)
        cmdNew[0]->setFocus();
    else
        lvItems[0]->setFocus();
}

void frmSmartTagTerms::accept()
{
    ui::BusyPointer oBusy;
    // A term still being typed counts as typed: leaving the current item
    // commits an open editor.
    for (QTreeWidget *oView : lvItems)
        oView->setCurrentItem(nullptr);
    m_oState.Finish(true);
    QDialog::accept();
}

void frmSmartTagTerms::reject()
{
    m_oState.Finish(false);
    QDialog::reject();
}

const SmartTagTermsResult &RunSmartTagTerms(frmSmartTagTerms &oForm, const SmartTagTermsRequest &oRequest)
{
    oForm.Prepare(oRequest);
    ui::RunModal(oForm);
    return oForm.Result();
}

} // namespace qv
