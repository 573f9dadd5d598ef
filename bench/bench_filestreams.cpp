// The first page of a streamed file source through the data services, on a
// large item against a small one of the same shape, in the same process: the
// first rows must wait for the item's first rows only, not for its size.
#include "BenchMain.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/DataTable.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kBigRows = 200000;
constexpr int kSmallRows = 2000;

QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// An XML Spreadsheet 2003 file of `rows` orders, six typed columns each.
QString SpreadsheetMl(int rows)
{
    const QString path = Folder().filePath(QStringLiteral("orders-%1.xml").arg(rows));
    if (QFile::exists(path))
        return path;
    QByteArray xml = "<?xml version=\"1.0\"?>\n<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                     "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet ss:Name=\"Orders\"><Table>\n"
                     "<Row><Cell><Data ss:Type=\"String\">Id</Data></Cell><Cell><Data ss:Type=\"String\">Customer</Data>"
                     "</Cell><Cell><Data ss:Type=\"String\">City</Data></Cell><Cell><Data ss:Type=\"String\">Amount</Data>"
                     "</Cell><Cell><Data ss:Type=\"String\">Ordered</Data></Cell><Cell><Data ss:Type=\"String\">Paid</Data>"
                     "</Cell></Row>\n";
    for (int r = 1; r <= rows; ++r) {
        xml += "<Row><Cell><Data ss:Type=\"Number\">" + QByteArray::number(r) +
               "</Data></Cell><Cell><Data ss:Type=\"String\">Customer " + QByteArray::number(r % 5000) +
               "</Data></Cell><Cell><Data ss:Type=\"String\">Z&uuml;rich</Data></Cell><Cell><Data ss:Type=\"Number\">" +
               QByteArray::number((r % 1000) / 8.0) + "</Data></Cell><Cell><Data ss:Type=\"DateTime\">2024-0" +
               QByteArray::number(1 + r % 9) + "-1" + QByteArray::number(r % 10) +
               "T00:00:00.000</Data></Cell><Cell><Data ss:Type=\"Boolean\">" + QByteArray::number(r % 3 == 0) +
               "</Data></Cell></Row>\n";
    }
    xml += "</Table></Worksheet></Workbook>\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size())
        return {};
    return path;
}

// Opens the item and takes its first page, as Insert Data's first fetch
// does; with `memory`, also the resident peak that costs, as "peak_kb".
void FirstPage(benchmark::State &state, int kind, const QString &path, const QString &item, bool memory = false)
{
    if (path.isEmpty()) {
        state.SkipWithError("the source could not be written");
        return;
    }
    qv::data::RowsRequest request;
    request.Kind = kind;
    request.ConnectionText = qv::data::BuildConnectionText(kind, path, {}, {});
    request.Item = item;
    double peak = 0;
    for (auto _ : state) {
        if (memory)
            qv::bench::ResetPeak();
        qv::data::WorkControl control;
        const qv::data::OpenedRows rows = qv::data::OpenRows(request, control);
        if (rows.Source->FetchNextPage().isEmpty())
            state.SkipWithError("no first page");
        if (memory)
            peak = std::max(peak, qv::bench::PeakKilobytes());
    }
    if (memory)
        state.counters["peak_kb"] = peak;
}

void BM_SpreadsheetMlFirstPageOfBigSheet(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceExcel, SpreadsheetMl(kBigRows), QStringLiteral("Orders"));
}
BENCHMARK(BM_SpreadsheetMlFirstPageOfBigSheet)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SpreadsheetMlFirstPageOfSmallSheet(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceExcel, SpreadsheetMl(kSmallRows), QStringLiteral("Orders"));
}
BENCHMARK(BM_SpreadsheetMlFirstPageOfSmallSheet)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// View Data in full reads the sheet whole, with exact typing.
void BM_SpreadsheetMlWholeSheet(benchmark::State &state)
{
    const QString path = SpreadsheetMl(kBigRows);
    for (auto _ : state) {
        const qv::data::DataTable table = qv::data::OpenSource(path)->ReadItem(QStringLiteral("Orders"));
        if (table.Rows.size() != kBigRows)
            state.SkipWithError("the sheet did not read whole");
    }
}
BENCHMARK(BM_SpreadsheetMlWholeSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

// The memory runs come after the timed ones, so that the files exist before
// the first reset of the peak.
void BM_SpreadsheetMlPeakOfBigSheet(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceExcel, SpreadsheetMl(kBigRows), QStringLiteral("Orders"), true);
}
BENCHMARK(BM_SpreadsheetMlPeakOfBigSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SpreadsheetMlPeakOfSmallSheet(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceExcel, SpreadsheetMl(kSmallRows), QStringLiteral("Orders"), true);
}
BENCHMARK(BM_SpreadsheetMlPeakOfSmallSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

const bool g_goals =
    qv::bench::AddRatioGoal({"first page of a streamed XML Spreadsheet sheet: 200,000 rows vs 2,000 rows",
                             "BM_SpreadsheetMlFirstPageOfBigSheet", "BM_SpreadsheetMlFirstPageOfSmallSheet", 1.5})
    && qv::bench::AddRatioGoal({"peak memory of that first page: 200,000 rows vs 2,000 rows",
                                "BM_SpreadsheetMlPeakOfBigSheet", "BM_SpreadsheetMlPeakOfSmallSheet", 1.5, "peak_kb"})
    && qv::bench::AddFigure("first page of a 200,000-row XML Spreadsheet sheet", "BM_SpreadsheetMlFirstPageOfBigSheet")
    && qv::bench::AddFigure("first page of a 2,000-row XML Spreadsheet sheet", "BM_SpreadsheetMlFirstPageOfSmallSheet")
    && qv::bench::AddFigure("a 200,000-row XML Spreadsheet sheet read whole", "BM_SpreadsheetMlWholeSheet");

} // namespace
