#pragma once

#include "DataTable.h"

namespace qv::data {

// A contacts or tasks folder in the vdir layout: .vcf files of one or more
// cards, or .ics files holding to-do items (next to events, which are left
// out). The folder is its own single data item, named as the folder.
class PimFolderReader : public SourceReader
{
public:
    // Reads every .vcf and .ics file of the folder, in name order. Raises
    // kErrorSourceUnreadable when the folder is missing or a file in it
    // cannot be read (the error then names that file).
    explicit PimFolderReader(const QString &path);

    // "Contact" when the folder holds contacts, "Task" when it holds to-do
    // items (the more numerous wins when it holds both), "" when neither.
    QString FolderType() const;

    QStringList DataItems() override;
    DataTable ReadItem(const QString &name) override;

private:
    QString m_path;
    QString m_name;
    QList<DataRow> m_contacts;
    QList<DataRow> m_tasks;
};

} // namespace qv::data
