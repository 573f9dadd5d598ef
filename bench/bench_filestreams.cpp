// The first page of a streamed file source through the data services, on a
// large item against one of the records that type its fields, of the same
// shape, in the same process (XML Spreadsheet, .xls, a contacts folder): the
// first rows must wait for the item's first rows only, not for its size.
#include "BenchMain.h"
#include "BiffBytes.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/DataTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kBigRows = 200000;
// As many records as type a streamed item's fields: the least a first page reads.
constexpr int kSmallRows = 2000;
constexpr int kXlsRows = 65000;
constexpr int kFolderItems = 20000;

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

// A BIFF8 workbook of `rows` orders: an id, a name and a date a row.
QString Xls(int rows)
{
    using namespace qv::data::test;
    const QString path = Folder().filePath(QStringLiteral("orders-%1.xls").arg(rows));
    if (QFile::exists(path))
        return path;
    QByteArray cells = Label(0, 0, "Id") + Label(0, 1, "Name") + Label(0, 2, "When");
    for (int r = 1; r <= rows; ++r)
        cells += Number(quint16(r), 0, r) + Label(quint16(r), 1, "Name " + QByteArray::number(r)) +
                 Number(quint16(r), 2, 40000 + r % 365, 1);
    return WriteXls(path, Workbook(Globals(), cells, "Orders")) ? path : QString();
}

// A contacts folder of `count` cards, a file each.
QString Contacts(int count)
{
    const QString path = Folder().filePath(QStringLiteral("Contacts %1").arg(count));
    if (QDir(path).exists())
        return path;
    QDir().mkpath(path);
    for (int n = 1; n <= count; ++n) {
        QFile file(QStringLiteral("%1/%2.vcf").arg(path).arg(n, 5, 10, QChar(u'0')));
        const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person " + QByteArray::number(n) +
                                "\r\nEMAIL:p" + QByteArray::number(n) + "@example.org\r\nEND:VCARD\r\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(card) != card.size())
            return {};
    }
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
    request.ConnectionText = kind == qv::data::SourceFolder
                                 ? qv::data::FolderSourceText(QStringLiteral("Contact"), path, QFileInfo(path).absolutePath())
                                 : qv::data::BuildConnectionText(kind, path, {}, {});
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

void BM_XlsFirstPageOfFullSheet(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceExcel, Xls(kXlsRows), QStringLiteral("Orders"));
}
BENCHMARK(BM_XlsFirstPageOfFullSheet)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// What the first page used to wait for. A workbook stream is held whole
// from the opening (at most 65,536 rows a sheet), so the first page's time
// is measured against this rather than against a smaller sheet.
void BM_XlsWholeSheet(benchmark::State &state)
{
    const QString path = Xls(kXlsRows);
    for (auto _ : state) {
        const qv::data::DataTable table = qv::data::OpenSource(path)->ReadItem(QStringLiteral("Orders"));
        if (table.Rows.size() != kXlsRows)
            state.SkipWithError("the sheet did not read whole");
    }
}
BENCHMARK(BM_XlsWholeSheet)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_FolderFirstPageOfManyContacts(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceFolder, Contacts(kFolderItems), QStringLiteral("Contacts %1").arg(kFolderItems));
}
BENCHMARK(BM_FolderFirstPageOfManyContacts)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_FolderFirstPageOfFewContacts(benchmark::State &state)
{
    FirstPage(state, qv::data::SourceFolder, Contacts(kSmallRows), QStringLiteral("Contacts %1").arg(kSmallRows));
}
BENCHMARK(BM_FolderFirstPageOfFewContacts)->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
    && qv::bench::AddRatioGoal({"first page of a streamed 65,000-row .xls sheet vs reading it whole",
                                "BM_XlsFirstPageOfFullSheet", "BM_XlsWholeSheet", 0.25})
    && qv::bench::AddRatioGoal({"first page of a streamed contacts folder: 20,000 cards vs 2,000 cards",
                                "BM_FolderFirstPageOfManyContacts", "BM_FolderFirstPageOfFewContacts", 1.5})
    && qv::bench::AddFigure("first page of a 65,000-row .xls sheet", "BM_XlsFirstPageOfFullSheet")
    && qv::bench::AddFigure("a 65,000-row .xls sheet read whole", "BM_XlsWholeSheet")
    && qv::bench::AddFigure("first page of a folder of 20,000 contacts", "BM_FolderFirstPageOfManyContacts")
    && qv::bench::AddFigure("first page of a folder of 2,000 contacts", "BM_FolderFirstPageOfFewContacts")
    && qv::bench::AddFigure("first page of a 200,000-row XML Spreadsheet sheet", "BM_SpreadsheetMlFirstPageOfBigSheet")
    && qv::bench::AddFigure("first page of a 2,000-row XML Spreadsheet sheet", "BM_SpreadsheetMlFirstPageOfSmallSheet")
    && qv::bench::AddFigure("a 200,000-row XML Spreadsheet sheet read whole", "BM_SpreadsheetMlWholeSheet");

} // namespace
