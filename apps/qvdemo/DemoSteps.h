#pragma once

// What the scripted runs share: finding the library's windows by name and
// working their controls through steps, each when its condition holds.
// Polled, since the dialogs and their message boxes run modal loops of their
// own.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class QComboBox;

namespace qvdemo {

class DemoWindow;

inline constexpr int kStepTimeoutMs = 60000;

// The visible top-level window of that type (and object name, when given).
template<typename T>
T *Visible(const char *name = nullptr)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *found = qobject_cast<T *>(widget);
        if (found && found->isVisible() && (!name || found->objectName() == QLatin1String(name)))
            return found;
    }
    return nullptr;
}

template<typename T>
T *Child(QWidget &form, const char *name)
{
    return form.findChild<T *>(QString::fromLatin1(name));
}

// Works the visible dialog of one name through its steps. A step that does
// not come about within kStepTimeoutMs is reported, and every dialog closed.
class StepDriver : public QObject
{
public:
    struct Step
    {
        const char *what;
        std::function<bool(QDialog &)> ready;
        std::function<void(QDialog &)> act;
    };

    explicit StepDriver(QList<Step> steps, const char *dialogName = "frmSelectDataItems");
    bool Done() const { return m_next == m_steps.size(); }

private:
    void Poll();

    QList<Step> m_steps;
    const char *m_dialogName;
    qsizetype m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

// Insert Data's rows and status line.
int Rows(QDialog &dialog);
QString Status(QDialog &dialog);
// No busy pointer on the form or the application.
bool NotBusy(QWidget &form);
// Insert Data idle: not busy and a count in the status line.
bool Idle(QDialog &dialog);
void Choose(QComboBox *combo, int index);
void ChooseText(QDialog &dialog, const char *combo, const QString &text);
void Press(QDialog &dialog, const char *button);
void Key(QWidget *target, Qt::Key key);
// Types the text into the control key by key, as a user does.
void TypeText(QWidget *target, const QString &text);
void Print(const QStringList &texts);
// True when the script got `count` arguments (its name included); otherwise
// prints "usage: qvdemo --script USAGE".
// Saves the document as a script ends: 0, or 5 and the reason on stderr.
int SaveForScript(DemoWindow &window, const QString &path);
bool ArgumentsFit(const QStringList &arguments, qsizetype count, const char *usage);
void Picture(QWidget &widget, const QString &path);

} // namespace qvdemo
