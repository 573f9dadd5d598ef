#include "BackgroundWork.h"

namespace qv::data {

void WorkControl::OnCancel(std::function<void()> stop)
{
    std::lock_guard lock(m_mutex);
    if (CancelRequested && stop) {
        m_stop = nullptr;
        throw WorkCancelled();
    }
    m_stop = std::move(stop);
}

void WorkControl::Cancel()
{
    CancelRequested = true;
    std::lock_guard lock(m_mutex);
    if (m_stop)
        m_stop();
}

} // namespace qv::data
