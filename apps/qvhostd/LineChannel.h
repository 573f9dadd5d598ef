#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>

class QSocketNotifier;

namespace qvhostd {

class RequestHandler;

// The process's channel: one JSON object a line on standard input, one
// answer a line on standard output. Requests are served one at a time; lines
// that arrive while a dialog is open wait for it. The end of the input ends
// the process, closing any window still open.
class LineChannel : public QObject
{
    Q_OBJECT

public:
    // Takes standard output for the answers alone: whatever else the process
    // prints goes to standard error.
    LineChannel(RequestHandler &handler, QObject *parent = nullptr);

private:
    void ReadInput();
    void ServeNext();
    void Send(const QJsonObject &answer);
    void InputEnded();

    RequestHandler &m_handler;
    QSocketNotifier *m_notifier;
    QByteArray m_pending;
    int m_output = -1;
    bool m_busy = false;
    bool m_ended = false;
};

} // namespace qvhostd
