#include "MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace qv::ui {
namespace {

int &Current()
{
    thread_local int current = pointer::Default;
    return current;
}

bool &OursPushed()
{
    thread_local bool pushed = false;
    return pushed;
}

Qt::CursorShape ShapeOf(int pointer)
{
    return pointer == pointer::ArrowHourglass ? Qt::BusyCursor : Qt::WaitCursor;
}

} // namespace

void SetMousePointer(int pointer)
{
    Current() = pointer;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    // One level of Qt's override stack is ours at most; the host's own
    // levels below it are never touched.
    bool &pushed = OursPushed();
    if (pointer == pointer::Default) {
        if (pushed)
            QGuiApplication::restoreOverrideCursor();
        pushed = false;
        return;
    }
    if (pushed) {
        QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(pointer)));
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(ShapeOf(pointer)));
    pushed = true;
}

int MousePointer()
{
    return Current();
}

} // namespace qv::ui
