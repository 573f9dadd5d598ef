#pragma once

#include <QList>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qv::data {

// What a piece of long work and its caller share: the progress it reports
// (0 to 100), the cancel request and the way to pass it on to the source.
class WorkControl
{
public:
    std::atomic<int> Progress{0};
    std::atomic<bool> CancelRequested{false};

    // Called once when the caller cancels (from the caller's thread); the
    // work installs it once it holds something that can be stopped.
    void OnCancel(std::function<void()> stop);
    void Cancel();

private:
    std::mutex m_mutex;
    std::function<void()> m_stop;
};

// Runs work on a thread of its own while the calling thread waits in a local
// event loop, so that its windows paint and a Cancel button works. Every
// 100 ms `report` is called on the calling thread with the progress. Ends
// when the work ends (its exception is raised here) or, within a poll, once
// the control is cancelled: the work then finishes on its own and its result
// is dropped. The threads are joined when the runner goes.
class BackgroundRunner
{
public:
    ~BackgroundRunner();

    // True when the work ran to its end, false when it was cancelled.
    bool Run(const std::shared_ptr<WorkControl> &control, std::function<void()> work,
             const std::function<void(int)> &report);

private:
    QList<std::shared_ptr<std::thread>> m_threads;
};

} // namespace qv::data
