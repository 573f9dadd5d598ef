// Insert Data speed: from showing the dialog to its first painted rows, over
// a 1,000,000-row table through ODBC, against the same on a 10,000-row
// table, in SQLite and in PostgreSQL, with connection texts as authors write
// them (no driver options), and over a 1,000,000-row .xlsx sheet against a
// 10,000-row one. The first rows must not wait for the whole table, nor the
// memory grow with it.
#include "WidgetsBench.h"
#include "SqliteTables.h"

#include "config/ConfigStore.h"
#include "data/DataViewDataServices.h"
#include "dialogs/frmSelectDataItems.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

// A PostgreSQL server of the benchmark's own (tests/support/pgserver.sh)
// with the same two tables as the SQLite files, "big" and "small".
struct PgTables
{
    QTemporaryDir state;
    QString text;

    PgTables()
    {
        if (!Script("start"))
            return;
        QFile port(state.filePath(QStringLiteral("port")));
        if (!port.open(QIODevice::ReadOnly))
            return;
        text = QStringLiteral("Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=%1;Database=postgres;UID=postgres")
                   .arg(QString::fromLatin1(port.readAll().trimmed()));
        data::odbc::Connection db(text);
        for (const auto &[name, rows] : {std::pair{"big", bench::kSqliteBigRows}, std::pair{"small", bench::kSqliteSmallRows}})
            db.Execute({QStringLiteral("CREATE TABLE %1 AS SELECT i AS id, 'Name ' || i AS name, i * 1.25::float8 AS amount, "
                                       "DATE '2000-01-01' + (i % 9000) AS born, 'City ' || ((i::bigint * 7919) % %2) AS city "
                                       "FROM generate_series(0, %3) i")
                            .arg(QLatin1String(name))
                            .arg(bench::kSqliteCities)
                            .arg(rows - 1),
                        {}});
    }
    ~PgTables() { Script("stop"); }

    bool Script(const char *action)
    {
        QProcess run;
        run.start(QStringLiteral(QV_PGSERVER_SCRIPT), {QString::fromLatin1(action), state.path()});
        return run.waitForFinished(120000) && run.exitCode() == 0;
    }
};

const PgTables &Pg()
{
    static const PgTables tables;
    return tables;
}

// The order sheets of the .xlsx runs (MakeWorkbook.cpp), written once into
// the build's cache: the million rows take minutes to write. A workbook is
// written beside its name and renamed, so that a run cut short leaves none.
QString OrderWorkbook(int rows)
{
    const QDir cache(QStringLiteral(QV_BENCH_CACHE));
    const QString path = cache.filePath(QStringLiteral("orders-%1.xlsx").arg(rows));
    if (QFileInfo::exists(path))
        return path;
    cache.mkpath(QStringLiteral("."));
    const QString partial = path + QStringLiteral(".part.xlsx");
    if (QProcess::execute(QStringLiteral(QV_MAKE_WORKBOOK), {QStringLiteral("large"), partial, QString::number(rows)}) != 0
        || !QFile::rename(partial, path))
        return {};
    return path;
}

const QString &BigWorkbook()
{
    static const QString path = OrderWorkbook(bench::kSqliteBigRows);
    return path;
}

const QString &SmallWorkbook()
{
    static const QString path = OrderWorkbook(bench::kSqliteSmallRows);
    return path;
}

// A data view over a table, every field displayed, as the wizard leaves it.
std::shared_ptr<config::DataView> TableView(const std::shared_ptr<config::ConfigStore> &store,
                                            data::DataViewDataServices &services, const QString &text,
                                            const QString &item, int kind)
{
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Bench");
    services.SetDataSource(view, kind, text, {}, {}, true);
    view->DataItemName = item;
    services.LoadFields(view);
    return view;
}

// One show of the dialog, up to its first painted rows.
bool ShowFirstRows(const std::shared_ptr<config::DataView> &view,
                   const std::shared_ptr<data::DataViewDataServices> &services)
{
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
    const bool shown = list->model()->rowCount() == 2000;
    form.hide();
    return shown;
}

// The first painted rows of `item`; with `memory`, also the resident peak
// they cost, as the counter "peak_kb". `text` is a connection text, or a
// workbook's path when `kind` is a workbook's.
void FirstPaintedRows(benchmark::State &state, const QString &text, const QString &item, bool memory = false,
                      int kind = 5)
{
    if (text.isEmpty()) {
        state.SkipWithError(kind == 5 ? "no PostgreSQL server could be started" : "the workbook could not be written");
        return;
    }
    auto store = config::ConfigStore::Create();
    store->CreateNew(QString(), QStringLiteral("Bench"), QString(), QString());
    auto services = std::make_shared<data::DataViewDataServices>();
    auto view = TableView(store, *services, text, item, kind);
    double peak = 0;
    for (auto _ : state) {
        if (memory)
            bench::ResetPeak();
        if (!ShowFirstRows(view, services))
            state.SkipWithError("the first rows are not the viewer's 2000");
        if (memory)
            peak = std::max(peak, bench::PeakKilobytes());
    }
    if (memory)
        state.counters["peak_kb"] = peak;
}

QString SqliteText(const QString &path) { return QStringLiteral("Driver=SQLite3;Database=") + path; }

