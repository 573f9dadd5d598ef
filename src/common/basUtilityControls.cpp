// The control half of basUtility: edit controls, combos, window size and the
// help key.
#include "basUtility.h"

#include "ui/HelpService.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace qv {
namespace {

constexpr int kFitMarginTwips = 165;

// F1 down hides the focused control's help id, so that no What's-This popup
// takes the key; F1 up puts it back and opens the help.
class HelpKeyFilter : public QObject
{
public:
    HelpKeyFilter(QWidget *form, bool controlContext)
        : QObject(form)
        , m_form(form)
        , m_controlContext(controlContext)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return QObject::eventFilter(watched, event);
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || key->isAutoRepeat())
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::KeyPress) {
            m_control = QApplication::focusWidget();
            m_savedId = ui::WhatsThisHelpId(m_control);
            if (m_control)
                m_control->setProperty("WhatsThisHelpID", 0);
            return true;
        }
        if (m_control)
            m_control->setProperty("WhatsThisHelpID", m_savedId);
        const int context = m_controlContext ? m_savedId : 0;
        ShowHelp(m_form, HelpFilePath(QString::fromLatin1(kHelpFileName), false), context);
        m_control = nullptr;
        return true;
    }

private:
    QWidget *m_form;
    bool m_controlContext;
    QPointer<QWidget> m_control;
    int m_savedId = 0;
};

} // namespace

void InstallHelpKey(QWidget *oForm, bool bControlContext)
{
    if (!oForm)
        return;
    auto *filter = new HelpKeyFilter(oForm, bControlContext);
    oForm->installEventFilter(filter);
    const auto children = oForm->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(filter);
}

void TidyEditControl(QWidget *oControl)
{
    if (auto *edit = qobject_cast<QLineEdit *>(oControl)) {
        edit->setText(edit->text().trimmed());
        edit->selectAll();
        return;
    }
    if (auto *combo = qobject_cast<QComboBox *>(oControl)) {
        if (combo->isEditable() && combo->lineEdit()) {
            combo->lineEdit()->deselect();
            combo->lineEdit()->setCursorPosition(0);
        }
        return;
    }
    if (auto *text = qobject_cast<QPlainTextEdit *>(oControl)) {
        text->setPlainText(text->toPlainText().trimmed());
        text->selectAll();
        return;
    }
    if (auto *rich = qobject_cast<QTextEdit *>(oControl)) {
        rich->setPlainText(rich->toPlainText().trimmed());
        rich->selectAll();
    }
}

void SelectAllTextBoxes(QWidget *oForm)
{
    if (!oForm)
        return;
    const auto lines = oForm->findChildren<QLineEdit *>();
    for (QLineEdit *edit : lines) {
        // A combo's own editor is not a text box of the form.
        if (!qobject_cast<QComboBox *>(edit->parentWidget()))
            edit->selectAll();
    }
    const auto plains = oForm->findChildren<QPlainTextEdit *>();
    for (QPlainTextEdit *text : plains) {
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(0);
        text->setTextCursor(cursor);
    }
    const auto riches = oForm->findChildren<QTextEdit *>();
    for (QTextEdit *text : riches) {
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(0);
        text->setTextCursor(cursor);
    }
}

void FitWindowToControls(QWidget *oForm, QWidget *oRightControl, QWidget *oBottomControl)
{
    if (!oForm || !oRightControl)
        return;
    if (!oBottomControl)
        oBottomControl = oRightControl;
    // Qt sizes the client area, so the frame and caption need no adding here.
    const QPoint right = oRightControl->mapTo(oForm, QPoint(oRightControl->width(), 0));
    const QPoint bottom = oBottomControl->mapTo(oForm, QPoint(0, oBottomControl->height()));
    oForm->resize(right.x() + ui::TwipsToPixels(kFitMarginTwips, Qt::Horizontal),
                  bottom.y() + ui::TwipsToPixels(kFitMarginTwips, Qt::Vertical));
}

void FillComboFromCollection(QComboBox *oCombo, const Collection &colTexts, const Collection *colItemData,
                             bool bShorten)
{
    if (!oCombo)
        return;
    oCombo->clear();
    int index = 1;
    for (const Variant &text : colTexts) {
        const QString shown = bShorten ? OneLineText(text.ToText()) : text.ToText();
        QVariant data;
        if (colItemData && index <= colItemData->Count()) {
            const Variant &item = colItemData->Item(index);
            data = item.IsNumeric() ? QVariant(item.ToLong()) : QVariant(item.ToText());
        }
        oCombo->addItem(shown, data);
        ++index;
    }
    if (oCombo->count() == 0)
        return;
    if (oCombo->isEditable())
        oCombo->setEditText(oCombo->itemText(0));
    else
        oCombo->setCurrentIndex(0);
}

void SetTopmost(QWidget *oForm, bool bTopmost)
{
    if (!oForm)
        return;
    const bool visible = oForm->isVisible();
    const QRect geometry = oForm->geometry();
    oForm->setWindowFlag(Qt::WindowStaysOnTopHint, bTopmost);
    // Changing a window flag hides the window; put it back where it was.
    if (visible) {
        oForm->setGeometry(geometry);
        oForm->show();
    }
}

} // namespace qv
