// Insert Data speed: from showing the dialog to its first painted rows, over
// a 1,000,000-row SQLite table through ODBC, against the same on a
// 10,000-row table. The first rows must not wait for the whole table.
#include "BenchMain.h"
#include "SqliteTables.h"

#include "config/ConfigStore.h"
#include "data/DataViewDataServices.h"
#include "dialogs/frmSelectDataItems.h"

#include <QApplication>
#include <QEventLoop>
#include <QTreeView>

using namespace qv;

namespace {

const bench::SqliteTables &Data()
{
    static const bench::SqliteTables tables;
    // Nothing the dialog remembers reaches the user's own settings.
    static const bool rooted = [] {
        qputenv("QV_REGISTRY_ROOT", tables.dir.filePath(QStringLiteral("registry")).toLocal8Bit());
        qputenv("QV_DATA_ROOT", tables.dir.filePath(QStringLiteral("data")).toLocal8Bit());
        return true;
    }();
    Q_UNUSED(rooted);
    return tables;
}

// A data view over the table, every field displayed, as the wizard leaves it.
std::shared_ptr<config::DataView> TableView(const std::shared_ptr<config::ConfigStore> &store,
                                            data::DataViewDataServices &services, const QString &path)
{
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Bench");
    // StepAPI: the driver's option to hand out rows as they are read rather
    // than after reading the whole result, as a data source for large tables
    // is set up (the sample file data source has it too).
    services.SetDataSource(view, 5, QStringLiteral("Driver=SQLite3;StepAPI=1;Database=") + path, {}, {}, true);
    view->DataItemName = QStringLiteral("t");
    services.LoadFields(view);
    return view;
}

void FirstPaintedRows(benchmark::State &state, const QString &path)
{
    auto store = config::ConfigStore::Create();
    store->CreateNew(QString(), QStringLiteral("Bench"), QString(), QString());
    auto services = std::make_shared<data::DataViewDataServices>();
    auto view = TableView(store, *services, path);
    for (auto _ : state) {
        view->DropRows();
        frmSelectDataItems form;
        dialogs::SelectDataRequest request;
        request.oDataView = view;
        request.oServices = services;
        form.Prepare(request);
        QEventLoop wait;
        QObject::connect(&form, &frmSelectDataItems::RowsShown, &wait, &QEventLoop::quit);
        form.show();
        wait.exec();
        auto *list = form.findChild<QTreeView *>(QStringLiteral("lvwItems"));
        list->viewport()->repaint();
        if (list->model()->rowCount() != 2000)
            state.SkipWithError("the first rows are not the viewer's 2000");
        form.hide();
    }
}

void BM_FirstRowsOfMillionRows(benchmark::State &state) { FirstPaintedRows(state, Data().big); }
BENCHMARK(BM_FirstRowsOfMillionRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FirstRowsOfTenThousandRows(benchmark::State &state) { FirstPaintedRows(state, Data().small); }
BENCHMARK(BM_FirstRowsOfTenThousandRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

QCoreApplication *MakeApplication(int &argc, char **argv)
{
    return new QApplication(argc, argv);
}

const bool kApplication = qv::bench::SetApplicationFactory(&MakeApplication);
const bool kGoal = qv::bench::AddRatioGoal({"Insert Data first painted rows: 1,000,000 rows vs 10,000 rows",
                                            "BM_FirstRowsOfMillionRows", "BM_FirstRowsOfTenThousandRows", 1.5})
                   && qv::bench::AddFigure("Insert Data first painted rows of 1,000,000 rows", "BM_FirstRowsOfMillionRows")
                   && qv::bench::AddFigure("Insert Data first painted rows of 10,000 rows",
                                           "BM_FirstRowsOfTenThousandRows");

} // namespace
