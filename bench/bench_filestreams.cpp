// The first page of a streamed file source through the data services (XML
// Spreadsheet, HTML, .xls, a contacts folder), on a large item against one of
// as many records as type its fields, of the same shape, in the same
// process: the first rows must wait for the item's first rows only, not for
// its size.
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

// The file `name` of the benchmark's folder, written by `contents` once.
template<typename Contents>
QString WrittenOnce(const QString &name, Contents contents)
{
    const QString path = Folder().filePath(name);
    if (QFile::exists(path))
        return path;
    const QByteArray bytes = contents();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

// An XML Spreadsheet 2003 file of `rows` orders, six typed columns each.
QString SpreadsheetMl(int rows)
{
    return WrittenOnce(QStringLiteral("orders-%1.xml").arg(rows), [rows] {
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
        return xml + "</Table></Worksheet></Workbook>\n";
    });
}

// An HTML page of `rows` orders in a captioned table, after a small table
// of links the reader must pass over.
QString HtmlPage(int rows)
{
    return WrittenOnce(QStringLiteral("orders-%1.html").arg(rows), [rows] {
        QByteArray html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Orders</title></head><body>"
                          "<table><tr><td><a href=\"#a\">Home</a></td><td>Orders</td></tr></table>\n"
                          "<table><caption>Orders</caption><thead><tr><th>Id</th><th>Customer</th><th>City</th>"
                          "<th>Amount</th></tr></thead><tbody>\n";
        for (int r = 1; r <= rows; ++r) {
            html += "<tr><td>" + QByteArray::number(r) + "</td><td>Customer " + QByteArray::number(r % 5000) +
                    "</td><td>Z&uuml;rich</td><td>" + QByteArray::number((r % 1000) / 8.0) + "</td></tr>\n";
        }
        return html + "</tbody></table></body></html>\n";
    });
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

// A kind of streamed source: how a file of it is made, and its item.
struct Kind
{
    int Source;
    QString (*Make)(int rows);
    QString Item; // "" for the folder, named as itself
};

const Kind kXml{qv::data::SourceExcel, SpreadsheetMl, QStringLiteral("Orders")};
const Kind kHtml{qv::data::SourceHtml, HtmlPage, QStringLiteral("Orders")};
const Kind kXls{qv::data::SourceExcel, Xls, QStringLiteral("Orders")};
const Kind kFolder{qv::data::SourceFolder, Contacts, QString()};

QString ItemOf(const Kind &kind, const QString &path)
{
    return kind.Item.isEmpty() ? QFileInfo(path).fileName() : kind.Item;
}

// Opens the item and takes its first page, as Insert Data's first fetch
// does; with `memory`, also the resident peak that costs, as "peak_kb".
void FirstPage(benchmark::State &state, const Kind &kind, int rows, bool memory = false)
{
    const QString path = kind.Make(rows);
    if (path.isEmpty()) {
        state.SkipWithError("the source could not be written");
        return;
    }
    qv::data::RowsRequest request;
    request.Kind = kind.Source;
    request.ConnectionText = kind.Source == qv::data::SourceFolder
                                 ? qv::data::FolderSourceText(QStringLiteral("Contact"), path, QFileInfo(path).absolutePath())
                                 : qv::data::BuildConnectionText(kind.Source, path, {}, {});
    request.Item = ItemOf(kind, path);
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

// Reads the item whole, with exact typing, as View Data in full does.
void WholeItem(benchmark::State &state, const Kind &kind, int rows)
{
    const QString path = kind.Make(rows);
    for (auto _ : state) {
        const qv::data::DataTable table = qv::data::OpenSource(path)->ReadItem(ItemOf(kind, path));
        if (table.Rows.size() != rows)
            state.SkipWithError("the item did not read whole");
    }
}

BENCHMARK_CAPTURE(FirstPage, xmlBig, kXml, kBigRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(FirstPage, xmlSmall, kXml, kSmallRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(WholeItem, xml, kXml, kBigRows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(FirstPage, htmlBig, kHtml, kBigRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(FirstPage, htmlSmall, kHtml, kSmallRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(WholeItem, html, kHtml, kBigRows)->Unit(benchmark::kMillisecond)->Iterations(3);
// A workbook stream is held whole from the opening (at most 65,536 rows a
// sheet), so the first page is measured against the whole read it used to
// wait for rather than against a smaller sheet.
BENCHMARK_CAPTURE(FirstPage, xls, kXls, kXlsRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(WholeItem, xls, kXls, kXlsRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(FirstPage, folderBig, kFolder, kFolderItems)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_CAPTURE(FirstPage, folderSmall, kFolder, kSmallRows)->Unit(benchmark::kMillisecond)->MinTime(1.0);
// The memory runs come after the timed ones, so that the files exist before
// the first reset of the peak.
BENCHMARK_CAPTURE(FirstPage, xmlBigPeak, kXml, kBigRows, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(FirstPage, xmlSmallPeak, kXml, kSmallRows, true)->Unit(benchmark::kMillisecond)->Iterations(3);

const bool g_goals =
    qv::bench::AddRatioGoal({"first page of a streamed XML Spreadsheet sheet: 200,000 rows vs 2,000 rows",
                             "FirstPage/xmlBig", "FirstPage/xmlSmall", 1.5})
    && qv::bench::AddRatioGoal({"peak memory of that first page: 200,000 rows vs 2,000 rows", "FirstPage/xmlBigPeak",
                                "FirstPage/xmlSmallPeak", 1.5, "peak_kb"})
    && qv::bench::AddRatioGoal({"first page of a streamed HTML table: 200,000 rows vs 2,000 rows", "FirstPage/htmlBig",
                                "FirstPage/htmlSmall", 1.5})
    && qv::bench::AddRatioGoal({"first page of a streamed 65,000-row .xls sheet vs reading it whole", "FirstPage/xls",
                                "WholeItem/xls", 0.25})
    && qv::bench::AddRatioGoal({"first page of a streamed contacts folder: 20,000 cards vs 2,000 cards",
                                "FirstPage/folderBig", "FirstPage/folderSmall", 1.5})
    && qv::bench::AddFigure("first page of a 200,000-row XML Spreadsheet sheet", "FirstPage/xmlBig")
    && qv::bench::AddFigure("first page of a 2,000-row XML Spreadsheet sheet", "FirstPage/xmlSmall")
    && qv::bench::AddFigure("a 200,000-row XML Spreadsheet sheet read whole", "WholeItem/xml")
    && qv::bench::AddFigure("first page of a 200,000-row HTML table", "FirstPage/htmlBig")
    && qv::bench::AddFigure("first page of a 2,000-row HTML table", "FirstPage/htmlSmall")
    && qv::bench::AddFigure("a 200,000-row HTML table read whole", "WholeItem/html")
    && qv::bench::AddFigure("first page of a 65,000-row .xls sheet", "FirstPage/xls")
    && qv::bench::AddFigure("a 65,000-row .xls sheet read whole", "WholeItem/xls")
    && qv::bench::AddFigure("first page of a folder of 20,000 contacts", "FirstPage/folderBig")
    && qv::bench::AddFigure("first page of a folder of 2,000 contacts", "FirstPage/folderSmall");

} // namespace
