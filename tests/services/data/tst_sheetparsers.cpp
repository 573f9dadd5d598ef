#include "DataTestFiles.h"

#include "data/backends/SpreadsheetMlReader.h"
#include "data/backends/XlsxSheetParser.h"

#include <QBuffer>

namespace qv::data::test {
namespace {

const QString kPath = QStringLiteral("book.xlsx");

CellGrid Sheet(const QByteArray &sheetData, const XlsxContext &context = {})
{
    QByteArray xml = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                     sheetData + "</sheetData></worksheet>";
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    return ParseXlsxSheet(kPath, &buffer, context);
}

TEST(XlsxSheet, CellsLandWhereTheirReferencesSay)
{
    XlsxContext context;
    context.SharedStrings = {QStringLiteral("zero"), QStringLiteral("one")};
    context.DateFormats = {false, true};
    const CellGrid grid = Sheet("<row r=\"2\"><c r=\"C2\" t=\"s\"><v>1</v></c><c t=\"b\"><v>1</v></c>"
                                "<c r=\"AA2\" s=\"1\"><v>45351.5</v></c></row>"
                                "<row><c t=\"inlineStr\"><is><r><t>rich </t></r><r><t>text</t></r>"
                                "<rPh><t>phonetic</t></rPh></is></c><c><f>1+1</f><v>2</v></c><c t=\"e\"><v>#N/A</v></c>"
                                "<c t=\"d\"><v>2024-02-29T10:00:00</v></c><c r=\"F3\"/></row>",
                                context);
    ASSERT_EQ(grid.size(), 3);
    EXPECT_TRUE(grid[0].isEmpty());
    ASSERT_EQ(grid[1].size(), 27);
    EXPECT_EQ(grid[1][2], Variant("one"));
    EXPECT_EQ(grid[1][3], Variant(true));
    EXPECT_EQ(CellText(grid[1][26]), QStringLiteral("2024-02-29T12:00:00"));
    EXPECT_EQ(grid[2], QList<Variant>({"rich text", 2.0, "#N/A", DateValue{45351.0 + 10.0 / 24}}));
}

// Numbers in every form a cell's value takes, read alike by the quick path
// and by the locale's; what reads as no number keeps its text.
TEST(XlsxSheet, NumbersReadInEveryWrittenForm)
{
    const struct
    {
        const char *written;
        Variant value;
    } cases[] = {
        {"12", 12.0},         {"-3.5E-2", -0.035}, {"0.1", 0.1},   {" 7 ", 7.0},
        {"+5", 5.0},          {".5", 0.5},         {"1e3", 1000.0}, {"0x1A", QStringLiteral("0x1A")},
        {"1e400", QStringLiteral("1e400")},        {"12abc", QStringLiteral("12abc")},
        {"١٢", QStringLiteral("١٢")},
    };
    for (const auto &c : cases) {
        const CellGrid grid = Sheet(QByteArray("<row><c><v>") + c.written + "</v></c></row>");
        ASSERT_EQ(grid.size(), 1) << c.written;
        EXPECT_EQ(grid[0].value(0), c.value) << c.written;
    }
}

TEST(XlsxSheet, NumbersInThe1904SystemAreShifted)
{
    XlsxContext context;
    context.DateFormats = {true};
    context.Date1904 = true;
    EXPECT_EQ(CellText(Sheet("<row><c s=\"0\"><v>0</v></c></row>", context)[0][0]), QStringLiteral("1904-01-01"));
}

class BrokenSheetTest : public ::testing::TestWithParam<std::pair<const char *, const char *>>
{
};

TEST_P(BrokenSheetTest, RaisesInsteadOfGuessing)
{
    XlsxContext context;
    context.SharedStrings = {QStringLiteral("only")};
    const QString message = ErrorOf([&] { Sheet(GetParam().first, context); });
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().second))) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, BrokenSheetTest,
    ::testing::Values(std::pair{"<row><c t=\"s\"><v>1</v></c></row>", "shared string 1"},
                      std::pair{"<row><c t=\"s\"><v>-1</v></c></row>", "shared string -1"},
                      std::pair{"<row r=\"0\"/>", "row numbered '0'"},
                      std::pair{"<row r=\"3\"/><row r=\"2\"/>", "row 2 after a later row"},
                      std::pair{"<row><c r=\"A0\"/></row>", "cell at 'A0'"},
                      std::pair{"<row><c r=\"XFE1\"><v>1</v></c></row>", "more than 16384 columns"},
                      std::pair{"<row><c r=\"1A\"/></row>", "cell at '1A'"},
                      std::pair{"<row><c><v>1</v></row>", "not well-formed"}));

