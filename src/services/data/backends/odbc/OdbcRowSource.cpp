#include "OdbcRowSource.h"

#include "OdbcConnection.h"

namespace qv::data::odbc {
namespace {

// Pages read ahead of the recordset: enough to hide the driver's latency,
// few enough that a cancelled preview holds little.
constexpr size_t kPagesAhead = 2;

} // namespace

OdbcRowSource::OdbcRowSource(QString connectionText, SqlStatement select, SqlStatement count, qsizetype pageSize,
                             qint64 maxRows)
    : m_connectionText(std::move(connectionText)), m_select(std::move(select)), m_count(std::move(count)),
      m_pageSize(std::max<qsizetype>(pageSize, 1)), m_maxRows(maxRows)
{
    m_reader = std::thread([this] { ReadRows(); });
    // A preview reads at most its few rows, and those are its count: a count
    // over the whole table would only compete with them.
    if (m_maxRows < 0)
        m_counter = std::thread([this] { CountRows(); });
    else
        m_total = -1;
}

OdbcRowSource::~OdbcRowSource()
{
    Cancel();
    m_reader.join();
    if (m_counter.joinable())
        m_counter.join();
}

void OdbcRowSource::ReadRows()
{
    try {
        Connection connection(m_connectionText);
        std::unique_ptr<Cursor> cursor = connection.Execute(m_select, std::max<qint64>(m_maxRows, 0));
        // Cancel reaches the cursor through m_cursor: it is forgotten before
        // the cursor goes, however this thread leaves.
        struct Forget
        {
            OdbcRowSource *self;
            ~Forget()
            {
                std::lock_guard lock(self->m_mutex);
                self->m_cursor = nullptr;
            }
        } forget{this};
        {
            std::lock_guard lock(m_mutex);
            m_fields = cursor->Fields();
            m_described = true;
            m_cursor = m_cancelled ? nullptr : cursor.get();
        }
        m_changed.notify_all();
        qint64 read = 0;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_cancelled || m_pages.size() < kPagesAhead; });
                if (m_cancelled)
                    break;
            }
            qsizetype wanted = m_pageSize;
            if (m_maxRows >= 0)
                wanted = qsizetype(std::min<qint64>(wanted, m_maxRows - read));
            QList<Row> page = wanted > 0 ? cursor->Fetch(wanted) : QList<Row>();
            read += page.size();
            std::lock_guard lock(m_mutex);
            if (page.isEmpty() || m_cancelled)
                break;
            m_pages.push_back(std::move(page));
            m_changed.notify_all();
        }
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
        m_described = true;
    }
    {
        std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_changed.notify_all();
}

void OdbcRowSource::CountRows()
{
    qint64 total = -1;
    try {
        Connection connection(m_connectionText);
        total = connection.Count(m_count);
    } catch (...) {
        // Without a count the recordset counts the rows it fetches; a source
        // that cannot count usually cannot read either, and says so there.
        total = -1;
    }
    {
        std::lock_guard lock(m_mutex);
        m_total = total;
    }
    m_changed.notify_all();
}

QList<DataField> OdbcRowSource::Fields()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_described; });
    if (m_failure)
        std::rethrow_exception(m_failure);
    return m_fields;
}

QList<ado::RowSource::Row> OdbcRowSource::FetchNextPage()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_cancelled || m_finished || !m_pages.empty(); });
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
    m_changed.notify_all();
    return page;
}

qint64 OdbcRowSource::TotalCount()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_cancelled || m_total.has_value(); });
    return m_total.value_or(-1);
}

void OdbcRowSource::Cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        if (m_cursor)
            m_cursor->Cancel();
    }
    m_changed.notify_all();
}

} // namespace qv::data::odbc
