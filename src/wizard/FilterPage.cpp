// The filter page: its controls, the list of conditions and the commit.
#include "FilterPage.h"

#include "DisplayFieldRules.h"
#include "WizardPageParts.h"
#include "DisplayFieldsPage.h"
#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "dialogs/SelectDataRules.h"
#include "dialogs/ValueListCombo.h"
#include "format/DataFormat.h"
#include "ui/HelpService.h"
#include "ui/MessageBox.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace qv::wizard {
namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);
constexpr auto kDuplicateFilter = "This filter has already been added.";

QComboBox *MakeCombo(QComboBox *oCombo, const char *sName)
{
    oCombo->setObjectName(QString::fromLatin1(sName));
    oCombo->setInsertPolicy(QComboBox::NoInsert);
    return oCombo;
}

} // namespace

FilterPage::FilterPage(WizardContext &context, QWidget *parent)
    : WizardPage(context, parent), m_oOperators(std::make_unique<biz::ConfigFileSettings>()),
      m_oFormat(MakeWizardFormat())
{
    setObjectName(QStringLiteral("FilterPage"));
    BuildControls();
    ConnectControls();
    const std::pair<QWidget *, int> colHelp[] = {
        {lvwFilterField, 22200}, {cboFilterField, 22210}, {cboFilterOperator, 22220}, {cboFilterValue, 22230},
        {cmdFilterAdd, 22250},   {cmdFilterRemove, 22260}, {cmdFilterRemoveAll, 22270}};
    for (const auto &[oControl, lId] : colHelp)
        ui::SetWhatsThisHelpId(oControl, lId);
    RefreshControls();
}

FilterPage::~FilterPage() = default;

void FilterPage::BuildControls()
{
    lvwFilterField = new QTreeWidget(this);
    lvwFilterField->setObjectName(QStringLiteral("lvwFilterField"));
    lvwFilterField->setHeaderLabels({QStringLiteral("Field"), QStringLiteral("Operator"), QStringLiteral("Value")});
    lvwFilterField->setRootIsDecorated(false);
    lvwFilterField->setUniformRowHeights(true);
    lvwFilterField->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwFilterField->setAllColumnsShowFocus(true);
    cboFilterField = MakeCombo(new QComboBox(this), "cboFilterField");
    cboFilterOperator = MakeCombo(new QComboBox(this), "cboFilterOperator");
    cboFilterValue = new dialogs::ValueListCombo(this);
    MakeCombo(cboFilterValue, "cboFilterValue")->setEditable(true);
    lblFilterWhere = new QLabel(QStringLiteral("W&here:"), this);
    lblFilterWhere->setObjectName(QStringLiteral("lblFilterWhere"));
    lblFilterWhere->setBuddy(cboFilterField);
    cmdFilterAdd = MakePageButton(this, "cmdFilterAdd", "&Add");
    cmdFilterRemove = MakePageButton(this, "cmdFilterRemove", "&Remove");
    cmdFilterRemoveAll = MakePageButton(this, "cmdFilterRemoveAll", "Remo&ve All");

    auto *oCondition = new QHBoxLayout;
    oCondition->addWidget(lblFilterWhere);
    oCondition->addWidget(cboFilterField, 2);
    oCondition->addWidget(cboFilterOperator, 2);
    oCondition->addWidget(cboFilterValue, 3);
    oCondition->addWidget(cmdFilterAdd);
    LayOutListPage(this, oCondition, lvwFilterField, {cmdFilterRemove, cmdFilterRemoveAll});
}