TEST(XlsxSheet, DocumentTypeIsRefusedBeforeAnyEntity)
{
    QByteArray xml = "<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
                     "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&b;</t></is></c></row></sheetData></worksheet>";
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ErrorOf([&] { ParseXlsxSheet(kPath, &buffer, {}); }).contains(u"declares a document type"));
}

TEST(XlsxSheet, DateFormatsAreToldFromNumberFormats)
{
    const std::pair<int, const char *> cases[] = {
        {14, ""}, {22, ""}, {47, ""}, {164, "dd/mm/yyyy"}, {165, "[$-409]h:mm AM/PM"}, {166, "[h]:mm"},
        {167, "yyyy\"年\"m\"月\""}};
    for (const auto &[id, code] : cases)
        EXPECT_TRUE(IsDateFormat(id, QString::fromUtf8(code))) << id << " " << code;
    const std::pair<int, const char *> numbers[] = {
        {0, ""}, {2, ""}, {49, ""}, {164, "0.00\" days\""}, {165, "[Red]#,##0"}, {166, "General"}, {167, "0\\d"},
        {168, "#,##0;[Red]-#,##0;\"d\""}};
    for (const auto &[id, code] : numbers)
        EXPECT_FALSE(IsDateFormat(id, QString::fromUtf8(code))) << id << " " << code;
}

TEST(SpreadsheetMl, IndexesMergesAndTypesPlaceEveryValue)
{
    const QByteArray xml =
        "  \n<?xml version=\"1.0\"?><Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet ss:Name=\"Één\"><Table>"
        "<Row><Cell ss:MergeAcross=\"1\"><Data ss:Type=\"String\">wide</Data></Cell><Cell><Data ss:Type=\"Number\">"
        "1.25</Data></Cell></Row><Row ss:Index=\"4\"><Cell ss:Index=\"2\"><Data ss:Type=\"DateTime\">"
        "1999-12-31T06:00:00.000</Data></Cell><Cell><Data ss:Type=\"Boolean\">1</Data></Cell>"
        "<Cell><ss:Data ss:Type=\"String\" xmlns=\"http://www.w3.org/TR/REC-html40\"><B>bold</B> &Omega;</ss:Data>"
        "</Cell></Row></Table></Worksheet><Worksheet ss:Name=\"Two\"/></Workbook>";
    const QList<NamedGrid> sheets = ParseSpreadsheetMl(QStringLiteral("b.xml"), xml);
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].Name, QStringLiteral("Één"));
    const CellGrid &grid = sheets[0].Cells;
    ASSERT_EQ(grid.size(), 4);
    EXPECT_EQ(grid[0], QList<Variant>({"wide", Variant(), 1.25}));
    EXPECT_EQ(CellText(grid[3][1]), QStringLiteral("1999-12-31T06:00:00"));
    EXPECT_EQ(grid[3][2], Variant(true));
    EXPECT_EQ(grid[3][3], Variant(QStringLiteral("bold Ω")));
}

TEST(SpreadsheetMl, BrokenDocumentsRaise)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", "the file is empty"},
        {"<Workbook><Worksheet><Table><Row ss:Index=\"0\"/>", "not well-formed"},
        {"<Workbook xmlns:ss=\"s\"><Worksheet><Table><Row ss:Index=\"0\"/></Table></Worksheet></Workbook>", "row index of '0'"},
        {"<Workbook xmlns:ss=\"s\"><Worksheet><Table><Row><Cell ss:Index=\"99999\"/></Row></Table></Worksheet></Workbook>",
         "cell index of '99999'"},
        {"<html><body/></html>", "root element is <html>"},
        // Merged cells may not carry the next cell past the last column.
        {"<Workbook xmlns:ss=\"s\"><Worksheet><Table><Row><Cell ss:MergeAcross=\"16383\"/><Cell ss:MergeAcross=\"9\"/>"
         "<Cell><Data ss:Type=\"String\">x</Data></Cell></Row></Table></Worksheet></Workbook>",
         "more than 16384 columns"}};
    for (const auto &c : cases) {
        const QString message = ErrorOf([&] { ParseSpreadsheetMl(QStringLiteral("b.xml"), c.first); });
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.second))) << c.first << ": " << message.toStdString();
    }
}

} // namespace
} // namespace qv::data::test
