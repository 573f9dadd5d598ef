#pragma once

#include "SheetBuilder.h"

#include <optional>

namespace qv::data {

// The records after the header row whose values decide a streamed sheet's
// field types; Insert Data shows as many, so typing them costs its first rows
// nothing.
inline constexpr qsizetype kTypeSampleRows = 2000;

// A sheet's cells, given row by row as a reader finds them, made the rows of
// a table without holding the sheet: the header and the first
// kTypeSampleRows records are made a table as TableFromGrid makes one, which
// fixes the fields (names, width, types); those rows and every later one go
// to the sink as they come. A later cell past the fields' width is left out;
// a later value of another kind than its field's is given as its text. Blank
// rows between records are kept, blank rows at the end are not.
//
// Takes cells as SheetBuilder does, so that a parser can fill either; cells
// go forward only: a cell of a row already given raises.
class SheetStream
{
public:
    SheetStream(const QString &sourcePath, QString name, QString sheetWords, TableSink &sink);

    void StartRow(qsizetype row = -1);
    qsizetype CurrentRow() const { return std::max<qsizetype>(m_row, 0); }
    void Set(qsizetype row, qsizetype column, Variant value);
    // True once the sink wants no more rows: the parser stops.
    bool Stopped() const { return m_stopped; }
    // The sheet is at its end: gives what is held, the fields at least.
    void Finish();

private:
    void MoveTo(qsizetype row);
    void Flush();
    void Describe();
    void Give(DataRow row);

    const QString &m_path;
    QString m_name;
    QString m_words;
    TableSink &m_sink;
    std::optional<SheetBuilder> m_sample;
    qsizetype m_sampleRecords = 0;
    QList<DataField> m_fields; // empty until described
    qsizetype m_row = -1;
    QList<std::pair<qsizetype, Variant>> m_cells;
    qsizetype m_blankRows = 0; // blank rows held until a record follows them
    bool m_stopped = false;
};

} // namespace qv::data
