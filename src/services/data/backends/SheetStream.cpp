#include "SheetStream.h"

namespace qv::data {

SheetStream::SheetStream(const QString &sourcePath, QString name, QString sheetWords, TableSink &sink)
    : m_path(sourcePath), m_name(std::move(name)), m_words(std::move(sheetWords)), m_sink(sink)
{
    m_sample.emplace(m_path, m_words);
}

void SheetStream::StartRow(qsizetype row)
{
    if (row < 0)
        row = m_row + 1;
    CheckSheetPlace(m_path, m_words, row);
    if (row < m_row)
        RaiseRowBackwards(m_path, m_words, row);
    MoveTo(row);
}

void SheetStream::Set(qsizetype row, qsizetype column, Variant value)
{
    CheckSheetPlace(m_path, m_words, row, column);
    if (row < m_row)
        RaiseRowBackwards(m_path, m_words, row);
    MoveTo(row);
    m_cells.append({column, std::move(value)});
}

void SheetStream::Finish()
{
    Flush();
    if (m_sample)
        Describe();
}

void SheetStream::MoveTo(qsizetype row)
{
    if (row == m_row)
        return;
    Flush();
    // Rows the sheet skips are blank rows.
    m_blankRows += row - m_row - 1;
    m_row = row;
}

void SheetStream::Flush()
{
    const QList<std::pair<qsizetype, Variant>> cells = std::exchange(m_cells, {});
    if (m_row < 0 || m_stopped)
        return;
    const bool blank = std::all_of(cells.cbegin(), cells.cend(), [](const auto &cell) { return IsBlankCell(cell.second); });
    if (blank) {
        ++m_blankRows;
        return;
    }
    const qsizetype blanks = std::exchange(m_blankRows, 0);
    if (m_sample) {
        // Blank rows before the header are no part of the table.
        const qsizetype row = m_sample->RowCount() == 0 ? 0 : m_sample->RowCount() + blanks;
        m_sample->StartRow(row);
        for (const auto &[column, value] : cells)
            m_sample->Set(row, column, value);
        if (++m_sampleRecords > kTypeSampleRows)
            Describe();
        return;
    }
    for (qsizetype i = 0; i < blanks && !m_stopped; ++i)
        Give(DataRow(m_fields.size(), Variant::Null()));
    DataRow record(m_fields.size(), Variant::Null());
    for (const auto &[column, value] : cells) {
        if (column < record.size())
            record[column] = CellAsField(m_fields[column], value);
    }
    Give(std::move(record));
}

void SheetStream::Describe()
{
    CellGrid grid = m_sample->Take();
    m_sample.reset();
    DataTable table = TableFromGrid(m_path, m_name, std::move(grid));
    m_fields = table.Fields;
    m_sink.Fields(m_fields);
    for (DataRow &row : table.Rows)
        Give(std::move(row));
}

void SheetStream::Give(DataRow row)
{
    if (!m_stopped && !m_sink.Row(std::move(row)))
        m_stopped = true;
}

} // namespace qv::data
