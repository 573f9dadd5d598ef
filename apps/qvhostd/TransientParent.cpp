#include "TransientParent.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace qvhostd {

TransientParent::TransientParent(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

TransientParent::~TransientParent()
{
    qDeleteAll(m_foreign);
}

void TransientParent::SetHostWindow(quint64 windowId)
{
    m_current = nullptr;
    if (windowId == 0 || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // Foreign windows are kept: the modeless manager stays transient for its
    // host window after the request that opened it.
    QWindow *&window = m_foreign[windowId];
    if (!window)
        window = QWindow::fromWinId(WId(windowId));
    m_current = window;
}

bool TransientParent::eventFilter(QObject *watched, QEvent *event)
{
    // Show arrives before the window is mapped, so the window manager learns
    // of the parent in time to place the window above it.
    if (event->type() != QEvent::Show || !m_current || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    QWindow *handle = widget->isWindow() ? widget->windowHandle() : nullptr;
    if (handle && !handle->transientParent())
        handle->setTransientParent(m_current);
    return false;
}

} // namespace qvhostd
