#pragma once

#include "ColumnTypes.h"

#include <QByteArray>

namespace qv::data {

// The workbook stream of an Excel 5.0 to 2003 file (BIFF5, BIFF7, BIFF8),
// taken out of its compound-document container: its worksheets and their
// cells, formulas given by the result the file saved with them. Nothing but
// the bytes is read, so any bytes may be given.
class BiffWorkbook
{
public:
    // Reads the workbook globals (sheets, shared strings, formats). Raises
    // kErrorSourceUnreadable through `sourcePath` when the stream is no BIFF5
    // or BIFF8 workbook, is encrypted, or is damaged.
    BiffWorkbook(const QString &sourcePath, QByteArray stream);

    // The worksheets' names in the workbook's order; charts and macro sheets are left out.
    const QStringList &SheetNames() const { return m_names; }
    // One worksheet's cells: numbers, dates (numbers in a date or time
    // format), texts, Booleans, errors as their text ("#DIV/0!").
    CellGrid ReadSheet(qsizetype index) const;
    // The same worksheet given to `sink` as a table while its records are
    // walked, typed from its first rows as a SheetStream types them; stops
    // when the sink wants no more rows. BIFF writers need not write rows in
    // order: a sheet whose rows go backwards is read whole first and given
    // typed from all its rows. Only reads the workbook, so several threads
    // may stream at once.
    void StreamSheet(qsizetype index, TableSink &sink) const;
    // Whether the worksheet's cell records never go back to an earlier row;
    // read from the records' headers and row numbers only.
    bool RowsGoForward(qsizetype index) const;

private:
    void ReadGlobals();
    // Gives the worksheet's cells to a SheetBuilder or a SheetStream in the
    // records' order; a stream may stop it.
    template<typename Cells>
    void WalkSheet(qsizetype index, const QString &words, Cells &sheet) const;
    QString SheetWords(qsizetype index) const;
    Variant Number(double value, quint16 xf) const;
    QString Text8(const QByteArray &bytes) const;

    QString m_path;
    QByteArray m_stream;
    bool m_biff8 = true;
    bool m_date1904 = false;
    int m_codePage = 1252;
    QStringList m_names;
    QList<quint32> m_offsets;
    QStringList m_strings;
    QList<bool> m_dateXfs;
};

} // namespace qv::data
