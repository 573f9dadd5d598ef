#include "DataJob.h"

#include <QEventLoop>
#include <QPromise>
#include <QThreadPool>

namespace qv::data {
namespace {

// The services' own pool, made once and never destroyed: the global pool is
// waited for when the application object goes, and a host's exit must not
// wait for a cancelled query still winding down. Work blocks on drivers
// rather than computing, so the pool is wider than the cores.
QThreadPool &Pool()
{
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(std::max(8, QThread::idealThreadCount() * 4));
        p->setExpiryTimeout(30000);
        return p;
    }();
    return *pool;
}

constexpr int kProgressIntervalMs = 100;

} // namespace

// What the worker hands back; shared, since the job may be gone by then.
struct DataJob::Outcome
{
    std::exception_ptr failure;
};

DataJob::DataJob(Work work, std::function<void()> apply)
    : m_outcome(std::make_shared<Outcome>()), m_apply(std::move(apply))
{
    m_progress.setInterval(kProgressIntervalMs);
    connect(&m_progress, &QTimer::timeout, this, [this] { emit Fetching(m_control->Progress); });
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &DataJob::OnWorkEnded);

    auto promise = std::make_shared<QPromise<void>>();
    m_watcher.setFuture(promise->future());
    promise->start();
    Pool().start([promise, control = m_control, outcome = m_outcome, work = std::move(work)] {
        try {
            work(*control);
        } catch (...) {
            outcome->failure = std::current_exception();
        }
        promise->finish();
    });
    m_progress.start();
}

std::shared_ptr<DataJob> DataJob::Start(Work work, std::function<void()> apply)
{
    Q_ASSERT(work);
    return std::shared_ptr<DataJob>(new DataJob(std::move(work), std::move(apply)));
}

DataJob::~DataJob()
{
    if (!m_finished)
        m_control->Cancel();
    m_watcher.disconnect(this);
}

void DataJob::OnWorkEnded()
{
    if (m_finished)
        return;
    // The promise was finished after the worker wrote the outcome.
    m_failure = m_outcome->failure;
    if (!m_failure && !m_control->CancelRequested && m_apply) {
        try {
            m_apply();
        } catch (...) {
            m_failure = std::current_exception();
        }
    }
    if (!m_failure && !m_control->CancelRequested)
        emit Fetching(100);
    Finish();
}

void DataJob::Cancel()
{
    if (m_finished)
        return;
    m_control->Cancel();
    // The caller learns of the end from the event loop, as of any other end,
    // so that nobody is called back from inside its own Cancel.
    m_progress.stop();
    m_watcher.disconnect(this);
    QMetaObject::invokeMethod(this, &DataJob::Finish, Qt::QueuedConnection);
}

void DataJob::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_progress.stop();
    emit Finished();
}

bool DataJob::Wait()
{
    if (!m_finished) {
        QEventLoop loop;
        connect(this, &DataJob::Finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (m_failure)
        std::rethrow_exception(m_failure);
    return !WasCancelled();
}

} // namespace qv::data
