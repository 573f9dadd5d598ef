// The display-field page: its controls and the buttons that change the grid.
#include "DisplayFieldsPage.h"

#include "DisplayFieldRules.h"
#include "WizardPageParts.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "ui/MessageBox.h"
#include "config/ConfigObjects.h"
#include "format/DataFormat.h"
#include "ui/HelpService.h"
#include "ui/Twips.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeView>

namespace qv::wizard {
namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);

} // namespace

void FillFieldCombo(QComboBox *combo, const config::DataView &view, bool excludeDisplayed, const QString &select)
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (const auto &field : view.Fields) {
        if (!excludeDisplayed || !field->Displayed)
            combo->addItem(field->Name);
    }
    const int index = select.isEmpty() ? -1 : combo->findText(select, Qt::MatchFixedString);
    combo->setCurrentIndex(index >= 0 ? index : (combo->count() > 0 ? 0 : -1));
}

DisplayFieldsPage::DisplayFieldsPage(WizardContext &context, QWidget *parent)
    : WizardPage(context, parent), m_oFormat(MakeWizardFormat())
{
    setObjectName(QStringLiteral("DisplayFieldsPage"));
    BuildControls();
    ConnectControls();
    const std::pair<QWidget *, int> colHelp[] = {
        {cboDisplayField, 22110},  {txtDisplayName, 22120},      {lvwDisplayField, 22130},
        {cmdDisplayAdd, 22140},    {cmdDisplayAddAll, 22150},    {cmdDisplayRemove, 22160},
        {cmdDisplayRemoveAll, 22170}, {cmdDisplayMoveUp, 22180}, {cmdDisplayMoveDown, 22190}};
    for (const auto &[oControl, lId] : colHelp)
        ui::SetWhatsThisHelpId(oControl, lId);
    RefreshControls();
}

DisplayFieldsPage::~DisplayFieldsPage() = default;

void DisplayFieldsPage::BuildControls()
{
    cboDisplayField = new QComboBox(this);
    cboDisplayField->setObjectName(QStringLiteral("cboDisplayField"));
    txtDisplayName = new QLineEdit(this);
    txtDisplayName->setObjectName(QStringLiteral("txtDisplayName"));
    txtDisplayName->setMaxLength(int(kMaxDisplayName));
    lblDisplayAdd = new QLabel(QStringLiteral("A&dd:"), this);
    lblDisplayAdd->setObjectName(QStringLiteral("lblDisplayAdd"));
    lblDisplayAdd->setBuddy(cboDisplayField);
    lblDisplayAs = new QLabel(QStringLiteral("a&s:"), this);
    lblDisplayAs->setObjectName(QStringLiteral("lblDisplayAs"));
    lblDisplayAs->setBuddy(txtDisplayName);
    cmdDisplayAdd = MakePageButton(this, "cmdDisplayAdd", "&Add");
    cmdDisplayAddAll = MakePageButton(this, "cmdDisplayAddAll", "Add A&ll");
    cmdDisplayRemove = MakePageButton(this, "cmdDisplayRemove", "&Remove");
    cmdDisplayRemoveAll = MakePageButton(this, "cmdDisplayRemoveAll", "Remo&ve All");
    cmdDisplayMoveUp = MakePageButton(this, "cmdDisplayMoveUp", "Move &Up");
    cmdDisplayMoveDown = MakePageButton(this, "cmdDisplayMoveDown", "Move Do&wn");
    cmdRename = MakePageButton(this, "cmdRename", "Rena&me");

    m_oModel = new DisplayFieldModel(this);
    lvwDisplayField = new QTreeView(this);
    lvwDisplayField->setObjectName(QStringLiteral("lvwDisplayField"));
    lvwDisplayField->setModel(m_oModel);
    lvwDisplayField->setRootIsDecorated(false);
    lvwDisplayField->setUniformRowHeights(true);
    lvwDisplayField->setAllColumnsShowFocus(true);
    lvwDisplayField->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwDisplayField->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Edits start only where the page starts them: Rename, F2, a format click.
    lvwDisplayField->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwDisplayField->header()->setStretchLastSection(true);
    lvwDisplayField->header()->setSectionsMovable(false);
    for (const auto &[lColumn, lTwips] : {std::pair{ColDisplayName, 1200}, {ColName, 1200}, {ColFormat, 1800}})
        lvwDisplayField->setColumnWidth(lColumn, ui::TwipsToPixels(lTwips));
    m_oDelegate = new DisplayFieldDelegate(lvwDisplayField);
    lvwDisplayField->setItemDelegate(m_oDelegate);

    auto *oChooser = new QHBoxLayout;
    oChooser->addWidget(lblDisplayAdd);
    oChooser->addWidget(cboDisplayField, 1);
    oChooser->addWidget(lblDisplayAs);
    oChooser->addWidget(txtDisplayName, 1);
    oChooser->addWidget(cmdDisplayAdd);
    oChooser->addWidget(cmdDisplayAddAll);
    LayOutListPage(this, oChooser, lvwDisplayField,
                   {cmdDisplayRemove, cmdDisplayRemoveAll, cmdDisplayMoveUp, cmdDisplayMoveDown, cmdRename});
}

