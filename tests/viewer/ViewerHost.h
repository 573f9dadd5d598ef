#pragma once

#include "viewer/ctlDataViewer.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace qv::test {

// A window around the data viewer that counts the changed-layout events
// the viewer posts to it.
class ViewerHost : public QWidget
{
public:
    ViewerHost()
    {
        viewer = new ctlDataViewer(this);
        viewer->SetParentHandle(this);
        resize(700, 400);
        viewer->setGeometry(rect());
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(this));
    }

    int TakeChanges()
    {
        QCoreApplication::sendPostedEvents(this);
        return std::exchange(changes, 0);
    }

    QTreeView *List() const { return viewer->findChild<QTreeView *>("lvwItems"); }
    QHeaderView *Header() const { return List()->header(); }

    QPoint SectionCenter(int column) const
    {
        return {Header()->sectionViewportPosition(column) + Header()->sectionSize(column) / 2,
                Header()->height() / 2};
    }

    void ClickHeader(int column, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Header()->viewport(), button, {}, SectionCenter(column));
    }

    // A right click as the window system delivers it: the press, then the
    // context menu request.
    void RightClickHeader(int column)
    {
        QTest::mousePress(Header()->viewport(), Qt::RightButton, {}, SectionCenter(column));
        QTest::mouseRelease(Header()->viewport(), Qt::RightButton, {}, SectionCenter(column));
    }

    void ClickCheckBox(int row)
    {
        QTreeView *list = List();
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualRect(list->model()->index(row, 0));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    }

    void ClickRow(int row, int column = 1)
    {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                          List()->visualRect(List()->model()->index(row, column)).center());
    }

    // Presses at `from`, moves with the button held and lets go at `to`.
    void DragOnHeader(QPoint from, QPoint to)
    {
        QWidget *port = Header()->viewport();
        auto send = [port](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, port->mapToGlobal(at), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(port, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 8; ++step)
            send(QEvent::MouseMove, from + (to - from) * step / 8, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    // The right divider of a column.
    QPoint DividerOf(int column) const
    {
        return {Header()->sectionViewportPosition(column) + Header()->sectionSize(column) - 1, Header()->height() / 2};
    }

    ctlDataViewer *viewer = nullptr;

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() == ctlDataViewer::DialogChangedEventType())
            ++changes;
    }

private:
    int changes = 0;
};

} // namespace qv::test
