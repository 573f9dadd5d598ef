// The members that open no form of their own: data source pickers and
// value lists.
#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "dialogs/SelectDataRules.h"

#include "common/FetchRunner.h"
#include "common/basDataSourcePickers.h"
#include "common/frmSelectFolder.h"
#include "config/ConfigObjects.h"
#include "data/ConnectionText.h"
#include "data/DataViewDataServices.h"
#include "scripting/Dictionary.h"

#include <QApplication>

using namespace qv;

namespace {

void RequireDataView(const std::shared_ptr<config::DataView> &oDataView)
{
    if (!oDataView)
        throw RuntimeError(vberr::ObjectRequired);
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
        if (!d->oDataViewDS)
            d->oDataViewDS = entry::SharedDataServices();
        const std::shared_ptr<data::DataViewDataServices> services = d->oDataViewDS;
        std::shared_ptr<Dictionary> list;
        if (bOffline) {
            list = services->GetValueList(oDataView, sFieldName, -1, true, bSort);
        } else {
            auto job = services->StartValueList(oDataView, sFieldName, -1, bSort,
                                                [&list](std::shared_ptr<Dictionary> values, bool) { list = values; });
            if (!FetchRunner::RunAndWait(job, QApplication::activeWindow(),
                                         dialogs::ProperCase(oDataView->Name + QStringLiteral(" Rows")),
                                         QStringLiteral("Retrieving data..."),
                                         [&services](const auto &pending) { return services->Wait(pending); }))
                list.reset();
        }
        oDataView.reset();
        return list;
    });
}
