#include "OdbcSources.h"

#include "OdbcHandle.h"

#include <QDir>

#include <odbcinst.h>

namespace qv::data::odbc {

QString DataSourceDescription(const QString &name, bool system)
{
    SQLSetConfigMode(system ? ODBC_SYSTEM_DSN : ODBC_USER_DSN);
    char text[512] = {};
    const int length = SQLGetPrivateProfileString(name.toUtf8().constData(), "Description", "", text,
                                                  int(sizeof(text)), "odbc.ini");
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return length > 0 ? QString::fromUtf8(text, qMin(length, int(sizeof(text)) - 1)) : QString();
}

QList<QPair<QString, QString>> DataSourceNames(bool system)
{
    QList<QPair<QString, QString>> names;
    Handle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (!environment)
        return names;
    SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLUSMALLINT direction = system ? SQL_FETCH_FIRST_SYSTEM : SQL_FETCH_FIRST_USER;
    for (;;) {
        SQLWCHAR name[SQL_MAX_DSN_LENGTH + 1] = {};
        SQLWCHAR description[512] = {};
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        const SQLRETURN r = SQLDataSourcesW(environment.get(), direction, name, SQLSMALLINT(std::size(name)),
                                            &nameLength, description, SQLSMALLINT(std::size(description)),
                                            &descriptionLength);
        if (!SQL_SUCCEEDED(r))
            break;
        names.append({FromWide(name, std::min<qsizetype>(nameLength, qsizetype(std::size(name)) - 1)),
                      FromWide(description,
                               std::min<qsizetype>(descriptionLength, qsizetype(std::size(description)) - 1))});
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

QStringList FileDataSources(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.dsn")}, QDir::Files | QDir::Readable,
                                            QDir::Name | QDir::IgnoreCase);
    for (const QString &file : files)
        paths << dir.filePath(file);
    return paths;
}

} // namespace qv::data::odbc
