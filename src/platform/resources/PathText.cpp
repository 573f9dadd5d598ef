#include "PathText.h"

namespace qv {

QString FileSystemPath(const QString &pathText)
{
    QString path = pathText;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString SystemPathText(const QString &fileSystemPath)
{
    QString text = fileSystemPath;
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return text;
}

} // namespace qv
