#include "BackgroundWork.h"

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

} // namespace qv::data
