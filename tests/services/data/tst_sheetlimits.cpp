// Sheets and pages made to claim more than the formats allow or memory
// holds: each is refused with the limit named, quickly and without first
// allocating what it claims.
#include "Sanitizers.h"
#include "DataTestFiles.h"

#include "data/backends/HtmlTableReader.h"
#include "data/backends/SpreadsheetMlReader.h"
#include "data/backends/XlsxSheetParser.h"

#include <QBuffer>
#include <QElapsedTimer>

#include <sys/resource.h>

namespace qv::data::test {
namespace {

const QString kPath = QStringLiteral("limits");

qint64 PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

CellGrid XlsxSheet(QByteArray rows)
{
    QByteArray xml = "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    return ParseXlsxSheet(kPath, &buffer, {});
}

QByteArray SpreadsheetMl(const QByteArray &rows)
{
    return "<Workbook xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet ss:Name=\"S\"><Table>" + rows +
           "</Table></Worksheet></Workbook>";
}

QByteArray Repeat(int times, const std::function<QByteArray(int)> &piece)
{
    QByteArray bytes;
    for (int i = 0; i < times; ++i)
        bytes += piece(i);
    return bytes;
}

struct Limit
{
    const char *name;
    std::function<void()> read;
    const char *says;
};

class LimitTest : public ::testing::TestWithParam<Limit>
{
};

TEST_P(LimitTest, IsRefusedQuicklyWithoutTheMemoryItClaims)
{
    const qint64 peakBefore = PeakMegabytes();
    QElapsedTimer timer;
    timer.start();
    const QString message = ErrorOf(GetParam().read);
    // The unbounded readers took 39 s and more; the sanitizers slow even the
    // bounded ones several times over.
    EXPECT_LT(timer.elapsed(), qv::test::kUnderSanitizers ? 60000 : 5000);
    EXPECT_LT(PeakMegabytes() - peakBefore, 300) << "megabytes more at the peak";
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().says))) << message.toStdString();
}

// One cell a row in the last column (XFD, 16384): once a whole row each, so
// 3000 rows of a few bytes took gigabytes.
void LastColumnRows()
{
    XlsxSheet(Repeat(3000, [](int i) { return "<row><c r=\"XFD" + QByteArray::number(i + 1) + "\"><v>1</v></c></row>"; }));
}

// 1000 such rows fit the cell limit, but would take half a gigabyte for 1000 cells.
void SparseLastColumnRows()
{
    XlsxSheet(Repeat(1000, [](int i) { return "<row><c r=\"XFD" + QByteArray::number(i + 1) + "\"><v>1</v></c></row>"; }));
}

void LastColumnSpreadsheetMl()
{
    ParseSpreadsheetMl(kPath, SpreadsheetMl(Repeat(3000, [](int) {
                           return QByteArray("<Row><Cell ss:Index=\"16384\"><Data ss:Type=\"Number\">1</Data></Cell></Row>");
                       })));
}

// 100 cells each spanning 1000 rows and 1000 columns.
void HugeSpans()
{
    const QByteArray first = "<tr>" + Repeat(100, [](int) { return QByteArray("<td colspan=1000 rowspan=1000>x</td>"); }) + "</tr>";
    ParseHtmlTables("<table>" + first + Repeat(999, [](int) { return QByteArray("<tr><td>y</td></tr>"); }) + "</table>", kPath);
}

INSTANTIATE_TEST_SUITE_P(
    SheetLimits, LimitTest,
    ::testing::Values(
        Limit{"xlsxLastColumn", LastColumnRows, "a worksheet spans 3000 rows by 16384 columns, more than can be read"},
        Limit{"xlsxSparse", SparseLastColumnRows, "a worksheet spans 1000 rows by 16384 columns but holds only 1000 cells"},
        // Rows without numbers count against the last row like numbered ones.
        Limit{"xlsxUnnumberedRowPastTheLast", [] { XlsxSheet("<row r=\"1048576\"/><row/>"); },
              "a worksheet has more than the 1048576 rows a sheet can hold"},
        Limit{"xlsxCellPastTheLastColumn", [] { XlsxSheet("<row><c r=\"XFE1\"/></row>"); }, "more than 16384 columns"},
        Limit{"spreadsheetMlLastColumn", LastColumnSpreadsheetMl, "a sheet spans 3000 rows by 16384 columns"},
        Limit{"spreadsheetMlUnnumberedRowPastTheLast",
              [] { ParseSpreadsheetMl(kPath, SpreadsheetMl("<Row ss:Index=\"1048576\"/><Row/>")); },
              "a sheet has more than the 1048576 rows a sheet can hold"},
        Limit{"htmlSpans", HugeSpans, "its cells span more than 4194304 places"},
        // Deeper than the HTML parser reads: its inner tables would be lost without a word.
        Limit{"htmlTooDeep",
              [] { ParseHtmlTables(QByteArray(300 * 5, 'x').replace("xxxxx", "<div>") + "<table><tr><td>1</td></tr></table>", kPath); },
              "the page nests its elements 256 or more deep"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SheetLimits, CellsWithinTheLimitsAreStillRead)
{
    const CellGrid grid = XlsxSheet("<row r=\"1048576\"><c r=\"C1048576\"><v>3</v></c><c r=\"A1048576\"><v>1</v></c></row>");
    ASSERT_EQ(grid.size(), 1048576);
    EXPECT_EQ(grid.last(), QList<Variant>({1.0, Variant(), 3.0}));
    // Sparse but small, or large and full enough: both read.
    EXPECT_EQ(XlsxSheet(Repeat(200, [](int i) { return "<row><c r=\"XFD" + QByteArray::number(i + 1) + "\"><v>1</v></c></row>"; }))
                  .size(),
              200);
    const QByteArray deep = QByteArray(200 * 5, 'x').replace("xxxxx", "<div>") + "<table><tr><td>1</td></tr></table>";
    EXPECT_EQ(ParseHtmlTables(deep, kPath).size(), 1);
}

// A header cell spanning every column repeats its name 16384 times; naming
// the fields once tried every number from 1 for each (found by fuzzing).
TEST(SheetLimits, RepeatedHeaderIsNamedInLinearTime)
{
    const QByteArray page = "<table><tr><td colspan=1000>x</td>" + Repeat(16, [](int) { return QByteArray("<td colspan=1000>x</td>"); }) +
                            "</tr><tr><td>1</td></tr></table>";
    QElapsedTimer timer;
    timer.start();
    const DataTable table = TableFromGrid(kPath, QStringLiteral("T"), ParseHtmlTables(page, kPath).value(0).Cells);
    EXPECT_LT(timer.elapsed(), 2000);
    ASSERT_EQ(table.Fields.size(), 16384);
    EXPECT_EQ(table.Fields[0].Name, QStringLiteral("x"));
    EXPECT_EQ(table.Fields.last().Name, QStringLiteral("x16383"));
}

} // namespace
} // namespace qv::data::test
