#include "DataTestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace qv::data::test {
namespace {

// One file of the shared real-data folder, read alone: a contacts or tasks
// file in a folder of its own, any other file as the source it is. The
// other data tests check further values of most of these files.
struct FileCase
{
    const char *file;
    const char *item; // nullptr: the folder's one item
    qsizetype rows;
    qsizetype row;
    const char *field;
    const char *value;
};

DataTable ReadAlone(const FileCase &c, QTemporaryDir &dir)
{
    if (c.item)
        return OpenSource(SharedFile(c.file))->ReadItem(QString::fromUtf8(c.item));
    const QString copy = dir.filePath(QFileInfo(QString::fromUtf8(c.file)).fileName());
    EXPECT_TRUE(QFile::copy(SharedFile(c.file), copy));
    auto reader = OpenSource(dir.path());
    return reader->ReadItem(reader->DataItems().value(0));
}

class EverySharedFileTest : public ::testing::TestWithParam<FileCase>
{
};

TEST_P(EverySharedFileTest, RowsAsTheFileHoldsThem)
{
    const FileCase &c = GetParam();
    QTemporaryDir dir;
    const DataTable table = ReadAlone(c, dir);
    EXPECT_EQ(table.Rows.size(), c.rows) << c.file;
    EXPECT_EQ(ValueText(table, c.row, QString::fromUtf8(c.field)), QString::fromUtf8(c.value)) << c.file;
}

// Values as the files' own text, XML or records hold them.
INSTANTIATE_TEST_SUITE_P(
    Files, EverySharedFileTest,
    ::testing::Values(
        // Contacts, one card file at a time.
        FileCase{"contacts/John_Doe_ANDROID.vcf", nullptr, 6, 1, "E-mail", "jane.doe@company.com"},
        FileCase{"contacts/John_Doe_BLACK_BERRY.vcf", nullptr, 1, 0, "Mobile Phone", "+96123456789"},
        FileCase{"contacts/John_Doe_EVOLUTION.vcf", nullptr, 1, 0, "Nickname", "Johny"},
        FileCase{"contacts/John_Doe_GMAIL.vcf", nullptr, 1, 0, "Home Phone", "905-666-1234"},
        FileCase{"contacts/John_Doe_IPHONE.vcf", nullptr, 1, 0, "Pager", "905-111-1234"},
        FileCase{"contacts/John_Doe_LOTUS_NOTES.vcf", nullptr, 1, 0, "Business Fax", "00-1-212-555-7777"},
        FileCase{"contacts/John_Doe_MAC_ADDRESS_BOOK.vcf", nullptr, 1, 0, "Full Name", "Mr. John Richter,James Doe Sr."},
        FileCase{"contacts/John_Doe_MS_OUTLOOK.vcf", nullptr, 1, 0, "Department", "Accounting"},
        FileCase{"contacts/gmail-list.vcf", nullptr, 3, 1, "E-mail", "chrisy55d@yahoo.com"},
        FileCase{"contacts/outlook-2003.vcf", nullptr, 1, 0, "Company", "Company, The"},
        FileCase{"contacts/outlook-2007.vcf", nullptr, 1, 0, "Business Fax", "(111) 555-3333"},
        FileCase{"contacts/rfc2426-example.vcf", nullptr, 2, 1, "Business Postal Code", "94043"},
        FileCase{"contacts/rfc6350-example.vcf", nullptr, 1, 0, "Mobile Phone", "+1-418-262-6501"},
        FileCase{"contacts/thunderbird-MoreFunctionsForAddressBook-extension.vcf", nullptr, 1, 0, "E-mail 3",
                 "additional-email1@company.com"},
        // Tasks, one calendar at a time: only its VTODO components are rows.
        FileCase{"tasks/issue_1050_all_components.ics", nullptr, 1, 0, "Subject", "Test Todo 1"},
        FileCase{"tasks/issue_1050_calendar_with_events_and_todos.ics", nullptr, 1, 0, "Subject", "Test Todo 1"},
        FileCase{"tasks/rfc_7986_image.ics", nullptr, 2, 1, "Status", "Not Started"},
        FileCase{"tasks/todos-example.ics", nullptr, 1, 0, "Due Date", "2007-05-01"},
        FileCase{"tasks/vobject-vtodo.ics", nullptr, 1, 0, "Categories", "FAMILY, FINANCE"},
        // Workbooks no other test reads.
        FileCase{"excel/27template.xlsx", "Ark1", 14, 13, "GIF", "JPEG"},
        FileCase{"excel/empty_rows.xlsx", "EmptyRows", 1, 0, "B3", "B4"},
        FileCase{"excel/empty_rows.xlsx", "EmptyRowsAndCols", 1, 0, "D3", "D4"},
        FileCase{"excel/macNumbersTest.xlsx", "主动技能", 0, 0, "编号", "<no such cell>"},
        FileCase{"excel/spreadsheetml-bug4669.xml", "stats by transaction_notes", 0, 0, "Merchant", "<no such cell>"},
        FileCase{"excel/spreadsheetml-datavalidations.xml", "Tabelle1", 5, 4, "a", "ffffff"},
        FileCase{"excel/spreadsheetml-splits.xml", "SplitBoth", 16, 15, "31", "33"},
        FileCase{"excel/spreadsheetml-splits.xml", "FrozenSplit", 6, 5, "2", "4"},
        FileCase{"html/html.opacity.3.html", "sheet0", 0, 0, "F1", "<no such cell>"}));

} // namespace
} // namespace qv::data::test
