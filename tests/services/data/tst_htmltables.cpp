#include "DataTestFiles.h"

#include "data/backends/HtmlTableReader.h"

#include <QFile>
#include <QTemporaryDir>

namespace qv::data::test {
namespace {

struct PageCase
{
    const char *file;
    const char *field;
    qsizetype row;
    const char *value;
};

class RealPageTest : public ::testing::TestWithParam<PageCase>
{
};

TEST_P(RealPageTest, FirstTableReadsInThePagesCharset)
{
    HtmlTableReader reader(SharedFile(GetParam().file));
    const DataTable table = reader.ReadItem(reader.DataItems().value(0));
    const QString field = QString::fromUtf8(GetParam().field);
    ASSERT_GE(table.FieldIndex(field), 0) << GetParam().field;
    EXPECT_EQ(ValueText(table, GetParam().row, field), QString::fromUtf8(GetParam().value));
}

// Each charset file holds the same table: À1 B1 ç1 D1 / Ã2 B2 C2 Ð2.
INSTANTIATE_TEST_SUITE_P(
    Files, RealPageTest,
    ::testing::Values(PageCase{"html/charset.UTF-8.html", "ç1", 0, "C2"}, PageCase{"html/charset.UTF-8.html", "D1", 0, "Ð2"},
                      PageCase{"html/charset.ISO-8859-1.html", "À1", 0, "Ã2"},
                      PageCase{"html/charset.UTF-16.lebom.html", "D1", 0, "Ð2"},
                      PageCase{"html/charset.nocharset.html", "À1", 0, "Ã2"},
                      PageCase{"html/charset.gb18030.html", "电视机", 0, "<no such cell>"},
                      PageCase{"html/utf8chars.html", "éàâèî", 0, "𐐁𐐂𐐃 & だけち"},
                      PageCase{"html/utf8chars.html", "F4", 1, "✀✐✠"},
                      // colspan='3"' is no number, so the cell spans one column.
                      // colspan='3"' spans 3, as a browser reads it.
                      PageCase{"html/rowspan.html", "C1", 0, "A2 with invalid colspan"},
                      PageCase{"html/rowspan.html", "D1", 0, "D2"},
                      // The page declares an entity; it is not expanded.
                      PageCase{"html/xhtml4.entity.xhtml", "&test;", 0, "<no such cell>"}));

TEST(HtmlTables, NotAPageGivesAClearError)
{
    const QString message = ErrorOf([] { HtmlTableReader reader(SharedFile("html/badhtml.html")); });
    EXPECT_TRUE(message.contains(u"badhtml.html") && message.contains(u"holds no table")) << message.toStdString();
    // A table holding only a picture is a data item without records.
    HtmlTableReader pictures(SharedFile("html/issue.4823.html"));
    EXPECT_EQ(pictures.DataItems(), QStringList({"sheet0"}));
    EXPECT_EQ(pictures.ReadItem(QStringLiteral("sheet0")).Fields.size(), 1);
}

// Spans as browsers read them: digits up to the first other character, 0
// columns as 1, 0 rows to the end of the row group, anything else as 1.
TEST(HtmlTables, SpansReadAsBrowsersReadThem)
{
    struct Case
    {
        const char *cells;
        const char *rows; // each row's cells, "|" between them
    } const cases[] = {
        {"<td colspan=' 2x'>a</td><td>b</td>", "a|a|b"},
        {"<td colspan='+2'>a</td><td>b</td>", "a|a|b"},
        {"<td colspan='\"2\"'>a</td><td>b</td>", "a|b"},
        {"<td colspan=0>a</td><td>b</td>", "a|b"},
        {"<td colspan=-2>a</td><td>b</td>", "a|b"},
        {"<td colspan=99999>a</td>", nullptr}, // 1000 columns, checked below
        {"<td rowspan=0>a</td><td>b</td></tr><tr><td>c</td></tr><tr><td>d</td>", "a|b/a|c/a|d"},
        {"<td rowspan='2\"'>a</td><td>b</td></tr><tr><td>c</td></tr><tr><td>d</td>", "a|b/a|c/d"},
        {"<td rowspan=x>a</td><td>b</td></tr><tr><td>c</td>", "a|b/c"},
    };
    for (const Case &c : cases) {
        const QByteArray page = QByteArray("<table><tbody><tr>") + c.cells + "</tr></tbody><tbody><tr><td>z</td></tr></tbody></table>";
        const QList<NamedGrid> tables = ParseHtmlTables(page);
        ASSERT_EQ(tables.size(), 1) << c.cells;
        QStringList rows;
        for (const auto &row : tables[0].Cells) {
            QStringList cells;
            for (const Variant &cell : row)
                cells << cell.ToText();
            rows << cells.join(u'|');
        }
        ASSERT_EQ(rows.takeLast(), QStringLiteral("z")) << "a span stays in its row group: " << c.cells;
        if (c.rows)
            EXPECT_EQ(rows.join(u'/'), QString::fromUtf8(c.rows)) << c.cells;
        else
            EXPECT_EQ(tables[0].Cells[0].size(), 1000) << c.cells;
    }
}

TEST(HtmlTables, SpansNamesAndNumbersAsThePageLaysThemOut)
{
    const QByteArray page =
        "<html><body><table id='People'><caption> Staff <b>list</b> </caption>"
        "<thead><tr><th>Name</th><th colspan=2>Phone</th><th>Code</th></tr></thead>"
        "<tbody><tr><td rowspan=2>Ann<br>Lee</td><td>1</td><td>-12.5</td><td>007</td></tr>"
        "<tr><td>2<script>x=1</script></td><td>3</td><td>1,5</td></tr>"
        "<tr><td><table><tr><td>inner</td></tr></table>outer</td></tr></tbody></table>"
        "<table><tr><td>a</td></tr></table><table id='People'><tr><td>b</td></tr></table><table></table>";
    const QList<NamedGrid> tables = ParseHtmlTables(page);
    QStringList names;
    for (const NamedGrid &table : tables)
        names << table.Name;
    EXPECT_EQ(names, QStringList({"Staff list", "Table2", "Table3", "People"}));

    const DataTable staff = TableFromGrid(QStringLiteral("p.html"), tables[0].Name, tables[0].Cells);
    QStringList fields;
    for (const DataField &field : staff.Fields)
        fields << field.Name;
    EXPECT_EQ(fields, QStringList({"Name", "Phone", "Phone1", "Code"}));
    ASSERT_EQ(staff.Rows.size(), 3);
    // Plain decimals make number columns; "007" and "1,5" would not read back as written, so stay text.
    EXPECT_EQ(staff.Fields[1].Type, ado::adDouble);
    EXPECT_EQ(staff.Fields[3].Type, ado::adVarWChar);
    EXPECT_EQ(staff.Rows[0], DataRow({"Ann\nLee", 1.0, -12.5, "007"}));
    EXPECT_EQ(staff.Rows[1], DataRow({"Ann\nLee", 2.0, 3.0, "1,5"}));
    EXPECT_EQ(staff.Rows[2], DataRow({"outer", Variant::Null(), Variant::Null(), Variant::Null()}));
    EXPECT_EQ(tables[1].Cells, CellGrid({{"inner"}}));

    const DataTable numbers = TableFromGrid(QStringLiteral("p.html"), QStringLiteral("n"),
                                            ParseHtmlTables("<table><tr><th>n</th></tr><tr><td>-12.5</td></tr>"
                                                            "<tr><td></td></tr><tr><td>0.25</td></tr></table>")[0].Cells);
    EXPECT_EQ(numbers.Fields[0].Type, ado::adDouble);
    EXPECT_EQ(numbers.Rows, QList<DataRow>({{-12.5}, {Variant::Null()}, {0.25}}));
}

TEST(HtmlTables, EncodingComesFromMarkDeclarationOrBytes)
{
    EXPECT_EQ(HtmlEncoding(QByteArray("\xFF\xFE<\0", 4)), QByteArray());
    EXPECT_EQ(HtmlEncoding("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb18030\">"), "gb18030");
    EXPECT_EQ(HtmlEncoding("<meta charset='ISO-8859-1'>"), "ISO-8859-1");
    EXPECT_EQ(HtmlEncoding("<td>\xC3\x80</td>"), "UTF-8");
    EXPECT_EQ(HtmlEncoding("<td>\xC0</td>"), "windows-1252");
    // A charset nobody knows is read as UTF-8 rather than not at all.
    EXPECT_EQ(ParseHtmlTables("<meta charset='x-unknown'><table><tr><td>\xC3\x80</td></tr></table>").value(0).Cells,
              CellGrid({{QStringLiteral("À")}}));
}

} // namespace
} // namespace qv::data::test
