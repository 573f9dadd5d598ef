// The scripted runs' shared steps and helpers.
#include "DemoSteps.h"

#include "DemoWindow.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>

#include <cstdio>

namespace qvdemo {

StepDriver::StepDriver(QList<Step> steps, const char *dialogName)
    : m_steps(std::move(steps)), m_dialogName(dialogName)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
    m_timer.start(100);
    m_clock.start();
}

void StepDriver::Poll()
{
    if (Done()) {
        m_timer.stop();
        return;
    }
    QDialog *dialog = Visible<QDialog>(m_dialogName);
    const Step &step = m_steps[m_next];
    if (m_clock.elapsed() > kStepTimeoutMs) {
        m_timer.stop();
        std::fprintf(stderr, "qvdemo: step \"%s\" did not come about (status \"%s\", %d rows%s)\n", step.what,
                     dialog ? qPrintable(Status(*dialog)) : "", dialog ? Rows(*dialog) : 0,
                     dialog ? "" : ", no dialog");
        // What stood in the way: a message box says why.
        for (auto *box = Visible<QDialog>(); box; box = Visible<QDialog>()) {
            if (auto *message = qobject_cast<QMessageBox *>(box))
                std::fprintf(stderr, "qvdemo: a message box said: %s\n", qPrintable(message->text()));
            box->reject();
        }
        return;
    }
    if (!dialog || !step.ready(*dialog))
        return;
    step.act(*dialog);
    ++m_next;
    m_clock.restart();
}

int Rows(QDialog &dialog)
{
    auto *list = Child<QTreeView>(dialog, "lvwItems");
    return list ? list->model()->rowCount() : 0;
}

QString Status(QDialog &dialog)
{
    auto *bar = Child<QStatusBar>(dialog, "sbrStatusBar");
    return bar ? bar->currentMessage() : QString();
}

bool NotBusy(QWidget &form)
{
    const auto busy = [](const QCursor *cursor) {
        return cursor && (cursor->shape() == Qt::BusyCursor || cursor->shape() == Qt::WaitCursor);
    };
    const QCursor own = form.cursor();
    return !busy(&own) && !busy(QApplication::overrideCursor());
}

bool Idle(QDialog &dialog)
{
    return NotBusy(dialog) && Status(dialog).contains(QLatin1String("record"));
}

void Choose(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void ChooseText(QDialog &dialog, const char *combo, const QString &text)
{
    auto *box = Child<QComboBox>(dialog, combo);
    Choose(box, box->findText(text));
}

void Press(QDialog &dialog, const char *button)
{
    Child<QPushButton>(dialog, button)->click();
}

void Key(QWidget *target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void TypeText(QWidget *target, const QString &text)
{
    target->setFocus();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

void Print(const QStringList &texts)
{
    std::printf("%s\n", qPrintable(texts.join(QLatin1Char('\t'))));
    std::fflush(stdout);
}

int SaveForScript(DemoWindow &window, const QString &path)
{
    QString error;
    if (window.SaveDocument(path, error))
        return 0;
    std::fprintf(stderr, "qvdemo: %s\n", qPrintable(error));
    return 5;
}

bool ArgumentsFit(const QStringList &arguments, qsizetype count, const char *usage)
{
    if (arguments.size() == count)
        return true;
    std::fprintf(stderr, "usage: qvdemo --script %s\n", usage);
    return false;
}

void Picture(QWidget &widget, const QString &path)
{
    if (!widget.grab().save(path, "PNG"))
        std::fprintf(stderr, "qvdemo: the picture could not be written to %s\n", qPrintable(path));
}

} // namespace qvdemo
