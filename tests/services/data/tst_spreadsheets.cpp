#include "DataTestFiles.h"

#include "data/backends/AccessReader.h"
#include "data/backends/HtmlTableReader.h"
#include "data/backends/SpreadsheetMlReader.h"
#include "data/backends/XlsReader.h"
#include "data/backends/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace qv::data::test {
namespace {

// One checked value of a real workbook, with the sheet's shape.
struct SheetCase
{
    const char *file;
    const char *sheet;
    qsizetype rows;
    qsizetype fields;
    qsizetype row;
    const char *field;
    const char *value;
    int type;
};

class RealWorkbookTest : public ::testing::TestWithParam<SheetCase>
{
};

TEST_P(RealWorkbookTest, SheetReadsAsTheFileHoldsIt)
{
    const SheetCase &c = GetParam();
    auto reader = OpenSource(SharedFile(c.file));
    EXPECT_GE(IndexOfName(reader->DataItems(), QString::fromUtf8(c.sheet)), 0);
    const DataTable table = reader->ReadItem(QString::fromUtf8(c.sheet));
    EXPECT_EQ(table.Rows.size(), c.rows);
    EXPECT_EQ(table.Fields.size(), c.fields);
    const QString field = QString::fromUtf8(c.field);
    ASSERT_GE(table.FieldIndex(field), 0) << c.field;
    EXPECT_EQ(ValueText(table, c.row, field), QString::fromUtf8(c.value));
    EXPECT_EQ(table.Fields[table.FieldIndex(field)].Type, c.type);
}

// Values as the files' own XML or BIFF records hold them.
INSTANTIATE_TEST_SUITE_P(
    Files, RealWorkbookTest,
    ::testing::Values(
        // A column of text, numbers, a date (1904 system), a Boolean, a formula and an error.
        SheetCase{"excel/testcelltypes.xlsx", "Sheet1", 7, 2, 3, "hello world", "2015-01-01", ado::adVarWChar},
        SheetCase{"excel/testcelltypes.xlsx", "Sheet1", 7, 2, 6, "hello world", "#DIV/0!", ado::adVarWChar},
        SheetCase{"excel/testcelltypes.xlsx", "Sheet1", 7, 2, 1, "hello world", "12345", ado::adVarWChar},
        SheetCase{"excel/merged_cells.xlsx", "Sheet1", 6, 3, 1, "Quantity", "23", ado::adDouble},
        SheetCase{"excel/empty_cells.xlsx", "Sheet1", 3, 4, 0, "B1", "<null>", ado::adVarWChar},
        SheetCase{"excel/empty_cells.xlsx", "Sheet1", 3, 4, 2, "D1", "<null>", ado::adVarWChar},
        SheetCase{"excel/namespaced.xlsx", "Sheet1", 1, 13, 0, "w4", "w", ado::adVarWChar},
        SheetCase{"excel/noStylesAndSharedStringsTest.xlsx", "10 Aug 2013 19_11_21", 2605, 30, 1, "Move samples",
                  "2013-08-10 19:11:21", ado::adVarWChar},
        SheetCase{"excel/inlineStrings.xlsx", "Activity by Day", 37, 12, 0, "HL Retail - North America - Activity by Day - MTD",
                  "Advertiser: Malformed Industries", ado::adLongVarWChar},
        SheetCase{"excel/macExcelTest.xlsx", "普通技能", 0, 1, 0, "编号", "<no such cell>", ado::adVarWChar},
        SheetCase{"excel/wpsBlankLineTest.xlsx", "Sheet1", 4, 3, 1, "编号", "编号", ado::adVarWChar},
        SheetCase{"excel/googleDocsTest.xlsx", "Sheet1", 1, 2, 0, "It has a couple of columns", "hello hello", ado::adVarWChar},
        SheetCase{"excel/profiles.xls", "PROFILEDEF", 14, 13, 0, "a", "100", ado::adDouble},
        SheetCase{"excel/profiles.xls", "AXISDATUMLEVELS", 14, 3, 0, "i", "265.21206", ado::adDouble},
        SheetCase{"excel/profiles.xls", "PROFILELEVELS", 14, 30, 0, "Quergefälle", "0.025", ado::adDouble},
        // Formula cells give the result saved with them: a number, a text, a Boolean.
        SheetCase{"excel/profiles.xls", "TRAVERSALCHAINAGE", 14, 13, 0, "l", "13.5", ado::adDouble},
        SheetCase{"excel/namesdemo.xls", "Sheet3", 26, 14, 21, "F1", "ascii", ado::adVarWChar},
        SheetCase{"excel/namesdemo.xls", "Sheet3", 26, 14, 23, "Feb", "12.3456.789", ado::adVarWChar},
        SheetCase{"excel/namesdemo.xls", "Sheet3", 26, 14, 23, "Apr", "TRUE", ado::adVarWChar},
        SheetCase{"excel/Formate.xls", "Blätt1", 9, 2, 0, "Huber", "Äcker", ado::adVarWChar},
        SheetCase{"excel/Formate.xls", "Blätt1", 9, 2, 3, "1907-07-03", "1899-12-30T12:56:00", ado::adVarWChar},
        SheetCase{"excel/Formate.xls", "Blätt3", 11, 1, 0, "100", "200", ado::adDouble},
        SheetCase{"excel/xf_class.xls", "table1", 9, 3, 2, "RED1", "CENTER", ado::adVarWChar},
        SheetCase{"excel/example1.xls", "Worksheet", 0, 2, 0, "World", "<no such cell>", ado::adVarWChar},
        SheetCase{"excel/ragged.xls", "Sheet1", 4, 4, 2, "F4", "j", ado::adVarWChar},
        SheetCase{"excel/namesdemo.xls", "Seamus O'Reilly", 0, 1, 0, "42", "<no such cell>", ado::adVarWChar},
        SheetCase{"excel/spreadsheetml-excel2003.iso8859-1.xml", "Sheet1", 1, 1, 0, "Voilà", "PhpSpreadsheet", ado::adVarWChar},
        SheetCase{"excel/spreadsheetml-issue.850.xml", "Worksheet", 4, 1, 3, "1-منصور حسين الناصر", "hello", ado::adVarWChar},
        SheetCase{"excel/spreadsheetml-issue.2157.small.xml", "ProductsAPIData", 1, 47, 0, "title",
                  "Τέλεια όραση χωρίς γυαλιά", ado::adVarWChar},
        SheetCase{"excel/spreadsheetml-PageSetup.xml", "Sheet2", 4, 3, 3, "1", "60", ado::adDouble}));

struct BrokenCase
{
    const char *file;
    const char *says;
};

class BrokenWorkbookTest : public ::testing::TestWithParam<BrokenCase>
{
};

TEST_P(BrokenWorkbookTest, GivesAClearErrorNamingTheFile)
{
    const QString path = SharedFile(GetParam().file);
    const QString message = ErrorOf([&] {
        auto reader = OpenSource(path);
        for (const QString &item : reader->DataItems())
            reader->ReadItem(item);
    });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().says))) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenWorkbookTest,
    ::testing::Values(BrokenCase{"excel/badfile_noWorksheets.xlsx", "lists the sheet 'Tabelle1', but the file does not hold it"},
                      BrokenCase{"excel/spreadsheetml-CorruptedXmlFile.xml", "is not well-formed XML (line 8"},
                      // Declares an entity: refused before anything is expanded.
                      BrokenCase{"excel/spreadsheetml-XEETestInvalidUTF-8.xml", "declares a document type"},
                      BrokenCase{"excel/spreadsheetml-XEETestValidUTF-8.xml", "not an Excel XML workbook"},
                      BrokenCase{"excel/biff4_no_format_no_window2.xls", "Excel 4.0 or older"},
                      BrokenCase{"excel/no-such-book.xlsx", "no file or folder of that name exists"}));

