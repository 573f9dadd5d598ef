#pragma once

// Works the manager window as a user does: rows clicked with the mouse,
// right-click menus opened and chosen from, toolbar buttons clicked, keys
// pressed on the window's active controls.

#include "ManagerFixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QTreeView>

namespace qv::test {

inline QTreeView *ListView(frmMain &form)
{
    return Child<QTreeView>(form, "lvDetails");
}

inline QTreeView *TreeView(frmMain &form)
{
    return Child<QTreeView>(form, "tvTreeView");
}

// Shows the window on the personal and team files and makes it the active
// window, so that its keys reach it.
inline void OpenOn(frmMain &form, const manager::ManagerRequest &request)
{
    form.ShowSmartTagView(request);
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
}

// The row of the list showing that name; -1 when none does.
inline int RowOf(frmMain &form, const QString &name)
{
    QAbstractItemModel *model = ListView(form)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == name)
            return row;
    return -1;
}

inline QPoint RowCenter(frmMain &form, int row)
{
    QTreeView *list = ListView(form);
    return list->visualRect(list->model()->index(row, 0)).center();
}

inline void ClickRow(frmMain &form, int row, Qt::KeyboardModifiers modifiers = {})
{
    EXPECT_GE(row, 0);
    QTest::mouseClick(ListView(form)->viewport(), Qt::LeftButton, modifiers, RowCenter(form, row));
}

inline void ClickName(frmMain &form, const char *name, Qt::KeyboardModifiers modifiers = {})
{
    ClickRow(form, RowOf(form, QString::fromUtf8(name)), modifiers);
}

// The names of the selected rows, in list order.
inline QString Selected(frmMain &form)
{
    QTreeView *list = ListView(form);
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->selectionModel()->isRowSelected(row))
            texts << list->model()->index(row, 0).data().toString();
    return texts.join(QLatin1Char(','));
}

// A key pressed with the list focused.
inline void Key(frmMain &form, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    ListView(form)->setFocus();
    QTest::keyClick(ListView(form), key, modifiers);
}

inline void ClickToolbar(frmMain &form, const char *key)
{
    auto *bar = Child<QToolBar>(form, "tbrMain");
    QWidget *button = bar->widgetForAction(Child<QAction>(form, key));
    ASSERT_TRUE(button) << key;
    QTest::mouseClick(button, Qt::LeftButton);
}

// Right-clicks the row (the button's release opens the menu) and answers the menu shown.
inline QMenu *RightClickRow(frmMain &form, int row)
{
    QTest::mouseClick(ListView(form)->viewport(), Qt::RightButton, {}, RowCenter(form, row));
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

inline void Choose(QMenu *menu, const char *item)
{
    ASSERT_TRUE(menu);
    QAction *action = menu->findChild<QAction *>(QString::fromLatin1(item));
    ASSERT_TRUE(action) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    const QPoint at = menu->actionGeometry(action).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, {}, at);
}

inline bool Enabled(frmMain &form, const char *name)
{
    return Child<QAction>(form, name)->isEnabled();
}

// The names of the data views of a configuration file as it is on disk.
inline QString FileNames(const QString &path)
{
    auto store = config::ConfigStore::Create();
    store->Open(path);
    QStringList names;
    for (const auto &view : store->DataViewCollection())
        names << view->Name;
    return names.join(QLatin1Char(','));
}

} // namespace qv::test
