#pragma once

#include "ColumnTypes.h"

#include <utility>

namespace qv::data {

// A worksheet's own limits, which no file may pass.
inline constexpr qsizetype kSheetMaxRows = 1048576;
inline constexpr qsizetype kSheetMaxColumns = 16384;

// The cells of a sheet while a reader finds them. Only the cells a file holds
// are stored, so a row with one cell in its last column costs one cell, not a
// row; the grid is made only once its size is known to be readable. Every row
// counts against the sheet's limit, numbered or not.
class SheetBuilder
{
public:
    SheetBuilder(const QString &sourcePath, QString sheetWords) : m_path(sourcePath), m_words(std::move(sheetWords)) {}

    qsizetype RowCount() const { return m_rows.size(); }
    // Starts the row at `row` (0-based), the row after the last when it is -1.
    // Raises past the sheet's last row and when the rows go backwards.
    void StartRow(qsizetype row = -1);
    // The row cells without a row of their own go to: the last one started.
    qsizetype CurrentRow() const { return std::max<qsizetype>(m_rows.size() - 1, 0); }
    // Sets a cell; a later value for the same cell replaces an earlier one.
    void Set(qsizetype row, qsizetype column, Variant value);
    // The grid, each row as long as its last cell. Raises when the rows and
    // columns used span more than `maxCells`, before anything is allocated.
    CellGrid Take(qsizetype maxCells = kMaxTableCells);

private:
    using SparseRow = QList<std::pair<qsizetype, Variant>>;

    const QString &m_path;
    QString m_words; // "a worksheet", "a sheet": how messages name it
    QList<SparseRow> m_rows;
    qsizetype m_width = 0;
};

} // namespace qv::data
