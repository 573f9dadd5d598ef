// The display-field grid: its rows from the data view and back, the in-place
// edits of names and formats, and what closes the format chooser.
#include "DisplayFieldsPage.h"

#include "DisplayFieldRules.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "format/DataFormat.h"

#include <QApplication>
#include <QHash>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>

namespace qv::wizard {
namespace {

const QString kTitle = QString::fromLatin1(kTitleWizard);
constexpr int kMarkMinWidth = 20;

} // namespace

QWidget *DisplayFieldDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    if (index.column() != ColFormat)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *cboFormat = new QComboBox(parent);
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    cboFormat->setEditable(true);
    cboFormat->setInsertPolicy(QComboBox::NoInsert);
    if (Formats)
        cboFormat->addItems(Formats(index.data(DisplayFieldModel::kKindRole).toInt()));
    // Each choice shows its example at once, before the chooser closes.
    connect(cboFormat, &QComboBox::currentTextChanged, this, [this, cboFormat] {
        emit const_cast<DisplayFieldDelegate *>(this)->commitData(cboFormat);
    });
    return cboFormat;
}

void DisplayFieldDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *cboFormat = qobject_cast<QComboBox *>(editor);
    if (!cboFormat || index.column() != ColFormat) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QSignalBlocker oBlock(cboFormat);
    const QString sFormat = index.data().toString();
    const int lIndex = cboFormat->findText(sFormat, Qt::MatchFixedString);
    if (lIndex >= 0)
        cboFormat->setCurrentIndex(lIndex);
    else
        cboFormat->setEditText(sFormat);
}

void DisplayFieldDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    const int lRow = index.row();
    if (auto *cboFormat = qobject_cast<QComboBox *>(editor)) {
        if (FormatChosen)
            FormatChosen(lRow, cboFormat->currentText());
        return;
    }
    auto *txtName = qobject_cast<QLineEdit *>(editor);
    if (!txtName || !Renamed)
        return;
    // The check may show a message box: only once the editor has closed.
    QMetaObject::invokeMethod(
        const_cast<DisplayFieldDelegate *>(this), [renamed = Renamed, lRow, sTyped = txtName->text()] {
            renamed(lRow, sTyped);
        }, Qt::QueuedConnection);
}

void DisplayFieldDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

void DisplayFieldDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != ColFormat || !(option.state & QStyle::State_Selected) || option.rect.width() <= kMarkMinWidth)
        return;
    // The selected row's format cell tells that it opens a chooser.
    QStyleOption oMark(option);
    const int lSide = option.rect.height();
    oMark.rect = QRect(option.rect.right() - lSide + 1, option.rect.top(), lSide, lSide);
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &oMark, painter);
}

void DisplayFieldsPage::BuildDisplayFieldGrid()
{
    // Many fields share a format: each example is made once.
    QHash<QPair<QString, qint32>, QString> colExamples;
    QList<DisplayFieldRow> colRows;
    for (const auto &oField : Context().View->Fields) {
        if (!oField->Displayed)
            continue;
        const qint32 lKind = KindOf(*oField);
        const QString sFormat = FormatOf(*oField, lKind);
        auto oExample = colExamples.constFind({sFormat, lKind});
        if (oExample == colExamples.cend())
            oExample = colExamples.insert({sFormat, lKind}, Example(sFormat, lKind));
        colRows.append({oField->DisplayName, oField->Name, sFormat, *oExample, lKind});
    }
    m_oModel->Reset(std::move(colRows));
}

void DisplayFieldsPage::AppendRow(const config::Field &oField, const QString &sDisplayName)
{
    const qint32 lKind = KindOf(oField);
    const QString sFormat = FormatOf(oField, lKind);
    m_oModel->Append({sDisplayName, oField.Name, sFormat, Example(sFormat, lKind), lKind});
}

qint32 DisplayFieldsPage::KindOf(const config::Field &oField) const
{
    return m_oFormat->ADOTypeToQuorivoFieldType(oField.AdoType);
}

QString DisplayFieldsPage::FormatOf(const config::Field &oField, qint32 lKind) const
{
    return oField.ViewFormat.isEmpty() ? m_oFormat->GetDataFormatDefault(lKind) : oField.ViewFormat;
}

