#pragma once

#include "ColumnTypes.h"

#include <QIODevice>

namespace qv::data {

// The encoding to read an HTML page in: "" when it starts with a byte-order
// mark (the parser follows the mark), the charset its <meta> declares, else
// UTF-8 when the bytes are valid UTF-8, else windows-1252.
QByteArray HtmlEncoding(const QByteArray &page);

// Every <table> of a page that has rows, nested ones included, in the order
// they are named (see PassOverHtml): rows and cells as the page lays them
// out, a cell spanning rows or columns repeated in each position it covers.
// Cells are texts with runs of blanks made one and <br> a line break, or
// numbers where a cell holds only a plain decimal number. Nothing outside the
// page is fetched; a page that is no HTML gives no tables. Raises
// kErrorSourceUnreadable through `sourcePath` on a page nested 256 deep (its
// inner tables would be lost to a tree of it) and on tables whose spans cover
// more cells than a table may hold.
QList<NamedGrid> ParseHtmlTables(const QByteArray &page, const QString &sourcePath = QString());

// The table of a page named `name` (compared without regard to case), given
// to `sink` as the page is read from `page`: its fields from its first
// records (see SheetStream), then its rows; reading stops when the sink wants
// no more rows or the table ends. Raises kErrorNoSuchItem when the page has
// no such table, and what ParseHtmlTables raises.
void StreamHtmlTable(const QString &sourcePath, QIODevice &page, const QString &name, TableSink &sink);

// An HTML page whose tables are the data items; the first row of a table
// gives its field names. The page is read a block at a time for each request
// and never held: listing the tables reads it to its end, a table is read up
// to its own end, and its first rows come after the part of the page before
// them only.
class HtmlTableReader : public SourceReader
{
public:
    // Raises kErrorSourceUnreadable when the file cannot be read or holds no
    // table, reading the page up to its first table's first row.
    explicit HtmlTableReader(const QString &path);

    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;
    // A table's first rows come before the page is read to their table's end;
    // its field types come from its first records (see SheetStream).
    bool Streams() const override { return true; }
    void StreamItem(const QString &name, TableSink &sink) override;

private:
    const QString m_path;
};

} // namespace qv::data
