// HTML pages streamed: a table's first rows come after the part of the page
// before them, the count and a filter follow on the workers, the right table
// is found by name as the page is read, spans carry down across pages, and a
// page cut short gives what it holds.
#include "DataTestFiles.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/FileRowSource.h"
#include "data/backends/HtmlPageText.h"
#include "data/backends/HtmlTableReader.h"

#include <QBuffer>

#include <thread>

namespace qv::data::test {
namespace {

constexpr int kLargeRows = 30000;

// An order row: every fifth in Lyon, every tenth with a note; one amount
// past the typing rows is no number, and the last note is windows-1252.
QByteArray OrderRow(int id)
{
    const QByteArray amount = id == 25000 ? QByteArray("n/a") : QByteArray::number(id * 0.25, 'f', 2);
    const QByteArray note = id == kLargeRows ? QByteArray("\x93last\x94") : id % 10 == 0 ? QByteArray("call first") : QByteArray();
    return "<tr><td>" + QByteArray::number(id) + "</td><td>Customer " + QByteArray::number(id) + "</td><td>" +
           (id % 5 == 0 ? "Lyon" : "Paris") + "</td><td>" + amount + "</td><td>" + note + "</td></tr>\n";
}

QByteArray OrdersPage(int rows)
{
    QByteArray page = "<html><body><table><caption>Intro</caption><tr><td>Caf\xC3\xA9</td></tr></table>\n"
                      "<table id=Orders><thead><tr><th>Id</th><th>Name</th><th>City</th><th>Amount</th><th>Note</th></tr></thead>"
                      "<tbody>\n";
    for (int id = 1; id <= rows; ++id)
        page += OrderRow(id);
    return page + "</tbody></table><table id=After><tr><td>z</td></tr></table></body></html>";
}

QString WritePage(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

// The order table of the generated page, which is written once: a table
// before it and one after it.
RowsRequest OrdersRequest()
{
    static QTemporaryDir dir;
    static const QString page = WritePage(dir, QStringLiteral("orders.html"), OrdersPage(kLargeRows));
    RowsRequest request;
    request.Item = QStringLiteral("orders");
    request.ConnectionText = BuildConnectionText(SourceHtml, page, {}, {});
    request.Kind = SourceHtml;
    return request;
}

TEST(HtmlStreaming, FirstRowsComeBeforeThePageIsReadWhole)
{
    WorkControl control;
    const OpenedRows rows = OpenRows(OrdersRequest(), control);
    QList<int> types;
    for (const DataField &field : rows.Fields)
        types << field.Type;
    EXPECT_EQ(types, QList<int>({ado::adDouble, ado::adVarWChar, ado::adVarWChar, ado::adDouble, ado::adVarWChar}));
    const QList<ado::RowSource::Row> first = rows.Source->FetchNextPage();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first[0].value(1).ToText(), QStringLiteral("Customer 1"));
    EXPECT_TRUE(first[0].value(4).IsNull()) << "an empty cell is Null";
    auto *source = dynamic_cast<FileRowSource *>(rows.Source.get());
    ASSERT_NE(source, nullptr);
    EXPECT_LT(source->RowsRead(), 10000) << "the reader did not wait with the first page taken";

    qint64 read = 0, notes = 0;
    ado::RowSource::Row last;
    for (QList<ado::RowSource::Row> page = first; !page.isEmpty(); page = rows.Source->FetchNextPage()) {
        read += page.size();
        last = page.last();
        for (const auto &row : page)
            notes += row.value(4).ToText() == QStringLiteral("call first");
        if (page.first().value(0).ToLong() <= 25000 && page.last().value(0).ToLong() >= 25000) {
            EXPECT_EQ(page[25000 - page.first().value(0).ToLong()].value(3).ToText(), QStringLiteral("n/a"))
                << "a value past the typing rows keeps its text";
        }
    }
    EXPECT_EQ(read, kLargeRows);
    EXPECT_EQ(last.value(0).ToLong(), kLargeRows);
    EXPECT_EQ(last.value(4).ToText(), QStringLiteral("\u201Clast\u201D")) << "a windows-1252 byte far down the page";
    EXPECT_EQ(notes, kLargeRows / 10 - 1);
    EXPECT_EQ(rows.Source->TotalCount(), kLargeRows);
}

TEST(HtmlStreaming, FiltersWhileStreaming)
{
    RowsRequest request = OrdersRequest();
    request.Fields = {QStringLiteral("Id"), QStringLiteral("Name")};
    const QList<DataField> all = ListFields(request.Kind, request.ConnectionText, request.Item);
    ASSERT_EQ(all.size(), 5);
    request.Conditions = {Condition{all[2], 1, QStringLiteral("lyon")}, Condition{all[0], 3, QStringLiteral("27000")}};
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    qint64 kept = 0;
    for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();) {
        for (const auto &row : page) {
            ASSERT_EQ(row.size(), 2);
            EXPECT_EQ(row[0].ToLong() % 5, 0);
            EXPECT_GT(row[0].ToLong(), 27000);
            ++kept;
        }
    }
    EXPECT_EQ(kept, 600);
    EXPECT_EQ(rows.Source->TotalCount(), 600);
}

// A cancel from another thread races with fetching a few pages; whichever
// wins, the source ends empty, and goes cleanly even while its workers run.
TEST(HtmlStreaming, CancelDuringAStreamedReadIsSafe)
{
    for (int round = 0; round < 40; ++round) {
        WorkControl control;
        std::optional<OpenedRows> rows = OpenRows(OrdersRequest(), control);
        std::thread cancel([&control] { control.Cancel(); });
        for (int fetched = 0; fetched < round % 5; ++fetched)
            rows->Source->FetchNextPage();
        cancel.join();
        EXPECT_TRUE(rows->Source->FetchNextPage().isEmpty()) << "round " << round;
        if (round % 3 == 0)
            rows.reset();
    }
}

// A table streamed through the row source Insert Data reads, by a reader of
// its own on each worker.
DataTable Streamed(const QString &path, const QString &name)
{
    FileRowSource source([path, name](TableSink &sink) { HtmlTableReader(path).StreamItem(name, sink); },
                         RowChoice{{}, {}, -1, path});
    DataTable table{name, source.Fields(), {}};
    for (QList<ado::RowSource::Row> page; !(page = source.FetchNextPage()).isEmpty();)
        table.Rows << page;
    return table;
}

// Names depend only on the tables before: each is found by name while the
// page is read, and its rows are those the page read whole gives.
TEST(HtmlTableStreams, TheTableOfTheNameIsFound)
{
    const QByteArray page =
        "<table><caption>Staff</caption><tr><th>Name</th></tr><tr><td>Ann</td></tr></table>"
        "<table id=Prices><tr><th>P</th></tr><tr><td>1.5</td></tr></table><table></table>"
        "<table><tr><th>N</th></tr><tr><td>pos<table><tr><th>I</th></tr><tr><td>inner</td></tr></table></td></tr></table>"
        "<table id=staff><tr><th>S</th></tr><tr><td>dup</td></tr></table>"
        // A caption after the first row, where HTML has none, names nothing.
        "<table><tr><th>L</th></tr><tr><td>late</td></tr><caption>Late</caption></table>";
    QTemporaryDir dir;
    const QString path = WritePage(dir, QStringLiteral("tables.html"), page);
    HtmlTableReader reader(path);
    EXPECT_EQ(reader.DataItems(), QStringList({"Staff", "Prices", "Table3", "Table4", "staff (2)", "Table6"}));
    const std::pair<const char *, Variant> cases[] = {{"Staff", "Ann"},       {"prices", 1.5},         {"Table3", "pos"},
                                                      {"TABLE4", "inner"},   {"Staff (2)", "dup"},     {"Table6", "late"}};
    for (const auto &[name, value] : cases) {
        const DataTable streamed = Streamed(path, QString::fromUtf8(name));
        const DataTable whole = reader.ReadItem(QString::fromUtf8(name));
        ASSERT_EQ(streamed.Rows.size(), 1) << name;
        EXPECT_EQ(streamed.Rows[0][0], value) << name;
        EXPECT_EQ(streamed.Fields, whole.Fields) << name;
        EXPECT_EQ(streamed.Rows, whole.Rows) << name;
    }
    EXPECT_TRUE(ErrorOf([&] { Streamed(path, QStringLiteral("Late")); }).contains(u"has no table named 'Late'"));
}

// A rowspan=0 cell runs down its row group across many pages of rows and
// stops at the group's end; a rowspan past the typing rows moves the next
// row's cells along; colspan fills its columns.
TEST(HtmlTableStreams, SpansCarryDownAcrossStreamedRows)
{
    QByteArray page = "<table><thead><tr><th>Group</th><th>Id</th><th colspan=2>Pair</th></tr></thead><tbody>"
                      "<tr><td rowspan=0>A</td><td>1</td><td colspan=2>x</td></tr>";
    for (int id = 2; id <= 5000; ++id) {
        const QByteArray pair = id == 3000 ? "<td rowspan=2>s</td><td>z</td>" : id == 3001 ? "<td>z</td>" : "<td>y</td><td>z</td>";
        page += "<tr><td>" + QByteArray::number(id) + "</td>" + pair + "</tr>";
    }
    page += "</tbody><tbody><tr><td>B</td><td>5001</td></tr></tbody></table>";
    QTemporaryDir dir;
    const QString path = WritePage(dir, QStringLiteral("spans.html"), page);
    const DataTable table = Streamed(path, QStringLiteral("Table1"));
    ASSERT_EQ(table.Rows.size(), 5001);
    EXPECT_EQ(table.Fields.size(), 4);
    EXPECT_EQ(table.Rows[0], DataRow({"A", 1.0, "x", "x"}));
    EXPECT_EQ(table.Rows[1], DataRow({"A", 2.0, "y", "z"}));
    EXPECT_EQ(table.Rows[2999], DataRow({"A", 3000.0, "s", "z"}));
    EXPECT_EQ(table.Rows[3000], DataRow({"A", 3001.0, "s", "z"}));
    EXPECT_EQ(table.Rows[4999], DataRow({"A", 5000.0, "y", "z"}));
    EXPECT_EQ(table.Rows[5000], DataRow({"B", 5001.0, Variant::Null(), Variant::Null()})) << "a span left its row group";
    EXPECT_EQ(table.Rows, HtmlTableReader(path).ReadItem(QStringLiteral("Table1")).Rows);
}

// A page cut short, as a download broken off is, reads as a browser shows
// it: every row up to the cut, the last with the cells begun before it, and
// no error, since HTML closes what a page leaves open.
TEST(HtmlTableStreams, APageCutShortGivesTheRowsBeforeTheCut)
{
    QByteArray page = OrdersPage(5000);
    const QByteArray cut = OrderRow(4000);
    page.truncate(page.indexOf(cut) + cut.indexOf("Customer") + 5); // inside the second cell
    const QString path = QStringLiteral("cut.html");
    const auto read = [page, path](TableSink &sink) {
        QByteArray bytes = page;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        StreamHtmlTable(path, buffer, QStringLiteral("Orders"), sink);
    };
    FileRowSource source(read, RowChoice{{}, {}, -1, path});
    ASSERT_EQ(source.Fields().size(), 5);
    qint64 rows = 0;
    ado::RowSource::Row last;
    for (QList<ado::RowSource::Row> fetched; !(fetched = source.FetchNextPage()).isEmpty(); rows += fetched.size())
        last = fetched.last();
    EXPECT_EQ(rows, 4000);
    EXPECT_EQ(last.value(0).ToLong(), 4000);
    EXPECT_EQ(last.value(1).ToText(), QStringLiteral("Custo"));
    EXPECT_TRUE(last.value(2).IsNull());
    EXPECT_EQ(source.TotalCount(), 4000);
}

// Opening reads the page to its first table's first row only: a fault
// further down is met by the requests that read that far.
TEST(HtmlTableStreams, OpeningReadsOnlyToTheFirstTable)
{
    const QByteArray page = "<table><tr><td>1</td></tr></table>" + QByteArray(300 * 5, 'x').replace("xxxxx", "<div>");
    QTemporaryDir dir;
    HtmlTableReader reader(WritePage(dir, QStringLiteral("deep.html"), page));
    EXPECT_EQ(reader.ReadItem(QStringLiteral("Table1")).Fields.value(0).Name, QStringLiteral("1"));
    EXPECT_TRUE(ErrorOf([&] { reader.DataItems(); }).contains(u"nests its elements 256 or more deep"));
}

// Bytes that declare no encoding, block by block: UTF-8 while valid, a
// sequence cut between blocks kept whole, windows-1252 from the first byte
// that is no UTF-8.
TEST(HtmlTableStreams, UndeclaredBytesAreUtf8UntilTheyAreNot)
{
    struct Case
    {
        QList<QByteArray> blocks;
        const char16_t *text;
    } const cases[] = {
        {{"a\xC3", "\xA9" "b"}, u"a\u00E9b"},
        {{"\xE2\x82", "\xAC"}, u"\u20AC"},
        {{"\x93x\x94"}, u"\u201Cx\u201D"},
        {{"\xC3\xA9", "\xE9\x80"}, u"\u00E9\u00E9\u20AC"},
        {{"ok\xC3"}, u"ok\u00C3"},                     // cut at the end of the page
        {{"\xED\xA0\x80"}, u"\u00ED\u00A0\u20AC"},     // a surrogate is no UTF-8
        {{"\xC0\xAF"}, u"\u00C0\u00AF"},               // nor an overlong form
    };
    for (const Case &c : cases) {
        Utf8OrWindows1252 decoder;
        QByteArray utf8;
        for (qsizetype b = 0; b < c.blocks.size(); ++b)
            utf8 += decoder.Next(c.blocks[b], b == c.blocks.size() - 1);
        EXPECT_EQ(QString::fromUtf8(utf8), QString::fromUtf16(c.text)) << c.blocks.join('|').toHex().constData();
    }
}

} // namespace
} // namespace qv::data::test
