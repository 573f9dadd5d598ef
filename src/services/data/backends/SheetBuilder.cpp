#include "SheetBuilder.h"

namespace qv::data {

void CheckSheetPlace(const QString &sourcePath, const QString &sheetWords, qsizetype row, qsizetype column)
{
    if (column >= kSheetMaxColumns)
        RaiseUnreadable(sourcePath, QStringLiteral("%1 has more than %2 columns").arg(sheetWords).arg(kSheetMaxColumns), Remedy::Resave);
    if (row >= kSheetMaxRows)
        RaiseUnreadable(sourcePath, QStringLiteral("%1 has more than the %2 rows a sheet can hold").arg(sheetWords).arg(kSheetMaxRows), Remedy::Resave);
}

void RaiseRowBackwards(const QString &sourcePath, const QString &sheetWords, qsizetype row)
{
    RaiseUnreadable(sourcePath, QStringLiteral("%1 lists row %2 after a later row").arg(sheetWords).arg(row + 1), Remedy::Resave);
}

void SheetBuilder::StartRow(qsizetype row)
{
    if (row < 0)
        row = m_rows.size();
    CheckSheetPlace(m_path, m_words, row);
    if (row < m_rows.size() - 1)
        RaiseRowBackwards(m_path, m_words, row);
    const qsizetype before = m_rows.size();
    m_rows.resize(row + 1);
    // A row mostly holds as many cells as the one before it: room made once
    // rather than grown cell by cell.
    if (row > 0 && row >= before)
        m_rows[row].reserve(m_rows[row - 1].size());
}

void SheetBuilder::Set(qsizetype row, qsizetype column, Variant value)
{
    CheckSheetPlace(m_path, m_words, row, column);
    if (row >= m_rows.size())
        m_rows.resize(row + 1);
    m_rows[row].append({column, std::move(value)});
    ++m_cells;
    m_width = std::max(m_width, column + 1);
}

CellGrid SheetBuilder::Take(qsizetype maxCells)
{
    if (m_width > 0 && m_rows.size() > maxCells / m_width)
        RaiseUnreadable(m_path, QStringLiteral("%1 spans %2 rows by %3 columns, more than can be read at once")
                                    .arg(m_words).arg(m_rows.size()).arg(m_width), Remedy::Smaller);
    const qsizetype places = m_rows.size() * m_width;
    if (places > kSparseFloor && places / kMaxEmptyPerCell > m_cells)
        RaiseUnreadable(m_path, QStringLiteral("%1 spans %2 rows by %3 columns but holds only %4 cells; a table of it "
                                               "would take far more memory than its cells, so it is not read")
                                    .arg(m_words).arg(m_rows.size()).arg(m_width).arg(m_cells));
    CellGrid grid(m_rows.size());
    for (qsizetype r = 0; r < m_rows.size(); ++r) {
        SparseRow sparse = std::exchange(m_rows[r], {});
        qsizetype width = 0;
        for (const auto &cell : std::as_const(sparse))
            width = std::max(width, cell.first + 1);
        QList<Variant> &cells = grid[r];
        cells.resize(width);
        for (auto &[column, value] : sparse)
            cells[column] = std::move(value);
    }
    m_rows.clear();
    m_width = 0;
    m_cells = 0;
    return grid;
}

} // namespace qv::data
