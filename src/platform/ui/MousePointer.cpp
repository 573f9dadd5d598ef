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

Qt::CursorShape ShapeOf(int pointer)
{
    return pointer == pointer::ArrowHourglass ? Qt::BusyCursor : Qt::WaitCursor;
}

} // namespace

void SetMousePointer(int pointer)
{
    const int before = Current();
    Current() = pointer;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    if (pointer == pointer::Default) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        return;
    }
    if (before == pointer::Default || !QGuiApplication::overrideCursor())
        QGuiApplication::setOverrideCursor(QCursor(ShapeOf(pointer)));
    else
        QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(pointer)));
}

int MousePointer()
{
    return Current();
}

} // namespace qv::ui
