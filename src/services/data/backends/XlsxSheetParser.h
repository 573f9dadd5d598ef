#pragma once

#include "ColumnTypes.h"

#include <QIODevice>

namespace qv::data {

// Days between the two epochs a workbook can count from (1899-12-30 and 1904-01-01).
inline constexpr double k1904Offset = 1462.0;

// What a worksheet part needs from the rest of its package to give its cells
// their values.
struct XlsxContext
{
    QStringList SharedStrings;
    // By cell format index (a cell's s attribute): whether its number format shows a date or time.
    QList<bool> DateFormats;
    // The workbook counts days from 1904-01-01 instead of 1899-12-30.
    bool Date1904 = false;
};

// The shared string table part (xl/sharedStrings.xml): rich-text runs joined,
// phonetic runs left out. Raises kErrorSourceUnreadable through `sourcePath`.
QStringList ParseXlsxSharedStrings(const QString &sourcePath, QIODevice *xml);

// The styles part (xl/styles.xml): for each cell format, whether it shows a date.
QList<bool> ParseXlsxDateFormats(const QString &sourcePath, QIODevice *xml);

// Whether a number format code (built in by id, or custom by text) shows a
// date or a time rather than a number.
bool IsDateFormat(int numFmtId, const QString &formatCode);

// A worksheet part's cells: shared and inline strings, numbers, dates (typed
// t="d" or numbers in a date format), Booleans, and errors as their text.
// Raises kErrorSourceUnreadable on XML that is not well formed, on a document
// type declaration, and on cell references past the sheet's limits.
CellGrid ParseXlsxSheet(const QString &sourcePath, QIODevice *xml, const XlsxContext &context);

class SheetStream;
// The same cells given to `sheet` row by row as they are read; stops when the
// sheet's sink wants no more rows, and finishes the sheet at its end.
void StreamXlsxSheet(const QString &sourcePath, QIODevice *xml, const XlsxContext &context, SheetStream &sheet);

} // namespace qv::data
