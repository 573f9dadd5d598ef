#include "DataTable.h"

#include "AccessReader.h"
#include "HtmlTableReader.h"
#include "PimFolderReader.h"
#include "SpreadsheetMlReader.h"
#include "XlsReader.h"
#include "XlsxReader.h"

#include "automation/ComError.h"

#include <QFileInfo>

namespace qv::data {

int DataTable::FieldIndex(const QString &name) const
{
    for (qsizetype i = 0; i < Fields.size(); ++i) {
        if (Fields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

qsizetype IndexOfName(const QStringList &names, const QString &name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void RaiseUnreadable(const QString &sourcePath, const QString &reason, Remedy remedy)
{
    QString text = QStringLiteral("The data source '%1' cannot be read: %2.").arg(sourcePath, reason);
    switch (remedy) {
    case Remedy::None:
        break;
    case Remedy::Resave:
        text += QStringLiteral(" Open it in the program that made it and save it again, or choose another data source.");
        break;
    case Remedy::CheckPath:
        text += QStringLiteral(" Check that the path is right and that the file is still there, or choose the data source again.");
        break;
    case Remedy::Smaller:
        text += QStringLiteral(" Split it into smaller sheets or files, or choose another data source.");
        break;
    }
    throw ComError(kErrorSourceUnreadable, QString::fromLatin1(kDataSource), text);
}

void OpenSourceFile(QFile &file, qint64 maxSize)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        RaiseUnreadable(file.fileName(), QStringLiteral("the file does not exist"), Remedy::CheckPath);
    if (info.isDir())
        RaiseUnreadable(file.fileName(), QStringLiteral("it is a folder, not a file"), Remedy::CheckPath);
    // A pipe would block the reader for ever and a device never end.
    if (!info.isFile())
        RaiseUnreadable(file.fileName(), QStringLiteral("it is not a regular file but a device or a pipe"), Remedy::Resave);
    if (!file.open(QIODevice::ReadOnly))
        RaiseUnreadable(file.fileName(), QStringLiteral("the file cannot be opened (%1)").arg(file.errorString()), Remedy::Resave);
    if (file.size() > maxSize)
        RaiseUnreadable(file.fileName(), QStringLiteral("the file is larger than the %1 MB that can be read at once")
                                             .arg(maxSize >> 20), Remedy::Smaller);
}

QByteArray ReadSourceFile(const QString &path, qint64 maxSize)
{
    QFile file(path);
    OpenSourceFile(file, maxSize);
    return file.readAll();
}

void RaiseNoSuchItem(const QString &sourcePath, const QString &kind, const QString &item)
{
    throw ComError(kErrorNoSuchItem, QString::fromLatin1(kDataSource),
                   QStringLiteral("The data source '%1' has no %2 named '%3'. Choose one that it lists, or check that "
                                  "it was not renamed or removed.").arg(sourcePath, kind, item));
}

std::unique_ptr<SourceReader> OpenSource(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        RaiseUnreadable(path, QStringLiteral("no file or folder of that name exists"), Remedy::CheckPath);
    if (info.isDir())
        return std::make_unique<PimFolderReader>(path);
    const QString suffix = info.suffix().toLower();
    if (suffix == u"mdb" || suffix == u"accdb")
        return std::make_unique<AccessReader>(path);
    if (suffix == u"xlsx" || suffix == u"xlsm")
        return std::make_unique<XlsxReader>(path);
    if (suffix == u"xls")
        return std::make_unique<XlsReader>(path);
    if (suffix == u"xml")
        return std::make_unique<SpreadsheetMlReader>(path);
    if (suffix == u"htm" || suffix == u"html" || suffix == u"xhtml")
        return std::make_unique<HtmlTableReader>(path);
    RaiseUnreadable(path, QStringLiteral("files of the kind '.%1' are not a data source that can be read here").arg(suffix), Remedy::Resave);
}

} // namespace qv::data

namespace qv::data {

void SourceReader::StreamItem(const QString &name, TableSink &sink)
{
    DataTable table = ReadItem(name);
    sink.Fields(table.Fields);
    for (DataRow &row : table.Rows) {
        if (!sink.Row(std::move(row)))
            return;
    }
}

} // namespace qv::data
