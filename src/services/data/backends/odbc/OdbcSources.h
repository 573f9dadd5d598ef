#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace qv::data::odbc {

// The data source names that unixODBC knows, each with its driver's
// description: the user's (~/.odbc.ini) or the machine's (odbc.ini of the
// system folder), in the driver manager's order.
QList<QPair<QString, QString>> DataSourceNames(bool system);
// The description the data source's own entry gives ("" when it has none):
// what its author wrote there, where the list above names the driver.
QString DataSourceDescription(const QString &name, bool system);

// The file data sources ("*.dsn") in a folder, as full paths, sorted by name.
QStringList FileDataSources(const QString &folder);

} // namespace qv::data::odbc
