// Insert Data speed: from showing the dialog to its first painted rows, over
// a 1,000,000-row SQLite table through ODBC, against the same on a
// 10,000-row table. The first rows must not wait for the whole table.
#include "BenchMain.h"

#include "config/ConfigStore.h"
#include "data/DataViewDataServices.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "dialogs/frmSelectDataItems.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTreeView>

using namespace qv;

namespace {

constexpr int kBigRows = 1000000;
constexpr int kSmallRows = 10000;

struct Databases
{
    QTemporaryDir dir;
    QString big, small;

    Databases()
    {
        // Nothing the dialog remembers reaches the user's own settings.
        qputenv("QV_REGISTRY_ROOT", dir.filePath(QStringLiteral("registry")).toLocal8Bit());
        qputenv("QV_DATA_ROOT", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        big = Make(QStringLiteral("big.db"), kBigRows);
        small = Make(QStringLiteral("small.db"), kSmallRows);
    }

    QString Make(const QString &name, int rows)
    {
        const QString path = dir.filePath(name);
        data::odbc::Connection db(QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + path);
        db.Execute({QStringLiteral("CREATE TABLE t (id INTEGER, name VARCHAR(40), amount DOUBLE, born DATE, city VARCHAR(30))"), {}});
        db.Execute({QStringLiteral("INSERT INTO t WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                   "SELECT i, 'Name ' || i, i * 1.25, date('2000-01-01', '+' || (i % 9000) || ' days'), "
                                   "'City ' || ((i * 7919) % 5000) FROM n")
                        .arg(rows - 1),
                    {}});
        return path;
    }
};

Databases &Data()
{
    static Databases data;
    return data;
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
        form.SetDataServices(services);
        form.SetDataView(view, 1);
        form.Prepare();
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
