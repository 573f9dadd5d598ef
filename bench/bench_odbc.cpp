// ODBC speed: a preview's cost must not grow with the table, and a value
// list must cost what the database's own SELECT DISTINCT costs, measured
// against the same query run through the sqlite3 C API in the same process.
#include "BenchMain.h"
#include "SqliteTables.h"

#include "ado/Recordset.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "data/backends/odbc/OdbcRowSource.h"


#include <sqlite3.h>

using namespace qv;
using namespace qv::data::odbc;

namespace {

const bench::SqliteTables &Data()
{
    static const bench::SqliteTables tables;
    return tables;
}

QString TextOf(const QString &path) { return QStringLiteral("Driver=SQLite3;Database=") + path; }

void Preview(benchmark::State &state, const QString &path)
{
    const SqlDialect dialect;
    const auto select = SelectStatement(QStringLiteral("t"), {}, {}, dialect);
    const auto count = CountStatement(QStringLiteral("t"), {}, dialect);
    for (auto _ : state) {
        auto source = std::make_shared<OdbcRowSource>(TextOf(path), select, count, 500, 2000);
        auto rs = ado::Recordset::Create();
        for (const auto &f : source->Fields())
            rs->Fields().Append(f.Name, f.Type, f.DefinedSize);
        rs->Open(source);
        qint64 rows = 0;
        for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
            ++rows;
        if (rows != 2000)
            state.SkipWithError("the preview lost rows");
    }
}

void BM_PreviewOfMillionRows(benchmark::State &state) { Preview(state, Data().big); }
BENCHMARK(BM_PreviewOfMillionRows)->Unit(benchmark::kMillisecond);

void BM_PreviewOfTenThousandRows(benchmark::State &state) { Preview(state, Data().small); }
BENCHMARK(BM_PreviewOfTenThousandRows)->Unit(benchmark::kMillisecond);

void BM_CountOfMillionRows(benchmark::State &state)
{
    Connection db(TextOf(Data().big));
    const auto count = CountStatement(QStringLiteral("t"), {}, db.Dialect());
    for (auto _ : state)
        benchmark::DoNotOptimize(db.Count(count));
}
BENCHMARK(BM_CountOfMillionRows)->Unit(benchmark::kMillisecond);

void BM_ValueListThroughOdbc(benchmark::State &state)
{
    for (auto _ : state) {
        Connection db(TextOf(Data().big));
        const auto fields = db.Columns(QStringLiteral("t"));
        auto cursor = db.Execute(DistinctStatement(QStringLiteral("t"), fields[4], {}, db.Dialect()));
        qsizetype values = 0;
        for (QList<qv::data::DataRow> page; !(page = cursor->Fetch(1000)).isEmpty();)
            values += page.size();
        if (values != bench::kSqliteCities)
            state.SkipWithError("wrong number of values");
    }
}
BENCHMARK(BM_ValueListThroughOdbc)->Unit(benchmark::kMillisecond);

void BM_ValueListThroughSqlite(benchmark::State &state)
{
    const QByteArray path = Data().big.toUtf8();
    for (auto _ : state) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT DISTINCT \"city\" FROM \"t\" WHERE \"city\" IS NOT NULL ORDER BY \"city\"", -1,
                           &statement, nullptr);
        int values = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            benchmark::DoNotOptimize(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
            ++values;
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        if (values != bench::kSqliteCities)
            state.SkipWithError("wrong number of values");
    }
}
BENCHMARK(BM_ValueListThroughSqlite)->Unit(benchmark::kMillisecond);

const bool g_goals =
    qv::bench::AddRatioGoal({"2000-row preview of 1,000,000 rows vs of 10,000 rows", "BM_PreviewOfMillionRows",
                             "BM_PreviewOfTenThousandRows", 1.5})
    && qv::bench::AddRatioGoal({"value list of 5,000 values over 1,000,000 rows vs sqlite3 C API",
                                "BM_ValueListThroughOdbc", "BM_ValueListThroughSqlite", 1.3})
    && qv::bench::AddFigure("count of 1,000,000 rows beside the first page", "BM_CountOfMillionRows");

} // namespace
