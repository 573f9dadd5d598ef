#include "AdoTestSupport.h"

#include "ado/Stream.h"
#include "automation/OleDate.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::ado;
using qv::ado::test::AdoStyleFile;
using qv::ado::test::ErrorOf;
using qv::ado::test::OpenText;
using qv::ado::test::SaveToText;
using qv::ado::test::Walk;

TEST(RowsetXml, RoundTripsEveryTypeAndNull)
{
    struct Column
    {
        const char *name;
        qint32 type;
        Variant value;
    };
    Decimal decimal;
    decimal.Lo = 123456789;
    decimal.Scale = 4;
    decimal.Negative = true;
    const QList<Column> columns = {
        {"Text", adVarWChar, Variant(QStringLiteral("<a href=\"x\">'&amp;'</a>\r\nline\ttab Ünïcødé 漢字 😀"))},
        {"Empty", adVarWChar, Variant(QString())},
        {"Memo", adLongVarWChar, Variant(QString(3000, u'm'))},
        {"Ansi", adVarChar, Variant("plain")},
        {"Tiny", adTinyInt, Variant(qint32(-7))},
        {"Small", adSmallInt, Variant(qint32(-32000))},
        {"Long", adInteger, Variant(qint32(2147483647))},
        {"Big", adBigInt, Variant(qint64(-9000000000000000000))},
        {"UInt", adUnsignedInt, Variant(qint64(4000000000))},
        {"Single", adSingle, Variant(0.1f)},
        {"Double", adDouble, Variant(1.0 / 3.0)},
        {"Money", adCurrency, Variant(Currency{-123456789})},
        {"Dec", adDecimal, Variant(decimal)},
        {"Num", adNumeric, Variant(decimal)},
        {"VarNum", adVarNumeric, Variant(decimal)},
        {"Flag", adBoolean, Variant(true)},
        {"When", adDate, Variant(DateValue{DateTimeToOleDate(QDate(1999, 12, 31), QTime(23, 59, 58))})},
        {"Stamp", adDBTimeStamp, Variant(DateValue{DateTimeToOleDate(QDate(2024, 2, 29), QTime(1, 2, 3, 450))})},
        {"Day", adDBDate, Variant(DateValue{DateTimeToOleDate(QDate(1850, 1, 1))})},
        {"Guid", adGUID, Variant("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")},
        {"Bytes", adVarBinary, Variant(QByteArray::fromHex("00ff10"))},
    };
    Recordset rs;
    for (const Column &c : columns)
        rs.Fields().Append(QString::fromUtf8(c.name), c.type, 500, adFldIsNullable | adFldMayBeNull);
    rs.Open();
    rs.AddNew();
    for (const Column &c : columns)
        rs.Fields().Item(QString::fromUtf8(c.name)).SetValue(c.value);
    rs.Update();
    rs.AddNew(); // a row of Nulls
    rs.Update();

    auto back = OpenText(SaveToText(rs));
    ASSERT_EQ(back->Fields().Count(), columns.size());
    EXPECT_EQ(back->RecordCount(), 2);
    for (const Column &c : columns) {
        const Field &field = back->Fields().Item(QString::fromUtf8(c.name));
        EXPECT_EQ(field.Type(), c.type) << c.name;
        EXPECT_EQ(field.Value(), c.value) << c.name;
    }
    EXPECT_EQ(back->Fields().Item(QStringLiteral("Memo")).DefinedSize(), 500);
    back->MoveNext();
    for (const Column &c : columns)
        EXPECT_TRUE(back->Fields().Item(QString::fromUtf8(c.name)).Value().IsNull()) << c.name;
}

