#pragma once

#include <QList>
#include <QMessageBox>
#include <QQueue>
#include <QString>

#include <memory>

class QWidget;

namespace qv::ui {

// Message box styles and answers as the language numbers them.
namespace mb {
inline constexpr int OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
                     RetryCancel = 5;
inline constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
inline constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
inline constexpr int Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
// The answer of a box's own action button (MessageRequest::Action).
inline constexpr int Action = 100;
} // namespace mb

struct MessageRequest
{
    QString Text;
    QString Title;
    int Style = 0;
    QString HelpFile;
    int Context = 0;
    QString Action; // the caption of a further button before the style's ("Locate..."); none when ""
};

// The buttons of a style, in their order, as answer numbers ({1} for 0, {6, 7}
// for 4, ...); an unknown button group counts as OK only.
QList<int> StyleButtons(int style);
// The answer of the default button (256 the second, 512 the third).
int StyleDefaultAnswer(int style);
QMessageBox::Icon StyleIcon(int style);

// Where message boxes go. The real one shows a QMessageBox through the modal
// helper; tests install a recorder.
class MessageBoxHandler
{
public:
    virtual ~MessageBoxHandler() = default;
    virtual int Show(const MessageRequest &request, QWidget *parent) = 0;
};

// Records every box and answers from a queue; with the queue empty it answers
// the box's default button, as a user pressing Enter would.
class MessageRecorder : public MessageBoxHandler
{
public:
    int Show(const MessageRequest &request, QWidget *parent) override;

    QList<MessageRequest> Messages;
    QQueue<int> Answers;
};

// Installs a handler for this thread (nullptr restores the real boxes) and
// returns the one it replaces.
std::shared_ptr<MessageBoxHandler> SetMessageBoxHandler(std::shared_ptr<MessageBoxHandler> handler);

// Shows one message box; returns the answer number of the button pressed.
int ShowMessageBox(const MessageRequest &request, QWidget *parent = nullptr);

} // namespace qv::ui
