#include "LineChannel.h"

#include "HostProtocol.h"
#include "RequestHandler.h"

#include "qvuser/automation/ComError.h"

#include <QApplication>
#include <QDialog>
#include <QJsonDocument>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <unistd.h>

namespace qvhostd {

LineChannel::LineChannel(RequestHandler &handler, QObject *parent)
    : QObject(parent), m_handler(handler), m_notifier(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
{
    m_output = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    connect(m_notifier, &QSocketNotifier::activated, this, &LineChannel::ReadInput);
}

void LineChannel::ReadInput()
{
    char buffer[65536];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (count <= 0) {
        InputEnded();
        return;
    }
    m_pending.append(buffer, count);
    ServeNext();
}

void LineChannel::ServeNext()
{
    // A dialog's modal loop reads further input: it waits for the answer
    // before it is served.
    if (m_busy)
        return;
    const qsizetype end = m_pending.indexOf('\n');
    if (end < 0) {
        if (m_ended)
            QApplication::quit();
        return;
    }
    const QByteArray line = m_pending.left(end).trimmed();
    m_pending.remove(0, end + 1);
    if (!line.isEmpty()) {
        m_busy = true;
        QJsonParseError error;
        const QJsonDocument request = QJsonDocument::fromJson(line, &error);
        if (request.isObject()) {
            Send(m_handler.Answer(request.object()));
        } else {
            const qv::ComError bad(qv::vberr::InvalidCall, QString::fromLatin1(kErrorSource),
                                   QStringLiteral("The request is no JSON object: %1.").arg(error.errorString()));
            Send({{QStringLiteral("ok"), false}, {QStringLiteral("error"), ErrorToJson(bad)}});
        }
        m_busy = false;
    }
    QTimer::singleShot(0, this, &LineChannel::ServeNext);
}

void LineChannel::Send(const QJsonObject &answer)
{
    const QByteArray line = QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n';
    for (qsizetype written = 0; written < line.size();) {
        const ssize_t n = ::write(m_output, line.constData() + written, size_t(line.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the host has gone; the end of its input follows
        written += n;
    }
}

void LineChannel::InputEnded()
{
    m_notifier->setEnabled(false);
    m_ended = true;
    // The host has gone: a dialog still open answers no one.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
            dialog->reject();
    }
    if (!m_busy)
        ServeNext();
}

} // namespace qvhostd
