#pragma once

#include <QHash>
#include <QObject>

class QWindow;

namespace qvhostd {

// Keeps the windows the library opens above the host window that asked:
// each top-level window shown while a request runs becomes transient for
// the host's window. Only where the windowing system can name another
// process's window (X11); elsewhere the windows stay plain top-level ones.
class TransientParent : public QObject
{
    Q_OBJECT

public:
    explicit TransientParent(QObject *parent = nullptr);
    ~TransientParent() override;

    // The host window of the request now running (0: none).
    void SetHostWindow(quint64 windowId);
    // The host window as a foreign QWindow; nullptr when there is none or the
    // platform cannot wrap one.
    QWindow *HostWindow() const { return m_current; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<quint64, QWindow *> m_foreign;
    QWindow *m_current = nullptr;
};

} // namespace qvhostd
