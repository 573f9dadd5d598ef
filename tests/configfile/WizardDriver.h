#pragma once

// Works the Configuration File wizard as a user does: buttons clicked with
// the mouse, texts typed with the keyboard, controls found by name.

#include "configfile/frmConfigFileWizard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace qv::test::wizard {

enum Nav { Cancel = 0, Back = 1, Next = 2, Finish = 3 };

inline frmConfigFileWizard &Form(QDialog &dialog)
{
    return static_cast<frmConfigFileWizard &>(dialog);
}

inline int StepOf(QDialog &dialog)
{
    return int(Form(dialog).State().Current());
}

template<typename T>
T *Control(QDialog &dialog, const QString &name)
{
    T *control = dialog.findChild<T *>(name);
    EXPECT_TRUE(control) << name.toStdString();
    return control;
}

inline void Press(QDialog &dialog, Nav button)
{
    auto *target = Control<QPushButton>(dialog, QStringLiteral("cmdNav(%1)").arg(int(button)));
    ASSERT_TRUE(target && target->isEnabled()) << "cmdNav(" << int(button) << ") is not enabled";
    QTest::mouseClick(target, Qt::LeftButton);
}

// Selects all of a text box and types the text over it.
inline void Type(QDialog &dialog, const char *name, const QString &text)
{
    auto *box = Control<QWidget>(dialog, QLatin1String(name));
    ASSERT_TRUE(box && box->isVisible()) << name << " is not shown";
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

inline QString Text(QDialog &dialog, const char *name)
{
    if (auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(name)))
        return edit->text();
    if (auto *box = dialog.findChild<QPlainTextEdit *>(QLatin1String(name)))
        return box->toPlainText();
    return Control<QLabel>(dialog, QLatin1String(name))->text();
}

// Clicks the "create new" (0) or "link to existing" (1) option.
inline void ChooseAction(QDialog &dialog, int action)
{
    auto *option = Control<QRadioButton>(dialog, QStringLiteral("optAction(%1)").arg(action));
    ASSERT_TRUE(option && option->isVisible());
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    ASSERT_TRUE(option->isChecked());
}

} // namespace qv::test::wizard
