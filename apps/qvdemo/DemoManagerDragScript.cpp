// The scripted run that drags a data view from the personal configuration
// onto the team's "Data Views" folder in the Data View Manager, then renames
// the copy there in place, as an author does with the mouse and the keys.
#include "DemoDataMenu.h"
#include "DemoScript.h"
#include "DemoSteps.h"

#include <qvuser/biz/ConfigFileSettings.h>
#include <qvuser/config/ConfigStore.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace qvdemo {

namespace {

constexpr int kWaitMs = 30000;

void Mouse(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void Click(QWidget *target, const QPoint &at)
{
    Mouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Mouse(target, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// Runs the event loop until the condition holds or the time is up.
bool WaitFor(const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(kWaitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

QModelIndex FindNode(const QAbstractItemModel *model, const QString &root, const QString &text)
{
    for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex node = model->index(r, 0);
        if (node.data().toString() != root)
            continue;
        for (int c = 0; c < model->rowCount(node); ++c)
            if (model->index(c, 0, node).data().toString() == text)
                return model->index(c, 0, node);
    }
    return {};
}

int RowOf(const QAbstractItemModel *model, const QString &name)
{
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == name)
            return row;
    return -1;
}

QStringList TeamNames(const QString &teamFile)
{
    auto store = qv::config::ConfigStore::Create();
    store->Open(teamFile);
    QStringList names;
    for (const auto &view : store->DataViewCollection())
        names << view->Name;
    return names;
}

bool Fail(const char *what)
{
    std::fprintf(stderr, "qvdemo: %s\n", what);
    return false;
}

// The drag, as the mouse makes it: pressed on the item, moved past the drag
// distance (the list starts the drag and its loop runs from here on),
// moved over the team's "Data Views" folder and let go there. Each step
// comes from a timer of its own, since the drag loop holds the stack.
class MouseDrag : public QObject
{
public:
    MouseDrag(QTreeView *list, QTreeView *tree, QPoint from, QPoint onto, QString picture, QWidget *window)
        : m_list(list), m_tree(tree), m_from(from), m_onto(onto), m_picture(std::move(picture)), m_window(window)
    {
    }

    void Run()
    {
        Mouse(m_list->viewport(), QEvent::MouseButtonPress, m_from, Qt::LeftButton, Qt::LeftButton);
        const int step = QApplication::startDragDistance() + 4;
        Mouse(m_list->viewport(), QEvent::MouseMove, m_from + QPoint(step, 0), Qt::NoButton, Qt::LeftButton);
        // Over the tree, then let go: queued before the move that starts the loop.
        QTimer::singleShot(300, this, [this] { Over(m_onto + QPoint(0, 1)); });
        QTimer::singleShot(600, this, [this] { Over(m_onto); });
        QTimer::singleShot(900, this, [this] {
            Picture(*m_window, m_picture);
            Mouse(m_tree->viewport(), QEvent::MouseButtonRelease, m_onto, Qt::LeftButton, Qt::NoButton);
        });
        Mouse(m_list->viewport(), QEvent::MouseMove, m_from + QPoint(2 * step, step), Qt::NoButton, Qt::LeftButton);
    }

private:
    void Over(const QPoint &at) { Mouse(m_tree->viewport(), QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }

    QTreeView *m_list, *m_tree;
    QPoint m_from, m_onto;
    QString m_picture;
    QWidget *m_window;
};

bool DragAndRename(const QString &teamFile, const QString &pictures, DemoDataMenu &menu)
{
    const QString source = QStringLiteral("Sample Customers"), renamed = QStringLiteral("Team Customers");
    menu.OpenManager();
    QWidget *manager = Visible<QWidget>("frmMain");
    if (!manager)
        return Fail("the Data View Manager did not open");
    auto *tree = Child<QTreeView>(*manager, "tvTreeView");
    auto *list = Child<QTreeView>(*manager, "lvDetails");
    if (!tree || !list || !WaitFor([manager] { return manager->isVisible(); }))
        return Fail("the manager has no tree and list");
    QApplication::processEvents();
    const QModelIndex personalViews = FindNode(tree->model(), QStringLiteral("Personal"), QStringLiteral("Data Views"));
    const QModelIndex teamViews = FindNode(tree->model(), QStringLiteral("Team"), QStringLiteral("Data Views"));
    if (!personalViews.isValid() || !teamViews.isValid())
        return Fail("the manager shows no personal and team \"Data Views\" folders");
    Click(tree->viewport(), tree->visualRect(personalViews).center());
    const int row = RowOf(list->model(), source);
    if (row < 0)
        return Fail("the personal folder has no \"Sample Customers\"");
    const QPoint item = list->visualRect(list->model()->index(row, 0)).center();
    Click(list->viewport(), item);
    Picture(*manager, QDir(pictures).filePath(QStringLiteral("manager-drag-1-selected.png")));

    MouseDrag drag(list, tree, item, tree->visualRect(teamViews).center(),
                   QDir(pictures).filePath(QStringLiteral("manager-drag-2-over-team.png")), manager);
    drag.Run();
    if (!WaitFor([&] { return TeamNames(teamFile).contains(source); }))
        return Fail("the drop put nothing into the team file");
    Print({QStringLiteral("dropped"), source});

    // The team's folder shows the copy; F2 renames it in place.
    Click(tree->viewport(), tree->visualRect(teamViews).center());
    const int copied = RowOf(list->model(), source);
    if (copied < 0)
        return Fail("the team folder does not show the dropped data view");
    Click(list->viewport(), list->visualRect(list->model()->index(copied, 0)).center());
    Picture(*manager, QDir(pictures).filePath(QStringLiteral("manager-drag-3-dropped.png")));
    list->setFocus();
    Key(list, Qt::Key_F2);
    QLineEdit *editor = nullptr;
    WaitFor([&] {
        for (QLineEdit *candidate : list->viewport()->findChildren<QLineEdit *>())
            if (candidate->isVisible())
                editor = candidate;
        return editor != nullptr;
    });
    if (!editor)
        return Fail("F2 opened no editor");
    editor->selectAll();
    TypeText(editor, renamed);
    Picture(*manager, QDir(pictures).filePath(QStringLiteral("manager-drag-4-renaming.png")));
    Key(editor, Qt::Key_Return);
    if (!WaitFor([&] { return TeamNames(teamFile).contains(renamed); }))
        return Fail("the rename was not saved into the team file");
    QApplication::processEvents();
    Picture(*manager, QDir(pictures).filePath(QStringLiteral("manager-drag-5-renamed.png")));
    Print({QStringLiteral("renamed"), renamed});
    Print({QStringLiteral("team"), TeamNames(teamFile).join(QLatin1Char(','))});
    manager->close();
    return true;
}

} // namespace

int ManagerDragScript(const QStringList &arguments, DemoDataMenu &menu)
{
    const QString teamFile = arguments.value(1), pictures = arguments.value(2);
    if (teamFile.isEmpty() || pictures.isEmpty() || !QDir().mkpath(pictures)) {
        std::fprintf(stderr, "qvdemo: manager-drag needs a team file and a folder for the pictures\n");
        return 2;
    }
    // An empty team configuration, made and chosen as the Configuration File wizard would.
    if (!QFileInfo::exists(teamFile))
        qv::config::ConfigStore::CreateFile(teamFile, QStringLiteral("Demo Team"),
                                            QStringLiteral("The data views the demo team shares"),
                                            QStringLiteral("schemas-harbrane-com:quorivo:smarttag#edsteam"));
    qv::biz::ConfigFileSettings().SetConfigFilePath(qv::biz::ConfigFileSettings::Team, teamFile);
    return DragAndRename(teamFile, pictures, menu) ? 0 : 4;
}

} // namespace qvdemo
