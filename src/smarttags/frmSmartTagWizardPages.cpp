// The Smart Tag Wizard's pages: what each shows and what its buttons do.
#include "frmAction.h"
#include "frmSmartTagWizard.h"

#include "qvuser/DVUser.h"

#include "common/basDataViewPicker.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "wizard/DisplayFieldsPage.h"
#include "wizard/WizardPageParts.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qv {

using namespace smarttags;

namespace {

constexpr int kKeyRole = Qt::UserRole;

QLabel *Text(const QString &sText, QWidget *oParent, bool bBold = false)
{
    auto *oLabel = new QLabel(sText, oParent);
    oLabel->setWordWrap(true);
    if (bBold) {
        QFont oFont = oLabel->font();
        oFont.setBold(true);
        oFont.setPointSize(oFont.pointSize() + 3);
        oLabel->setFont(oFont);
    }
    return oLabel;
}

QListWidget *List(const char *sName, QWidget *oParent)
{
    auto *oList = new QListWidget(oParent);
    oList->setObjectName(QString::fromLatin1(sName));
    oList->setSelectionMode(QAbstractItemView::SingleSelection);
    return oList;
}

// A page of a prompt over a list with its buttons at the right.
QWidget *ListPage(const char *sName, quint32 lPrompt, QListWidget *oList, const QList<QPushButton *> &colButtons,
                  QWidget *oParent)
{
    auto *oPage = new QWidget(oParent);
    oPage->setObjectName(QString::fromLatin1(sName));
    oList->setParent(oPage);
    auto *oPrompt = new QLabel(LoadResString(lPrompt), oPage);
    oPrompt->setBuddy(oList);
    auto *oTop = new QHBoxLayout;
    oTop->addWidget(oPrompt);
    for (QPushButton *oButton : colButtons)
        oButton->setParent(oPage);
    wizard::LayOutListPage(oPage, oTop, oList, colButtons);
    return oPage;
}

} // namespace

QWidget *frmSmartTagWizard::BuildWelcome()
{
    auto *oPage = new QWidget(this);
    oPage->setObjectName(QStringLiteral("fraWelcome"));
    lblWelcomeDescription = Text({}, oPage);
    chkSkipWelcome = new QCheckBox(LoadResString(80003), oPage);
    chkSkipWelcome->setObjectName(QStringLiteral("chkSkipWelcome"));
    auto *oLayout = new QVBoxLayout(oPage);
    oLayout->addWidget(Text(LoadResString(81400), oPage, true));
    oLayout->addWidget(lblWelcomeDescription);
    oLayout->addStretch(1);
    oLayout->addWidget(chkSkipWelcome);
    return oPage;
}

QWidget *frmSmartTagWizard::BuildActions()
{
    lvwAction = List("lvwAction", this);
    cmdActionNew = wizard::MakePageButton(this, "cmdActionNew", "Ne&w...");
    cmdActionProperties = wizard::MakePageButton(this, "cmdActionProperties", "&Properties...");
    cmdActionDelete = wizard::MakePageButton(this, "cmdActionDelete", "D&elete");
    QWidget *oPage = ListPage("fraStepBody2", 81416, lvwAction, {cmdActionNew, cmdActionProperties, cmdActionDelete},
                              this);
    const auto handled = [this](void (frmSmartTagWizard::*handler)()) {
        return [this, handler] { HandleErrors([this, handler] { (this->*handler)(); }, QString::fromLatin1(kTitleSmartTagWizard)); };
    };
    connect(cmdActionNew, &QPushButton::clicked, this, handled(&frmSmartTagWizard::NewAction));
    connect(cmdActionProperties, &QPushButton::clicked, this, handled(&frmSmartTagWizard::ActionProperties));
    connect(lvwAction, &QListWidget::itemDoubleClicked, this, handled(&frmSmartTagWizard::ActionProperties));
    connect(cmdActionDelete, &QPushButton::clicked, this, handled(&frmSmartTagWizard::DeleteAction));
    return oPage;
}

