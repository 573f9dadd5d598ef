#pragma once

#include <QList>
#include <QString>

namespace qv::data {

// The kinds of data source a data view can have, numbered as data view
// definitions store them.
enum SourceKind : int {
    SourceFolder = 1,       // contacts or tasks folder
    SourceUserDsn = 2,      // ODBC data source name of the user
    SourceSystemDsn = 3,    // ODBC data source name of the machine
    SourceExcel = 4,        // workbook
    SourceDsnLess = 5,      // ODBC connection text without a name
    SourceAccess = 6,       // Access database
    SourceFileDsn = 7,      // ODBC file data source
    SourceHtml = 8,         // page whose tables are the data items
};

// One "key=value" part of a connection text. Keys keep their spelling;
// values are unquoted ("{a;b}" gives "a;b", '"x"' gives "x").
struct ConnectionPart
{
    QString Key;
    QString Value;
    friend bool operator==(const ConnectionPart &, const ConnectionPart &) = default;
};

// Splits "k1=v1;k2={v;2};k3" into its parts. A value in braces or quotes may
// hold ';'; "}}" inside braces is one '}'. Empty parts are skipped; a part
// without '=' is a key with an empty value. Never fails: an unclosed brace
// runs to the end of the text.
QList<ConnectionPart> ParseConnectionText(const QString &text);

// The value of the first part whose key equals `key` without regard to case
// (and to surrounding blanks); `found` tells whether there was one.
QString ConnectionValue(const QList<ConnectionPart> &parts, const QString &key, bool *found = nullptr);

// Joins parts back into a text; values with ';', braces, '=' or blanks at
// either end are written in braces.
QString JoinConnectionText(const QList<ConnectionPart> &parts);

// Whether a data source name is the path of a file data source (".dsn"):
// it has a folder, or such a file exists.
bool IsFileDsnPath(const QString &location);

// The connection text of a data source of `kind` at `location` (a path, a
// data source name, or for kind 5 the text itself), with the user and
// password where the kind takes them.
QString BuildConnectionText(int kind, const QString &location, const QString &user, const QString &password);

// What unixODBC's SQLDriverConnect takes for an ODBC connection text: the
// provider dropped from "Provider=MSDASQL;DSN=...", "File Name=path" as
// "FILEDSN=path", a text without a name as it is. Empty for a text that names
// another provider (a workbook or a database file).
QString OdbcDriverText(const QString &connectionText);

// The file a connection text of a file source names: the "Data Source" of
// a workbook's or database's text, the text before the first ';' of a page's
// ("path;Extended Properties=HTML;"). Backslashes become slashes.
QString FileOfConnectionText(int kind, const QString &connectionText);

// The text that names a contacts or tasks folder as a data source:
// ' FolderType="Contact" FolderName="path" StoreID="root"'.
QString FolderSourceText(const QString &folderType, const QString &folderPath, const QString &storeId);
// A value of such a text: the text after ' NAME="' up to '" NEXT="' (to the
// end when that is missing); "" when ' NAME="' is missing.
QString FolderSourceValue(const QString &text, const QString &name, const QString &next);

} // namespace qv::data
