#include "BackgroundWork.h"

#include <QEventLoop>
#include <QTimer>

namespace qv::data {

void WorkControl::OnCancel(std::function<void()> stop)
{
    std::lock_guard lock(m_mutex);
    m_stop = std::move(stop);
    if (CancelRequested && m_stop)
        m_stop();
}

void WorkControl::Cancel()
{
    CancelRequested = true;
    std::lock_guard lock(m_mutex);
    if (m_stop)
        m_stop();
}

BackgroundRunner::~BackgroundRunner()
{
    for (const auto &thread : m_threads)
        thread->join();
}

bool BackgroundRunner::Run(const std::shared_ptr<WorkControl> &control, std::function<void()> work,
                           const std::function<void(int)> &report)
{
    struct Shared
    {
        std::atomic<bool> done{false};
        std::exception_ptr failure;
    };
    auto shared = std::make_shared<Shared>();
    auto thread = std::make_shared<std::thread>([shared, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            shared->failure = std::current_exception();
        }
        shared->done = true;
    });
    m_threads.append(thread);

    // The loop polls rather than being woken from the worker: a cancelled
    // worker may outlive this call, and nothing it does may reach the loop.
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(10);
    int sinceReport = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (shared->done || control->CancelRequested) {
            loop.quit();
            return;
        }
        if (++sinceReport >= 10) {
            sinceReport = 0;
            if (report)
                report(control->Progress);
        }
    });
    poll.start();
    if (!shared->done && !control->CancelRequested)
        loop.exec(QEventLoop::AllEvents);
    poll.stop();

    if (control->CancelRequested)
        return false;
    thread->join();
    m_threads.removeOne(thread);
    if (shared->failure)
        std::rethrow_exception(shared->failure);
    return true;
}

} // namespace qv::data
