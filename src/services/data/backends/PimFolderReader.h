#pragma once

#include "DataTable.h"

namespace qv::data {

// A contacts or tasks folder in the vdir layout: .vcf files of one or more
// cards, or .ics files holding to-do items (next to events, which are left
// out). The folder is its own single data item, named as the folder.
class PimFolderReader : public SourceReader
{
public:
    // Lists the folder's .vcf and .ics files and decides its kind; no card
    // or to-do is read yet. Raises kErrorSourceUnreadable when the folder is
    // missing, or when a file of a folder holding both kinds cannot be read.
    explicit PimFolderReader(const QString &path);

    // "Contact" when the folder holds contacts, "Task" when it holds to-do
    // items, "" when it holds neither kind of file. A folder of one kind of
    // file is that kind; where both lie side by side, the kind with more
    // cards or to-dos wins (contacts on a tie), counted by the lines that
    // begin them, without reading the items themselves.
    QString FolderType() const;

    QStringList DataItems() override;
    // Every file of the folder's kind, in name order, read whole; a text
    // field is long text when any row holds more than 255 characters. Raises
    // kErrorSourceUnreadable naming a file that cannot be read.
    DataTable ReadItem(const QString &name) override;

    bool Streams() const override { return true; }
    // The same rows, given file by file as they are read; a text field is
    // long text when one of the first kTypeSampleRows rows needs it (a later
    // longer text is kept whole all the same). A file that cannot be read
    // raises after the rows of the files before it. Only reads what the
    // constructor found, so several threads may stream at once.
    void StreamItem(const QString &name, TableSink &sink) override;

private:
    void CheckName(const QString &name) const;
    bool HoldsTasks() const { return m_type == u"Task"; }
    QList<DataField> Fields() const;
    QList<DataRow> RowsOf(const QString &file) const;

    QString m_path;
    QString m_name;
    QString m_type;
    QStringList m_files; // those of the folder's kind, in name order
};

} // namespace qv::data
