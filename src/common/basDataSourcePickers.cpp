#include "basDataSourcePickers.h"

#include "basErrorHandling.h"
#include "basUtility.h"

#include "registry/Registry.h"
#include "ui/MousePointer.h"

namespace qv {
namespace {

constexpr quint32 kTitleAccess = 340;
constexpr quint32 kTitleFileDsn = 341;
constexpr quint32 kTitleExcel = 342;

} // namespace

ui::FileDialogRequest DataSourceFileRequest(DataSourceFileKind eKind, const QString &sDefaultFolder,
                                            const QString &sDefaultFile)
{
    ui::FileDialogRequest request;
    request.DialogMode = ui::FileDialogRequest::Open;
    switch (eKind) {
    case DataSourceFileKind::Access:
        request.Title = LoadResString(kTitleAccess);
        request.DefaultExtension = QStringLiteral("*.mdb");
        request.Filter = QString::fromLatin1(kAccessFilter);
        break;
    case DataSourceFileKind::Excel:
        request.Title = LoadResString(kTitleExcel);
        request.DefaultExtension = QStringLiteral("*.xls");
        request.Filter = QString::fromLatin1(kExcelFilter);
        break;
    case DataSourceFileKind::FileDsn:
        request.Title = LoadResString(kTitleFileDsn);
        request.DefaultExtension = QStringLiteral("*.dsn");
        request.Filter = QString::fromLatin1(kDsnFilter);
        request.InitialFolder = sDefaultFolder;
        return request;
    }
    request.FileName = sDefaultFile;
    request.InitialFolder = sDefaultFolder.isEmpty() ? DocumentsFolder() : sDefaultFolder;
    return request;
}

QString PickDataSourceFile(QWidget *oOwner, const ui::FileDialogRequest &oRequest)
{
    ui::SetMousePointer(ui::pointer::Default);
    const ui::FileDialogResult result = ui::RunFileDialog(oRequest, oOwner);
    return result.Accepted ? CutAtNul(result.Path) : QString();
}

QString GetDefaultDsnFolder(bool bLocalMachine)
{
    try {
        const Registry registry;
        return registry
            .GetValue(bLocalMachine ? Registry::LocalMachine : Registry::CurrentUser,
                      QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ODBC File DSN"), QStringLiteral("DefaultDSNDir"),
                      Registry::String, Variant(QString()))
            .ToText();
    } catch (...) {
        CaptureError();
    }
    AddErrorSource(QStringLiteral("GetDefaultDsnFolder()"));
    const ErrorState &error = CurrentError();
    RaiseError(error.Number, error.Source, error.Description);
}

} // namespace qv