TEST(RowsetXml, WritesAdoShapeAndOddNames)
{
    Recordset rs;
    rs.Fields().Append(QStringLiteral("Last Name"), adVarWChar, 500, adFldUnspecified);
    rs.Fields().Append(QStringLiteral("COUNT(*)"), adInteger, 4, 0);
    rs.Fields().Append(QStringLiteral("_id"), adVarWChar, 10, adFldUnspecified);
    rs.Fields().Append(QStringLiteral("c0"), adVarWChar, 10, adFldUnspecified); // would clash with a made name
    rs.Fields().Append(QStringLiteral("Ort"), adVarWChar, 10, adFldUnspecified);
    rs.Open();
    rs.AddNew({Variant(qint32(0)), Variant(qint32(1)), Variant(qint32(2)), Variant(qint32(3)), Variant(qint32(4))},
              {Variant("it's"), Variant(qint32(3)), Variant("u"), Variant("c"), Variant("Köln")});
    const QString xml = SaveToText(rs);
    EXPECT_TRUE(xml.startsWith(QStringLiteral("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n")));
    EXPECT_FALSE(xml.contains(u'"'));
    EXPECT_TRUE(xml.contains(QStringLiteral("\t\t<s:AttributeType name='c0' rs:name='Last Name' rs:number='1'")));
    EXPECT_TRUE(xml.contains(QStringLiteral("rs:maybenull='false'/>"))); // COUNT(*) may not be Null
    EXPECT_TRUE(xml.contains(QStringLiteral("c0='it&apos;s'")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<rs:data>\r\n\t<z:row ")));
    EXPECT_FALSE(xml.contains(QStringLiteral("\n\n")));

    auto back = OpenText(xml);
    QStringList names;
    for (int i = 0; i < back->Fields().Count(); ++i)
        names << back->Fields().Item(i).Name() + u'=' + back->Fields().Item(i).Value().ToText();
    EXPECT_EQ(names, QStringList({"Last Name=it's", "COUNT(*)=3", "_id=u", "c0=c", "Ort=Köln"}));
}

TEST(RowsetXml, SavesOnlyTheFilteredRows)
{
    auto rs = qv::ado::test::People({"Ann", "Bob", "Cy"});
    rs->SetFilter(QList<Variant>{Variant(3.0), Variant(1.0)});
    auto back = OpenText(SaveToText(*rs));
    EXPECT_EQ(Walk(*back), QStringList({"Cy", "Ann"}));
}

TEST(RowsetXml, ReadsFilesAsAdoWritesThem)
{
    // Fields listed out of number order, a type on the AttributeType, one
    // declared outside and referenced, one without a type, a hidden key,
    // Booleans both ways, and pending changes.
    const QString schema = QStringLiteral(
        "\t\t<a:AttributeType name='c1' r:name='Unit Price' r:number='2' r:nullable='true'\r\n"
        "\t\t\t r:basetable='Products' r:basecolumn='UnitPrice'>\r\n"
        "\t\t\t<a:datatype b:type='number' r:dbtype='currency' b:maxLength='8' r:precision='19'\r\n"
        "\t\t\t r:fixedlength='true'/>\r\n\t\t</a:AttributeType>\r\n"
        "\t\t<a:AttributeType name='Name' r:number='1' b:type='string' b:maxLength='40'/>\r\n"
        "\t\t<a:AttributeType name='Note' r:number='4' r:nullable='true'/>\r\n"
        "\t\t<a:AttributeType name='Key' r:number='5' r:hidden='true' b:type='int'/>\r\n"
        "\t\t<a:attribute type='InStock'/>\r\n");
    const QString outside = QStringLiteral(
        "<a:AttributeType name='InStock' r:number='3'><a:datatype b:type='boolean' b:maxLength='2'/></a:AttributeType>\r\n");
    QString xml = AdoStyleFile(schema,
                               QStringLiteral("\t<q:row Name='Tea' c1='4.5' InStock='True' Key='1'/>\r\n"
                                              "\t<q:row Name='Jam' c1='12' InStock='0' Note=''/>\r\n"
                                              "\t<r:insert>\r\n\t\t<q:row Name='New' InStock='1'/>\r\n\t</r:insert>\r\n"
                                              "\t<r:update>\r\n\t\t<r:original>\r\n\t\t\t<q:row Name='Old' c1='3' InStock='1'/>\r\n"
                                              "\t\t</r:original>\r\n\t\t<q:row Name='Changed' r:forcenull='c1'/>\r\n"
                                              "\t</r:update>\r\n"
                                              "\t<r:delete>\r\n\t\t<q:row Name='Gone'/>\r\n\t</r:delete>\r\n"
                                              "\t<r:unknown><q:row Name='Ignored'/></r:unknown>\r\n"));
    xml.replace(QStringLiteral("<a:Schema id='RowsetSchema'>\r\n"), QStringLiteral("<a:Schema id='RowsetSchema'>\r\n") + outside);
    auto rs = OpenText(xml);
    ASSERT_EQ(rs->Fields().Count(), 4);
    EXPECT_EQ(rs->Fields().Item(1).Name(), QStringLiteral("Unit Price"));
    EXPECT_EQ(rs->Fields().Item(1).Type(), adCurrency);
    EXPECT_EQ(rs->Fields().Item(1).Precision(), 19);
    EXPECT_EQ(rs->Fields().Item(1).Property(QStringLiteral("basecolumnname")).ToText(), QStringLiteral("UnitPrice"));
    EXPECT_EQ(rs->Fields().Item(2).Type(), adBoolean);
    EXPECT_EQ(rs->Fields().Item(3).Type(), adVarWChar);
    EXPECT_EQ(Walk(*rs), QStringList({"Tea", "Jam", "New", "Changed"}));
    // The new side of an update lists what changed; the rest comes from the original.
    EXPECT_EQ(Walk(*rs, QStringLiteral("InStock")), QStringList({"True", "False", "True", "True"}));
    EXPECT_EQ(Walk(*rs, QStringLiteral("Unit Price")), QStringList({"4.5", "12", "", ""}));
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields().Item(1).Value(), Variant(Currency{45000}));
    EXPECT_TRUE(rs->Fields().Item(3).Value().IsNull());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields().Item(3).Value(), Variant(QString())); // empty, not Null
}

