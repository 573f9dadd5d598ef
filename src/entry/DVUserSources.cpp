// The members that open no form of their own: data source pickers and
// value lists.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "common/basDataSourcePickers.h"
#include "common/frmSelectFolder.h"
#include "config/ConfigObjects.h"
#include "data/ConnectionText.h"
#include "data/DataViewDataServices.h"
#include "scripting/Dictionary.h"
#include "ui/ProgressDialog.h"

#include <QApplication>

using namespace qv;

namespace {

constexpr int kProgressDelayMs = 4000;

void RequireDataView(const std::shared_ptr<config::DataView> &oDataView)
{
    if (!oDataView)
        throw RuntimeError(vberr::ObjectRequired);
}

// The first letter of every word upper case, the rest lower case.
QString ProperCase(const QString &sText)
{
    QString text = sText.toLower();
    bool wordStart = true;
    for (QChar &c : text) {
        if (wordStart && c.isLetter())
            c = c.toUpper();
        wordStart = c.isSpace();
    }
    return text;
}

} // namespace

QString DVUser::VisualGetAccessDatasource(QWidget *hWnd, const QString &sDefaultFolder, const QString &sDefaultFile)
{
    return entry::ShowErrorsOf(QStringLiteral("VisualGetAccessDatasource()"), QString(), [&] {
        return PickDataSourceFile(hWnd, DataSourceFileRequest(DataSourceFileKind::Access, sDefaultFolder, sDefaultFile));
    });
}

QString DVUser::VisualGetExcelDatasource(QWidget *hWnd, const QString &sDefaultFolder, const QString &sDefaultFile)
{
    return entry::ShowErrorsOf(QStringLiteral("VisualGetExcelDatasource()"), QString(), [&] {
        return PickDataSourceFile(hWnd, DataSourceFileRequest(DataSourceFileKind::Excel, sDefaultFolder, sDefaultFile));
    });
}

QString DVUser::VisualGetFileDSNDatasource(QWidget *hWnd)
{
    return entry::ShowErrorsOf(QStringLiteral("VisualGetFileDSNDatasource()"), QString(), [&] {
        const QString folder = GetDefaultDsnFolder(true);
        return PickDataSourceFile(hWnd, DataSourceFileRequest(DataSourceFileKind::FileDsn, folder, QString()));
    });
}

QString DVUser::VisualSelectFolder(std::shared_ptr<config::DataView> &oDataView)
{
    return PassErrorsOn(QStringLiteral("VisualSelectFolder()"), [&] {
        // Checked before the chooser opens, so that nobody picks a folder for nothing.
        RequireDataView(oDataView);
        // The thread's shared services know the configured root folder.
        const std::shared_ptr<data::DataViewDataServices> services = entry::SharedDataServices();
        const QString folder = SelectPimFolder(QApplication::activeWindow(), services->GetFolders());
        if (folder.isEmpty())
            return QString();
        const QString pathText = services->GetFolderPath(folder, 0);
        return services->SetDataSource(oDataView, data::SourceFolder, pathText, QString(), QString(), true);
    });
}

std::shared_ptr<Dictionary> DVUser::GetValueListDictionary(std::shared_ptr<config::DataView> &oDataView,
                                                           const QString &sFieldName, bool bOffline, bool bSort)
{
    return PassErrorsOn(QStringLiteral("GetValueListDictionary()"), [&]() -> std::shared_ptr<Dictionary> {
        RequireDataView(oDataView);
        ui::ProgressDialog progress(QApplication::activeWindow());
        bool shown = false;
        progress.SetValue(0);
        progress.SetCaption(ProperCase(oDataView->Name + QStringLiteral(" Rows")));
        progress.SetMessage(QStringLiteral("Retrieving data..."));

        if (!d->oDataViewDS)
            d->oDataViewDS = entry::SharedDataServices();
        const std::shared_ptr<data::DataViewDataServices> services = d->oDataViewDS;
        // The window appears only when the fetch outlasts the delay.
        const QMetaObject::Connection fetching =
            connect(services.get(), &data::DataViewDataServices::Fetching, &progress, [&](qint32 value) {
                if (!shown) {
                    progress.ShowAfter(kProgressDelayMs);
                    shown = true;
                }
                progress.SetValue(value);
            });
        connect(&progress, &ui::ProgressDialog::Cancelled, services.get(), [services] { services->Cancel(); });

        std::shared_ptr<Dictionary> list;
        try {
            list = services->GetValueList(oDataView, sFieldName, -1, bOffline, bSort);
        } catch (...) {
            disconnect(fetching);
            progress.Close();
            throw;
        }
        disconnect(fetching);
        progress.Close();
        if (services->Cancelled())
            list.reset();
        oDataView.reset();
        return list;
    });
}