void FilterPage::ConnectControls()
{
    connect(cmdFilterAdd, &QPushButton::clicked, this, Handled(this, &FilterPage::AddFilter));
    connect(cmdFilterRemove, &QPushButton::clicked, this, Handled(this, &FilterPage::RemoveFilter));
    connect(cmdFilterRemoveAll, &QPushButton::clicked, this, Handled(this, &FilterPage::RemoveAllFilters));
    connect(lvwFilterField, &QTreeWidget::itemDoubleClicked, this, Handled(this, &FilterPage::RemoveFilter));
    connect(cboFilterField, &QComboBox::currentIndexChanged, this, Handled(this, &FilterPage::OnFieldChosen));
    connect(cboFilterOperator, &QComboBox::currentIndexChanged, this, [this] { ControlsChanged(); });
    cboFilterValue->OnOpening = [this] { HandleErrors([this] { OnValueListOpening(); }, kTitle); };
    connect(cboFilterValue, &QComboBox::activated, this, [this] {
        if (m_bPageReady)
            m_bValueTouched = true;
    });
    connect(cboFilterValue->lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (m_bPageReady)
            m_bValueTouched = true;
    });
    for (QWidget *oControl : std::initializer_list<QWidget *>{cboFilterField, cboFilterOperator, cboFilterValue,
                                                             cboFilterValue->lineEdit(), lvwFilterField})
        oControl->installEventFilter(this);
}

void FilterPage::Enter(Direction eDirection, bool bReload)
{
    if (eDirection != Direction::Back && bReload)
        FillPage();
    RefreshControls();
}

void FilterPage::FillPage()
{
    Q_ASSERT(Context().View);
    m_bPageReady = false;
    FillFieldCombo(cboFilterField, *Context().View, false);
    OnFieldChosen();
    BuildFilterList();
    m_bValueTouched = false;
    m_bPageReady = true;
}

bool FilterPage::Commit(Direction)
{
    if (lvwFilterField->topLevelItemCount() == 0 && m_bValueTouched) {
        m_bValueTouched = false;
        if (ShowMessage(LoadResString(81325), kTitle, ui::mb::YesNo | ui::mb::Question) != ui::mb::Yes)
            return false;
    }
    const QString sHidden = WriteFilters();
    if (!sHidden.isEmpty())
        ShowMessage(LoadResString(81326, {sHidden}), kTitle, ui::mb::Exclamation);
    return true;
}

void FilterPage::WriteBack()
{
    WriteFilters();
}

QWidget *FilterPage::FocusControl() const
{
    return cboFilterField;
}

void FilterPage::RefreshControls()
{
    const bool bRows = lvwFilterField->topLevelItemCount() > 0;
    cmdFilterRemove->setEnabled(bRows);
    cmdFilterRemoveAll->setEnabled(bRows);
    cmdFilterAdd->setEnabled(CanAddFilter());
    const bool bOperators = cboFilterOperator->count() > 0;
    for (QWidget *oControl : std::initializer_list<QWidget *>{lblFilterWhere, cboFilterOperator, cboFilterValue})
        oControl->setEnabled(bOperators);
    const QWidget *oFocus = focusWidget();
    if (oFocus == cboFilterField || oFocus == cboFilterOperator || oFocus == cboFilterValue
        || oFocus == cboFilterValue->lineEdit())
        cmdFilterAdd->setDefault(cmdFilterAdd->isEnabled());
}

bool FilterPage::CanAddFilter() const
{
    return cboFilterField->count() > 0 && cboFilterOperator->currentIndex() >= 0;
}

std::shared_ptr<config::Field> FilterPage::ChosenField() const
{
    return Context().View ? Context().View->Fields.Item(cboFilterField->currentText()) : nullptr;
}


void FilterPage::OnFieldChosen()
{
    m_bValuesLoaded = false;
    cboFilterValue->clear();
    cboFilterValue->setEditText(QString::fromLatin1(dialogs::kBlank));
    FillOperatorCombo(cboFilterOperator->currentText());
    ControlsChanged();
}

void FilterPage::FillOperatorCombo(const QString &sSelect)
{
    const QSignalBlocker oBlock(cboFilterOperator);
    cboFilterOperator->clear();
    const auto oField = ChosenField();
    if (!oField)
        return;
    int lSelect = 0;
    for (const int lCode : m_oOperators->AllowedOperators(Context().View->Source.Kind, *oField)) {
        const QString sText = m_oOperators->OperatorText(lCode);
        if (sText.compare(sSelect, Qt::CaseInsensitive) == 0)
            lSelect = cboFilterOperator->count();
        cboFilterOperator->addItem(sText, lCode);
    }
    if (cboFilterOperator->count() > 0)
        cboFilterOperator->setCurrentIndex(lSelect);
}

