#include "DataTestFiles.h"

#include "data/backends/PimFolderReader.h"
#include "data/backends/PimTables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace qv::data::test {
namespace {

// The row whose `field` holds `value`, or -1.
qsizetype RowWhere(const DataTable &table, const char *field, const QString &value)
{
    for (qsizetype r = 0; r < table.Rows.size(); ++r) {
        if (ValueText(table, r, QString::fromLatin1(field)) == value)
            return r;
    }
    return -1;
}

DataTable OnlyItem(const QString &folder, QString *type = nullptr)
{
    PimFolderReader reader(folder);
    if (type)
        *type = reader.FolderType();
    return reader.ReadItem(reader.DataItems().value(0));
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ContactCase
{
    const char *keyField;
    const char *key;
    const char *field;
    const char *value;
};

class RealContactsTest : public ::testing::TestWithParam<ContactCase>
{
protected:
    static const DataTable &Contacts()
    {
        static const DataTable table = OnlyItem(SharedFile("contacts"));
        return table;
    }
};

TEST_P(RealContactsTest, CardValueLandsInItsField)
{
    const ContactCase &c = GetParam();
    const qsizetype row = RowWhere(Contacts(), c.keyField, QString::fromUtf8(c.key));
    ASSERT_GE(row, 0) << c.key;
    EXPECT_EQ(ValueText(Contacts(), row, QString::fromLatin1(c.field)), QString::fromUtf8(c.value));
}

// Values as the .vcf files write them (folds, escapes and encodings undone).
INSTANTIATE_TEST_SUITE_P(
    Files, RealContactsTest,
    ::testing::Values(
        // Evolution, 3.0: folded lines and escaped commas.
        ContactCase{"Nickname", "Johny", "Full Name", "Mr. John Richter, James Doe Sr."},
        ContactCase{"Full Name", "Mr. John Richter, James Doe Sr.", "Middle Name", "Richter, James"},
        ContactCase{"Full Name", "Mr. John Richter, James Doe Sr.", "Department", "Accounting, Dungeon"},
        ContactCase{"Full Name", "Mr. John Richter, James Doe Sr.", "Mobile Phone", "905-666-1234"},
        ContactCase{"Full Name", "Mr. John Richter, James Doe Sr.", "E-mail", "john.doe@ibm.com"},
        ContactCase{"Full Name", "Mr. John Richter, James Doe Sr.", "Home Country/Region", "United States of America"},
        ContactCase{"Full Name", "Mr. John Richter, James Doe Sr.", "Birthday", "1980-03-22"},
        // iPhone: grouped properties, the preferred address first, an escaped colon.
        ContactCase{"Full Name", "Mr. John Richter James Doe Sr.", "Web Page", "http://www.ibm.com"},
        ContactCase{"Full Name", "Mr. John Richter James Doe Sr.", "Home Fax", "905-888-1234"},
        ContactCase{"Full Name", "Mr. John Richter James Doe Sr.", "Pager", "905-111-1234"},
        ContactCase{"Full Name", "Mr. John Richter James Doe Sr.", "Business Street", "Street4\nBuilding 6\nFloor 8"},
        // RFC 2426: a folded address, two e-mails with the preferred one first.
        ContactCase{"Full Name", "Frank Dawson", "Business Postal Code", "27613-3502"},
        ContactCase{"Full Name", "Frank Dawson", "E-mail 2", "fdawson@earthlink.net"},
        ContactCase{"Full Name", "Frank Dawson", "Business Fax", "+1-919-676-9564"},
        ContactCase{"Full Name", "Tim Howes", "Business State", "CA"},
        // RFC 6350: tel: URIs, a birthday without a year is no date.
        ContactCase{"Full Name", "Simon Perreault", "Business Phone", "+1-418-656-9254;ext=102"},
        ContactCase{"Full Name", "Simon Perreault", "Birthday", "<null>"},
        ContactCase{"Full Name", "Simon Perreault", "Suffix", "ing. jr,M.Sc."},
        // Android, 2.1: quoted-printable UTF-8 with soft line breaks.
        ContactCase{"Mobile Phone", "123456789", "Full Name", "Ñ Ñ Ñ Ñ Ñ"},
        ContactCase{"Home Phone", "234567", "Last Name", "Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ"}));

TEST(PimFolders, RealFoldersTellTheirType)
{
    QString type;
    EXPECT_EQ(OnlyItem(SharedFile("contacts"), &type).Rows.size(), 22);
    EXPECT_EQ(type, QStringLiteral("Contact"));

    // Five files: tasks among events, journals and other components.
    const DataTable tasks = OnlyItem(SharedFile("tasks"), &type);
    EXPECT_EQ(type, QStringLiteral("Task"));
    EXPECT_EQ(tasks.Rows.size(), 6);
    const qsizetype row = RowWhere(tasks, "Subject", QStringLiteral("Submit Quebec Income Tax Return for 2006"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(ValueText(tasks, row, QStringLiteral("Due Date")), QStringLiteral("2007-05-01"));
    EXPECT_EQ(ValueText(tasks, row, QStringLiteral("Categories")), QStringLiteral("FAMILY, FINANCE"));
    EXPECT_EQ(ValueText(tasks, row, QStringLiteral("Status")), QStringLiteral("Not Started"));
}

TEST(PimFolders, GeneratedFolderMixesVersionsAndCharsets)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("a.vcf"),
              "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=F6rg\r\n"
              "NOTE;ENCODING=QUOTED-PRINTABLE:first line=0D=0Asecond =\r\nhalf\r\n"
              "AGENT:\r\nBEGIN:VCARD\r\nFN:Agent Smith\r\nEND:VCARD\r\n"
              "TEL;WORK;FAX:555\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Semi\\; Colon\r\nORG:A\\,B;C\r\n\tD\r\n"
              "EMAIL;TYPE=INTERNET:x@y\r\nEMAIL;TYPE=INTERNET;TYPE=PREF:p@y\r\nEND:VCARD\r\n");
    WriteFile(dir.filePath("b.vcf"), QByteArray("\xFF\xFE", 2) +
                                         QByteArray(reinterpret_cast<const char *>(u"BEGIN:VCARD\nFN:Ünï\nEND:VCARD\n"),
                                                    qsizetype(sizeof(u"BEGIN:VCARD\nFN:Ünï\nEND:VCARD\n") - 2)));
    WriteFile(dir.filePath("c.ics"), "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:not a task\nEND:VEVENT\nEND:VCALENDAR\n");
    QString type;
    const DataTable table = OnlyItem(dir.path(), &type);
    EXPECT_EQ(type, QStringLiteral("Contact"));
    ASSERT_EQ(table.Rows.size(), 3); // the agent's card is part of its holder's, not a contact
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Full Name")), QStringLiteral("Jörg Müller"));
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Notes")), QStringLiteral("first line\r\nsecond half"));
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("Business Fax")), QStringLiteral("555"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Full Name")), QStringLiteral("Semi; Colon"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Company")), QStringLiteral("A,B"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Department")), QStringLiteral("CD"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("E-mail")), QStringLiteral("p@y"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("E-mail 2")), QStringLiteral("x@y"));
    EXPECT_EQ(ValueText(table, 2, QStringLiteral("Full Name")), QStringLiteral("Ünï"));
}

TEST(PimFolders, TasksCarryStatusPriorityAndProgress)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("t.ics"),
              "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nSUMMARY:meeting\r\nEND:VEVENT\r\n"
              "BEGIN:VTODO\r\nSUMMARY:Write report\r\nPRIORITY:1\r\nPERCENT-COMPLETE:40\r\nSTATUS:IN-PROCESS\r\n"
              "DTSTART;VALUE=DATE:20240201\r\nDUE;TZID=Europe/Paris:20240229T235900\r\n"
              "DESCRIPTION:line one\\nline two\r\nCATEGORIES:Work\r\nCATEGORIES:Urgent\r\nEND:VTODO\r\n"
              "BEGIN:VTODO\r\nSUMMARY:Done\r\nPRIORITY:9\r\nCOMPLETED:20240105T120000\r\nEND:VTODO\r\n"
              "END:VCALENDAR\r\n");
    WriteFile(dir.filePath("x.vcf"), "BEGIN:VCARD\nFN:One contact\nEND:VCARD\n");
    QString type;
    const DataTable table = OnlyItem(dir.path(), &type);
    EXPECT_EQ(type, QStringLiteral("Task"));
    ASSERT_EQ(table.Rows.size(), 2);
    EXPECT_EQ(table.Rows[0], DataRow({"Write report", DateValue{45323}, DateValue{45351}, "In Progress", "High", qint32(40),
                                      Variant::Null(), "Work, Urgent", "line one\nline two"}));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Status")), QStringLiteral("Completed"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Priority")), QStringLiteral("Low"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("% Complete")), QStringLiteral("100"));
    EXPECT_EQ(ValueText(table, 1, QStringLiteral("Date Completed")), QStringLiteral("2024-01-05"));
}

