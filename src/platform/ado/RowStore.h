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
    // True for a store read from a document: changes made through the
    // recordset are then pending against it, as the document's own are, and
    // saving writes them as such. A recordset made up in memory has nothing
    // to be pending against.
    bool TracksChanges = false;
    // Replaces a row's values, keeping its values as read for a tracked row
    // that is neither new nor pending already.
    void UpdateRow(qint32 row, const QList<Variant> &values);
    // Marks an appended row as added since the document was read.
    void NoteInserted(qint32 row);
    // Takes a row out of the current rows; it keeps its place (and so every
    // bookmark stays valid) but no view shows it again.
    void DeleteRow(qint32 row);
    bool IsDeleted(qint32 row) const { return size_t(row) < m_deleted.size() && m_deleted[size_t(row)]; }
    qint32 DeletedCount() const { return m_deletedCount; }
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
    // The values of a row as read: visible, then hidden fields.
    QList<Variant> ReadValues(qint32 row) const;

    QHash<QString, qint32> m_nameIndex;
    std::vector<bool> m_deleted;
    qint32 m_deletedCount = 0;
    std::shared_ptr<RowSource> m_source;
};

} // namespace qv::ado
