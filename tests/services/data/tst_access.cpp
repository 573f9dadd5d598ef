#include "DataTestFiles.h"

#include "data/backends/AccessReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace qv::data::test {
namespace {

DataTable ReadTable(const char *file, const char *table)
{
    AccessReader reader(SharedFile(file));
    return reader.ReadItem(QString::fromUtf8(table));
}

TEST(AccessDatabase, Jet3TableKeepsEveryFieldTypeAndValue)
{
    // Table1 of the Access 97 file, as mdb-schema and mdb-export show it.
    const DataTable table = ReadTable("access/testV1997.mdb", "Table1");
    const QList<DataField> fields{{"A", ado::adVarWChar, 50},     {"B", ado::adVarWChar, 100}, {"C", ado::adUnsignedTinyInt, 1},
                                  {"D", ado::adSmallInt, 2},      {"E", ado::adInteger, 4},    {"F", ado::adDouble, 8},
                                  {"G", ado::adDate, 8},          {"H", ado::adCurrency, 8},   {"I", ado::adBoolean, 2}};
    EXPECT_EQ(table.Fields, fields);
    ASSERT_EQ(table.Rows.size(), 2);
    EXPECT_EQ(table.Rows[1], DataRow({"abcdefg", "hijklmnop", qint32(2), qint32(222), qint32(333333333), 444.555,
                                      DateValue{27293}, Currency{35000}, true}));
    EXPECT_EQ(ValueText(table, 0, QStringLiteral("G")), QStringLiteral("1981-12-12"));
    EXPECT_EQ(table.Rows[0][8], Variant(false));
}

TEST(AccessDatabase, TextDatesAndMemosOfLaterFormats)
{
    const DataTable unicode = ReadTable("access/testUnicodeCompV2003.mdb", "Table");
    ASSERT_EQ(unicode.Rows.size(), 8);
    EXPECT_EQ(ValueText(unicode, 2, QStringLiteral("Unicode")), QStringLiteral("Мир"));
    EXPECT_EQ(ValueText(unicode, 4, QStringLiteral("Unicode")), QStringLiteral("漢字仮名交じり文"));

    // Dates on both sides of the Gregorian reform, stored as OLE dates.
    const DataTable dates = ReadTable("access/oldDatesV2007.accdb", "Table1");
    QStringList days;
    for (qsizetype r = 0; r < dates.Rows.size(); ++r)
        days << ValueText(dates, r, QStringLiteral("DateField"));
    EXPECT_EQ(days, QStringList({"1582-10-15", "1582-10-14", "1492-01-10", "1392-01-10"}));

    const DataTable complex = ReadTable("access/complexDataTestV2007.accdb", "Table1");
    EXPECT_EQ(ValueText(complex, 2, QStringLiteral("append-memo-data")), QStringLiteral("row3-memo-again"));
    EXPECT_EQ(complex.Fields[complex.FieldIndex(QStringLiteral("memo-data"))].Type, ado::adLongVarWChar);
}

// Every item offered opens: saved queries, which cannot be run here, are not offered.
TEST(AccessDatabase, TheTablesAreTheDataItems)
{
    AccessReader reader(SharedFile("access/queryTestV2003.mdb"));
    const QStringList items = reader.DataItems();
    EXPECT_EQ(items, QStringList({"Table1", "Table2", "Table3"}));
    for (const QString &item : items)
        EXPECT_EQ(reader.ReadItem(item).Fields.size(), 3) << item.toStdString();
    EXPECT_TRUE(ErrorOf([&] { reader.ReadItem(QStringLiteral("SelectQuery")); }).contains(u"saved queries cannot be run"));
    EXPECT_TRUE(ErrorOf([&] { reader.ReadItem(QStringLiteral("Orders")); }).contains(u"has no table named 'Orders'"));
    // A user table whose name looks like a system table's is still a table.
    EXPECT_GE(IndexOfName(AccessReader(SharedFile("access/test2V2007.accdb")).DataItems(), QStringLiteral("MSysCompactError")), 0);
}

TEST(AccessDatabase, DamagedFilesRaise)
{
    QFile whole(SharedFile("access/test2V2003.mdb"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QTemporaryDir dir;
    for (const auto &[name, content] : {std::pair{"head.mdb", bytes.left(4096)}, std::pair{"text.mdb", QByteArray("hello\n")},
                                        std::pair{"empty.accdb", QByteArray()}}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const QString message = ErrorOf([&] { AccessReader reader(file.fileName()); });
        EXPECT_TRUE(message.contains(file.fileName()) && message.contains(u"cannot be read")) << message.toStdString();
    }
}

// The OLE Object column of the project table holds 22,970 bytes on several
// pages of their own.
TEST(AccessDatabase, LongBinaryColumnsKeepTheirBytes)
{
    const DataTable jet4 = ReadTable("access/test2V2003.mdb", "MSP_PROJECTS");
    const qsizetype field = jet4.FieldIndex(QStringLiteral("RESERVED_BINARY_DATA"));
    ASSERT_GE(field, 0);
    EXPECT_EQ(jet4.Fields[field].Type, ado::adLongVarBinary);
    const QByteArray *bytes = jet4.Rows[0][field].Get<QByteArray>();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->size(), 22970);
    EXPECT_TRUE(bytes->startsWith(QByteArray::fromHex("151c2d0002000000"))) << bytes->left(8).toHex().toStdString();
    EXPECT_EQ(bytes->mid(20, 8), QByteArray("Document"));

    const DataTable ace = ReadTable("access/test2V2007.accdb", "MSP_PROJECTS");
    EXPECT_EQ(ace.Rows[0][ace.FieldIndex(QStringLiteral("RESERVED_BINARY_DATA"))], jet4.Rows[0][field]);
}

// A damaged chain of long-value pages that leads back to its start ends the
// value instead of reading on for ever.
TEST(AccessDatabase, LongValuePagesInACircleEndTheValue)
{
    QFile whole(SharedFile("access/test2V2003.mdb"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QByteArray bytes = whole.readAll();
    constexpr qsizetype kPage = 4096;
    constexpr quint32 kFirst = 0x3500; // page 0x35, row 0, as the row's reference names it
    auto rowStart = [&](quint32 pageRow) {
        const qsizetype page = qsizetype(pageRow >> 8) * kPage;
        return page + (qFromLittleEndian<quint16>(bytes.constData() + page + 14 + 2 * (pageRow & 0xff)) & 0x1fff);
    };
    quint32 last = kFirst;
    for (int hops = 0; hops < 100; ++hops) {
        const quint32 next = qFromLittleEndian<quint32>(bytes.constData() + rowStart(last));
        if (next == 0)
            break;
        last = next;
    }
    ASSERT_NE(last, kFirst) << "the value no longer spans pages";
    qToLittleEndian<quint32>(kFirst, bytes.data() + rowStart(last));
    QTemporaryDir dir;
    QFile circle(dir.filePath(QStringLiteral("circle.mdb")));
    ASSERT_TRUE(circle.open(QIODevice::WriteOnly));
    circle.write(bytes);
    circle.close();

    const DataTable table = AccessReader(circle.fileName()).ReadItem(QStringLiteral("MSP_PROJECTS"));
    const QByteArray *value = table.Rows[0][table.FieldIndex(QStringLiteral("RESERVED_BINARY_DATA"))].Get<QByteArray>();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->size(), 22970);
}

} // namespace
} // namespace qv::data::test
