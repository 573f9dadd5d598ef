// The Data View Wizard's data item page over a SQLite database of 5,000
// tables: the listing job of the data services and the page's sorted list,
// against the driver's own SQLTables pass through the ODBC API, both opening
// the database afresh. This machine's speed drifts by half within seconds,
// so the two are timed in alternating rounds and each reports its median.
#include "WidgetsBench.h"

#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/DataJob.h"
#include "data/DataViewDataServices.h"
#include "wizard/WizardPages.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kTables = 5000;
constexpr int kRounds = 41;

// The database, written once through the sqlite3 API in one transaction.
struct ManyTables
{
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("tables.sqlite"));
    QString text = QStringLiteral("Driver=SQLite3;Database=") + path;

    ManyTables()
    {
        sqlite3 *db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        std::string script = "BEGIN;";
        for (int t = 0; t < kTables; ++t)
            script += "CREATE TABLE t" + std::to_string((t * 7919) % kTables) + " (id INTEGER, name TEXT);";
        script += "COMMIT;";
        sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

// The wizard's road: the services' job, then the page lists the names.
int ListThroughWizard(qv::wizard::DataItemPage &page, qv::data::DataViewDataServices &services,
                      const std::shared_ptr<qv::config::DataView> &view)
{
    QStringList names;
    services.StartDataItems(view, [&names](QStringList items) { names = std::move(items); },
                            qv::data::DataViewDataServices::ItemOrder::ByName)
        ->Wait();
    page.ShowItems(names);
    page.repaint();
    return page.ItemCount();
}

// The driver's own pass: connect, SQLTables for tables and views, every name fetched.
int ListThroughSqlTables(const std::u16string &text)
{
    const std::u16string types = u"TABLE,VIEW";
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    SQLDriverConnectW(dbc, nullptr, reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(text.data())),
                      SQLSMALLINT(text.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    SQLTablesW(stmt, nullptr, 0, nullptr, 0, nullptr, 0,
               reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(types.data())), SQLSMALLINT(types.size()));
    int names = 0;
    SQLWCHAR name[256];
    SQLLEN length = 0;
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        SQLGetData(stmt, 3, SQL_C_WCHAR, name, sizeof(name), &length);
        ++names;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return names;
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Seconds per listing of each, from alternating rounds; 0 when one lost names.
struct Timings
{
    double wizard = 0;
    double sqlTables = 0;
};

const Timings &Measured()
{
    static const Timings timings = [] {
        static ManyTables data;
        auto store = qv::config::ConfigStore::Create();
        qv::wizard::DataViewWizardState wizard;
        wizard.Begin(true, true);
        qv::data::DataViewDataServices services;
        qv::wizard::WizardContext context{store, store->DataViewCollection().AddBlank(), &wizard, &services};
        context.View->Source.Kind = 3;
        context.View->Source.ConnectionText = data.text;
        qv::wizard::DataItemPage page(context, nullptr);
        page.resize(480, 300);
        page.show();
        const std::u16string text = data.text.toStdU16String();
        std::vector<double> wizardTimes, baselineTimes;
        QElapsedTimer clock;
        for (int round = 0; round < kRounds; ++round) {
            clock.start();
            if (ListThroughWizard(page, services, context.View) != kTables)
                return Timings{};
            wizardTimes.push_back(double(clock.nsecsElapsed()) / 1e9);
            clock.start();
            if (ListThroughSqlTables(text) != kTables)
                return Timings{};
            baselineTimes.push_back(double(clock.nsecsElapsed()) / 1e9);
        }
        return Timings{Median(wizardTimes), Median(baselineTimes)};
    }();
    return timings;
}

void Report(benchmark::State &state, double seconds)
{
    if (seconds <= 0) {
        state.SkipWithError("a listing lost data items");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(seconds);
}

void BM_WizardListsDataItems(benchmark::State &state) { Report(state, Measured().wizard); }
BENCHMARK(BM_WizardListsDataItems)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_SqlTablesBaseline(benchmark::State &state) { Report(state, Measured().sqlTables); }
BENCHMARK(BM_SqlTablesBaseline)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

const bool kListGoal = qv::bench::AddRatioGoal({"wizard data items of 5000 SQLite tables vs SQLTables",
                                                "BM_WizardListsDataItems", "BM_SqlTablesBaseline", 1.3});

} // namespace
