#include "FetchRunner.h"

#include "data/DataJob.h"
#include "ui/ProgressDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace qv {
namespace {

constexpr int kReadyPollMs = 100;

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

bool IsEscape(const QEvent *oEvent)
{
    if (oEvent->type() != QEvent::KeyPress && oEvent->type() != QEvent::KeyRelease &&
        oEvent->type() != QEvent::ShortcutOverride)
        return false;
    return static_cast<const QKeyEvent *>(oEvent)->key() == Qt::Key_Escape;
}

} // namespace

FetchRunner::FetchRunner(QWidget *oForm) : QObject(oForm), m_oForm(oForm), m_oProgressParent(oForm)
{
}

FetchRunner::~FetchRunner()
{
    // The job goes with the runner, and with it the wait; its work is told
    // to stop and winds down on its own thread.
    if (m_oJob)
        m_oJob->disconnect(this);
    m_oJob.reset();
}

void FetchRunner::Start(const std::shared_ptr<data::DataJob> &oJob, const QString &sCaption, const QString &sMessage)
{
    m_oJob = oJob;
    m_oProgress = std::make_unique<ui::ProgressDialog>(m_oProgressParent ? m_oProgressParent->window() : nullptr);
    m_oProgress->SetCaption(sCaption);
    m_oProgress->SetMessage(sMessage);
    connect(oJob.get(), &data::DataJob::Fetching, m_oProgress.get(), &ui::ProgressDialog::SetValue);
    connect(m_oProgress.get(), &ui::ProgressDialog::Cancelled, this, &FetchRunner::Cancel);
    m_oProgress->ShowAfter(kProgressDelayMs);
    // The busy pointer is the form's own: it lasts exactly as long as the
    // job, whatever other code sets and restores meanwhile.
    if (m_oForm)
        m_oForm->setCursor(Qt::BusyCursor);
    qApp->installEventFilter(this);
}

void FetchRunner::Run(std::shared_ptr<data::DataJob> oJob, const QString &sCaption, const QString &sMessage,
                      std::function<void(data::DataJob &)> done)
{
    Q_ASSERT(oJob && !Busy());
    Start(oJob, sCaption, sMessage);
    connect(oJob.get(), &data::DataJob::Finished, this, [this, oJob, done = std::move(done)] {
        End();
        // `done` may start the next job: this one is no longer ours by then.
        if (done)
            done(*oJob);
        emit Ended();
    });
}

void FetchRunner::End()
{
    qApp->removeEventFilter(this);
    if (m_oProgress) {
        m_oProgress->Close();
        m_oProgress.reset();
    }
    if (m_oJob)
        m_oJob->disconnect(this);
    m_oJob.reset();
    if (m_oForm)
        m_oForm->unsetCursor();
}

void FetchRunner::Cancel()
{
    if (m_oJob)
        m_oJob->Cancel();
}

void FetchRunner::WhenReady(std::function<bool()> ready, std::function<void()> then)
{
    Q_ASSERT(ready && then);
    if (ready()) {
        then();
        return;
    }
    m_ready = std::move(ready);
    m_then = std::move(then);
    if (!m_oReadyPoll) {
        m_oReadyPoll = new QTimer(this);
        m_oReadyPoll->setInterval(kReadyPollMs);
        connect(m_oReadyPoll, &QTimer::timeout, this, [this] {
            if (!m_ready || !m_ready())
                return;
            m_oReadyPoll->stop();
            m_ready = nullptr;
            std::exchange(m_then, nullptr)();
        });
    }
    m_oReadyPoll->start();
}

void FetchRunner::CloseProgress()
{
    if (m_oProgress)
        m_oProgress->Close();
}

bool FetchRunner::eventFilter(QObject *oWatched, QEvent *oEvent)
{
    if (!m_oJob || !IsUserInput(oEvent->type()) || !oWatched->isWidgetType())
        return false;
    const QWidget *oWindow = static_cast<QWidget *>(oWatched)->window();
    if (m_oProgress && m_oProgress->IsWindow(oWindow))
        return false;
    // A form's own runner guards the form alone; a waiting member guards all.
    if (m_oForm && oWindow != m_oForm->window())
        return false;
    return !(m_oForm && IsEscape(oEvent));
}

bool FetchRunner::RunAndWait(const std::shared_ptr<data::DataJob> &oJob, QWidget *oParent, const QString &sCaption,
                             const QString &sMessage, const Wait &wait)
{
    Q_ASSERT(oJob && wait);
    FetchRunner oRunner(nullptr);
    oRunner.m_oProgressParent = oParent;
    oRunner.Start(oJob, sCaption, sMessage);
    bool bFinished = false;
    try {
        bFinished = wait(oJob);
    } catch (...) {
        oRunner.End();
        throw;
    }
    oRunner.End();
    return bFinished;
}

} // namespace qv