TEST(PimFolders, BrokenCardsAndCalendarsGiveWhatTheyHold)
{
    // Inputs that once could run past a buffer or lose the card around them.
    const char *cards[] = {
        "", "BEGIN:VCARD", "BEGIN:VCARD\nFN:open", ":::\n;;;\n", "BEGIN:VCARD\nN;CHARSET=nonsense:x\nEND:VCARD",
        "BEGIN:VCARD\nNOTE;ENCODING=QUOTED-PRINTABLE:=\nEND:VCARD", "BEGIN:VCARD\nFN:back\\\nEND:VCARD",
        "END:VCARD\nBEGIN:VCARD\nBEGIN:VCARD\nEND:VCARD", "BEGIN:VCARD\nN:\\;\\\nEND:VCARD",
        "BEGIN:VCARD\nADR;TYPE=\"work:;;;\nEND:VCARD"};
    for (const char *text : cards) {
        for (const VCard &card : ParseVCards(text))
            EXPECT_EQ(ContactRow(card).size(), ContactFields().size()) << text;
    }
    EXPECT_EQ(ParseVCards("BEGIN:VCARD\nFN:open").value(0).First(QStringLiteral("FN"))->Value, QStringLiteral("open"));
    EXPECT_EQ(ParseVCards("BEGIN:VCARD\nFN:back\\\nEND:VCARD").value(0).First(QStringLiteral("FN"))->Value,
              QStringLiteral("back\\"));
    for (const char *ics : {"", "BEGIN:VTODO", "BEGIN:VCALENDAR\nBEGIN:VTODO\nDUE:notadate\nEND:VTODO", "\x01\x02garbage"})
        EXPECT_LE(ReadTaskRows(ics).size(), 1) << ics;

    QTemporaryDir dir;
    QString type = QStringLiteral("unset");
    EXPECT_TRUE(OnlyItem(dir.path(), &type).Rows.isEmpty());
    EXPECT_EQ(type, QString());
    EXPECT_TRUE(ErrorOf([&] { PimFolderReader reader(dir.filePath("missing")); }).contains(u"does not exist"));
    EXPECT_TRUE(ErrorOf([&] { PimFolderReader(dir.path()).ReadItem(QStringLiteral("Calendar")); })
                    .contains(u"has no folder named 'Calendar'"));
}

} // namespace
} // namespace qv::data::test