void BM_FirstRowsOfMillionRows(benchmark::State &state) { FirstPaintedRows(state, SqliteText(Data().big), QStringLiteral("t")); }
BENCHMARK(BM_FirstRowsOfMillionRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FirstRowsOfTenThousandRows(benchmark::State &state) { FirstPaintedRows(state, SqliteText(Data().small), QStringLiteral("t")); }
BENCHMARK(BM_FirstRowsOfTenThousandRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PgFirstRowsOfMillionRows(benchmark::State &state) { FirstPaintedRows(state, Pg().text, QStringLiteral("big")); }
BENCHMARK(BM_PgFirstRowsOfMillionRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PgFirstRowsOfTenThousandRows(benchmark::State &state) { FirstPaintedRows(state, Pg().text, QStringLiteral("small")); }
BENCHMARK(BM_PgFirstRowsOfTenThousandRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

constexpr int kWorkbook = 4;

void BM_XlsxFirstRowsOfMillionRows(benchmark::State &state)
{
    FirstPaintedRows(state, BigWorkbook(), QStringLiteral("Orders"), false, kWorkbook);
}
BENCHMARK(BM_XlsxFirstRowsOfMillionRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_XlsxFirstRowsOfTenThousandRows(benchmark::State &state)
{
    FirstPaintedRows(state, SmallWorkbook(), QStringLiteral("Orders"), false, kWorkbook);
}
BENCHMARK(BM_XlsxFirstRowsOfTenThousandRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The memory runs come after the timed ones, so that the tables and the
// server exist before the first reset of the peak.
void BM_PeakOfMillionRows(benchmark::State &state) { FirstPaintedRows(state, SqliteText(Data().big), QStringLiteral("t"), true); }
BENCHMARK(BM_PeakOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PeakOfTenThousandRows(benchmark::State &state)
{
    FirstPaintedRows(state, SqliteText(Data().small), QStringLiteral("t"), true);
}
BENCHMARK(BM_PeakOfTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PgPeakOfMillionRows(benchmark::State &state) { FirstPaintedRows(state, Pg().text, QStringLiteral("big"), true); }
BENCHMARK(BM_PgPeakOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PgPeakOfTenThousandRows(benchmark::State &state) { FirstPaintedRows(state, Pg().text, QStringLiteral("small"), true); }
BENCHMARK(BM_PgPeakOfTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_XlsxPeakOfMillionRows(benchmark::State &state)
{
    FirstPaintedRows(state, BigWorkbook(), QStringLiteral("Orders"), true, kWorkbook);
}
BENCHMARK(BM_XlsxPeakOfMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_XlsxPeakOfTenThousandRows(benchmark::State &state)
{
    FirstPaintedRows(state, SmallWorkbook(), QStringLiteral("Orders"), true, kWorkbook);
}
BENCHMARK(BM_XlsxPeakOfTenThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

const bool kGoal =
    qv::bench::AddRatioGoal({"Insert Data first painted rows, SQLite: 1,000,000 rows vs 10,000 rows",
                             "BM_FirstRowsOfMillionRows", "BM_FirstRowsOfTenThousandRows", 1.2})
    && qv::bench::AddRatioGoal({"Insert Data first painted rows, PostgreSQL: 1,000,000 rows vs 10,000 rows",
                                "BM_PgFirstRowsOfMillionRows", "BM_PgFirstRowsOfTenThousandRows", 1.2})
    && qv::bench::AddRatioGoal({"Insert Data peak memory, SQLite: 1,000,000 rows vs 10,000 rows",
                                "BM_PeakOfMillionRows", "BM_PeakOfTenThousandRows", 1.5, "peak_kb"})
    && qv::bench::AddRatioGoal({"Insert Data peak memory, PostgreSQL: 1,000,000 rows vs 10,000 rows",
                                "BM_PgPeakOfMillionRows", "BM_PgPeakOfTenThousandRows", 1.5, "peak_kb"})
    && qv::bench::AddRatioGoal({"Insert Data first painted rows, .xlsx: 1,000,000 rows vs 10,000 rows",
                                "BM_XlsxFirstRowsOfMillionRows", "BM_XlsxFirstRowsOfTenThousandRows", 1.5})
    && qv::bench::AddRatioGoal({"Insert Data peak memory, .xlsx: 1,000,000 rows vs 10,000 rows",
                                "BM_XlsxPeakOfMillionRows", "BM_XlsxPeakOfTenThousandRows", 1.5, "peak_kb"})
    && qv::bench::AddFigure("Insert Data first painted rows of 1,000,000 SQLite rows", "BM_FirstRowsOfMillionRows")
    && qv::bench::AddFigure("Insert Data first painted rows of 10,000 SQLite rows", "BM_FirstRowsOfTenThousandRows")
    && qv::bench::AddFigure("Insert Data first painted rows of 1,000,000 PostgreSQL rows", "BM_PgFirstRowsOfMillionRows")
    && qv::bench::AddFigure("Insert Data first painted rows of 10,000 PostgreSQL rows",
                            "BM_PgFirstRowsOfTenThousandRows")
    && qv::bench::AddFigure("Insert Data first painted rows of a 1,000,000-row .xlsx sheet", "BM_XlsxFirstRowsOfMillionRows")
    && qv::bench::AddFigure("Insert Data first painted rows of a 10,000-row .xlsx sheet",
                            "BM_XlsxFirstRowsOfTenThousandRows");

} // namespace
