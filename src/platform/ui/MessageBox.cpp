#include "MessageBox.h"

#include "Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHash>
#include <QPushButton>

namespace qv::ui {
namespace {

std::shared_ptr<MessageBoxHandler> &Installed()
{
    thread_local std::shared_ptr<MessageBoxHandler> handler;
    return handler;
}

QMessageBox::StandardButton StandardFor(int answer)
{
    switch (answer) {
    case mb::Cancel: return QMessageBox::Cancel;
    case mb::Abort: return QMessageBox::Abort;
    case mb::Retry: return QMessageBox::Retry;
    case mb::Ignore: return QMessageBox::Ignore;
    case mb::Yes: return QMessageBox::Yes;
    case mb::No: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

class RealMessageBoxes : public MessageBoxHandler
{
public:
    int Show(const MessageRequest &request, QWidget *parent) override
    {
        QMessageBox box(StyleIcon(request.Style), request.Title, request.Text, QMessageBox::NoButton,
                        parent ? parent : QApplication::activeWindow());
        QHash<QAbstractButton *, int> answers;
        if (!request.Action.isEmpty())
            answers.insert(box.addButton(request.Action, QMessageBox::ActionRole), mb::Action);
        const QList<int> buttons = StyleButtons(request.Style);
        for (int answer : buttons)
            answers.insert(box.addButton(StandardFor(answer)), answer);
        box.setDefaultButton(StandardFor(StyleDefaultAnswer(request.Style)));
        if (buttons.contains(mb::Cancel))
            box.setEscapeButton(StandardFor(mb::Cancel));
        else if (buttons.size() == 1)
            box.setEscapeButton(StandardFor(buttons.first()));
        RunModal(box);
        // A box closed without a button (the window's close) gives the escape answer.
        const int answer = answers.value(box.clickedButton(), 0);
        if (answer != 0)
            return answer;
        return buttons.contains(mb::Cancel) ? mb::Cancel : buttons.last();
    }
};

} // namespace

QList<int> StyleButtons(int style)
{
    switch (style & 0xF) {
    case mb::OkCancel: return {mb::Ok, mb::Cancel};
    case mb::AbortRetryIgnore: return {mb::Abort, mb::Retry, mb::Ignore};
    case mb::YesNoCancel: return {mb::Yes, mb::No, mb::Cancel};
    case mb::YesNo: return {mb::Yes, mb::No};
    case mb::RetryCancel: return {mb::Retry, mb::Cancel};
    default: return {mb::Ok};
    }
}

int StyleDefaultAnswer(int style)
{
    const QList<int> buttons = StyleButtons(style);
    const int wanted = (style & 0xF00) / 256;
    return buttons.value(wanted, buttons.first());
}

QMessageBox::Icon StyleIcon(int style)
{
    switch (style & 0xF0) {
    case mb::Critical: return QMessageBox::Critical;
    case mb::Question: return QMessageBox::Question;
    case mb::Exclamation: return QMessageBox::Warning;
    case mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int MessageRecorder::Show(const MessageRequest &request, QWidget *)
{
    Messages.append(request);
    if (!Answers.isEmpty())
        return Answers.dequeue();
    return StyleDefaultAnswer(request.Style);
}

std::shared_ptr<MessageBoxHandler> SetMessageBoxHandler(std::shared_ptr<MessageBoxHandler> handler)
{
    std::shared_ptr<MessageBoxHandler> previous = std::move(Installed());
    Installed() = std::move(handler);
    return previous;
}

int ShowMessageBox(const MessageRequest &request, QWidget *parent)
{
    if (Installed())
        return Installed()->Show(request, parent);
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        // No window can be shown: the message still reaches the log, answered
        // as by Enter.
        qWarning("%s: %s", qPrintable(request.Title), qPrintable(request.Text));
        return StyleDefaultAnswer(request.Style);
    }
    RealMessageBoxes real;
    return real.Show(request, parent);
}

} // namespace qv::ui
