#pragma once

#include "ColumnTypes.h"

#include <mutex>

namespace qv::data {

// The worksheets of an XML Spreadsheet 2003 document, in its order: typed
// cells (String, Number, DateTime, Boolean, Error as text) placed by their
// row and cell indexes. Raises kErrorSourceUnreadable (through `sourcePath`)
// on XML that is not well formed, on a document type declaration (entities
// are never expanded) and on a document that is no such workbook. Blanks
// before the XML declaration, which some writers leave, are passed over.
QList<NamedGrid> ParseSpreadsheetMl(const QString &sourcePath, const QByteArray &xml);
// The first sheet named `name` (compared without regard to case) given to
// `sink` row by row as `xml` is read, as SheetStream gives a sheet; raises
// kErrorNoSuchItem when the workbook has no such sheet.
void StreamSpreadsheetMl(const QString &sourcePath, QIODevice *xml, const QString &name, TableSink &sink);

// An XML Spreadsheet 2003 workbook (.xml): its worksheets are the data items.
// The file is read as far as a request needs: a sheet streams from the file,
// and only the list of sheets reads it through.
class SpreadsheetMlReader : public SourceReader
{
public:
    // Reads the file up to its first worksheet. Raises kErrorSourceUnreadable
    // when the file cannot be opened, is no such workbook, or holds no
    // worksheet; a fault further on is raised by the read that meets it.
    explicit SpreadsheetMlReader(const QString &path);

    // The first call reads the file through, passing over the cells.
    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;
    // A sheet's first rows before its end is read: its field types come from
    // its first records (see SheetStream).
    bool Streams() const override { return true; }
    void StreamItem(const QString &name, TableSink &sink) override;

private:
    QString m_path;
    std::once_flag m_listed;
    QStringList m_names;
};

} // namespace qv::data
