// Copy by dragging, Undo, and commands refused because another process
// saved the file meanwhile; copy in one manager process and paste in another.
#include "ManagerInput.h"
#include "Sanitizers.h"
#include "TestMain.h"

#include "manager/ManagerClipboard.h"
#include "manager/ManagerCommands.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>

using namespace qv;
using namespace qv::manager;
using namespace qv::test;

namespace {

// Another program adds a data view to a configuration file and saves it.
void SaveElsewhere(const QString &path, const QString &name)
{
    QProcess other;
    other.start(SelfPath(), {QStringLiteral("--child"), QStringLiteral("add-view"), path, name});
    ASSERT_TRUE(other.waitForFinished(60000) && other.exitCode() == 0) << other.readAllStandardError().toStdString();
}

// Answers message boxes as the recorder does, after running `before` for
// the first box whose text starts so.
class HookedMessages : public ui::MessageRecorder
{
public:
    QString sAt;
    std::function<void()> before;
    int Show(const ui::MessageRequest &request, QWidget *parent) override
    {
        if (before && request.Text.startsWith(sAt))
            std::exchange(before, nullptr)();
        return MessageRecorder::Show(request, parent);
    }
};

QPoint NodeCenter(frmMain &form, int position)
{
    QTreeView *tree = TreeView(form);
    return tree->visualRect(static_cast<const ManagerTreeModel *>(tree->model())->NodeAt(position)).center();
}

// Drags the data over a tree node as the drag loop would: entering the tree
// and moving onto the node. Answers whether the node takes a copy there.
bool EnterAndMove(QWidget *viewport, QPoint at, const QMimeData &data)
{
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    return move.isAccepted() && move.dropAction() == Qt::CopyAction;
}

// The same, then leaving the tree again.
bool DragOver(frmMain &form, int position, const QMimeData &data)
{
    QWidget *viewport = TreeView(form)->viewport();
    const bool accepted = EnterAndMove(viewport, NodeCenter(form, position), data);
    QDragLeaveEvent leave;
    QApplication::sendEvent(viewport, &leave);
    return accepted;
}

// Drops the data on a tree node and waits until the window has handled it.
bool DropOn(frmMain &form, int position, const QMimeData &data)
{
    QWidget *viewport = TreeView(form)->viewport();
    const QPoint at = NodeCenter(form, position);
    EnterAndMove(viewport, at, data);
    QSignalSpy handled(&form, &frmMain::DropHandled);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted() && (handled.count() > 0 || handled.wait(5000));
}

// Drags the selected rows with the mouse from the row `row`: pressed, moved
// past the drag distance, released. Answers what the drag carried.
std::unique_ptr<QMimeData> DragRows(frmMain &form, int row)
{
    auto carried = std::make_unique<QMimeData>();
    const auto connection = QObject::connect(&form, &frmMain::DragStarted, [&carried](const QMimeData *data) {
        for (const QString &format : data->formats())
            carried->setData(format, data->data(format));
    });
    QWidget *viewport = ListView(form)->viewport();
    const QPoint from = RowCenter(form, row);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    const int step = QApplication::startDragDistance() + 2;
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(viewport, from + QPoint(step * i, step * i));
    // The button comes up where the drag ends, over the tree: in a real drag
    // the drag loop takes that release, and the list never sees it.
    QTest::mouseRelease(TreeView(form)->viewport(), Qt::LeftButton, {}, NodeCenter(form, 4));
    QObject::disconnect(connection);
    return carried;
}

} // namespace