// Pending changes and hidden keys survive open and save: what a re-save
// writes reads back the same and saves to the same text.
TEST(RowsetXml, PendingChangesAndHiddenKeysRoundTrip)
{
    const QString schema = QStringLiteral(
        "\t\t<a:AttributeType name='Name' r:number='1' b:type='string' b:maxLength='40'/>\r\n"
        "\t\t<a:AttributeType name='Qty' r:number='2' r:nullable='true' b:type='int'/>\r\n"
        "\t\t<a:AttributeType name='Key' r:number='3' r:hidden='true' b:type='int'/>\r\n");
    const QString data = QStringLiteral(
        "\t<q:row Name='Tea' Qty='4' Key='1'/>\r\n"
        "\t<r:update>\r\n\t\t<r:original>\r\n\t\t\t<q:row Name='Jam' Qty='3' Key='2'/>\r\n\t\t</r:original>\r\n"
        "\t\t<q:row Qty='5'/>\r\n\t</r:update>\r\n"
        "\t<r:update>\r\n\t\t<r:original>\r\n\t\t\t<q:row Name='Pie' Qty='7'/>\r\n\t\t</r:original>\r\n"
        "\t\t<q:row r:forcenull='Qty'/>\r\n\t</r:update>\r\n"
        "\t<r:insert>\r\n\t\t<q:row Name='New' Qty='1'/>\r\n\t\t<q:row Name='Newer'/>\r\n\t</r:insert>\r\n"
        "\t<r:delete>\r\n\t\t<q:row Name='Gone' Qty='9' Key='3'/>\r\n\t</r:delete>\r\n");
    auto rs = OpenText(AdoStyleFile(schema, data));
    ASSERT_EQ(rs->Fields().Count(), 2) << "the hidden key is no field of the rows";
    EXPECT_EQ(Walk(*rs), QStringList({"Tea", "Jam", "Pie", "New", "Newer"}));
    EXPECT_EQ(Walk(*rs, QStringLiteral("Qty")), QStringList({"4", "5", "", "1", ""}));

    const QString saved = SaveToText(*rs);
    for (const char *part : {" rs:updatable='true'>", "<s:AttributeType name='Key' rs:number='3' rs:hidden='true'",
                             "<z:row Name='Tea' Qty='4' Key='1'/>",
                             "\t<rs:update>\r\n\t\t<rs:original>\r\n\t\t\t<z:row Name='Jam' Qty='3' Key='2'/>\r\n"
                             "\t\t</rs:original>\r\n\t\t<z:row Name='Jam' Qty='5' Key='2'/>\r\n\t</rs:update>",
                             "<z:row rs:forcenull='Qty' Name='Pie'/>",
                             "\t<rs:insert>\r\n\t\t<z:row Name='New' Qty='1'/>\r\n\t\t<z:row Name='Newer'/>\r\n\t</rs:insert>",
                             "\t<rs:delete>\r\n\t\t<z:row Name='Gone' Qty='9' Key='3'/>\r\n\t</rs:delete>"})
        EXPECT_TRUE(saved.contains(QString::fromUtf8(part))) << part << "\n" << saved.toStdString();
    auto again = OpenText(saved);
    EXPECT_EQ(Walk(*again), Walk(*rs));
    EXPECT_EQ(Walk(*again, QStringLiteral("Qty")), Walk(*rs, QStringLiteral("Qty")));
    EXPECT_EQ(SaveToText(*again), saved);

    // A schema that does not say its rows are updatable stays so.
    QString readOnly = AdoStyleFile(schema, QStringLiteral("\t<q:row Name='Tea'/>\r\n"));
    readOnly.replace(QStringLiteral(" r:updatable='true'"), QString());
    EXPECT_FALSE(SaveToText(*OpenText(readOnly)).contains(u"updatable"));
}

