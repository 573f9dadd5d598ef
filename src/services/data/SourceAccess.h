#pragma once

#include "data/Conditions.h"
#include "data/backends/DataTable.h"
#include "ado/RowSource.h"

#include <QStringList>

#include <memory>

namespace qv::data {

class WorkControl;

// Where a data view's rows come from: its source's kind code and connection
// text, the data item, the fields to show in their order (all when empty)
// and the conditions that all must hold.
struct RowsRequest
{
    int Kind = 0;
    QString ConnectionText;
    QString Item;
    QStringList Fields;
    QList<Condition> Conditions;
    qint64 MaxRows = -1; // a preview's limit; -1 for every row
};

// The rows of a request, ready for a recordset: its fields and a source of
// pages. Opening costs the first page (of a sheet, table or folder, the
// first rows, which type its fields); an Access table is read whole here.
// Cancelling `control` stops the source.
struct OpenedRows
{
    QList<DataField> Fields;
    std::shared_ptr<ado::RowSource> Source;
};

bool IsOdbcKind(int kind);

// The data items (tables, views, sheets, queries, a folder) of a source.
QStringList ListDataItems(int kind, const QString &connectionText);
// The fields of one data item, with their ADO types.
QList<DataField> ListFields(int kind, const QString &connectionText, const QString &item);
// Opens the source and runs the request; raises with what is wrong.
OpenedRows OpenRows(const RowsRequest &request, WorkControl &control);
// The distinct values of `field` under the request's conditions, sorted or
// in source order, at most `limit` of them; `cut` tells whether there were
// more. Nulls are no value.
QList<Variant> DistinctValues(const RowsRequest &request, const DataField &field, bool sorted, qsizetype limit,
                              bool &cut, WorkControl &control);
// Opens the source and closes it again; raises when it cannot be opened.
void TestSource(int kind, const QString &connectionText);

} // namespace qv::data