TEST_F(ManagerTest, DraggingSeveralDataViewsOntoTheTeamFolderCopiesThemThere)
{
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    ClickName(form, "Budget");
    ClickName(form, "Orders", Qt::ControlModifier);
    ASSERT_EQ(Selected(form), QStringLiteral("Budget,Orders"));

    const auto carried = DragRows(form, RowOf(form, QStringLiteral("Orders")));
    const auto items = ReadMimeData(carried.get());
    ASSERT_TRUE(items) << "the mouse started no drag";
    EXPECT_EQ(items->colNames, QStringList({"Budget", "Orders"})) << "both, in list order";
    EXPECT_EQ(carried->text(), QStringLiteral("Budget\nOrders"));
    EXPECT_EQ(Selected(form), QStringLiteral("Budget,Orders")) << "dragging keeps the selection";

    // Refused: the root it came from, the roots, the "Smart Tags" folders.
    // Positions: 0 personal, 1 its Data Views, 2 its Smart Tags, 3 team, 4 its Data Views, 5 its Smart Tags.
    for (const int refused : {0, 1, 2, 3, 5})
        EXPECT_FALSE(DragOver(form, refused, *carried)) << "node " << refused;
    EXPECT_TRUE(DragOver(form, 4, *carried));
    QMimeData text;
    text.setText(QStringLiteral("Budget"));
    EXPECT_FALSE(DragOver(form, 4, text)) << "plain text is no data view";

    ASSERT_TRUE(DropOn(form, 4, *carried));
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Budget,Orders")) << "the names kept, saved at once";
    EXPECT_EQ(FileNames(personalPath), QStringLiteral("Orders,customers,Budget"));
    EXPECT_EQ(form.CurrentNode(), static_cast<const ManagerTreeModel *>(TreeView(form)->model())->NodeAt(1))
        << "the list stays where the drag began";
    EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();

    // Again: both are there now, each refused by name, and nothing is saved.
    ASSERT_TRUE(DropOn(form, 4, *carried));
    ASSERT_EQ(messages->Messages.size(), 2) << Messages().toStdString();
    EXPECT_EQ(messages->Messages[0].Text, LoadResString(kMsgNotAccepted, {QStringLiteral("Budget")}));
    EXPECT_EQ(messages->Messages[1].Text, LoadResString(kMsgNotAccepted, {QStringLiteral("Orders")}));
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Budget,Orders"));

    // Ctrl+Z takes the drop back.
    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Drop"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects"));
    EXPECT_FALSE(Enabled(form, "mnuEditUndo"));
}

