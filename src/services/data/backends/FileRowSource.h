#pragma once

#include "DataTable.h"
#include "RowPages.h"
#include "data/Conditions.h"

#include <functional>
#include <memory>
#include <optional>

namespace qv::data {

// Which rows of a data item a request keeps and which of their fields.
struct RowChoice
{
    QStringList Fields;          // the fields kept, in this order; all when empty
    QList<Condition> Conditions; // all must hold for a row to be kept
    qint64 MaxRows = -1;         // a preview's limit; -1 for every row
    QString Source;              // names the source in errors
};

// A RowChoice applied to the rows of one item, once its fields are known.
class RowPicker
{
public:
    // Raises kErrorNoSuchItem for a chosen field the item lacks, and for a
    // condition on no field.
    RowPicker(const QList<DataField> &all, const RowChoice &choice);

    const QList<DataField> &Shown() const { return m_shown; }
    bool Keeps(const DataRow &row) const { return !m_matcher || m_matcher->Matches(row); }
    // The row with the chosen fields only.
    DataRow Pick(DataRow row) const;

private:
    QList<qsizetype> m_columns; // empty: every field, as it stands
    QList<DataField> m_shown;
    std::optional<RowMatcher> m_matcher;
};

// The rows of a file source's data item, read on a worker thread a few pages
// ahead of the recordset that walks them, while a second worker, once the
// first has its pages ahead, reads the item again to count the rows the choice
// keeps. The first rows thus wait for the item's first rows only, the count
// for nobody, and memory holds the pages ahead rather than the item.
// Conditions are decided on each row as it is read.
//
// The workers share a state with the source, so that the source can go at
// once: its destructor cancels both, and each stops at its next row.
class FileRowSource : public PagedRowSource
{
public:
    // Gives the item to a sink; called on both workers at once.
    using Read = std::function<void(TableSink &)>;

    FileRowSource(Read read, RowChoice choice, qsizetype pageSize = 500);
    ~FileRowSource() override;

    // The rows the reader has read so far, kept or not.
    qint64 RowsRead() const;

protected:
    RowPages &Pages() override;

private:
    struct State;
    class PageSink;
    class CountSink;
    static void ReadRows(const std::shared_ptr<State> &state);
    static void CountRows(const std::shared_ptr<State> &state);

    std::shared_ptr<State> m_state;
};

} // namespace qv::data
