#pragma once

#include <atomic>
#include <functional>
#include <mutex>

namespace qv::data {

// Thrown into work that installs a way to stop itself after the caller has
// cancelled: a statement about to run must not run at all, since a cancel
// sent before it starts is lost on it.
struct WorkCancelled
{
};

// What a piece of long work and its caller share: the progress it reports
// (0 to 100), the cancel request and the way to pass it on to the source.
class WorkControl
{
public:
    std::atomic<int> Progress{0};
    std::atomic<bool> CancelRequested{false};

    // Called once when the caller cancels (from the caller's thread); the
    // work installs it once it holds something that can be stopped, and
    // forgets it (an empty function) before that thing goes. Installing one
    // after the cancel raises WorkCancelled.
    void OnCancel(std::function<void()> stop);
    void Cancel();

private:
    std::mutex m_mutex;
    std::function<void()> m_stop;
};

} // namespace qv::data
