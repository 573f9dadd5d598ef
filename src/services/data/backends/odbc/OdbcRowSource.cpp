#include "OdbcRowSource.h"

#include "OdbcConnection.h"

#include "data/BackgroundWork.h"

#include <QScopeGuard>

#include <functional>
#include <optional>

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
    RowPages pages{kPagesAhead};
    // The running statements' cancels, for Cancel; guarded by pages.Mutex
    // and forgotten before their statements go.
    std::function<void()> stopRead;
    std::function<void()> stopCount;

    // Installs a statement's cancel; a source cancelled before the statement
    // runs stops it from running at all (a cancel sent first would be lost).
    void Hold(std::function<void()> State::*slot, std::function<void()> stop)
    {
        std::lock_guard lock(pages.Mutex);
        if (pages.Cancelled() && stop) {
            this->*slot = nullptr;
            throw WorkCancelled();
        }
        this->*slot = std::move(stop);
    }
    void Forget(std::function<void()> State::*slot)
    {
        std::lock_guard lock(pages.Mutex);
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
    StartWorker([state = m_state] { ReadRows(state); });
    // A preview reads at most its few rows, and those are its count: a count
    // over the whole table would only compete with them.
    if (maxRows < 0)
        StartWorker([state = m_state] { CountRows(state); });
    else
        m_state->pages.SetTotal(-1);
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
        QList<DataField> fields = cursor->Fields();
        if (s->matcher)
            fields.resize(s->filter.Shown);
        s->pages.Describe(std::move(fields));
        qint64 read = 0;
        while (!s->pages.Cancelled()) {
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
            // Waits while the pages ahead are unread: the cursor is read no faster than the rows are wanted.
            if (!s->pages.Push(std::move(page)))
                break;
        }
    } catch (...) {
        s->Forget(&State::stopRead);
        s->pages.Fail(std::current_exception());
    }
    s->pages.Finish();
}

void OdbcRowSource::CountRows(const std::shared_ptr<State> &s)
{
    s->pages.CountOnceRested([&s] {
        // The statement's cancel goes with the count, before the total is told.
        const auto forget = qScopeGuard([&s] { s->Forget(&State::stopCount); });
        if (s->matcher)
            return CountFiltered(s);
        Connection connection(s->connectionText);
        return connection.Count(s->count, [&s](std::function<void()> stop) {
            s->Hold(&State::stopCount, std::move(stop));
        });
    });
}

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
        if (s->pages.Cancelled())
            return -1;
    }
    return total;
}

RowPages &OdbcRowSource::Pages()
{
    return m_state->pages;
}

void OdbcRowSource::Cancel()
{
    // SQLCancel is the one call a driver takes from another thread.
    m_state->pages.Cancel([this] {
        if (m_state->stopRead)
            m_state->stopRead();
        if (m_state->stopCount)
            m_state->stopCount();
    });
}

} // namespace qv::data::odbc
