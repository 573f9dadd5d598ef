#include "RowPages.h"

#include <QThreadPool>

#include <climits>

namespace qv::data {
namespace {

// The streaming sources' own pool, made once and never destroyed, as the
// data services' job pool is. It has no practical limit: a reader rests,
// however long, while its pages wait for the recordset, and a worker queued
// behind resting readers would hold its recordset's first page back.
QThreadPool &WorkerPool()
{
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(INT_MAX);
        p->setExpiryTimeout(30000);
        return p;
    }();
    return *pool;
}

} // namespace

void StartWorker(std::function<void()> work)
{
    Q_ASSERT(work);
    WorkerPool().start(std::move(work));
}

void RowPages::CountOnceRested(const std::function<qint64()> &count)
{
    // Counting reads the item as the reader does, on the same cores: it
    // starts once the reader rests, so that it never holds the first rows back.
    if (!WaitForRestingReader()) {
        SetTotal(-1);
        return;
    }
    qint64 total = -1;
    try {
        total = count();
    } catch (...) {
        // The recordset then counts the rows it fetches; the reader, meeting
        // the same fault, says what it is.
        total = -1;
    }
    SetTotal(Cancelled() ? -1 : total);
}

void RowPages::Describe(QList<DataField> fields)
{
    {
        std::lock_guard lock(Mutex);
        m_fields = std::move(fields);
        m_described = true;
    }
    Changed.notify_all();
}

bool RowPages::Push(QList<Row> page)
{
    std::unique_lock lock(Mutex);
    Changed.wait(lock, [this] { return m_cancelled || m_pages.size() < m_ahead; });
    if (m_cancelled)
        return false;
    if (!page.isEmpty())
        m_pages.push_back(std::move(page));
    lock.unlock();
    Changed.notify_all();
    return true;
}

void RowPages::Fail(std::exception_ptr failure)
{
    {
        std::lock_guard lock(Mutex);
        m_failure = std::move(failure);
    }
    Changed.notify_all();
}

void RowPages::Finish()
{
    {
        std::lock_guard lock(Mutex);
        m_finished = true;
    }
    Changed.notify_all();
}

void RowPages::SetTotal(qint64 total)
{
    {
        std::lock_guard lock(Mutex);
        m_total = total;
    }
    Changed.notify_all();
}

bool RowPages::WaitForRestingReader()
{
    std::unique_lock lock(Mutex);
    Changed.wait(lock, [this] { return m_cancelled || m_finished || m_pages.size() >= m_ahead; });
    return !m_cancelled;
}

QList<DataField> RowPages::Fields()
{
    std::unique_lock lock(Mutex);
    Changed.wait(lock, [this] { return m_described || m_failure || m_finished; });
    if (!m_described && m_failure)
        std::rethrow_exception(m_failure);
    return m_fields;
}

QList<RowPages::Row> RowPages::Next()
{
    std::unique_lock lock(Mutex);
    Changed.wait(lock, [this] { return m_cancelled || m_finished || !m_pages.empty(); });
    if (m_cancelled)
        return {};
    if (m_pages.empty()) {
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        return {};
    }
    QList<Row> page = std::move(m_pages.front());
    m_pages.pop_front();
    lock.unlock();
    Changed.notify_all();
    return page;
}

qint64 RowPages::Total()
{
    std::unique_lock lock(Mutex);
    Changed.wait(lock, [this] { return m_cancelled || m_total.has_value(); });
    return m_total.value_or(-1);
}

bool RowPages::TotalReady()
{
    std::lock_guard lock(Mutex);
    return m_cancelled || m_total.has_value();
}

void RowPages::Cancel(const std::function<void()> &underLock)
{
    {
        std::lock_guard lock(Mutex);
        if (m_cancelled)
            return;
        m_cancelled = true;
        if (underLock)
            underLock();
    }
    Changed.notify_all();
}

} // namespace qv::data