QWidget *frmSmartTagWizard::BuildRecognizer()
{
    auto *oPage = new QWidget(this);
    oPage->setObjectName(QStringLiteral("fraStepBody3"));
    chkLookupDataView = new QCheckBox(LoadResString(81413), oPage);
    chkLookupDataView->setObjectName(QStringLiteral("chkLookupDataView"));
    icboDataView = new QComboBox(oPage);
    icboDataView->setObjectName(QStringLiteral("icboDataView"));
    cmdLaunchWizard = wizard::MakePageButton(oPage, "cmdLaunchWizard", "...");
    cmdLaunchWizard->setToolTip(QStringLiteral("Data View Wizard"));
    cboRecognizerField = new QComboBox(oPage);
    cboRecognizerField->setObjectName(QStringLiteral("cboRecognizerField"));
    lblDataView = new QLabel(QStringLiteral("&Data View:"), oPage);
    lblDataView->setBuddy(icboDataView);
    lblRecognizerField = new QLabel(QStringLiteral("&Field:"), oPage);
    lblRecognizerField->setBuddy(cboRecognizerField);
    auto *oPicker = new QHBoxLayout;
    oPicker->addWidget(icboDataView, 1);
    oPicker->addWidget(cmdLaunchWizard);
    auto *oForm = new QFormLayout;
    oForm->addRow(lblDataView, oPicker);
    oForm->addRow(lblRecognizerField, cboRecognizerField);
    auto *oLayout = new QVBoxLayout(oPage);
    oLayout->addWidget(chkLookupDataView);
    oLayout->addLayout(oForm);
    oLayout->addStretch(1);

    connect(chkLookupDataView, &QCheckBox::toggled, this, [this] {
        Changed();
        RefreshButtons();
    });
    connect(icboDataView, &QComboBox::currentIndexChanged, this, [this] {
        if (IsPopulating(icboDataView))
            return;
        FillFields({});
        m_oState.MarkChanged();
        RefreshButtons();
    });
    connect(cboRecognizerField, &QComboBox::activated, this, [this] { Changed(); });
    connect(cmdLaunchWizard, &QPushButton::clicked, this,
            [this] { HandleErrors([this] { LaunchDataViewWizard(); }, QString::fromLatin1(kTitleSmartTagWizard)); });
    return oPage;
}

QWidget *frmSmartTagWizard::BuildTerms()
{
    lvwTerm = List("lvwTerm", this);
    lvwTerm->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    cmdTermNew = wizard::MakePageButton(this, "cmdTermNew", "Ne&w");
    cmdTermDelete = wizard::MakePageButton(this, "cmdTermDelete", "D&elete");
    cmdTermDeleteAll = wizard::MakePageButton(this, "cmdTermDeleteAll", "Delete &All");
    QWidget *oPage = ListPage("fraStepBody4", 81415, lvwTerm, {cmdTermNew, cmdTermDelete, cmdTermDeleteAll}, this);
    connect(cmdTermNew, &QPushButton::clicked, this, [this] { NewTerm(); });
    connect(cmdTermDelete, &QPushButton::clicked, this, [this] { DeleteTerm(); });
    connect(cmdTermDeleteAll, &QPushButton::clicked, this, [this] { DeleteAllTerms(); });
    // An edit in place: an empty text takes the old one back, any other is trimmed.
    connect(lvwTerm, &QListWidget::itemChanged, this, [this](QListWidgetItem *oItem) {
        const QString sTrimmed = oItem->text().trimmed();
        const QString sBefore = oItem->data(kKeyRole).toString();
        if (sTrimmed == oItem->text() && !sTrimmed.isEmpty()) {
            oItem->setData(kKeyRole, sTrimmed);
            Changed();
            return;
        }
        oItem->setText(sTrimmed.isEmpty() ? sBefore : sTrimmed);
    });
    return oPage;
}

