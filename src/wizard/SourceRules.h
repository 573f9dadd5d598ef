#pragma once

#include "DataViewWizardState.h"

#include <QList>
#include <QString>

namespace qv {
class Dictionary;
}
namespace qv::config {
class DataView;
}

namespace qv::wizard {

// The source kind a data view and the data services use for a source type:
// Access 6, Excel 4, contacts and tasks folders 1, ODBC 3.
qint32 SourceTypeCode(SourceType eType);
// "ACCESS", "EXCEL" and "OUTLOOK" name their types; any other key is an ODBC entry.
bool SourceTypeOfKey(const QString &sKey, SourceType &eType);

// One entry of the data source list.
struct DataSourceEntry
{
    QString Key;  // "ACCESS", "EXCEL", "OUTLOOK", or "User:", "System:", "File:" and the name
    QString Text; // what the list shows
    SourceType Type = SourceType::System;
    friend bool operator==(const DataSourceEntry &, const DataSourceEntry &) = default;
};

// The data source list: Access, Excel, the folders when available, then the
// user, system and file data sources in text order. The dictionaries map a
// data source's key to its description.
QList<DataSourceEntry> DataSourceEntries(const Dictionary &dctUser, const Dictionary &dctSystem,
                                         const Dictionary &dctFile, bool bFoldersAvailable);
// The entry a data view's source selects: by type for files and folders, by
// location for ODBC; the first entry (Access) when none matches.
int SelectedDataSourceEntry(const QList<DataSourceEntry> &colEntries, SourceType eType, const QString &sLocation);
// The data source name or path of an ODBC entry's key: the text after its first ":".
QString LocationOfKey(const QString &sKey);

// The location the wizard shows for a data view: the file of a workbook or
// database, the data source name or file of an ODBC source, the folder of a
// contacts or tasks source.
QString GetLocationFromDataView(const config::DataView &oView);

// The attributes of a folder source's text.
QString GetOutlookFolderName(const QString &sText);
QString GetOutlookFolderType(const QString &sText);
// True for a contacts or a tasks folder, whatever the letter case.
bool IsContactOrTaskFolder(const QString &sText);

} // namespace qv::wizard
