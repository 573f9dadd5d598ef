#pragma once

#include <QString>

namespace qv::data {

// The file a data source reads, when it reads one: the workbook, database,
// page or file data source its connection text names, or the "Database" /
// "DBQ" file of an ODBC text without a name. "" for data source names and
// folders. Backslashes become slashes.
QString SourceFilePath(int kind, const QString &connectionText);

// Whether the source names a file that is not there (moved or deleted).
bool SourceFileMissing(int kind, const QString &connectionText);

// The connection text with its file replaced by `newPath`, every other part
// kept; the text as it was when it names no file.
QString RepointConnectionText(int kind, const QString &connectionText, const QString &newPath);

} // namespace qv::data