QWidget *frmSmartTagWizard::BuildFinish()
{
    auto *oPage = new QWidget(this);
    oPage->setObjectName(QStringLiteral("fraFinish"));
    lblFinishDescription = Text({}, oPage);
    txtName = new QLineEdit(oPage);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(100);
    txtDescription = new QLineEdit(oPage);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    chkEnable = new QCheckBox(LoadResString(81414), oPage);
    chkEnable->setObjectName(QStringLiteral("chkEnable"));
    auto *oForm = new QFormLayout;
    oForm->addRow(QStringLiteral("&Name:"), txtName);
    oForm->addRow(QStringLiteral("&Description:"), txtDescription);
    auto *oLayout = new QVBoxLayout(oPage);
    oLayout->addWidget(Text(LoadResString(81402), oPage, true));
    oLayout->addWidget(lblFinishDescription);
    oLayout->addLayout(oForm);
    oLayout->addWidget(chkEnable);
    oLayout->addStretch(1);
    connect(txtName, &QLineEdit::textChanged, this, [this] {
        m_oState.MarkNameTyped();
        Changed();
        UpdateCaption();
    });
    connect(txtDescription, &QLineEdit::textChanged, this, [this] { Changed(); });
    connect(chkEnable, &QCheckBox::toggled, this, [this] { Changed(); });
    return oPage;
}

QWidget *frmSmartTagWizard::PageFocus(int lStep) const
{
    switch (lStep) {
    case StepActions: return lvwAction;
    case StepRecognizer: return icboDataView;
    case StepTerms: return lvwTerm;
    case StepFinish: return txtName;
    default: return nullptr;
    }
}

// --- actions

void frmSmartTagWizard::FillActions()
{
    lvwAction->clear();
    for (const auto &oAction : m_oState.Tag()->Actions) {
        auto *oItem = new QListWidgetItem(oAction->Name, lvwAction);
        oItem->setData(kKeyRole, oAction->Key());
    }
    if (lvwAction->count() > 0)
        lvwAction->setCurrentRow(0);
}

void frmSmartTagWizard::NewAction()
{
    frmAction oDialog(this);
    const auto oFirst = m_oState.Tag()->ActionAt(1);
    const auto oView = oFirst ? m_oState.Store()->DataViewCollection().Item(oFirst->DataViewId) : nullptr;
    ActionRequest oRequest;
    oRequest.Store = m_oState.Store();
    oRequest.SmartTag = m_oState.Tag();
    oRequest.TableStyles = m_oRequest.TableStyles;
    oRequest.ParagraphStyles = m_oRequest.ParagraphStyles;
    oRequest.ConfigFileType = m_oRequest.ConfigFileType;
    // A new action offers the data view of the first one.
    oRequest.DataViewName = oView ? oView->Name : QString();
    RunAction(oDialog, oRequest);
    if (oDialog.Cancelled())
        return;
    const auto oAction = m_oState.Tag()->AddAction();
    oDialog.State().WriteInto(*oAction, oDialog.Choices());
    auto *oItem = new QListWidgetItem(oAction->Name, lvwAction);
    oItem->setData(kKeyRole, oAction->Key());
    lvwAction->setCurrentItem(oItem);
    m_oState.MarkChanged();
    RefreshButtons();
}

void frmSmartTagWizard::ActionProperties()
{
    QListWidgetItem *oItem = lvwAction->currentItem();
    const auto oAction = oItem ? m_oState.Tag()->ActionByKey(oItem->data(kKeyRole).toString()) : nullptr;
    if (!oAction)
        return;
    const auto oView = m_oState.Store()->DataViewCollection().Item(oAction->DataViewId);
    frmAction oDialog(this);
    RunAction(oDialog, {m_oState.Store(), m_oState.Tag(), m_oRequest.TableStyles, m_oRequest.ParagraphStyles,
                        m_oRequest.ConfigFileType, oView ? oView->Name : QString(), oAction->ActionKind,
                        oAction->LayoutType, oAction->StyleName, oAction->Name});
    if (oDialog.Cancelled())
        return;
    oDialog.State().WriteInto(*oAction, oDialog.Choices());
    oItem->setText(oAction->Name);
    m_oState.MarkChanged();
}

