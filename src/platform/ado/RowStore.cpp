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
    Changes = {};
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
