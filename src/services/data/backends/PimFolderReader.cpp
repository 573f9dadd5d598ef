#include "PimFolderReader.h"

#include "PimTables.h"

#include <QDir>

namespace qv::data {

PimFolderReader::PimFolderReader(const QString &path) : m_path(path)
{
    const QDir folder(path);
    if (!folder.exists())
        RaiseUnreadable(path, QStringLiteral("the folder does not exist"), Remedy::CheckPath);
    m_name = folder.dirName();
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.vcf"), QStringLiteral("*.vcard"), QStringLiteral("*.ics")},
                                                     QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QFileInfo &info : files) {
        const QByteArray bytes = ReadSourceFile(info.filePath(), qint64(1) << 28);
        if (info.suffix().compare(u"ics", Qt::CaseInsensitive) == 0) {
            m_tasks << ReadTaskRows(bytes);
            continue;
        }
        for (const VCard &card : ParseVCards(bytes))
            m_contacts << ContactRow(card);
    }
}

QString PimFolderReader::FolderType() const
{
    if (m_contacts.isEmpty() && m_tasks.isEmpty())
        return {};
    return m_tasks.size() > m_contacts.size() ? QStringLiteral("Task") : QStringLiteral("Contact");
}

QStringList PimFolderReader::DataItems()
{
    return {m_name};
}

DataTable PimFolderReader::ReadItem(const QString &name)
{
    if (name.compare(m_name, Qt::CaseInsensitive) != 0)
        RaiseNoSuchItem(m_path, QStringLiteral("folder"), name);
    DataTable table;
    table.Name = m_name;
    const bool tasks = FolderType() == u"Task";
    table.Fields = tasks ? TaskFields() : ContactFields();
    table.Rows = tasks ? m_tasks : m_contacts;
    FitTextSizes(table.Fields, table.Rows);
    return table;
}

} // namespace qv::data
