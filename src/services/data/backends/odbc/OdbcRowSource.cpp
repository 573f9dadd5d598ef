#include "OdbcRowSource.h"

#include "OdbcConnection.h"

#include "data/BackgroundWork.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace qv::data::odbc {
namespace {

// Pages read ahead of the recordset: enough to hide the driver's latency,
// few enough that a cancelled preview holds little.
constexpr size_t kPagesAhead = 2;

} // namespace

struct OdbcRowSource::State
{
    QString connectionText;
    SqlStatement select;
    SqlStatement count;
    qsizetype pageSize = 500;
    qint64 maxRows = -1;
    RowFilter filter;
    std::optional<RowMatcher> matcher;

    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
    bool described = false;
    bool finished = false;
    QList<DataField> fields;
    std::deque<QList<Row>> pages;
    std::exception_ptr failure;
    std::optional<qint64> total;
    // The running statements' cancels, for Cancel; guarded by mutex and
    // forgotten before their statements go.
    std::function<void()> stopRead;
    std::function<void()> stopCount;

    // Installs a statement's cancel; a source cancelled before the statement
    // runs stops it from running at all (a cancel sent first would be lost).
    void Hold(std::function<void()> State::*slot, std::function<void()> stop)
    {
        std::lock_guard lock(mutex);
        if (cancelled && stop) {
            this->*slot = nullptr;
            throw WorkCancelled();
        }
        this->*slot = std::move(stop);
    }
    void Forget(std::function<void()> State::*slot)
    {
        std::lock_guard lock(mutex);
        this->*slot = nullptr;
    }

    // The rows of `read` the filter keeps, with the fields they show.
    QList<Row> Kept(QList<Row> read) const
    {
        if (!matcher)
            return read;
        QList<Row> kept;
        for (Row &row : read) {
            if (!matcher->Matches(row))
                continue;
            row.resize(filter.Shown);
            kept.append(std::move(row));
        }
        return kept;
    }
};

OdbcRowSource::OdbcRowSource(QString connectionText, SqlStatement select, SqlStatement count, qsizetype pageSize,
                             qint64 maxRows, RowFilter filter)
    : m_state(std::make_shared<State>())
{
    m_state->connectionText = std::move(connectionText);
    m_state->select = std::move(select);
    m_state->count = std::move(count);
    m_state->pageSize = std::max<qsizetype>(pageSize, 1);
    m_state->maxRows = maxRows;
    if (!filter.Conditions.isEmpty()) {
        // Raises here, in the caller's thread, for a condition on no field.
        m_state->matcher.emplace(filter.Fields, filter.Conditions);
        m_state->filter = std::move(filter);
    }
    std::thread([state = m_state] { ReadRows(state); }).detach();
    // A preview reads at most its few rows, and those are its count: a count
    // over the whole table would only compete with them.
    if (maxRows < 0)
        std::thread([state = m_state] { CountRows(state); }).detach();
    else
        m_state->total = -1;
}

OdbcRowSource::~OdbcRowSource()
{
    Cancel();
}

void OdbcRowSource::ReadRows(const std::shared_ptr<State> &s)
{
    try {
        Connection connection(s->connectionText);
        // A filtered preview reads until enough rows pass: the driver must not stop first.
        const qint64 driverMax = s->matcher ? 0 : std::max<qint64>(s->maxRows, 0);
        std::unique_ptr<Cursor> cursor =
            connection.Execute(s->select, driverMax,
                               [&s](std::function<void()> stop) { s->Hold(&State::stopRead, std::move(stop)); });
        // The cancel is forgotten before the cursor goes, however this thread leaves.
        const std::unique_ptr<State, std::function<void(State *)>> forget(
            s.get(), [](State *state) { state->Forget(&State::stopRead); });
        {
            std::lock_guard lock(s->mutex);
            s->fields = cursor->Fields();
            if (s->matcher)
                s->fields.resize(s->filter.Shown);
            s->described = true;
        }
        s->changed.notify_all();
        qint64 read = 0;
        for (;;) {
            {
                std::unique_lock lock(s->mutex);
                s->changed.wait(lock, [&s] { return s->cancelled || s->pages.size() < kPagesAhead; });
                if (s->cancelled)
                    break;
            }
            qsizetype wanted = s->pageSize;
            if (s->maxRows >= 0 && !s->matcher)
                wanted = qsizetype(std::min<qint64>(wanted, s->maxRows - read));
            QList<Row> fetched = wanted > 0 && read != s->maxRows ? cursor->Fetch(wanted) : QList<Row>();
            if (fetched.isEmpty())
                break;
            QList<Row> page = s->Kept(std::move(fetched));
            if (s->maxRows >= 0 && page.size() > s->maxRows - read)
                page.resize(qsizetype(s->maxRows - read));
            read += page.size();
            std::lock_guard lock(s->mutex);
            if (s->cancelled)
                break;
            if (page.isEmpty())
                continue;
            s->pages.push_back(std::move(page));
            s->changed.notify_all();
        }
    } catch (...) {
        s->Forget(&State::stopRead);
        std::lock_guard lock(s->mutex);
        s->failure = std::current_exception();
        s->described = true;
    }
    {
        std::lock_guard lock(s->mutex);
        s->finished = true;
    }
    s->changed.notify_all();
}