void DisplayFieldsPage::ConnectControls()
{
    connect(cmdDisplayAdd, &QPushButton::clicked, this, Handled(this, &DisplayFieldsPage::DoDisplayAdd));
    connect(cmdDisplayAddAll, &QPushButton::clicked, this, Handled(this, &DisplayFieldsPage::DoDisplayAddAll));
    connect(cmdDisplayRemove, &QPushButton::clicked, this, Handled(this, &DisplayFieldsPage::DoDisplayRemove));
    connect(cmdDisplayRemoveAll, &QPushButton::clicked, this, Handled(this, &DisplayFieldsPage::DoDisplayRemoveAll));
    connect(cmdDisplayMoveUp, &QPushButton::clicked, this, [this] { HandleErrors([this] { MoveRow(-1); }, kTitle); });
    connect(cmdDisplayMoveDown, &QPushButton::clicked, this, [this] { HandleErrors([this] { MoveRow(1); }, kTitle); });
    connect(cmdRename, &QPushButton::clicked, this, Handled(this, &DisplayFieldsPage::StartRename));
    connect(cboDisplayField, &QComboBox::currentIndexChanged, this, Handled(this, &DisplayFieldsPage::OnFieldChosen));
    connect(lvwDisplayField->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ControlsChanged(); });
    connect(lvwDisplayField, &QAbstractItemView::clicked, this, [this](const QModelIndex &oIndex) {
        if (oIndex.column() == ColFormat)
            lvwDisplayField->edit(oIndex);
    });
    m_oDelegate->Formats = [this](qint32 lKind) {
        std::shared_ptr<Collection> colFormats;
        m_oFormat->GetDataFormatStrings(lKind, colFormats);
        QStringList sFormats;
        for (const Variant &vFormat : *colFormats)
            sFormats << vFormat.ToText();
        return sFormats;
    };
    m_oDelegate->Renamed = [this](int lRow, const QString &sTyped) { OnRenamed(lRow, sTyped); };
    m_oDelegate->FormatChosen = [this](int lRow, const QString &sFormat) { OnFormatChosen(lRow, sFormat); };
    // What closes the format chooser: the header, a right click, scrolling.
    lvwDisplayField->header()->viewport()->installEventFilter(this);
    lvwDisplayField->viewport()->installEventFilter(this);
    lvwDisplayField->installEventFilter(this);
    cboDisplayField->installEventFilter(this);
    txtDisplayName->installEventFilter(this);
    for (QScrollBar *oBar : {lvwDisplayField->horizontalScrollBar(), lvwDisplayField->verticalScrollBar()})
        connect(oBar, &QAbstractSlider::valueChanged, this, [this] { CloseFormatChooser(); });
}

void DisplayFieldsPage::Enter(Direction eDirection, bool bReload)
{
    if (eDirection != Direction::Back && (bReload || m_bFieldsChanged))
        Rebuild();
    RefreshControls();
}

void DisplayFieldsPage::Rebuild()
{
    Q_ASSERT(Context().View);
    m_bFieldsChanged = false;
    BuildDisplayFieldGrid();
    FillFieldCombo(cboDisplayField, *Context().View, true);
    txtDisplayName->setText(cboDisplayField->currentText().left(kMaxDisplayName));
}

bool DisplayFieldsPage::Commit(Direction)
{
    if (m_oModel->rowCount() == 0) {
        ShowMessage(LoadResString(81333), kTitle, ui::mb::Critical);
        return false;
    }
    return HandleErrors([this] { WriteDisplayFields(); }, kTitle);
}

void DisplayFieldsPage::WriteBack()
{
    HandleErrors([this] { WriteDisplayFields(); }, kTitle);
}

QWidget *DisplayFieldsPage::FocusControl() const
{
    return cboDisplayField;
}