TEST(RowsetXml, FilesInEveryEncoding)
{
    const QString xml = AdoStyleFile(QStringLiteral("<a:AttributeType name='N' r:number='1'/>"),
                                     QStringLiteral("<q:row N='Grüße'/>"));
    QTemporaryDir dir;
    const std::pair<const char *, QByteArray> files[] = {
        {"plain.xml", xml.toUtf8()},
        {"declared.xml", "<?xml version='1.0' encoding='UTF-8'?>\r\n" + xml.toUtf8()},
        {"bom.xml", QByteArray("\xEF\xBB\xBF") + xml.toUtf8()},
        {"utf16.xml", QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(xml.utf16()), xml.size() * 2)},
    };
    for (const auto &[name, bytes] : files) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        Recordset rs;
        rs.Open(file.fileName());
        EXPECT_EQ(rs.Fields().Item(0).Value().ToText(), QStringLiteral("Grüße")) << name;
        rs.Save(dir.filePath(QStringLiteral("out.xml")));
    }
    Recordset again;
    again.Open(dir.filePath(QStringLiteral("out.xml")));
    EXPECT_EQ(again.Fields().Item(0).Value().ToText(), QStringLiteral("Grüße"));
    EXPECT_EQ(ErrorOf([&] { Recordset rs; rs.Open(dir.filePath(QStringLiteral("missing.xml"))); }), adErrFileNotFound);
}

TEST(RowsetXml, BrokenInputRaisesAClearError)
{
    const QString field = QStringLiteral("<a:AttributeType name='N' r:number='1' b:type='int'/>");
    const std::pair<QString, const char *> cases[] = {
        {QString(), "cannot be read"},
        {QStringLiteral("<xml"), "line"},
        {QStringLiteral("<root/>"), "root must be <xml>"},
        {AdoStyleFile(field, QStringLiteral("<q:row N='12x'/>")), "\"12x\" of the field \"N\""},
        {AdoStyleFile(field, QStringLiteral("<q:row N='1'><q:row N='2'/></q:row>")), "hierarchical"},
        {AdoStyleFile(QString(), QString()), "no fields"},
        {AdoStyleFile(QStringLiteral("<a:attribute type='Nowhere'/>"), QString()), "not declared"},
        {AdoStyleFile(field, QStringLiteral("<q:row N='1'/>")).chopped(10), "line"},
        {AdoStyleFile(field, QStringLiteral("<q:row N='1'/>")).replace(QStringLiteral("<r:data>"), QStringLiteral("<r:dat>")).replace(QStringLiteral("</r:data>"), QStringLiteral("</r:dat>")), "rs:data element is missing"},
        {QStringLiteral("<!DOCTYPE xml [<!ENTITY e 'x'>]><xml/>"), "document type"},
        {AdoStyleFile(field, QStringLiteral("<r:insert><r:insert><r:insert><q:row N='1'/></r:insert></r:insert></r:insert>")),
         "nest deeper"},
        {AdoStyleFile(field, QStringLiteral("<q:row N='1'>text</q:row>")), "unexpected text"},
        {AdoStyleFile(field, QStringLiteral("<q:row N='1'/>")).replace(QStringLiteral("</xml>"), QStringLiteral("<a:Schema/></xml>")), "second schema"},
    };
    for (const auto &[xml, message] : cases) {
        try {
            OpenText(xml);
            ADD_FAILURE() << "accepted: " << xml.toStdString();
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), kErrBadPersistedRecordset) << message;
            EXPECT_TRUE(e.Description().contains(QString::fromUtf8(message))) << e.what();
        }
    }
}

