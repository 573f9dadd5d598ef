#pragma once

#include "DataTable.h"
#include "ado/RowSource.h"

#include <atomic>

namespace qv::data {

// A table read whole (a sheet, a page's table, a folder) handed to a
// recordset page by page, so that file sources and database sources reach
// the data viewer the same way.
class TableRowSource : public ado::RowSource
{
public:
    explicit TableRowSource(QList<DataRow> rows, qsizetype pageSize = 1000)
        : m_rows(std::move(rows)), m_pageSize(std::max<qsizetype>(pageSize, 1)) {}

    QList<Row> FetchNextPage() override
    {
        if (m_cancelled || m_next >= m_rows.size())
            return {};
        const qsizetype count = std::min(m_pageSize, m_rows.size() - m_next);
        QList<Row> page(m_rows.begin() + m_next, m_rows.begin() + m_next + count);
        m_next += count;
        return page;
    }
    qint64 TotalCount() override { return m_cancelled ? -1 : m_rows.size(); }
    void Cancel() override { m_cancelled = true; }

private:
    QList<DataRow> m_rows;
    qsizetype m_pageSize;
    qsizetype m_next = 0;
    std::atomic<bool> m_cancelled{false};
};

} // namespace qv::data
