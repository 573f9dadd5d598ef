#pragma once

#include "ColumnTypes.h"

#include <utility>

namespace qv::data {

// A worksheet's own limits, which no file may pass.
inline constexpr qsizetype kSheetMaxRows = 1048576;
inline constexpr qsizetype kSheetMaxColumns = 16384;

// A table holds a value for every field of every row, so a sparse sheet costs
// its rectangle, not its cells. Past this many places, a sheet must hold at
// least one cell in kMaxEmptyPerCell places to be made a table.
inline constexpr qsizetype kSparseFloor = 4 * 1024 * 1024;
inline constexpr qsizetype kMaxEmptyPerCell = 64;

// Raises when a cell at `row` and `column` (0-based) lies past a sheet's
// limits; `sheetWords` ("a worksheet") names the sheet in the message.
void CheckSheetPlace(const QString &sourcePath, const QString &sheetWords, qsizetype row, qsizetype column = 0);
// Raises: a sheet lists `row` after a later one.
[[noreturn]] void RaiseRowBackwards(const QString &sourcePath, const QString &sheetWords, qsizetype row);

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
    // columns used span more than `maxCells`, or more than kSparseFloor with
    // too few cells in them, before anything is allocated.
    CellGrid Take(qsizetype maxCells = kMaxTableCells);

private:
    using SparseRow = QList<std::pair<qsizetype, Variant>>;

    const QString &m_path;
    QString m_words; // "a worksheet", "a sheet": how messages name it
    QList<SparseRow> m_rows;
    qsizetype m_width = 0;
    qsizetype m_cells = 0;
};

} // namespace qv::data
