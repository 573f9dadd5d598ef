#pragma once

#include "ColumnTypes.h"

namespace qv::data {

// The encoding to read an HTML page in: "" when it starts with a byte-order
// mark (the parser follows the mark), the charset its <meta> declares, else
// UTF-8 when the bytes are valid UTF-8, else windows-1252.
QByteArray HtmlEncoding(const QByteArray &page);

// Every <table> of a page that has rows, nested ones included, in document order: rows and
// cells as the page lays them out, a cell spanning rows or columns repeated
// in each position it covers. Cells are texts with runs of blanks made one
// and <br> a line break, or numbers where a cell holds only a plain decimal
// number. A table is named by its caption, else its id, else "Table" and its
// position. Nothing outside the page is fetched; a page that is no HTML gives
// no tables. Raises kErrorSourceUnreadable through `sourcePath` on a page
// nested deeper than the HTML parser reads (its inner tables would be lost)
// and on tables whose spans cover more cells than a table may hold.
QList<NamedGrid> ParseHtmlTables(const QByteArray &page, const QString &sourcePath = QString());

// An HTML page whose tables are the data items; the first row of a table
// gives its field names. The page is read once, when it is opened.
class HtmlTableReader : public GridSource
{
public:
    // Raises kErrorSourceUnreadable when the file cannot be read or holds no table.
    explicit HtmlTableReader(const QString &path);
};

} // namespace qv::data
