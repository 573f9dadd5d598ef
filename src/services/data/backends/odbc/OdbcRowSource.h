#pragma once

#include "SqlSelect.h"
#include "data/backends/RowPages.h"

#include <memory>

namespace qv::data::odbc {

class Cursor;

// Conditions decided over the rows as they are read rather than by the
// query (see ConditionsAfterQuery). The select then reads `Fields`: the
// fields the rows keep, the first `Shown`, and after them those the
// conditions need.
struct RowFilter
{
    QList<DataField> Fields;
    QList<Condition> Conditions;
    qsizetype Shown = 0;
};

// The rows of one SELECT, read on a worker thread a page ahead of the
// recordset that walks them, while a second connection counts the same rows
// beside the first page. Opening a data view over a large table thus costs
// its first page; the count is waited for only when RecordCount is asked.
//
// Both threads work on a state they share with the source, so that the
// source can go at once: its destructor cancels both statements (the read
// and the count) and leaves the threads to close their connections.
class OdbcRowSource : public PagedRowSource
{
public:
    // `maxRows` < 0 reads every row; otherwise at most that many (a preview),
    // counted by reading them rather than by a count over the whole table.
    // With a `filter`, the rows the select reads are filtered as they come,
    // and counted by reading them through the same filter.
    OdbcRowSource(QString connectionText, SqlStatement select, SqlStatement count, qsizetype pageSize = 500,
                  qint64 maxRows = -1, RowFilter filter = {});
    ~OdbcRowSource() override;

    // Stops the statements too, not only the workers.
    void Cancel() override;

protected:
    RowPages &Pages() override;

private:
    struct State;
    static void ReadRows(const std::shared_ptr<State> &state);
    static void CountRows(const std::shared_ptr<State> &state);
    static qint64 CountFiltered(const std::shared_ptr<State> &state);

    std::shared_ptr<State> m_state;
};

} // namespace qv::data::odbc
