// File sources streamed: the first rows of a large sheet come before it is
// read whole, the count and a filter follow on the workers, a cancel at any
// moment is safe, and a sheet broken past its first rows says so by name.
#include "DataTestFiles.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/FileRowSource.h"
#include "data/backends/SheetStream.h"
#include "data/backends/SpreadsheetMlDevice.h"
#include "data/backends/SpreadsheetMlReader.h"
#include "data/backends/XlsxSheetParser.h"

#include <QBuffer>

#include <thread>

namespace qv::data::test {
namespace {

constexpr int kLargeRows = 30000;

// The generated 30,000-row order sheet, made once.
const QString &LargeWorkbook()
{
    static const QString path = OrdersWorkbook(kLargeRows);
    return path;
}

// One cell of a table as XML Spreadsheet 2003 writes it; a Null is no cell.
QByteArray SpreadsheetMlCell(const Variant &value)
{
    const char *type = "String";
    if (value.Type() == VarType::Double)
        type = "Number";
    else if (value.Type() == VarType::Date)
        type = "DateTime";
    else if (value.Type() == VarType::Boolean)
        type = "Boolean";
    const QString text = value.Type() == VarType::Boolean ? QString::number(int(value.ToBool())) : CellText(value);
    return "<Cell><Data ss:Type=\"" + QByteArray(type) + "\">" + text.toHtmlEscaped().toUtf8() + "</Data></Cell>";
}

// The same orders as an XML Spreadsheet 2003 file, after a small sheet the
// reader must pass over; nulls are left out, as writers do, and the next cell
// takes its place by its index.
const QString &LargeSpreadsheetMl()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        if (LargeWorkbook().isEmpty())
            return QString();
        const DataTable orders = OpenSource(LargeWorkbook())->ReadItem(QStringLiteral("Orders"));
        QByteArray xml = "<?xml version=\"1.0\"?>\n<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                         "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet ss:Name=\"Notes\"><Table>"
                         "<Row><Cell><Data ss:Type=\"String\">Caf&eacute;</Data></Cell></Row></Table></Worksheet>"
                         "<Worksheet ss:Name=\"Orders\"><Table><Row>";
        for (const DataField &field : orders.Fields)
            xml += SpreadsheetMlCell(field.Name);
        xml += "</Row>\n";
        for (const DataRow &row : orders.Rows) {
            xml += "<Row>";
            bool skipped = false;
            for (qsizetype c = 0; c < row.size(); ++c) {
                if (row[c].IsNull()) {
                    skipped = true;
                    continue;
                }
                QByteArray cell = SpreadsheetMlCell(row[c]);
                if (std::exchange(skipped, false))
                    cell.insert(5, " ss:Index=\"" + QByteArray::number(c + 1) + '"');
                xml += cell;
            }
            xml += "</Row>\n";
        }
        xml += "</Table></Worksheet></Workbook>\n";
        QFile file(dir.filePath(QStringLiteral("orders.xml")));
        return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size() ? file.fileName() : QString();
    }();
    return path;
}

// A large source that streams, and how a request names its sheet.
struct LargeSource
{
    const char *Name;
    const QString &(*Path)();
    const char *Item;

    friend void PrintTo(const LargeSource &source, std::ostream *out) { *out << source.Name; }
};

class FileStreaming : public ::testing::TestWithParam<LargeSource>
{
protected:
    void SetUp() override
    {
        if (GetParam().Path().isEmpty())
            FAIL() << "the generated source could not be written";
    }

    static RowsRequest OrdersRequest()
    {
        RowsRequest request;
        request.Kind = SourceExcel;
        request.ConnectionText = BuildConnectionText(SourceExcel, GetParam().Path(), {}, {});
        request.Item = QString::fromUtf8(GetParam().Item);
        return request;
    }
};

INSTANTIATE_TEST_SUITE_P(Sources, FileStreaming,
                         ::testing::Values(LargeSource{"xlsx", LargeWorkbook, "Orders$"},
                                           LargeSource{"spreadsheetMl", LargeSpreadsheetMl, "orders"}),
                         [](const auto &info) { return std::string(info.param.Name); });

