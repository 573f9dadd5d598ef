#include "SourceLocation.h"

#include "ConnectionText.h"

#include <QFileInfo>

namespace qv::data {

namespace {

// The key that holds the file, for the kinds whose text is "key=value" parts.
QStringList FileKeys(int kind)
{
    switch (kind) {
    case SourceExcel:
    case SourceAccess:
        return {QStringLiteral("Data Source")};
    case SourceFileDsn:
        return {QStringLiteral("File Name")};
    case SourceDsnLess:
        return {QStringLiteral("Database"), QStringLiteral("DBQ")};
    default:
        return {};
    }
}

// Texts whose file is the part before the first ';' ("page.html;Extended
// Properties=HTML;", or a file data source given as a bare path).
bool PathLeads(int kind, const QString &connectionText)
{
    return kind == SourceHtml || (kind == SourceFileDsn && !connectionText.contains(u'='));
}

} // namespace

QString SourceFilePath(int kind, const QString &connectionText)
{
    if (PathLeads(kind, connectionText) || kind == SourceExcel || kind == SourceAccess || kind == SourceFileDsn)
        return FileOfConnectionText(kind, connectionText);
    const QList<ConnectionPart> parts = ParseConnectionText(connectionText);
    for (const QString &key : FileKeys(kind)) {
        bool found = false;
        const QString value = ConnectionValue(parts, key, &found);
        // SQLite's ":memory:" and the like name no file.
        if (found && !value.trimmed().isEmpty() && !value.startsWith(u':'))
            return QString(value.trimmed()).replace(u'\\', u'/');
    }
    return {};
}

bool SourceFileMissing(int kind, const QString &connectionText)
{
    const QString path = SourceFilePath(kind, connectionText);
    return !path.isEmpty() && !QFileInfo::exists(path);
}

QString RepointConnectionText(int kind, const QString &connectionText, const QString &newPath)
{
    if (SourceFilePath(kind, connectionText).isEmpty())
        return connectionText;
    if (PathLeads(kind, connectionText)) {
        const qsizetype end = connectionText.indexOf(u';');
        return end < 0 ? newPath : newPath + connectionText.mid(end);
    }
    QList<ConnectionPart> parts = ParseConnectionText(connectionText);
    const QStringList keys = FileKeys(kind);
    for (ConnectionPart &part : parts) {
        if (keys.contains(part.Key.trimmed(), Qt::CaseInsensitive)) {
            part.Value = newPath;
            break;
        }
    }
    return JoinConnectionText(parts);
}

} // namespace qv::data