TEST(RowsetXml, UnwritableCharacterIsRefusedNotLost)
{
    auto rs = qv::ado::test::People({QStringLiteral("bell\x07")});
    Stream stream;
    stream.Open();
    EXPECT_EQ(ErrorOf([&] { rs->Save(stream); }), adErrInvalidArgument);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(Stream, TextPositionsAndEnds)
{
    Stream stream;
    EXPECT_EQ(ErrorOf([&] { stream.WriteText(QStringLiteral("x")); }), adErrObjectClosed);
    stream.Open();
    stream.WriteText(QStringLiteral("first"), adWriteLine);
    stream.WriteText(QStringLiteral("ßecond"));
    EXPECT_EQ(stream.Size(), 2 + 2 * 13); // byte-order mark and UTF-16
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadText(adReadLine), QStringLiteral("first"));
    EXPECT_EQ(stream.ReadText(2), QStringLiteral("ße"));
    EXPECT_EQ(stream.ReadText(), QStringLiteral("cond"));
    EXPECT_TRUE(stream.EOS());
    // Writing inside the text overwrites in place and keeps what follows.
    stream.SetPosition(2);
    stream.WriteText(QStringLiteral("F"));
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(stream.Size(), 2 + 2 * 13);
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadText(), QStringLiteral("First\r\nßecond"));
    stream.SetPosition(2 + 2 * 7);
    stream.SetEOS();
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadText(), QStringLiteral("First\r\n"));
    EXPECT_EQ(ErrorOf([&] { stream.SetPosition(1000); }), adErrInvalidArgument);
    stream.Close();

    stream.SetCharset(QStringLiteral("utf-8"));
    stream.Open();
    stream.WriteText(QStringLiteral("Grüße"));
    EXPECT_EQ(stream.Bytes(), QByteArray("Gr\xC3\xBC\xC3\x9F" "e"));
    EXPECT_EQ(ErrorOf([&] { stream.SetCharset(QStringLiteral("klingon")); }), adErrInvalidArgument);
}

TEST(RowsetXml, ReadsTheValueSpellingsOfOtherWriters)
{
    // Times with a zone mark, 17-digit doubles, i4/r8 spellings, hexadecimal
    // in capitals, Booleans as digits, and no rs:number at all.
    const QString schema = QStringLiteral(
        "<a:AttributeType name='When'><a:datatype b:type='dateTime'/></a:AttributeType>"
        "<a:AttributeType name='Pi'><a:datatype b:type='r8'/></a:AttributeType>"
        "<a:AttributeType name='Count'><a:datatype b:type='i4'/></a:AttributeType>"
        "<a:AttributeType name='Bin'><a:datatype b:type='bin.hex' b:maxLength='8'/></a:AttributeType>"
        "<a:AttributeType name='Flag'><a:datatype b:type='boolean'/></a:AttributeType>");
    auto rs = OpenText(AdoStyleFile(schema, QStringLiteral("<q:row When='2008-01-25T13:04:00Z' Pi='3.1415926535897932'"
                                                           " Count=' 42 ' Bin='00000000499602D2' Flag='1'/>")));
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("When")).Type(), adDBTimeStamp);
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("When")).Value(),
              Variant(DateValue{DateTimeToOleDate(QDate(2008, 1, 25), QTime(13, 4))}));
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("Pi")).Value(), Variant(3.141592653589793));
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("Count")).Value(), Variant(qint32(42)));
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("Flag")).Value(), Variant(true));
    // Bytes are read as bytes and written back as lower-case hexadecimal.
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("Bin")).Value(), Variant(QByteArray::fromHex("00000000499602d2")));
    EXPECT_TRUE(SaveToText(*rs).contains(QStringLiteral("Bin='00000000499602d2'")));
}

TEST(RowsetXml, BinaryFieldsInBothSpellingsFiltersAndBrokenHex)
{
    const QString schema = QStringLiteral(
        "<a:AttributeType name='Hex'><a:datatype b:type='bin.hex' b:maxLength='1073741823' r:long='true'/></a:AttributeType>"
        "<a:AttributeType name='B64'><a:datatype b:type='bin.base64' b:maxLength='4'/></a:AttributeType>");
    auto rs = OpenText(AdoStyleFile(schema, QStringLiteral("<q:row Hex='00ff10' B64='AP8Q'/><q:row Hex='0A'/>")));
    const Variant bytes(QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("Hex")).Value(), bytes);
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("B64")).Value(), bytes);
    rs->SetFilter(QStringLiteral("Hex = '0a'"));
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->SetFilter(QStringLiteral("Hex LIKE '00ff*'"));
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->SetFilter(Filter());

    auto again = OpenText(SaveToText(*rs));
    EXPECT_EQ(again->Fields().Item(QStringLiteral("B64")).Value(), bytes);
    EXPECT_EQ(again->Fields().Item(QStringLiteral("Hex")).Type(), adLongVarBinary);

    for (const char *broken : {"0", "0g", "zz", "12 4"}) {
        const QString row = QStringLiteral("<q:row Hex='%1'/>").arg(QString::fromLatin1(broken));
        EXPECT_EQ(ErrorOf([&] { OpenText(AdoStyleFile(schema, row)); }), kErrBadPersistedRecordset) << broken;
    }
}
