#pragma once

#include "DataTable.h"

namespace qv::data {

// A sheet as a reader found it: rows of cells, each Empty, Double, Boolean,
// Date or String; rows may be of different lengths.
using CellGrid = QList<QList<Variant>>;

// A sheet or table of a source with its name, before it is made a table.
struct NamedGrid
{
    QString Name;
    CellGrid Cells;
};

// More cells than this in one table are refused rather than filling memory
// (a sheet that claims a cell at the last row and column, say).
inline constexpr qsizetype kMaxTableCells = 32 * 1024 * 1024;

// Makes a table of a sheet: the first row that holds anything gives the
// field names ("F" and the column number where a name is empty, a number
// appended where one repeats), every later row is a record. A column's type
// comes from all its values: one kind throughout gives that kind (numbers
// adDouble, dates adDate, Booleans adBoolean, texts adVarWChar or, past 255
// characters, adLongVarWChar); a mix gives text with every value kept as its
// text. Empty cells and empty texts are Null. Raises kErrorSourceUnreadable
// through `sourcePath` when the table would exceed `maxCells`.
DataTable TableFromGrid(const QString &sourcePath, const QString &name, CellGrid grid,
                        qsizetype maxCells = kMaxTableCells);

// A source read whole when it is opened (a SpreadsheetML workbook, an HTML
// page): its grids, each made a table when asked for.
class GridSource : public SourceReader
{
public:
    QStringList DataItems() override;
    // Raises kErrorNoSuchItem naming the item by `itemKind` ("sheet", "table").
    DataTable ReadItem(const QString &name) override;

protected:
    GridSource(const QString &path, const QString &itemKind) : m_path(path), m_itemKind(itemKind) {}

    QString m_path;
    QString m_itemKind;
    QList<NamedGrid> m_grids;
};

// Whether a cell holds nothing: Empty, Null or an empty text.
bool IsBlankCell(const Variant &cell);
// A cell as a field of `field`'s type holds it: Null when blank, the cell
// itself when of the field's kind, otherwise its text (CellText), so that no
// value is lost.
Variant CellAsField(const DataField &field, Variant cell);

// A cell's value as text, the way a mixed column shows it: numbers with up to
// 15 significant digits and a '.' point, dates as ISO 8601, TRUE / FALSE.
QString CellText(const Variant &cell);

} // namespace qv::data