void OdbcRowSource::CountRows(const std::shared_ptr<State> &s)
{
    qint64 total = -1;
    try {
        if (s->matcher) {
            total = CountFiltered(s);
        } else {
            Connection connection(s->connectionText);
            total = connection.Count(s->count, [&s](std::function<void()> stop) {
                s->Hold(&State::stopCount, std::move(stop));
            });
        }
    } catch (...) {
        // Without a count the recordset counts the rows it fetches; a source
        // that cannot count usually cannot read either, and says so there.
        total = -1;
    }
    s->Forget(&State::stopCount);
    {
        std::lock_guard lock(s->mutex);
        s->total = total;
    }
    s->changed.notify_all();
}

// The rows the filter keeps, counted by reading them all: the query cannot
// count what only the filter decides.
qint64 OdbcRowSource::CountFiltered(const std::shared_ptr<State> &s)
{
    Connection connection(s->connectionText);
    std::unique_ptr<Cursor> cursor = connection.Execute(
        s->select, 0, [&s](std::function<void()> stop) { s->Hold(&State::stopCount, std::move(stop)); });
    const std::unique_ptr<State, void (*)(State *)> forget(s.get(),
                                                           [](State *state) { state->Forget(&State::stopCount); });
    qint64 total = 0;
    for (QList<Row> page; !(page = cursor->Fetch(s->pageSize)).isEmpty();) {
        total += s->Kept(std::move(page)).size();
        std::lock_guard lock(s->mutex);
        if (s->cancelled)
            return -1;
    }
    return total;
}

QList<DataField> OdbcRowSource::Fields()
{
    std::unique_lock lock(m_state->mutex);
    m_state->changed.wait(lock, [this] { return m_state->described; });
    if (m_state->failure)
        std::rethrow_exception(m_state->failure);
    return m_state->fields;
}

QList<ado::RowSource::Row> OdbcRowSource::FetchNextPage()
{
    std::unique_lock lock(m_state->mutex);
    m_state->changed.wait(lock, [this] { return m_state->cancelled || m_state->finished || !m_state->pages.empty(); });
    if (m_state->cancelled)
        return {};
    if (m_state->pages.empty()) {
        if (m_state->failure)
            std::rethrow_exception(std::exchange(m_state->failure, nullptr));
        return {};
    }
    QList<Row> page = std::move(m_state->pages.front());
    m_state->pages.pop_front();
    lock.unlock();
    m_state->changed.notify_all();
    return page;
}

qint64 OdbcRowSource::TotalCount()
{
    std::unique_lock lock(m_state->mutex);
    m_state->changed.wait(lock, [this] { return m_state->cancelled || m_state->total.has_value(); });
    return m_state->total.value_or(-1);
}

bool OdbcRowSource::TotalCountReady()
{
    std::lock_guard lock(m_state->mutex);
    return m_state->cancelled || m_state->total.has_value();
}

void OdbcRowSource::Cancel()
{
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->cancelled)
            return;
        m_state->cancelled = true;
        // SQLCancel is the one call a driver takes from another thread.
        if (m_state->stopRead)
            m_state->stopRead();
        if (m_state->stopCount)
            m_state->stopCount();
    }
    m_state->changed.notify_all();
}

} // namespace qv::data::odbc
