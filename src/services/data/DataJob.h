#pragma once

#include "BackgroundWork.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <exception>
#include <functional>
#include <memory>

namespace qv::data {

// One call of the data services as a job: its work runs on the services'
// thread pool with a cancel of its own, and the job reports on the thread
// that started it. Fetching comes every 100 ms while the work runs, then
// Finished once: after the work ended (its result already applied), failed
// (Failure() holds the error) or was cancelled.
//
// A cancelled job is finished at once for its caller: the work is told to
// stop (an ODBC statement is cancelled) and winds down on its own thread,
// holding nothing of the caller's. Destroying a job cancels it and never
// waits for its work.
class DataJob : public QObject
{
    Q_OBJECT

public:
    using Work = std::function<void(WorkControl &)>;

    // Starts `work` on the pool. `apply` runs on this thread once the work
    // has ended without failure or cancel, before Finished; it hands the
    // result to the caller's objects, which the work itself never touches.
    static std::shared_ptr<DataJob> Start(Work work, std::function<void()> apply = {});
    ~DataJob() override;

    void Cancel();
    bool IsFinished() const { return m_finished; }
    bool WasCancelled() const { return m_control->CancelRequested; }
    bool Failed() const { return bool(m_failure); }
    std::exception_ptr Failure() const { return m_failure; }
    int Progress() const { return m_control->Progress; }

    // For the members that answer synchronously: waits in a local event loop
    // until the job is finished, raises its failure, and answers false when
    // it was cancelled.
    bool Wait();

signals:
    void Fetching(qint32 progress);
    void Finished();

private:
    struct Outcome;
    DataJob(Work work, std::function<void()> apply);
    void OnWorkEnded();
    void Finish();

    std::shared_ptr<WorkControl> m_control = std::make_shared<WorkControl>();
    std::shared_ptr<Outcome> m_outcome;
    std::function<void()> m_apply;
    std::exception_ptr m_failure;
    QFutureWatcher<void> m_watcher;
    QTimer m_progress;
    bool m_finished = false;
};

} // namespace qv::data
