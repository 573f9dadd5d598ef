#pragma once

#include "ColumnTypes.h"


namespace qv::data {

// The worksheets of an XML Spreadsheet 2003 document, in its order: typed
// cells (String, Number, DateTime, Boolean, Error as text) placed by their
// row and cell indexes. Raises kErrorSourceUnreadable (through `sourcePath`)
// on XML that is not well formed, on a document type declaration (entities
// are never expanded) and on a document that is no such workbook. Blanks
// before the XML declaration, which some writers leave, are passed over.
QList<NamedGrid> ParseSpreadsheetMl(const QString &sourcePath, const QByteArray &xml);

// An XML Spreadsheet 2003 workbook (.xml): its worksheets are the data items.
// The file is read once, when it is opened.
class SpreadsheetMlReader : public GridSource
{
public:
    // Raises kErrorSourceUnreadable as ParseSpreadsheetMl does, and when
    // the file cannot be opened or holds no worksheet.
    explicit SpreadsheetMlReader(const QString &path);
};

} // namespace qv::data
