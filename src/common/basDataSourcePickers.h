#pragma once

// The file pickers of data sources: what each asks the file dialog service,
// and the folder where ODBC keeps its file data sources.

#include "ui/FileDialog.h"

#include <QString>

class QWidget;

namespace qv {

// The Access and Excel filters also list the newer formats, the files Linux users have.
inline constexpr auto kAccessFilter = "Microsoft Access files (*.mdb,*.accdb)|*.mdb;*.accdb|All Files (*.*)|*.*";
inline constexpr auto kExcelFilter = "Microsoft Excel files (*.xls,*.xlsx,*.xml)|*.xls;*.xlsx;*.xml|All Files (*.*)|*.*";
inline constexpr auto kDsnFilter = "File Data Source (*.dsn)|*.dsn|All Files (*.*)|*.*";

enum class DataSourceFileKind { Access, Excel, FileDsn };

// The open dialog's request for a kind of data source file. An empty
// sDefaultFolder starts an Access or Excel pick in the documents folder; the
// file data source pick starts in sDefaultFolder as given.
ui::FileDialogRequest DataSourceFileRequest(DataSourceFileKind eKind, const QString &sDefaultFolder,
                                            const QString &sDefaultFile);

// Shows the open dialog with the mouse pointer at its default; the chosen
// path cut at its first NUL, "" when cancelled.
QString PickDataSourceFile(QWidget *oOwner, const ui::FileDialogRequest &oRequest);

// ODBC's default file data source folder ("DefaultDSNDir" of the file DSN
// key) under HKEY_LOCAL_MACHINE, or HKEY_CURRENT_USER when bLocalMachine is
// False; "" when there is none. Errors are passed on with the source
// "GetDefaultDsnFolder(): " in front.
QString GetDefaultDsnFolder(bool bLocalMachine);

} // namespace qv
