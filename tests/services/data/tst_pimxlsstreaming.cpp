// .xls sheets streamed: the rows a stream gives are those read whole, the
// first page comes while most of a large sheet is unread, and a fault past
// the first rows comes after them, by name.
#include "BiffBytes.h"
#include "DataTestFiles.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/BiffWorkbook.h"
#include "data/backends/FileRowSource.h"
#include "data/backends/SheetStream.h"
#include "data/backends/XlsReader.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <thread>

namespace qv::data::test {
namespace {

// An .xls file: the workbook stream in a compound document, as Excel saves it.
bool WriteXls(const QString &path, const QByteArray &stream)
{
    gsf_init();
    GsfOutput *file = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    if (!file)
        return false;
    GsfOutfile *container = gsf_outfile_msole_new(file);
    GsfOutput *book = gsf_outfile_new_child(container, "Workbook", FALSE);
    const bool written = gsf_output_write(book, size_t(stream.size()), reinterpret_cast<const guint8 *>(stream.constData()));
    gsf_output_close(book);
    g_object_unref(book);
    gsf_output_close(GSF_OUTPUT(container));
    g_object_unref(container);
    g_object_unref(file);
    return written;
}

QByteArray Label(quint16 row, quint16 column, const QByteArray &text)
{
    return Rec(0x0204, Cell(row, column) + Le16(quint16(text.size())) + '\0' + text);
}

QByteArray Number(quint16 row, quint16 column, double value, quint16 xf = 0)
{
    return Rec(0x0203, Cell(row, column, xf) + Double(value));
}

// Cell format 1 shows a date; two shared strings.
QByteArray Globals()
{
    return Rec(0x041E, Le16(164) + Le16(10) + '\0' + "yyyy-mm-dd") + Rec(0x00E0, Le16(0) + Le16(0)) +
           Rec(0x00E0, Le16(0) + Le16(164)) + Rec(0x00FC, Le32(2) + Le32(2) + Le16(3) + '\0' + "one" + Le16(3) + '\0' + "two");
}

// Takes a streamed item whole.
class Collected : public TableSink
{
public:
    void Fields(const QList<DataField> &fields) override { Table.Fields = fields; }
    bool Row(DataRow row) override
    {
        Table.Rows << std::move(row);
        return true;
    }