FileRowSource &Streamed(const OpenedRows &rows)
{
    auto *source = dynamic_cast<FileRowSource *>(rows.Source.get());
    Q_ASSERT(source);
    return *source;
}

TEST_P(FileStreaming, FirstRowsComeBeforeTheSheetIsReadWhole)
{
    WorkControl control;
    const OpenedRows rows = OpenRows(OrdersRequest(), control);
    ASSERT_EQ(rows.Fields.size(), 10);
    EXPECT_EQ(rows.Fields[0].Type, ado::adDouble);
    EXPECT_EQ(rows.Fields[7].Type, ado::adDate);
    EXPECT_EQ(rows.Fields[8].Type, ado::adBoolean);
    const QList<ado::RowSource::Row> first = rows.Source->FetchNextPage();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first[0].value(0).ToLong(), 1);
    EXPECT_EQ(first[0].value(1).ToText(), QStringLiteral("Customer 1"));
    EXPECT_TRUE(first[0].value(9).IsNull()) << "an empty text is Null";
    // The reader waits while the pages ahead are unread: with the first page
    // taken, it cannot have gone far into the sheet.
    EXPECT_LT(Streamed(rows).RowsRead(), 10000);

    qint64 read = 0, lastId = 0, notes = 0;
    for (QList<ado::RowSource::Row> page = first; !page.isEmpty(); page = rows.Source->FetchNextPage()) {
        read += page.size();
        lastId = page.last().value(0).ToLong();
        for (const auto &row : page)
            notes += row.value(9).ToText() == QStringLiteral("call first");
    }
    EXPECT_EQ(read, kLargeRows);
    EXPECT_EQ(lastId, kLargeRows);
    EXPECT_EQ(notes, kLargeRows / 10) << "a text of a field typed on the first rows, in every later row";
    EXPECT_EQ(rows.Source->TotalCount(), kLargeRows);
}

// A filter is decided on each row as it is read, for the rows and their count
// alike; the fields it tests need not be shown.
TEST_P(FileStreaming, FiltersWhileStreaming)
{
    RowsRequest request = OrdersRequest();
    request.Fields = {QStringLiteral("Id"), QStringLiteral("Quantity")};
    const QList<DataField> all = ListFields(request.Kind, request.ConnectionText, request.Item);
    request.Conditions = {Condition{all.value(2), 1, QStringLiteral("lyon")}, Condition{all.value(0), 3, QStringLiteral("27000")}};
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    ASSERT_EQ(rows.Fields.size(), 2);
    qint64 kept = 0;
    for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();) {
        for (const auto &row : page) {
            ASSERT_EQ(row.size(), 2);
            EXPECT_EQ(row[0].ToLong() % 5, 0) << row[0].ToLong();
            EXPECT_GT(row[0].ToLong(), 27000);
            ++kept;
        }
    }
    EXPECT_EQ(kept, 600);
    EXPECT_EQ(rows.Source->TotalCount(), 600);

    request.MaxRows = 7;
    const OpenedRows preview = OpenRows(request, control);
    const QList<ado::RowSource::Row> page = preview.Source->FetchNextPage();
    ASSERT_EQ(page.size(), 7);
    EXPECT_EQ(page[0][0].ToLong(), 27005);
    EXPECT_TRUE(preview.Source->FetchNextPage().isEmpty());

    request.Fields = {QStringLiteral("Nowhere")};
    EXPECT_TRUE(ErrorOf([&] { OpenRows(request, control); }).contains(u"has no field named 'Nowhere'"));
}

