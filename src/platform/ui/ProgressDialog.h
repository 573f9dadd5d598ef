#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QProgressDialog;
class QWidget;

namespace qv::ui {

// The progress window shown around long work: it appears only once the work
// has run for the delay, so that quick work shows nothing, and its Cancel
// button emits Cancelled. The window is application modal while shown.
class ProgressDialog : public QObject
{
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget *parent = nullptr);
    ~ProgressDialog() override;

    void SetCaption(const QString &caption);
    void SetMessage(const QString &message);
    // 0 to 100; values outside are clamped.
    void SetValue(int value);
    int Value() const { return m_value; }
    // Shows the window after delayMs (0: at once).
    void ShowAfter(int delayMs);
    void Close();
    bool IsVisible() const;
    bool WasCancelled() const { return m_cancelled; }

Q_SIGNALS:
    void Cancelled();

private:
    void ShowNow();

    QPointer<QWidget> m_parent;
    QProgressDialog *m_dialog = nullptr;
    QTimer m_delay;
    QString m_caption;
    QString m_message;
    int m_value = 0;
    bool m_cancelled = false;
};

} // namespace qv::ui
