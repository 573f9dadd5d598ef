#pragma once

#include "SqlSelect.h"
#include "ado/RowSource.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace qv::data::odbc {

class Cursor;

// The rows of one SELECT, read on a worker thread a page ahead of the
// recordset that walks them, while a second connection counts the same rows
// beside the first page. Opening a data view over a large table thus costs
// its first page; the count is waited for only when RecordCount is asked.
class OdbcRowSource : public ado::RowSource
{
public:
    // `maxRows` < 0 reads every row; otherwise at most that many (a preview),
    // counted by reading them rather than by a count over the whole table.
    OdbcRowSource(QString connectionText, SqlStatement select, SqlStatement count, qsizetype pageSize = 500,
                  qint64 maxRows = -1);
    ~OdbcRowSource() override;

    // The fields of the result, once the statement ran; raises what opening
    // the source or running the statement raised.
    QList<DataField> Fields();

    QList<Row> FetchNextPage() override;
    qint64 TotalCount() override;
    void Cancel() override;

private:
    void ReadRows();
    void CountRows();

    const QString m_connectionText;
    const SqlStatement m_select;
    const SqlStatement m_count;
    const qsizetype m_pageSize;
    const qint64 m_maxRows;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_cancelled = false;
    bool m_described = false;
    bool m_finished = false;
    QList<DataField> m_fields;
    std::deque<QList<Row>> m_pages;
    std::exception_ptr m_failure;
    std::optional<qint64> m_total;
    Cursor *m_cursor = nullptr; // the worker's, for Cancel; guarded by m_mutex

    std::thread m_reader;
    std::thread m_counter;
};

} // namespace qv::data::odbc
