#include "OdbcSources.h"

#include "OdbcHandle.h"

#include <QDir>

namespace qv::data::odbc {

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