TEST_F(ManagerTest, UndoTakesBackEachUndoableCommand)
{
    frmMain form;
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    const QByteArray original = ManagerTest::Open(personalPath)->ToXml();
    EXPECT_FALSE(Enabled(form, "mnuEditUndo"));

    // Delete, then rename, then paste; taken back in the opposite order.
    ClickName(form, "customers");
    Key(form, Qt::Key_Delete);
    ASSERT_EQ(ListTexts(form), QStringLiteral("Budget,Orders"));
    ClickName(form, "Orders");
    Key(form, Qt::Key_F2);
    QTRY_VERIFY(ListView(form)->viewport()->findChild<QLineEdit *>());
    QLineEdit *editor = ListView(form)->viewport()->findChild<QLineEdit *>();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Purchases"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(ListTexts(form), QStringLiteral("Budget,Purchases"));
    Key(form, Qt::Key_C, Qt::ControlModifier);
    Key(form, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(ListTexts(form), QStringLiteral("Budget,Copy of Purchases,Purchases"));

    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Paste"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,Purchases"));
    EXPECT_EQ(Child<QAction>(form, "mnuEditUndo")->text(), QStringLiteral("&Undo Rename"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,Orders"));
    Child<QAction>(form, "mnuEditUndo")->trigger();
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Orders"));
    EXPECT_EQ(ManagerTest::Open(personalPath)->ToXml(), original) << "the file as it was, identifiers and all";
    EXPECT_FALSE(Enabled(form, "mnuEditUndo"));
    EXPECT_TRUE(messages->Messages.size() == 1) << Messages().toStdString(); // the delete's question

    // Undo in the team file after another program saved it: refused, and the file shown as it is.
    messages->Messages.clear();
    ClickNode(form, 4);
    ClickName(form, "Projects");
    Key(form, Qt::Key_Delete);
    ASSERT_EQ(ListTexts(form), QString());
    SaveElsewhere(teamPath, QStringLiteral("Theirs"));
    Key(form, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(messages->Messages.size(), 2) << Messages().toStdString();
    EXPECT_TRUE(messages->Messages[1].Text.startsWith(QLatin1String("The delete cannot be undone")))
        << messages->Messages[1].Text.toStdString();
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Theirs"));
    EXPECT_EQ(ListTexts(form), QStringLiteral("Theirs"));
    EXPECT_FALSE(Enabled(form, "mnuEditUndo"));
}

TEST_F(ManagerTest, ACommandIsRefusedWhenAnotherProcessSavedTheTeamFileMeanwhile)
{
    auto hooked = std::make_shared<HookedMessages>();
    ui::SetMessageBoxHandler(hooked);
    frmMain form;
    const qint32 projects = team->DataViewCollection().ItemByName(QStringLiteral("Projects"))->Id();
    OpenOn(form, {nullptr, personal, team, personalPath, teamPath, 2, 2, projects, {}});
    ASSERT_EQ(Selected(form), QStringLiteral("Projects"));

    // While the delete's question is open another author saves the team file.
    hooked->sAt = LoadResString(kMsgConfirmOne, {QStringLiteral("Projects")});
    hooked->before = [this] { SaveElsewhere(teamPath, QStringLiteral("Theirs")); };
    Key(form, Qt::Key_Delete);
    ASSERT_EQ(hooked->Messages.size(), 2);
    EXPECT_EQ(hooked->Messages[1].Text,
              LoadResString(kMsgChangedElsewhere, {QDir::toNativeSeparators(teamPath)}));
    EXPECT_EQ(hooked->Messages[1].Title, QStringLiteral("Quorivo Data View Manager"));
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Theirs")) << "their save stands";
    EXPECT_EQ(ListTexts(form), QStringLiteral("Projects,Theirs")) << "the window shows the file as it now is";
    EXPECT_EQ(form.CurrentNode().parent().data(TagRole).toString(), QStringLiteral("9:0"));
    EXPECT_FALSE(Enabled(form, "mnuEditUndo")) << "nothing was changed";

    // A rename typed while another author saves: refused the same way, once the edit is over.
    hooked->Messages.clear();
    ClickName(form, "Theirs");
    Key(form, Qt::Key_F2);
    QTRY_VERIFY(ListView(form)->viewport()->findChild<QLineEdit *>());
    QLineEdit *editor = ListView(form)->viewport()->findChild<QLineEdit *>();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Mine"));
    SaveElsewhere(teamPath, QStringLiteral("Later"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(ListTexts(form), QStringLiteral("Later,Projects,Theirs"));
    ASSERT_EQ(hooked->Messages.size(), 1);
    EXPECT_EQ(hooked->Messages[0].Text, LoadResString(kMsgChangedElsewhere, {QDir::toNativeSeparators(teamPath)}));
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Theirs,Later"));
}

TEST_F(ManagerTest, CopyInOneManagerProcessAndPasteInAnother)
{
    // The offscreen platform's clipboard is the process's own; the ctest
    // "manager_clipboard_under_xvfb" runs this under an X server.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a clipboard shared between processes (run under Xvfb with QT_QPA_PLATFORM=xcb)";
    frmMain form;
    // Mouse only: a display without a window manager activates no window.
    form.ShowSmartTagView({nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ClickName(form, "Budget");
    ClickName(form, "Orders", Qt::ControlModifier);
    ClickToolbar(form, "Copy");
    ASSERT_TRUE(ReadMimeData(QGuiApplication::clipboard()->mimeData()));

    // The second process opens its own manager on the same files and pastes
    // into its team folder; this one serves the clipboard meanwhile.
    const auto pasteElsewhere = [](const QString &personalFile, const QString &teamFile) {
        QProcess other;
        other.setProcessChannelMode(QProcess::MergedChannels);
        QSignalSpy finished(&other, &QProcess::finished);
        other.start(SelfPath(), {QStringLiteral("--child"), QStringLiteral("paste-into-team"), personalFile, teamFile});
        ASSERT_TRUE(finished.wait(kUnderSanitizers ? 120000 : 60000)) << "the second process did not finish";
        EXPECT_EQ(other.exitCode(), 0) << other.readAll().toStdString();
    };
    pasteElsewhere(personalPath, teamPath);
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Budget,Orders"));
    // A process that does not show the personal file pastes the copies the clipboard carries.
    pasteElsewhere(QString(), teamPath);
    EXPECT_EQ(FileNames(teamPath), QStringLiteral("Projects,Budget,Orders,Copy of Budget,Copy of Orders"));

    // This window shows the other process's save.
    ClickNode(form, 4);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,Copy of Budget,Copy of Orders,Orders,Projects"));
}
