// The editor's window keeps an author's work: unsaved changes are asked
// about before New and Exit, and Save As has keys of its own.
#include "DemoWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qvdemo;

namespace {

// Answers the next question box with the button of that role; notes whether
// one came.
struct Answer
{
    explicit Answer(QMessageBox::StandardButton button)
    {
        QTimer::singleShot(0, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            asked = true;
            box->button(button)->click();
        });
    }
    bool asked = false;
};

QAction *Action(DemoWindow &window, const char *name)
{
    return window.findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

TEST(DemoWindow, UnsavedChangesAreAskedAboutBeforeTheyGo)
{
    DemoWindow window;
    window.show();
    window.Editor()->setPlainText(QStringLiteral("draft"));
    window.Editor()->document()->setModified(true);

    Answer cancelNew(QMessageBox::Cancel);
    Action(window, "mnuFileNew")->trigger();
    EXPECT_TRUE(cancelNew.asked) << "New threw away unsaved text without asking";
    EXPECT_EQ(window.Editor()->toPlainText(), QStringLiteral("draft"));

    Answer cancelExit(QMessageBox::Cancel);
    EXPECT_FALSE(window.close()) << "Exit went on after Cancel";
    EXPECT_TRUE(cancelExit.asked);

    Answer discard(QMessageBox::Discard);
    Action(window, "mnuFileNew")->trigger();
    EXPECT_TRUE(discard.asked);
    EXPECT_TRUE(window.Editor()->toPlainText().isEmpty());
    EXPECT_TRUE(window.close()) << "an unchanged document must close without a question";
}

TEST(DemoWindow, SaveAsHasKeysOfItsOwn)
{
    DemoWindow window;
    const QKeySequence saveAs = Action(window, "mnuFileSaveAs")->shortcut();
    EXPECT_FALSE(saveAs.isEmpty());
    EXPECT_NE(saveAs, Action(window, "mnuFileSave")->shortcut());
}