void DisplayFieldsPage::RefreshControls()
{
    const int lRows = m_oModel->rowCount();
    const int lRow = SelectedRow();
    for (QPushButton *oButton : {cmdDisplayRemove, cmdDisplayRemoveAll, cmdRename})
        oButton->setEnabled(lRows > 0);
    cmdDisplayMoveUp->setEnabled(lRows > 0 && lRow != 0);
    cmdDisplayMoveDown->setEnabled(lRows > 0 && lRow != lRows - 1);
    const bool bFields = cboDisplayField->count() > 0;
    for (QWidget *oControl : std::initializer_list<QWidget *>{cmdDisplayAdd, cmdDisplayAddAll, lblDisplayAdd,
                                                             lblDisplayAs, cboDisplayField, txtDisplayName})
        oControl->setEnabled(bFields);
    lvwDisplayField->viewport()->update();
}


void DisplayFieldsPage::OnFieldChosen()
{
    txtDisplayName->setText(cboDisplayField->currentText().left(kMaxDisplayName));
    txtDisplayName->selectAll();
    if (!m_bRemoving && cmdDisplayAdd->isEnabled())
        cmdDisplayAdd->setDefault(true);
}

void DisplayFieldsPage::DoDisplayAdd()
{
    const QString sField = cboDisplayField->currentText();
    const auto oField = Context().View->Fields.Item(sField);
    if (!oField)
        return;
    QString sName = txtDisplayName->text().trimmed();
    if (sName.isEmpty())
        sName = sField;
    CheckNewDisplayName(DisplayNames(), sName);
    AppendRow(*oField, sName);
    SelectRow(m_oModel->rowCount() - 1);
    cboDisplayField->removeItem(cboDisplayField->currentIndex());
    if (cboDisplayField->count() == 0)
        txtDisplayName->clear();
    else
        cboDisplayField->setCurrentIndex(0);
    Touched();
}

void DisplayFieldsPage::DoDisplayAddAll()
{
    const QSignalBlocker oBlock(cboDisplayField);
    while (cboDisplayField->count() > 0) {
        if (const auto oField = Context().View->Fields.Item(cboDisplayField->itemText(0)))
            AppendRow(*oField, oField->Name);
        cboDisplayField->removeItem(0);
    }
    txtDisplayName->clear();
    Touched();
}

void DisplayFieldsPage::DoDisplayRemove()
{
    const int lRow = SelectedRow();
    if (lRow < 0)
        return;
    m_bRemoving = true;
    const QString sKey = KeyOf(lRow);
    cboDisplayField->addItem(sKey);
    cboDisplayField->setCurrentIndex(cboDisplayField->count() - 1);
    m_bRemoving = false;
    m_oModel->Remove(lRow);
    SelectRow(std::min(lRow, m_oModel->rowCount() - 1));
    Touched();
}

void DisplayFieldsPage::DoDisplayRemoveAll()
{
    m_oModel->Reset({});
    FillFieldCombo(cboDisplayField, *Context().View, false);
    txtDisplayName->setText(cboDisplayField->currentText().left(kMaxDisplayName));
    Touched();
}

void DisplayFieldsPage::MoveRow(int lBy)
{
    const int lRow = SelectedRow();
    const int lTo = lRow + lBy;
    if (lRow < 0 || lTo < 0 || lTo >= m_oModel->rowCount())
        return;
    m_oModel->Move(lRow, lTo);
    SelectRow(lTo);
    lvwDisplayField->scrollTo(m_oModel->index(lTo, ColDisplayName));
    Touched();
}

int DisplayFieldsPage::SelectedRow() const
{
    const QModelIndexList colRows = lvwDisplayField->selectionModel()->selectedRows();
    return colRows.isEmpty() ? -1 : colRows.first().row();
}

void DisplayFieldsPage::SelectRow(int lRow)
{
    if (lRow < 0) {
        lvwDisplayField->selectionModel()->clear();
        return;
    }
    lvwDisplayField->selectionModel()->setCurrentIndex(
        m_oModel->index(lRow, ColDisplayName), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString DisplayFieldsPage::KeyOf(int lRow) const
{
    return m_oModel->Row(lRow).Name;
}

QStringList DisplayFieldsPage::DisplayNames() const
{
    QStringList sNames;
    for (const DisplayFieldRow &oRow : m_oModel->Rows())
        sNames << oRow.DisplayName;
    return sNames;
}

} // namespace qv::wizard