QList<FilterRow> FilterPage::Rows() const
{
    QList<FilterRow> colRows;
    for (int i = 0; i < lvwFilterField->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *oItem = lvwFilterField->topLevelItem(i);
        colRows << FilterRow{oItem->text(0), oItem->text(1), oItem->text(2)};
    }
    return colRows;
}

void FilterPage::SetRows(const QList<FilterRow> &colRows)
{
    lvwFilterField->clear();
    for (const FilterRow &oRow : colRows)
        lvwFilterField->addTopLevelItem(new QTreeWidgetItem(QStringList{oRow.Field, oRow.Operator, oRow.Value}));
}

void FilterPage::BuildFilterList()
{
    SetRows(FilterRowsOf(*m_oOperators, *Context().View));
}

QString FilterPage::WriteFilters()
{
    Q_ASSERT(Context().View);
    QList<FilterRow> colRows = Rows();
    const QString sHidden = wizard::WriteFilters(*m_oOperators, *m_oFormat, *Context().View, colRows);
    // The rows show the values as they were stored.
    for (int i = 0; i < colRows.size(); ++i)
        lvwFilterField->topLevelItem(i)->setText(2, colRows[i].Value);
    return sHidden;
}

void FilterPage::AddFilter()
{
    const QString sTyped = cboFilterValue->currentText();
    const QString sField = cboFilterField->currentText();
    const QString sOperator = cboFilterOperator->currentText();
    const auto oField = ChosenField();
    if (Context().View
        && !IsFilterValueValid(*m_oOperators, oField.get(), cboFilterOperator->currentData().toInt(), sTyped)) {
        ShowMessage(dialogs::InvalidFilterMessage(sField, sOperator, sTyped), kTitle, ui::mb::Information);
        cboFilterValue->setFocus();
        return;
    }
    m_bValueTouched = false;
    cboFilterValue->lineEdit()->selectAll();
    const QString sValue = dialogs::ShownValue(sTyped.trimmed());
    if (FilterExists(Rows(), sField + sOperator + sValue)) {
        ShowMessage(QString::fromLatin1(kDuplicateFilter), kTitle, ui::mb::Critical);
        return;
    }
    auto *oItem = new QTreeWidgetItem(QStringList{sField, sOperator, sValue});
    lvwFilterField->addTopLevelItem(oItem);
    lvwFilterField->setCurrentItem(oItem);
    WriteFilters();
    Touched();
}

void FilterPage::RemoveFilter()
{
    const int lRow = lvwFilterField->indexOfTopLevelItem(lvwFilterField->currentItem());
    if (lRow < 0)
        return;
    delete lvwFilterField->takeTopLevelItem(lRow);
    const int lCount = lvwFilterField->topLevelItemCount();
    if (lCount > 0)
        lvwFilterField->setCurrentItem(lvwFilterField->topLevelItem(std::min(lRow, lCount - 1)));
    WriteFilters();
    Touched();
}

void FilterPage::RemoveAllFilters()
{
    lvwFilterField->clear();
    WriteFilters();
    Touched();
}

bool FilterPage::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    if (oEvent->type() == QEvent::FocusIn) {
        if (oWatched == lvwFilterField)
            cmdFilterRemove->setDefault(cmdFilterRemove->isEnabled());
        else
            cmdFilterAdd->setDefault(cmdFilterAdd->isEnabled());
        return WizardPage::eventFilter(oWatched, oEvent);
    }
    if (oEvent->type() != QEvent::KeyPress || oWatched == lvwFilterField)
        return WizardPage::eventFilter(oWatched, oEvent);
    const int lKey = static_cast<QKeyEvent *>(oEvent)->key();
    if (lKey != Qt::Key_Return && lKey != Qt::Key_Enter)
        return WizardPage::eventFilter(oWatched, oEvent);
    // Enter in a combo adds the condition, unless it closes an open list.
    const auto *oCombo = qobject_cast<const QComboBox *>(oWatched);
    if (!oCombo)
        oCombo = cboFilterValue;
    if (oCombo->view()->isVisible())
        return WizardPage::eventFilter(oWatched, oEvent);
    if (cmdFilterAdd->isEnabled())
        HandleErrors([this] { AddFilter(); }, kTitle);
    return true;
}

} // namespace qv::wizard
