// The recognizer terms dialog with real mouse and key events: New, Rename
// and Delete in both lists, the right-click menu, sorting, OK writing back,
// Cancel and the close box leaving the recognizer untouched.
#include "TermsFixture.h"

#include "config/ConfigStore.h"
#include "smarttags/frmSmartTagTerms.h"
#include "ui/Modal.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;
using namespace qv::smarttags;

namespace {

template<typename T = QWidget>
T *Control(QDialog &dialog, const char *name)
{
    T *control = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_TRUE(control) << name;
    return control;
}

QTreeWidget *Included(QDialog &dialog)
{
    return Control<QTreeWidget>(dialog, "lvIncludedItems");
}

QTreeWidget *Excluded(QDialog &dialog)
{
    return Control<QTreeWidget>(dialog, "lvExcludedItems");
}

QStringList Texts(QTreeWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(0);
    return texts;
}

QStringList SelectedTexts(QTreeWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->isSelected())
            texts << list->topLevelItem(row)->text(0);
    return texts;
}

void Click(QDialog &dialog, const char *button)
{
    auto *target = Control<QPushButton>(dialog, button);
    ASSERT_TRUE(target->isEnabled()) << button;
    QTest::mouseClick(target, Qt::LeftButton);
}

void ClickRow(QTreeWidget *list, int row, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(list->viewport(), button, modifiers, list->visualItemRect(list->topLevelItem(row)).center());
}

// The open in-place editor of the list (closed ones linger, hidden).
QLineEdit *Editor(QTreeWidget *list)
{
    for (QLineEdit *editor : list->viewport()->findChildren<QLineEdit *>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}

void Type(QTreeWidget *list, const QString &text)
{
    QLineEdit *editor = Editor(list);
    ASSERT_TRUE(editor) << "no term is being edited";
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}


class SmartTagTermsDialog : public ::testing::Test
{
protected:
    void SetUp() override { ui::modal_driver::Clear(); }
    void TearDown() override { ui::modal_driver::Clear(); }

    // Shows the dialog over the recognizer as the manager does; the driver works it.
    void Show(const std::function<void(QDialog &)> &driver)
    {
        bool ran = false;
        ui::modal_driver::Push([&](QDialog &dialog) {
            ran = true;
            driver(dialog);
        });
        frmSmartTagTerms dialog;
        dialog.SetCaption(tagged.tag->Name);
        dialog.ShowForm(tagged.tag->Recognizer);
        cancelled = dialog.Cancelled();
        EXPECT_TRUE(ran);
        EXPECT_EQ(ui::modal_driver::LeftOpen(), 0) << "the driver left the dialog open";
    }

    Tagged tagged;
    bool cancelled = false;
};

} // namespace

TEST_F(SmartTagTermsDialog, OpensOnTheRecognizersTermsWithItsCaptionAndSentence)
{
    Show([](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Smart Tag Recognizer Terms - Cities"));
        EXPECT_EQ(Control<QLabel>(dialog, "lblTermsFromDataView")->text(),
                  QStringLiteral("This Smart Tag uses terms from the CITY field of the SAMPLE CUSTOMERS Data View as "
                                 "recognizers."));
        EXPECT_EQ(Control<QLabel>(dialog, "lblAdditionalTermsTitle")->text(), QStringLiteral("&Additional Terms:"));
        EXPECT_EQ(Texts(Included(dialog)), QStringList({"Riga", "Leeds", "Ghent"}));
        EXPECT_EQ(Texts(Excluded(dialog)), QStringList({"Rigas"}));
        EXPECT_EQ(SelectedTexts(Included(dialog)), QStringList({"Riga"}));
        EXPECT_EQ(Included(dialog)->headerItem()->text(0), QStringLiteral("Terms"));
        EXPECT_TRUE(Control<QPushButton>(dialog, "cmdIncludedRename")->isEnabled());
        // A list with terms offers Rename unless several are selected, selected or not.
        EXPECT_TRUE(Control<QPushButton>(dialog, "cmdExcludedRename")->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(dialog, "cmdExcludedDelete")->isEnabled());
        EXPECT_EQ(dialog.focusWidget(), Included(dialog));
        Click(dialog, "cmdCancel");
    });
    EXPECT_TRUE(cancelled);

    // Without terms the focus starts on New; without a data view the sentence says so.
    tagged.tag->Recognizer = config::Recognizer(tagged.store);
    Show([](QDialog &dialog) {
        EXPECT_EQ(dialog.focusWidget(), Control(dialog, "cmdIncludedNew"));
        EXPECT_EQ(Control<QLabel>(dialog, "lblTermsFromDataView")->text(),
                  QStringLiteral("This Smart Tag does not use terms from a Data View as recognizers."));
        EXPECT_FALSE(Control<QPushButton>(dialog, "cmdIncludedDelete")->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(dialog, "cmdIncludedRename")->isEnabled());
        Click(dialog, "cmdCancel");
    });
}

