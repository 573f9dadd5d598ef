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
// button emits Cancelled. The window is application modal while shown. It
// stands over its parent while that lives; when the parent goes first, the
// window goes with it and this object simply shows nothing more.
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
    // True when `oWindow` is this progress window.
    bool IsWindow(const QWidget *oWindow) const;
    bool WasCancelled() const { return m_cancelled; }

Q_SIGNALS:
    void Cancelled();

private:
    void ShowNow();

    QPointer<QWidget> m_parent;
    bool m_parentGiven = false;
    QPointer<QProgressDialog> m_dialog;
    QTimer m_delay;
    QString m_caption;
    QString m_message;
    int m_value = 0;
    bool m_cancelled = false;
};

} // namespace qv::ui
