// The scripted run that opens the Data View Manager from the Data menu.
#include "DemoDataMenu.h"
#include "DemoScript.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QPixmap>
#include <QTreeView>

#include <cstdio>

namespace qvdemo {

namespace {

QWidget *ShownManager()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->objectName() == QLatin1String("frmMain"))
            return widget;
    return nullptr;
}

void PrintRows(const char *kind, const QAbstractItemModel *model, const QModelIndex &parent = {})
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        std::printf("%s\t%s\n", kind, qPrintable(index.data().toString()));
        if (kind[0] == 'n')
            PrintRows(kind, model, index);
    }
}

} // namespace

int ManagerScript(const QStringList &arguments, DemoDataMenu &menu)
{
    menu.OpenManager();
    QWidget *manager = ShownManager();
    if (!manager) {
        std::fprintf(stderr, "qvdemo: the Data View Manager did not open\n");
        return 4;
    }
    // The window is built and filled when it opens; one pass paints it.
    QApplication::processEvents();
    std::printf("caption\t%s\n", qPrintable(manager->windowTitle()));
    auto *tree = manager->findChild<QTreeView *>(QStringLiteral("tvTreeView"));
    auto *list = manager->findChild<QTreeView *>(QStringLiteral("lvDetails"));
    if (!tree || !list)
        return 4;
    PrintRows("node", tree->model());
    PrintRows("item", list->model());
    const QString screenshot = arguments.value(1);
    if (!screenshot.isEmpty() && !manager->grab().save(screenshot, "PNG")) {
        std::fprintf(stderr, "qvdemo: the picture could not be written to %s\n", qPrintable(screenshot));
        return 4;
    }
    manager->close();
    return 0;
}

} // namespace qvdemo