TEST_F(SmartTagTermsDialog, NewTermsAreNumberedInBothListsAndOkWritesThemBack)
{
    const int first = SmartTagTermsState::NextTermNumber();
    Show([first](QDialog &dialog) {
        Click(dialog, "cmdIncludedNew");
        ASSERT_TRUE(Editor(Included(dialog))) << "New starts editing the new term";
        QTest::keyClick(Editor(Included(dialog)), Qt::Key_Escape);
        Click(dialog, "cmdExcludedNew");
        QTest::keyClick(Editor(Excluded(dialog)), Qt::Key_Escape);
        Click(dialog, "cmdIncludedNew");
        Type(Included(dialog), QStringLiteral(" Leeds, UK"));
        EXPECT_EQ(Texts(Included(dialog)),
                  QStringList({"Riga", "Leeds", "Ghent", SmartTagTermsState::NewTermText(first), " Leeds, UK"}));
        EXPECT_EQ(Texts(Excluded(dialog)), QStringList({"Rigas", SmartTagTermsState::NewTermText(first + 1)}));
        EXPECT_EQ(SelectedTexts(Included(dialog)), QStringList({" Leeds, UK"}));
        Click(dialog, "cmdOK");
    });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(tagged.tag->Recognizer.Included.Terms(),
              QStringList({"Riga", "Leeds", "Ghent", SmartTagTermsState::NewTermText(first), " Leeds, UK"}));
    EXPECT_EQ(tagged.tag->Recognizer.Excluded.Terms(), QStringList({"Rigas", SmartTagTermsState::NewTermText(first + 1)}));

    // Opened again, the count goes on.
    Show([first](QDialog &dialog) {
        Click(dialog, "cmdExcludedNew");
        Type(Excluded(dialog), SmartTagTermsState::NewTermText(first + 3) + QStringLiteral("!"));
        EXPECT_EQ(Texts(Excluded(dialog)).last(), SmartTagTermsState::NewTermText(first + 3) + QStringLiteral("!"));
        EXPECT_EQ(SmartTagTermsState::NextTermNumber(), first + 4);
        Click(dialog, "cmdOK");
    });
}

TEST_F(SmartTagTermsDialog, SeveralSelectedRenameNoneAndDeleteAll)
{
    Show([](QDialog &dialog) {
        QTreeWidget *list = Included(dialog);
        ClickRow(list, 0);
        ClickRow(list, 2, Qt::ControlModifier);
        EXPECT_EQ(SelectedTexts(list), QStringList({"Riga", "Ghent"}));
        EXPECT_FALSE(Control<QPushButton>(dialog, "cmdIncludedRename")->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(dialog, "cmdIncludedDelete")->isEnabled());
        Click(dialog, "cmdIncludedDelete");
        EXPECT_EQ(Texts(list), QStringList({"Leeds"}));
        EXPECT_EQ(SelectedTexts(list), QStringList({"Leeds"}));

        // The last of a list by the Delete key: the new last is selected.
        Click(dialog, "cmdIncludedNew");
        Type(list, QStringLiteral("Bruges"));
        ClickRow(list, 1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_EQ(Texts(list), QStringList({"Leeds"}));
        EXPECT_EQ(SelectedTexts(list), QStringList({"Leeds"}));
        // The last one of all: nothing to select, nothing to rename or delete.
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_TRUE(Texts(list).isEmpty());
        EXPECT_FALSE(Control<QPushButton>(dialog, "cmdIncludedDelete")->isEnabled());
        EXPECT_FALSE(Control<QPushButton>(dialog, "cmdIncludedRename")->isEnabled());
        Click(dialog, "cmdOK");
    });
    EXPECT_TRUE(tagged.tag->Recognizer.Included.Terms().isEmpty());
    EXPECT_EQ(tagged.tag->Recognizer.Excluded.Terms(), QStringList({"Rigas"}));
}

TEST_F(SmartTagTermsDialog, RightClickMenuRenameAndHeaderSorting)
{
    Show([](QDialog &dialog) {
        QTreeWidget *list = Excluded(dialog);
        ClickRow(list, 0, {}, Qt::RightButton);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu->objectName(), QStringLiteral("mnuPopUpMenu"));
        QAction *rename = menu->findChild<QAction *>(QStringLiteral("mnuPopUpMenuRename"));
        EXPECT_TRUE(rename->isEnabled());
        QTest::mouseMove(menu, menu->actionGeometry(rename).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(rename).center());
        Type(list, QStringLiteral("Rigas  "));
        EXPECT_EQ(Texts(list), QStringList({"Rigas  "})) << "the text stays as typed";

        // Two selected: the menu's Rename is off, like the button.
        QTreeWidget *included = Included(dialog);
        ClickRow(included, 0);
        ClickRow(included, 1, Qt::ControlModifier);
        ClickRow(included, 1, Qt::ControlModifier, Qt::RightButton);
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        EXPECT_FALSE(menu->findChild<QAction *>(QStringLiteral("mnuPopUpMenuRename"))->isEnabled());
        menu->close();

        // The header sorts ascending first, then flips.
        QHeaderView *header = included->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(10, header->height() / 2));
        EXPECT_EQ(Texts(included), QStringList({"Ghent", "Leeds", "Riga"}));
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(10, header->height() / 2));
        EXPECT_EQ(Texts(included), QStringList({"Riga", "Leeds", "Ghent"}));
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(tagged.tag->Recognizer.Included.Terms(), QStringList({"Riga", "Leeds", "Ghent"}));
    EXPECT_EQ(tagged.tag->Recognizer.Excluded.Terms(), QStringList({"Rigas  "}));
}

TEST_F(SmartTagTermsDialog, CancelAndTheCloseBoxLeaveTheRecognizerUntouched)
{
    for (const bool closeBox : {false, true}) {
        Show([closeBox](QDialog &dialog) {
            Click(dialog, "cmdIncludedDelete");
            Click(dialog, "cmdExcludedNew");
            if (closeBox)
                dialog.close();
            else
                Click(dialog, "cmdCancel");
        });
        EXPECT_TRUE(cancelled) << closeBox;
        EXPECT_EQ(tagged.tag->Recognizer.Included.Terms(), QStringList({"Riga", "Leeds", "Ghent"}));
        EXPECT_EQ(tagged.tag->Recognizer.Excluded.Terms(), QStringList({"Rigas"}));
    }
}
