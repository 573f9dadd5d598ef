#pragma once

#include "qvuser/automation/Variant.h"

#include <QList>

namespace qv::ado {

// Where a recordset's rows come from when they are not all in memory at once.
//
// A data back end implements this over a database cursor and hands it to
// Recordset::Open(source) after appending the fields. The recordset asks for
// the next page only when someone moves past the rows it holds (MoveNext,
// MoveLast, a filter being walked, Save), so the first rows show while the
// rest are still on their way. Rows keep the order of the pages; bookmarks of
// fetched rows stay valid while later pages arrive.
//
// Threads: the recordset calls FetchNextPage and TotalCount on its own thread
// (the user-interface thread). A back end that reads on a worker thread makes
// these calls wait for the worker's page or count; Cancel may come from any
// thread and must make a waiting FetchNextPage return soon.
class RowSource
{
public:
    using Row = QList<Variant>;

    virtual ~RowSource() = default;

    // The next rows, each holding one value a field in the recordset's field
    // order. An empty page means there are no more rows, which is also the
    // answer after Cancel. A failure is thrown as ComError and reaches the
    // caller of the recordset member that needed the rows; the rows fetched
    // so far stay.
    virtual QList<Row> FetchNextPage() = 0;

    // How many rows the source delivers in all, or -1 when it cannot tell (the
    // recordset then counts by fetching every row). Asked only when someone
    // reads RecordCount, so a count that runs beside the first page is waited
    // for only then.
    virtual qint64 TotalCount() = 0;
    // True once TotalCount answers without waiting.
    virtual bool TotalCountReady() { return true; }

    // Stops fetching: no further pages. The recordset keeps the rows it has
    // and from then on counts only those.
    virtual void Cancel() = 0;
};

} // namespace qv::ado