QString DisplayFieldsPage::Example(const QString &sFormat, qint32 lKind) const
{
    return m_oFormat->GetDataFormatExample(sFormat, lKind, true);
}

void DisplayFieldsPage::OnFormatChosen(int lRow, const QString &sFormat)
{
    if (lRow < 0 || lRow >= m_oModel->rowCount())
        return;
    const DisplayFieldRow &oRow = m_oModel->Row(lRow);
    const QString sChosen = sFormat.isEmpty() ? m_oFormat->GetDataFormatDefault(0) : sFormat;
    if (oRow.Format == sChosen)
        return;
    m_oModel->SetFormat(lRow, sChosen, Example(sChosen, oRow.Kind));
    Touched();
}

void DisplayFieldsPage::StartRename()
{
    const int lRow = SelectedRow();
    if (lRow < 0)
        return;
    lvwDisplayField->setFocus();
    lvwDisplayField->edit(m_oModel->index(lRow, ColDisplayName));
}

void DisplayFieldsPage::OnRenamed(int lRow, const QString &sTyped)
{
    if (lRow >= m_oModel->rowCount())
        return;
    HandleErrors(
        [&] {
            const QString sName = CheckRenamedDisplayName(DisplayNames(), lRow, KeyOf(lRow), sTyped);
            if (m_oModel->Row(lRow).DisplayName == sName)
                return;
            m_oModel->SetDisplayName(lRow, sName);
            Touched();
        },
        kTitle);
}

void DisplayFieldsPage::CloseFormatChooser()
{
    // Taking the focus back ends the edit, as leaving the chooser does.
    if (lvwDisplayField->findChild<QComboBox *>(QStringLiteral("cboFormat")))
        lvwDisplayField->setFocus();
}

bool DisplayFieldsPage::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    const QEvent::Type eType = oEvent->type();
    if (oWatched == lvwDisplayField->header()->viewport()) {
        if (eType == QEvent::MouseButtonPress || eType == QEvent::MouseButtonDblClick)
            CloseFormatChooser();
    } else if (oWatched == lvwDisplayField->viewport()) {
        if (eType == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(oEvent)->button() == Qt::RightButton)
            CloseFormatChooser();
    } else if (oWatched == lvwDisplayField && eType == QEvent::KeyPress) {
        if (static_cast<QKeyEvent *>(oEvent)->key() == Qt::Key_F2) {
            HandleErrors([this] { StartRename(); }, kTitle);
            return true;
        }
    } else if (oWatched == cboDisplayField && eType == QEvent::FocusIn) {
        if (!m_bRemoving && cmdDisplayAdd->isEnabled())
            cmdDisplayAdd->setDefault(true);
    } else if (oWatched == txtDisplayName && eType == QEvent::FocusIn) {
        QMetaObject::invokeMethod(txtDisplayName, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    return WizardPage::eventFilter(oWatched, oEvent);
}

void DisplayFieldsPage::WriteDisplayFields()
{
    config::DataView &oView = *Context().View;
    for (const DisplayFieldRow &oRow : m_oModel->Rows())
        CheckDisplayNameChars(oRow.DisplayName);
    int lPosition = 1;
    // Collection order follows the grid, then the fields left in the chooser.
    const auto place = [&oView, &lPosition](const std::shared_ptr<config::Field> &oField) {
        int lAt = 1;
        for (const auto &oEach : oView.Fields) {
            if (oEach == oField)
                break;
            ++lAt;
        }
        if (lAt != lPosition)
            oView.Fields.Move(lAt, lPosition);
        ++lPosition;
    };
    for (const DisplayFieldRow &oRow : m_oModel->Rows()) {
        const auto oField = oView.Fields.Item(oRow.Name);
        if (!oField)
            continue;
        oField->Displayed = true;
        oField->DisplayName = oRow.DisplayName;
        oField->ViewFormat = oRow.Format;
        place(oField);
    }
    for (int i = 0; i < cboDisplayField->count(); ++i) {
        const auto oField = oView.Fields.Item(cboDisplayField->itemText(i));
        if (!oField)
            continue;
        oField->Displayed = false;
        oField->DisplayName = oField->Name;
        place(oField);
    }
}

} // namespace qv::wizard
