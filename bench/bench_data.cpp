// Reading a generated 100,000-row, 10-column .xlsx sheet whole against a
// bare QXmlStreamReader pass over the same sheet XML, in the same process.
#include "BenchMain.h"

#include "GeneratedWorkbooks.h"

#include "data/backends/XlsxReader.h"


#include <quazip.h>
#include <quazipfile.h>

#include <QXmlStreamReader>

namespace {

constexpr int kRows = 100000;

const QString &LargeWorkbook()
{
    static const QString path = qv::data::test::OrdersWorkbook(kRows);
    return path;
}

const QByteArray &SheetXml()
{
    static const QByteArray xml = [] {
        QuaZip zip(LargeWorkbook());
        zip.open(QuaZip::mdUnzip);
        zip.setCurrentFile(QStringLiteral("xl/worksheets/sheet1.xml"));
        QuaZipFile file(&zip);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    return xml;
}

void BM_ReadXlsxSheet(benchmark::State &state)
{
    const QString &path = LargeWorkbook();
    for (auto _ : state) {
        qv::data::XlsxReader reader(path);
        const qv::data::DataTable table = reader.ReadItem(QStringLiteral("Orders"));
        if (table.Rows.size() != kRows)
            state.SkipWithError("the sheet did not read whole");
        benchmark::DoNotOptimize(table.Rows.constData());
    }
    state.counters["rows_per_second"] = benchmark::Counter(double(kRows) * double(state.iterations()),
                                                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadXlsxSheet)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The least any reader must do: tokenise the already unpacked sheet XML.
void BM_BareSheetXmlPass(benchmark::State &state)
{
    const QByteArray &xml = SheetXml();
    for (auto _ : state) {
        QXmlStreamReader reader(xml);
        qint64 tokens = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            ++tokens;
        }
        benchmark::DoNotOptimize(tokens);
    }
}
BENCHMARK(BM_BareSheetXmlPass)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

const bool g_goal = qv::bench::AddRatioGoal({"read a 100,000-row .xlsx sheet whole vs bare QXmlStreamReader pass over its XML",
                                             "BM_ReadXlsxSheet", "BM_BareSheetXmlPass", 1.3});

} // namespace