    DataTable Table;
};

DataTable StreamedWhole(SourceReader &reader, const QString &item)
{
    Collected sink;
    reader.StreamItem(item, sink);
    return sink.Table;
}

FileRowSource &Streamed(const OpenedRows &rows)
{
    auto *source = dynamic_cast<FileRowSource *>(rows.Source.get());
    Q_ASSERT(source);
    return *source;
}

// Reads every page; the rows and the first value of the last.
std::pair<qint64, QString> ReadAll(ado::RowSource &source)
{
    qint64 rows = 0;
    QString last;
    for (QList<ado::RowSource::Row> page; !(page = source.FetchNextPage()).isEmpty();) {
        rows += page.size();
        last = page.last().value(0).ToText();
    }
    return {rows, last};
}

// Reads a streamed item through a row source until it fails: the rows it
// gave before, and the failure's description.
std::pair<qint64, QString> RowsBeforeFault(const std::shared_ptr<SourceReader> &reader, const QString &item, const QString &path)
{
    FileRowSource source([reader, item](TableSink &sink) { reader->StreamItem(item, sink); }, RowChoice{{}, {}, -1, path});
    qint64 rows = 0;
    const QString error = ErrorOf([&] {
        for (QList<ado::RowSource::Row> page; !(page = source.FetchNextPage()).isEmpty();)
            rows += page.size();
    });
    return {rows, error};
}

struct XlsCase
{
    const char *name;
    QByteArray cells;
    bool forward;
    qsizetype rows;
};

TEST(XlsStreaming, StreamedSheetsHoldTheRowsReadWhole)
{
    const QByteArray header = Label(0, 0, "Id") + Label(0, 1, "Value") + Label(0, 2, "When");
    const QList<XlsCase> cases{
        {"blank rows between records and after them", header + Number(1, 0, 1) + Number(4, 0, 4) + Label(4, 1, "x") + Label(9, 2, ""), true, 4},
        {"formula results, numbers, Booleans, errors and texts",
         header + Formula(1, 0, Double(2.5)) + Formula(1, 1, SpecialResult(0, 0)) + Rec(0x0207, Le16(3) + '\0' + "abc") +
             Formula(2, 0, SpecialResult(1, 1)) + Formula(2, 1, SpecialResult(2, 0x07)) + Formula(3, 0, SpecialResult(0, 0)),
         true, 2}, // a text result without its text leaves the cell empty
        {"dates and shared strings", header + Number(1, 2, 45000, 1) + Rec(0x00FD, Cell(1, 1) + Le32(1)) + Number(2, 2, 45001.5, 1),
         true, 2},
        {"cells of a row out of column order", header + Number(1, 2, 3) + Number(1, 0, 1) + Number(1, 1, 2), true, 1},
        {"rows written backwards", header + Number(3, 0, 3) + Number(1, 0, 1) + Label(2, 1, "two") + Number(2, 0, 2), false, 3},
        {"a backwards row hidden in a chart is no row of the sheet",
         header + Number(2, 0, 2) + Bof(0x0020) + Number(0, 0, 9) + Rec(0x000A, {}) + Number(3, 0, 3), true, 3},
        {"an empty sheet", {}, true, 0},
    };
    QTemporaryDir dir;
    for (const XlsCase &c : cases) {
        const QString path = dir.filePath(QStringLiteral("case.xls"));
        QFile::remove(path);
        ASSERT_TRUE(WriteXls(path, Workbook(Globals(), c.cells, "Data"))) << c.name;
        XlsReader reader(path);
        EXPECT_EQ(BiffWorkbook(path, Workbook(Globals(), c.cells, "Data")).RowsGoForward(0), c.forward) << c.name;
        const DataTable whole = reader.ReadItem(QStringLiteral("Data"));
        const DataTable streamed = StreamedWhole(reader, QStringLiteral("data"));
        EXPECT_EQ(whole.Rows.size(), c.rows) << c.name;
        EXPECT_EQ(streamed.Fields, whole.Fields) << c.name;
        EXPECT_EQ(streamed.Rows, whole.Rows) << c.name;
    }
    Collected none;
    EXPECT_TRUE(ErrorOf([&] { XlsReader(dir.filePath(QStringLiteral("case.xls"))).StreamItem(QStringLiteral("Nope"), none); })
                    .contains(u"has no sheet named 'Nope'"));
}

// A workbook past the first rows holds a cell record cut short: the pages
// before it come, then the error names the file and what to do.
TEST(XlsStreaming, ADamagedRecordPastTheFirstRowsFailsAfterThem)
{
    QByteArray cells = Label(0, 0, "Id");
    for (quint16 r = 1; r <= 5000; ++r)
        cells += Number(r, 0, r);
    cells += Rec(0x0203, Cell(5001, 0)); // no value
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.xls"));
    ASSERT_TRUE(WriteXls(path, Workbook({}, cells)));
    const auto [rows, error] = RowsBeforeFault(std::make_shared<XlsReader>(path), QStringLiteral("Data"), path);
    // Pages go whole: at most the page under way when the fault came is missing.
    EXPECT_GE(rows, 4500) << "pages before the fault were lost";
    EXPECT_LE(rows, 5000);
    EXPECT_TRUE(error.contains(path) && error.contains(u"damaged cell record") && error.contains(u"save it again"))
        << error.toStdString();
}

constexpr int kSheetRows = 65000;

// A full-height BIFF8 sheet: an id, a name and a date a row.
const QString &LargeXls()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QByteArray cells = Label(0, 0, "Id") + Label(0, 1, "Name") + Label(0, 2, "When");
        for (int r = 1; r <= kSheetRows; ++r)
            cells += Number(quint16(r), 0, r) + Label(quint16(r), 1, "Name " + QByteArray::number(r)) + Number(quint16(r), 2, 40000 + r % 365, 1);
        const QString file = dir.filePath(QStringLiteral("large.xls"));
        return WriteXls(file, Workbook(Globals(), cells, "Orders")) ? file : QString();
    }();
    return path;
}

TEST(XlsStreaming, FirstPageOfAFullSheetComesBeforeItIsRead)
{
    ASSERT_FALSE(LargeXls().isEmpty());
    RowsRequest request{SourceExcel, BuildConnectionText(SourceExcel, LargeXls(), {}, {}), QStringLiteral("Orders$"), {}, {}, -1};
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    ASSERT_EQ(rows.Fields.size(), 3);
    EXPECT_EQ(rows.Fields[2].Type, ado::adDate);
    const QList<ado::RowSource::Row> first = rows.Source->FetchNextPage();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first[0].value(1).ToText(), QStringLiteral("Name 1"));
    EXPECT_LT(Streamed(rows).RowsRead(), 10000);
    const auto [rest, last] = ReadAll(*rows.Source);
    EXPECT_EQ(first.size() + rest, kSheetRows);
    EXPECT_EQ(last, QString::number(kSheetRows));
    EXPECT_EQ(rows.Source->TotalCount(), kSheetRows);
}

} // namespace
} // namespace qv::data::test