// Cancelled at every stage, from another thread, the source stops and goes
// cleanly; the sanitizer build runs this too. Each round opens the workbook
// and types its first rows, so fewer rounds than a database cancel gets.
TEST_P(FileStreaming, CancelDuringAStreamedReadIsSafe)
{
    for (int round = 0; round < 60; ++round) {
        WorkControl control;
        OpenedRows rows = OpenRows(OrdersRequest(), control);
        for (int page = 0; page < round % 4; ++page)
            rows.Source->FetchNextPage();
        std::thread cancel([&control] { control.Cancel(); });
        // A page wanted while the cancel comes is either given or empty.
        rows.Source->FetchNextPage();
        cancel.join();
        EXPECT_TRUE(rows.Source->FetchNextPage().isEmpty()) << "round " << round;
        if (round % 2)
            rows.Source.reset(); // goes while its workers may still run
    }
}

// Cells given row by row become the table TableFromGrid makes of them, read
// whole; past the typing rows, a value of another kind keeps its text.
class RowsOf : public TableSink
{
public:
    void Fields(const QList<DataField> &fields) override { Table.Fields = fields; }
    bool Row(DataRow row) override
    {
        Table.Rows << std::move(row);
        return Table.Rows.size() < Wanted;
    }

    DataTable Table;
    qsizetype Wanted = std::numeric_limits<qsizetype>::max();
};

TEST(SheetStreams, LateRowsKeepTheFieldsOfTheFirst)
{
    const QString path = QStringLiteral("late.xlsx");
    RowsOf sink;
    SheetStream sheet(path, QStringLiteral("S"), QStringLiteral("a worksheet"), sink);
    sheet.StartRow(2); // blank rows before the header
    sheet.Set(2, 0, QStringLiteral("N"));
    sheet.Set(2, 1, QStringLiteral("T"));
    const qsizetype last = 3 + kTypeSampleRows + 10;
    for (qsizetype r = 3; r <= last; ++r) {
        if (r == 10)
            continue; // a blank row among the records is kept
        sheet.StartRow(r);
        sheet.Set(r, 0, r == last ? Variant(QStringLiteral("late")) : Variant(double(r)));
        sheet.Set(r, 1, r == last - 1 ? Variant(true) : Variant(QStringLiteral("t")));
        if (r == last)
            sheet.Set(r, 5, 1.0); // past the fields: left out
    }
    sheet.StartRow(last + 5); // blank rows at the end are no records
    sheet.Finish();
    const DataTable &table = sink.Table;
    ASSERT_EQ(table.Fields.size(), 2);
    EXPECT_EQ(table.Fields[0].Type, ado::adDouble);
    EXPECT_EQ(table.Fields[1].Type, ado::adVarWChar);
    ASSERT_EQ(table.Rows.size(), last - 2);
    EXPECT_TRUE(table.Rows[7][0].IsNull() && table.Rows[7][1].IsNull());
    EXPECT_EQ(table.Rows.last()[0].ToText(), QStringLiteral("late"));
    EXPECT_EQ(table.Rows.last().size(), 2);
    EXPECT_EQ(table.Rows[table.Rows.size() - 2][1].ToText(), QStringLiteral("TRUE"));
    EXPECT_TRUE(ErrorOf([&] { sheet.Set(4, 0, 1.0); }).contains(u"lists row 5 after a later row"));
}

// A sheet whose XML breaks after its first pages: those pages come, then the
// error names the file and what to do; nothing is lost before it.
TEST(SheetStreams, ABrokenSheetFailsByNameMidStream)
{
    QByteArray xml = "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>Id</t></is></c></row>";
    for (int r = 1; r <= 5000; ++r)
        xml += "<row><c><v>" + QByteArray::number(r) + "</v></c></row>";
    xml.chop(30); // cut inside a row, as a file cut short is
    const QString path = QStringLiteral("cut.xlsx");
    const auto read = [xml, path](TableSink &sink) {
        QByteArray bytes = xml;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        SheetStream sheet(path, QStringLiteral("S"), QStringLiteral("a worksheet"), sink);
        StreamXlsxSheet(path, &buffer, {}, sheet);
    };
    FileRowSource source(read, RowChoice{{}, {}, -1, path});
    ASSERT_EQ(source.Fields().size(), 1);
    qint64 rows = 0;
    const QString error = ErrorOf([&] {
        for (QList<ado::RowSource::Row> page; !(page = source.FetchNextPage()).isEmpty();)
            rows += page.size();
    });
    // Rows 1 to 4998 are whole and given; 4999 waits for a row start that
    // never comes, and 5000 is cut off.
    EXPECT_EQ(rows, 4998) << "rows before the fault were lost";
    EXPECT_TRUE(error.contains(path) && error.contains(u"not well-formed") && error.contains(u"save it again"))
        << error.toStdString();
    EXPECT_EQ(source.TotalCount(), -1) << "a count of a broken sheet is no count";
}