TEST(SourceFiles, EveryReaderWordsAMissingFileAlike)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const auto expectMissing = [&](const char *kind, const auto &open) {
        const QString message = ErrorOf(open);
        EXPECT_TRUE(message.contains(missing) && message.contains(u"the file does not exist. Check that the path is right")) << kind << ": " << message.toStdString();
    };
    expectMissing("xlsx", [&] { XlsxReader reader(missing + QStringLiteral(".xlsx")); });
    expectMissing("xls", [&] { XlsReader reader(missing + QStringLiteral(".xls")); });
    expectMissing("xml", [&] { SpreadsheetMlReader reader(missing + QStringLiteral(".xml")); });
    expectMissing("html", [&] { HtmlTableReader reader(missing + QStringLiteral(".html")); });
    expectMissing("mdb", [&] { AccessReader reader(missing + QStringLiteral(".mdb")); });
    // A folder named like a workbook is no workbook.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.xlsx")));
    EXPECT_TRUE(ErrorOf([&] { XlsxReader reader(dir.filePath(QStringLiteral("folder.xlsx"))); }).contains(u"a folder, not a file"));
}

class GeneratedWorkbookTest : public ::testing::Test
{
protected:
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // Every cell kind in its own column, one mixed column and a text found
    // only in the last row of a long number column (see MakeWorkbook.cpp).
    QString WriteWorkbook()
    {
        const QString path = Path("kinds.xlsx");
        EXPECT_TRUE(MakeWorkbook(path, {QStringLiteral("kinds")}));
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(GeneratedWorkbookTest, EveryCellKindKeepsItsValue)
{
    auto reader = OpenSource(WriteWorkbook());
    EXPECT_EQ(reader->DataItems(), QStringList({"Données 数据", "Empty"}));
    const DataTable table = reader->ReadItem(QStringLiteral("données 数据"));
    ASSERT_EQ(table.Rows.size(), 1000);
    const QList<int> types{ado::adVarWChar, ado::adDouble, ado::adDate, ado::adDate, ado::adBoolean,
                           ado::adVarWChar, ado::adLongVarWChar, ado::adDouble, ado::adVarWChar};
    for (qsizetype c = 0; c < types.size(); ++c)
        EXPECT_EQ(table.Fields[c].Type, types[c]) << table.Fields[c].Name.toStdString();
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Text")), QStringLiteral("Zeile 1"));
    EXPECT_EQ(ValueText(table, 2, QStringLiteral("Number")), QStringLiteral("1.5"));
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Date")), QStringLiteral("2024-02-29"));
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Stamp")), QStringLiteral("2024-03-01T13:30:00"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Flag")), QStringLiteral("FALSE"));
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Mixed")), QStringLiteral("1"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Mixed")), QStringLiteral("x"));
    EXPECT_EQ(ValueText(table, 6, QStringLiteral("Long")).size(), 400);
    // A quoted "d" inside a number format does not make it a date.
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Amount")), QStringLiteral("1234.5"));
    EXPECT_EQ(ValueText(table, 998, QStringLiteral("Late text")), QStringLiteral("999"));
    EXPECT_EQ(ValueText(table, 999, QStringLiteral("Late text")), QStringLiteral("late"));
    EXPECT_TRUE(reader->ReadItem(QStringLiteral("Empty")).Rows.isEmpty());
}

TEST_F(GeneratedWorkbookTest, MissingSheetAndDamagedPackageAreNamed)
{
    auto reader = OpenSource(WriteWorkbook());
    try {
        reader->ReadItem(QStringLiteral("Orders"));
        FAIL() << "no error";
    } catch (const ComError &error) {
        EXPECT_EQ(error.Number(), kErrorNoSuchItem);
        EXPECT_TRUE(error.Description().contains(u"has no sheet named 'Orders'. Choose one")) << error.Description().toStdString();
    }

    // Cut short and filled with text: neither may crash or hang.
    QFile whole(Path("kinds.xlsx"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    for (const auto &[name, content] : {std::pair{"half.xlsx", bytes.left(bytes.size() / 2)},
                                        std::pair{"text.xlsx", QByteArray("Name;Value\nA;1\n")}}) {
        QFile broken(Path(name));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(content);
        broken.close();
        EXPECT_TRUE(ErrorOf([&] { XlsxReader reader(broken.fileName()); }).contains(u"cannot be read"));
    }
}

} // namespace
} // namespace qv::data::test
