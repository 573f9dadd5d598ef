#include "ConnectionText.h"

#include <QFileInfo>

namespace qv::data {
namespace {

// Reads a value starting at `i` (after '='), up to the ';' that ends it.
QString TakeValue(const QString &text, qsizetype &i)
{
    while (i < text.size() && text[i] == u' ')
        ++i;
    QString value;
    if (i < text.size() && (text[i] == u'{' || text[i] == u'"')) {
        const QChar close = text[i] == u'{' ? u'}' : u'"';
        for (++i; i < text.size(); ++i) {
            if (text[i] == close) {
                if (i + 1 < text.size() && text[i + 1] == close) {
                    value += close;
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            value += text[i];
        }
        // Whatever stands between the closing brace and the ';' is dropped.
        while (i < text.size() && text[i] != u';')
            ++i;
        return value;
    }
    const qsizetype end = text.indexOf(u';', i);
    value = text.mid(i, (end < 0 ? text.size() : end) - i).trimmed();
    i = end < 0 ? text.size() : end;
    return value;
}

bool NeedsBraces(const QString &value)
{
    return value.contains(u';') || value.contains(u'{') || value.contains(u'}') || value.contains(u'=')
           || value.startsWith(u'"')
           || (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
}

} // namespace

QList<ConnectionPart> ParseConnectionText(const QString &text)
{
    QList<ConnectionPart> parts;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype equals = text.indexOf(u'=', i);
        const qsizetype semicolon = text.indexOf(u';', i);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            const qsizetype end = semicolon < 0 ? text.size() : semicolon;
            const QString key = text.mid(i, end - i).trimmed();
            if (!key.isEmpty())
                parts.append({key, QString()});
            i = end + 1;
            continue;
        }
        ConnectionPart part{text.mid(i, equals - i).trimmed(), QString()};
        i = equals + 1;
        part.Value = TakeValue(text, i);
        ++i; // the ';'
        if (!part.Key.isEmpty())
            parts.append(part);
    }
    return parts;
}

QString ConnectionValue(const QList<ConnectionPart> &parts, const QString &key, bool *found)
{
    for (const ConnectionPart &part : parts) {
        if (part.Key.compare(key, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return part.Value;
        }
    }
    if (found)
        *found = false;
    return {};
}

QString JoinConnectionText(const QList<ConnectionPart> &parts)
{
    QString text;
    for (const ConnectionPart &part : parts) {
        if (!text.isEmpty())
            text += u';';
        text += part.Key + u'=';
        if (NeedsBraces(part.Value)) {
            QString escaped = part.Value;
            text += u'{' + escaped.replace(u'}', QStringLiteral("}}")) + u'}';
        } else {
            text += part.Value;
        }
    }
    return text;
}

bool IsFileDsnPath(const QString &location)
{
    if (!location.endsWith(QLatin1String(".dsn"), Qt::CaseInsensitive))
        return false;
    return location.contains(u'/') || location.contains(u'\\') || QFileInfo(location).isFile();
}

QString BuildConnectionText(int kind, const QString &location, const QString &user, const QString &password)
{
    const QString jet = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
    switch (kind) {
    case SourceAccess:
        return jet + location;
    case SourceExcel:
        return jet + location + QStringLiteral(";Extended Properties=Excel 8.0;");
    case SourceHtml:
        return location + QStringLiteral(";Extended Properties=HTML;");
    case SourceFileDsn:
        return QStringLiteral("File Name=") + location;
    case SourceDsnLess:
        return location;
    case SourceUserDsn:
    case SourceSystemDsn: {
        // The wizard passes one kind for every ODBC entry, file data sources included.
        if (IsFileDsnPath(location))
            return QStringLiteral("File Name=") + location;
        QList<ConnectionPart> parts{{QStringLiteral("Provider"), QStringLiteral("MSDASQL")},
                                    {QStringLiteral("DSN"), location}};
        if (!user.isEmpty())
            parts.append({QStringLiteral("UID"), user});
        if (!password.isEmpty())
            parts.append({QStringLiteral("PWD"), password});
        return JoinConnectionText(parts);
    }
    default:
        return location;
    }
}

QString OdbcDriverText(const QString &connectionText)
{
    QList<ConnectionPart> parts = ParseConnectionText(connectionText);
    bool hasProvider = false;
    const QString provider = ConnectionValue(parts, QStringLiteral("Provider"), &hasProvider);
    if (hasProvider && provider.compare(QLatin1String("MSDASQL"), Qt::CaseInsensitive) != 0
        && !provider.startsWith(QLatin1String("MSDASQL."), Qt::CaseInsensitive))
        return {};
    QList<ConnectionPart> out;
    for (const ConnectionPart &part : parts) {
        if (part.Key.compare(QLatin1String("Provider"), Qt::CaseInsensitive) == 0)
            continue;
        if (part.Key.compare(QLatin1String("File Name"), Qt::CaseInsensitive) == 0)
            out.append({QStringLiteral("FILEDSN"), part.Value});
        else if (part.Key.compare(QLatin1String("Extended Properties"), Qt::CaseInsensitive) == 0)
            out.append(ParseConnectionText(part.Value)); // MSDASQL passes these on to the driver
        else
            out.append(part);
    }
    return JoinConnectionText(out);
}

QString FileOfConnectionText(int kind, const QString &connectionText)
{
    QString path;
    if (kind == SourceHtml || (kind == SourceFileDsn && !connectionText.contains(u'='))) {
        path = connectionText.section(u';', 0, 0).trimmed();
    } else {
        const QList<ConnectionPart> parts = ParseConnectionText(connectionText);
        path = kind == SourceFileDsn ? ConnectionValue(parts, QStringLiteral("File Name"))
                                     : ConnectionValue(parts, QStringLiteral("Data Source"));
    }
    return path.replace(u'\\', u'/');
}

QString FolderSourceText(const QString &folderType, const QString &folderPath, const QString &storeId)
{
    return QStringLiteral(" FolderType=\"%1\" FolderName=\"%2\" StoreID=\"%3\"").arg(folderType, folderPath, storeId);
}

QString FolderSourceValue(const QString &text, const QString &name, const QString &next)
{
    const QString open = QStringLiteral(" %1=\"").arg(name);
    const qsizetype start = text.indexOf(open);
    if (start < 0)
        return {};
    const qsizetype from = start + open.size();
    const qsizetype end = text.indexOf(QStringLiteral("\" %1=\"").arg(next), from);
    return text.mid(from, end < 0 ? -1 : end - from);
}

} // namespace qv::data
