#pragma once

#include "ado/Field.h"
#include "ado/RowSource.h"

#include <QHash>
#include <QSet>

#include <memory>
#include <vector>

namespace qv::ado {

// The rows of a recordset and its clones. A row's bookmark is its place in
// the store plus one: rows are only ever appended, so a bookmark stays valid
// for the row's life. Rows that a row source has not delivered yet are
// fetched here, page by page, when someone needs them.
class RowStore
{
public:
    QList<FieldInfo> FieldList;

    qint32 FieldCount() const { return qint32(FieldList.size()); }
    // First field of that name (without regard to case), -1 when none.
    qint32 FieldIndex(const QString &name) const;
    void AddField(FieldInfo field);
    void ClearFields();

    // Rows held now; more may come from the source.
    qint32 Materialized() const { return m_rows; }
    // True when `row` is held, fetching pages until it is or the source ends.
    bool HasRow(qint64 row);
    void FetchAll();
    // The number of rows in all: the source's count while it still delivers.
    qint64 Count();
    // True when Count answers without waiting for the source.
    bool CountReady() const { return !m_source || m_source->TotalCountReady(); }
    bool SourceDone() const { return !m_source; }

    const Variant &Cell(qint32 row, qint32 field) const { return m_cells[size_t(row) * FieldCount() + field]; }
    Variant &Cell(qint32 row, qint32 field) { return m_cells[size_t(row) * FieldCount() + field]; }
    QList<Variant> RowValues(qint32 row) const;

    // Appends a row (values in field order, already of the fields' types);
    // returns its index.
    qint32 AppendRow(QList<Variant> values);
    void Reserve(qint64 rows) { m_cells.reserve(size_t(rows) * size_t(FieldCount())); }

    // What a rowset document carried besides its current rows, kept so that
    // saving writes it back: pending changes not yet sent to their source,
    // and the key columns a provider hid. Stores that were not read from a
    // document hold none of it.
    struct Pending
    {
        QSet<qint32> Inserted;                 // rows added since the source was read
        QHash<qint32, QList<Variant>> Originals; // old values of updated rows (visible, then hidden fields)
        QList<QList<Variant>> Deleted;         // deleted rows, no longer current (visible, then hidden fields)
        bool IsEmpty() const { return Inserted.isEmpty() && Originals.isEmpty() && Deleted.isEmpty(); }
    };
    Pending Changes;
    // Hidden columns: not fields of the rows, but kept and written back.
    QList<FieldInfo> HiddenFields;
    QHash<qint32, QList<Variant>> HiddenValues; // by row, in HiddenFields order
    // False for a document whose schema does not let its rows be updated.
    bool Updatable = true;

    void AttachSource(std::shared_ptr<RowSource> source);
    // Stops the source; the held rows become all rows.
    void CancelSource();
    void ClearRows();

private:
    bool FetchPage();

    std::vector<Variant> m_cells;
    qint32 m_rows = 0;
    QHash<QString, qint32> m_nameIndex;
    std::shared_ptr<RowSource> m_source;
};

} // namespace qv::ado
