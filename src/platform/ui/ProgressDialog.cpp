#include "ProgressDialog.h"

#include <QProgressDialog>

namespace qv::ui {

ProgressDialog::ProgressDialog(QWidget *parent)
    : m_parent(parent), m_parentGiven(parent != nullptr)
{
    m_delay.setSingleShot(true);
    // A coarse timer may fire up to 5% early: the window must not show before its delay.
    m_delay.setTimerType(Qt::PreciseTimer);
    connect(&m_delay, &QTimer::timeout, this, &ProgressDialog::ShowNow);
}

ProgressDialog::~ProgressDialog()
{
    // The parent may have taken the window with it already.
    delete m_dialog.data();
}

void ProgressDialog::SetCaption(const QString &caption)
{
    m_caption = caption;
    if (m_dialog)
        m_dialog->setWindowTitle(caption);
}

void ProgressDialog::SetMessage(const QString &message)
{
    m_message = message;
    if (m_dialog)
        m_dialog->setLabelText(message);
}

void ProgressDialog::SetValue(int value)
{
    m_value = qBound(0, value, 100);
    if (m_dialog)
        m_dialog->setValue(m_value);
}

void ProgressDialog::ShowAfter(int delayMs)
{
    m_cancelled = false;
    if (delayMs <= 0) {
        ShowNow();
        return;
    }
    m_delay.start(delayMs);
}

void ProgressDialog::ShowNow()
{
    if (!m_dialog) {
        // A parent that went meanwhile leaves nothing to stand over.
        if (m_parentGiven && !m_parent)
            return;
        m_dialog = new QProgressDialog(m_parent);
        m_dialog->setObjectName(QStringLiteral("frmProgress"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, 100);
        connect(m_dialog, &QProgressDialog::canceled, this, [this]() {
            m_cancelled = true;
            Q_EMIT Cancelled();
        });
    }
    m_dialog->setWindowTitle(m_caption);
    m_dialog->setLabelText(m_message);
    m_dialog->setValue(m_value);
    m_dialog->show();
}

void ProgressDialog::Close()
{
    m_delay.stop();
    if (m_dialog)
        m_dialog->hide();
}

bool ProgressDialog::IsWindow(const QWidget *oWindow) const
{
    return oWindow && oWindow == m_dialog.data();
}

bool ProgressDialog::IsVisible() const
{
    return m_dialog && m_dialog->isVisible();
}

} // namespace qv::ui