// An XML Spreadsheet file broken past its first rows streams those rows,
// then names the file and what to do.
TEST(SheetStreams, ABrokenSpreadsheetMlFailsByNameMidStream)
{
    QFile whole(LargeSpreadsheetMl());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    QFile cut(dir.filePath(QStringLiteral("cut.xml")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    const QByteArray half = whole.read(whole.size() / 2);
    cut.write(half);
    cut.close();
    // Less the Notes sheet's row and the header: the records the cut file holds whole.
    const qint64 records = half.count("</Row>") - 2;
    RowsRequest request;
    request.Kind = SourceExcel;
    request.ConnectionText = BuildConnectionText(SourceExcel, cut.fileName(), {}, {});
    request.Item = QStringLiteral("Orders");
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    qint64 read = 0;
    const QString error = ErrorOf([&] {
        for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();)
            read += page.size();
    });
    // Every whole record comes but the last, which waits for the next row's start.
    EXPECT_GE(read, records - 1) << "rows before the fault were lost";
    EXPECT_LE(read, records);
    EXPECT_TRUE(error.contains(cut.fileName()) && error.contains(u"not well-formed") && error.contains(u"save it again"))
        << error.toStdString();

    // The list of sheets reads the file through, so it meets the fault too;
    // a whole file lists its sheets, and a query's "Orders$" is its "Orders".
    EXPECT_TRUE(ErrorOf([&] { SpreadsheetMlReader(cut.fileName()).DataItems(); }).contains(u"not well-formed"));
    EXPECT_EQ(SpreadsheetMlReader(LargeSpreadsheetMl()).DataItems(), QStringList({"Notes", "Orders"}));
    request.ConnectionText = BuildConnectionText(SourceExcel, LargeSpreadsheetMl(), {}, {});
    request.Item = QStringLiteral("Notes$");
    const OpenedRows notes = OpenRows(request, control);
    ASSERT_EQ(notes.Fields.size(), 1);
    EXPECT_EQ(notes.Fields[0].Name, QStringLiteral("Café"));
}

// HTML's named characters become numeric references wherever the blocks the
// file is read in cut them, and leading blanks go however many blocks they fill.
TEST(SheetStreams, SpreadsheetMlDeviceNumbersEntitiesAcrossBlocks)
{
    const qint64 block = SpreadsheetMlDevice::kBlockSize;
    const auto through = [](const QByteArray &bytes) {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        SpreadsheetMlDevice device(&buffer);
        return device.readAll();
    };
    for (qint64 at = block - 40; at <= block + 2; ++at) {
        QByteArray text(at, 'x');
        text += "&Omega;&amp;&nosuchname;&Tau";
        EXPECT_EQ(through(text), NumberHtmlEntities(text)) << "entity at " << at;
        EXPECT_TRUE(through(text).contains("&#937;&amp;&nosuchname;&Tau")) << "entity at " << at;
    }
    const QByteArray blanks(block + 7, ' ');
    EXPECT_EQ(through(blanks + "<Workbook/>"), QByteArray("<Workbook/>"));
    EXPECT_TRUE(through(blanks).isEmpty());
    EXPECT_TRUE(ErrorOf([&] { ParseSpreadsheetMl(QStringLiteral("b.xml"), blanks); }).contains(u"the file is empty"));
}

} // namespace
} // namespace qv::data::test