void frmSmartTagWizard::DeleteAction()
{
    const int lRow = lvwAction->currentRow();
    if (lRow < 0)
        return;
    m_oState.Tag()->RemoveAction(lRow + 1);
    delete lvwAction->takeItem(lRow);
    SelectAfterRemoval(lvwAction, lRow);
    cmdActionNew->setDefault(true);
    m_oState.MarkChanged();
    RefreshButtons();
}

void frmSmartTagWizard::SelectAfterRemoval(QListWidget *oList, int lRow)
{
    if (oList->count() > 0)
        oList->setCurrentRow(std::min(lRow, oList->count() - 1));
}

// --- recognizer

void frmSmartTagWizard::FillRecognizer()
{
    const config::SmartTag &oTag = *m_oState.Tag();
    const config::ConfigStore &oStore = *m_oState.Store();
    const auto oFirst = oTag.ActionAt(1);
    const bool bOwnView = !m_oState.IsNew() && oTag.Recognizer.DataViewId != 0;
    const qint32 lSelect = bOwnView ? oTag.Recognizer.DataViewId : (oFirst ? oFirst->DataViewId : 0);
    FillDataViewPicker(icboDataView, oStore, true, m_oRequest.ConfigFileType, lSelect);
    FillFields(bOwnView ? oTag.Recognizer.FieldName : QString());
}

void frmSmartTagWizard::FillFields(const QString &sSelect)
{
    const auto oView = m_oState.Store()->DataViewCollection().ItemByName(icboDataView->currentText());
    cboRecognizerField->clear();
    if (oView)
        wizard::FillFieldCombo(cboRecognizerField, *oView, false, sSelect);
}

void frmSmartTagWizard::LaunchDataViewWizard()
{
    if (IsPopulating(icboDataView))
        return;
    auto oStore = m_oState.Store();
    const auto oView = oStore->DataViewCollection().ItemByName(icboDataView->currentText());
    const qint32 lId = DVUser().InvokeWizardDataView(oStore, QString::number(oView ? oView->Id() : 0));
    // A cancelled wizard puts the store back, which makes its objects anew.
    m_oState.Refetch();
    if (lId <= 0)
        return;
    FillDataViewPicker(icboDataView, *oStore, true, m_oRequest.ConfigFileType, lId);
    FillFields({});
    m_oState.MarkChanged();
    RefreshButtons();
}

// --- terms

void frmSmartTagWizard::FillTerms()
{
    lvwTerm->clear();
    for (const QString &sTerm : m_oState.Tag()->Recognizer.Included.Terms()) {
        auto *oItem = new QListWidgetItem(sTerm, lvwTerm);
        oItem->setData(kKeyRole, sTerm);
        oItem->setFlags(oItem->flags() | Qt::ItemIsEditable);
    }
    lvwTerm->setFocus();
}

void frmSmartTagWizard::NewTerm()
{
    const QString sTerm = SmartTagWizardState::NextNewTerm();
    auto *oItem = new QListWidgetItem(sTerm, lvwTerm);
    oItem->setData(kKeyRole, sTerm);
    oItem->setFlags(oItem->flags() | Qt::ItemIsEditable);
    lvwTerm->setCurrentItem(oItem);
    lvwTerm->setFocus();
    lvwTerm->editItem(oItem);
    m_oState.MarkChanged();
    RefreshButtons();
}

void frmSmartTagWizard::DeleteTerm()
{
    const int lRow = lvwTerm->currentRow();
    if (lRow < 0)
        return;
    delete lvwTerm->takeItem(lRow);
    SelectAfterRemoval(lvwTerm, lRow);
    cmdTermNew->setDefault(true);
    m_oState.MarkChanged();
    RefreshButtons();
}

void frmSmartTagWizard::DeleteAllTerms()
{
    lvwTerm->clear();
    cmdTermNew->setDefault(true);
    m_oState.MarkChanged();
    RefreshButtons();
}

} // namespace qv
