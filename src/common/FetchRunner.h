#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace qv::data {
class DataJob;
}
namespace qv::ui {
class ProgressDialog;
}

namespace qv {

// How every window runs a data services job: one at a time; the progress
// window appears once the job has run for kProgressDelayMs and follows its
// progress; its Cancel cancels the job; the form's pointer shows work (the
// busy cursor set on the form is how a test, too, sees the job); and until
// the job is over the window takes no input but Escape (which closes it and
// so cancels the job), so that no second fetch can start inside the first.
class FetchRunner : public QObject
{
    Q_OBJECT

public:
    static constexpr int kProgressDelayMs = 4000;

    // `oForm` is the window whose input waits for the job and that the
    // progress window stands over.
    explicit FetchRunner(QWidget *oForm);
    // Cancels a running job without waiting for its work.
    ~FetchRunner() override;

    bool Busy() const { return bool(m_oJob); }
    // Starts the job; `done` is called once it is over (finished, failed or
    // cancelled), unless the runner went first. Not while Busy().
    void Run(std::shared_ptr<data::DataJob> oJob, const QString &sCaption, const QString &sMessage,
             std::function<void(data::DataJob &)> done);
    // Cancels the running job: `done` follows from the event loop.
    void Cancel();
    // Puts the progress window away while the job goes on (rows already show).
    void CloseProgress();
    // Calls `then` once `ready` answers true, asking every 100 ms (a data
    // view's full count running beside its shown rows); a later call
    // replaces the earlier one. Nothing waits meanwhile.
    void WhenReady(std::function<bool()> ready, std::function<void()> then);

    // The progress window of the running job (nullptr when idle).
    ui::ProgressDialog *Progress() const { return m_oProgress.get(); }

    // For members that answer before they return (a host's value list): runs
    // the job the same way, with no input for any window but the progress
    // window, and waits for it through `wait` (the services' own Wait, so
    // that they tell of the cancel too); raises its failure, false when
    // cancelled.
    using Wait = std::function<bool(const std::shared_ptr<data::DataJob> &)>;
    static bool RunAndWait(const std::shared_ptr<data::DataJob> &oJob, QWidget *oParent, const QString &sCaption,
                           const QString &sMessage, const Wait &wait);

signals:
    // A job ended and its `done` has run.
    void Ended();

protected:
    bool eventFilter(QObject *oWatched, QEvent *oEvent) override;

private:
    void Start(const std::shared_ptr<data::DataJob> &oJob, const QString &sCaption, const QString &sMessage);
    void End();

    QPointer<QWidget> m_oForm;
    QPointer<QWidget> m_oProgressParent;
    QTimer *m_oReadyPoll = nullptr;
    std::function<bool()> m_ready;
    std::function<void()> m_then;
    std::shared_ptr<data::DataJob> m_oJob;
    std::unique_ptr<ui::ProgressDialog> m_oProgress;
};

} // namespace qv
