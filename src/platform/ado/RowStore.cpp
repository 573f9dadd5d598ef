#include "RowStore.h"

#include "AdoError.h"

namespace qv::ado {

qint32 RowStore::FieldIndex(const QString &name) const
{
    return m_nameIndex.value(name.toCaseFolded(), -1);
}

void RowStore::AddField(FieldInfo field)
{
    const QString folded = field.Name.toCaseFolded();
    if (!m_nameIndex.contains(folded))
        m_nameIndex.insert(folded, FieldCount());
    FieldList.append(std::move(field));
}

void RowStore::ClearFields()
{
    FieldList.clear();
    HiddenFields.clear();
    m_nameIndex.clear();
    ClearRows();
}

bool RowStore::HasRow(qint64 row)
{
    while (row >= m_rows) {
        if (!FetchPage())
            return false;
    }
    return row >= 0;
}

void RowStore::FetchAll()
{
    while (FetchPage()) {
    }
}

qint64 RowStore::Count()
{
    if (m_source) {
        const qint64 total = m_source->TotalCount();
        if (total >= 0)
            return qMax<qint64>(total, m_rows);
        FetchAll();
    }
    return m_rows;
}

QList<Variant> RowStore::RowValues(qint32 row) const
{
    const auto first = m_cells.begin() + qsizetype(row) * FieldCount();
    return QList<Variant>(first, first + FieldCount());
}

qint32 RowStore::AppendRow(QList<Variant> values)
{
    values.resize(FieldCount());
    for (Variant &v : values)
        m_cells.push_back(std::move(v));
    return m_rows++;
}

QList<Variant> RowStore::ReadValues(qint32 row) const
{
    QList<Variant> values = RowValues(row);
    QList<Variant> hidden = HiddenValues.value(row);
    hidden.resize(HiddenFields.size(), Variant::Null());
    return values + hidden;
}

void RowStore::UpdateRow(qint32 row, const QList<Variant> &values)
{
    Q_ASSERT(row >= 0 && row < m_rows && values.size() == FieldCount());
    if (values == RowValues(row))
        return;
    if (TracksChanges && !Changes.Inserted.contains(row) && !Changes.Originals.contains(row))
        Changes.Originals.insert(row, ReadValues(row));
    for (qint32 f = 0; f < FieldCount(); ++f)
        Cell(row, f) = values[f];
}

void RowStore::NoteInserted(qint32 row)
{
    if (TracksChanges)
        Changes.Inserted.insert(row);
}

void RowStore::DeleteRow(qint32 row)
{
    Q_ASSERT(row >= 0 && row < m_rows && !IsDeleted(row));
    if (TracksChanges && !Changes.Inserted.remove(row)) {
        // A row pending an update is deleted with the values it was read with.
        QList<Variant> original = Changes.Originals.take(row);
        Changes.Deleted.append(original.isEmpty() ? ReadValues(row) : std::move(original));
    }
    if (m_deleted.size() < size_t(m_rows))
        m_deleted.resize(size_t(m_rows), false);
    m_deleted[size_t(row)] = true;
    ++m_deletedCount;
}

void RowStore::AttachSource(std::shared_ptr<RowSource> source)
{
    m_source = std::move(source);
}

void RowStore::CancelSource()
{
    if (!m_source)
        return;
    auto source = std::move(m_source);
    source->Cancel();
}

void RowStore::ClearRows()
{
    CancelSource();
    m_cells.clear();
    m_rows = 0;
    m_deleted.clear();
    m_deletedCount = 0;
    Changes = {};
    TracksChanges = false;
    HiddenValues.clear();
}

// One more page from the source; false when there are no more rows. The
// source is dropped at its end so that the held rows count from then on.
bool RowStore::FetchPage()
{
    if (!m_source)
        return false;
    QList<RowSource::Row> page = m_source->FetchNextPage();
    if (page.isEmpty()) {
        m_source.reset();
        return false;
    }
    // A page is taken whole or not at all.
    for (RowSource::Row &row : page) {
        if (row.size() != FieldCount()) {
            m_source.reset();
            throw AdoError(adErrInvalidArgument,
                           QStringLiteral("The row source delivered a row of %1 values for %2 fields.")
                               .arg(row.size())
                               .arg(FieldCount()));
        }
        for (qint32 f = 0; f < FieldCount(); ++f)
            row[f] = CoerceToField(FieldList[f], row[f]);
    }
    for (RowSource::Row &row : page)
        AppendRow(std::move(row));
    return true;
}

} // namespace qv::ado
