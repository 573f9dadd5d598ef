// Changes made through a recordset read from rowset XML stay pending against
// the document and survive save and re-open.
#include "AdoTestSupport.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::ado;
using namespace qv::ado::test;

namespace {

const QString kSchema = QStringLiteral(
    "\t\t<a:AttributeType name='Name' r:number='1' b:type='string' b:maxLength='40'/>\r\n"
    "\t\t<a:AttributeType name='Qty' r:number='2' r:nullable='true' b:type='int'/>\r\n"
    "\t\t<a:AttributeType name='Key' r:number='3' r:hidden='true' b:type='int'/>\r\n");

// Three plain rows and one whose update was pending in the file already.
const QString kData = QStringLiteral(
    "\t<q:row Name='Tea' Qty='4' Key='1'/>\r\n"
    "\t<q:row Name='Jam' Qty='3' Key='2'/>\r\n"
    "\t<q:row Name='Pie' Qty='7' Key='3'/>\r\n"
    "\t<r:update>\r\n\t\t<r:original>\r\n\t\t\t<q:row Name='Bun' Qty='2' Key='4'/>\r\n\t\t</r:original>\r\n"
    "\t\t<q:row Qty='6'/>\r\n\t</r:update>\r\n");

void MoveToName(Recordset &rs, const QString &name)
{
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        if (rs.Fields().Item("Name").Value().ToText() == name)
            return;
    }
    FAIL() << "no row " << name.toStdString();
}

} // namespace

TEST(RowsetPending, EditAddAndDeleteAreWrittenAsPendingAndReadBack)
{
    auto rs = OpenText(AdoStyleFile(kSchema, kData));
    auto clone = rs->Clone();

    MoveToName(*rs, QStringLiteral("Jam"));
    rs->Fields().Item("Qty").SetValue(Variant(qint32(8)));
    rs->Update();
    MoveToName(*rs, QStringLiteral("Bun"));
    rs->Fields().Item("Qty").SetValue(Variant(qint32(9)));
    rs->Update();
    rs->AddNew({Variant("Name"), Variant("Qty")}, {Variant("Cake"), Variant(qint32(1))});

    MoveToName(*rs, QStringLiteral("Pie"));
    rs->Delete();
    EXPECT_EQ(ErrorOf([&] { rs->Fields().Item("Name").Value(); }), adErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { rs->Delete(); }), adErrNoCurrentRecord);
    rs->MoveNext(); // from the gap to the row after the deleted one
    EXPECT_EQ(rs->Fields().Item("Name").Value().ToText(), QStringLiteral("Bun"));

    // A row added and deleted again leaves nothing behind.
    rs->AddNew({Variant("Name")}, {Variant("Temp")});
    rs->Delete();

    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(Walk(*rs), QStringList({"Tea", "Jam", "Bun", "Cake"}));
    EXPECT_EQ(Walk(*clone), Walk(*rs)) << "a clone no longer shows the deleted row";
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(Variant(3.0)); }), adErrInvalidArgument);

    const QString saved = SaveToText(*rs);
    for (const char *part : {"\t<z:row Name='Tea' Qty='4' Key='1'/>\r\n",
                             "\t<rs:update>\r\n\t\t<rs:original>\r\n\t\t\t<z:row Name='Jam' Qty='3' Key='2'/>\r\n"
                             "\t\t</rs:original>\r\n\t\t<z:row Name='Jam' Qty='8' Key='2'/>\r\n\t</rs:update>",
                             // the original stays the one the file carried
                             "\t\t\t<z:row Name='Bun' Qty='2' Key='4'/>\r\n\t\t</rs:original>\r\n"
                             "\t\t<z:row Name='Bun' Qty='9' Key='4'/>",
                             "\t<rs:insert>\r\n\t\t<z:row Name='Cake' Qty='1'/>\r\n\t</rs:insert>",
                             "\t<rs:delete>\r\n\t\t<z:row Name='Pie' Qty='7' Key='3'/>\r\n\t</rs:delete>"})
        EXPECT_TRUE(saved.contains(QString::fromUtf8(part))) << part << "\n" << saved.toStdString();
    EXPECT_FALSE(saved.contains(u"Temp"));
    EXPECT_EQ(saved.count(u"<rs:update>"), 2);

    auto again = OpenText(saved);
    EXPECT_EQ(again->RecordCount(), 4);
    EXPECT_EQ(Walk(*again), Walk(*rs));
    EXPECT_EQ(Walk(*again, QStringLiteral("Qty")), QStringList({"4", "8", "9", "1"}));
    EXPECT_EQ(SaveToText(*again), saved) << "the pending state reads back the same";
}

TEST(RowsetPending, CursorAndFiltersAroundDeletedRows)
{
    auto rs = OpenText(AdoStyleFile(kSchema, kData));
    rs->MoveLast();
    rs->Delete(); // the last row: the cursor is past the end
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields().Item("Name").Value().ToText(), QStringLiteral("Pie"));

    rs->MoveFirst();
    rs->Delete();
    rs->Move(2); // from the gap: Jam is one ahead, Pie two
    EXPECT_EQ(rs->Fields().Item("Name").Value().ToText(), QStringLiteral("Pie"));

    rs->SetFilter(QList<Variant>{Variant(1.0), Variant(2.0), Variant(4.0)});
    EXPECT_EQ(Walk(*rs), QStringList({"Jam"})) << "bookmarks of deleted rows are skipped";
    rs->SetFilter(QStringLiteral("Qty > 0"));
    EXPECT_EQ(Walk(*rs), QStringList({"Jam", "Pie"}));
    rs->MoveFirst();
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->SetFilter(Filter());
    EXPECT_EQ(Walk(*rs), QStringList({"Pie"}));

    // Deleting the row being added drops it alone.
    rs->AddNew();
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 1);
}

TEST(RowsetPending, MadeUpRecordsetsAndReadOnlyDocuments)
{
    // A recordset made in memory has nothing to be pending against.
    auto people = People({"Ann", "Bob", "Cy"});
    people->Fields().Item("Name").SetValue(Variant("Anne"));
    people->MoveNext();
    people->Delete();
    const QString saved = SaveToText(*people);
    EXPECT_EQ(Walk(*OpenText(saved)), QStringList({"Anne", "Cy"}));
    for (const char *marker : {"rs:insert", "rs:update", "rs:delete"})
        EXPECT_FALSE(saved.contains(QString::fromUtf8(marker))) << marker;

    QString readOnly = AdoStyleFile(kSchema, kData);
    readOnly.replace(QStringLiteral(" r:updatable='true'"), QString());
    auto rs = OpenText(readOnly);
    EXPECT_EQ(ErrorOf([&] { rs->Fields().Item("Qty").SetValue(Variant(qint32(1))); }), adErrFeatureNotAvailable);
    EXPECT_EQ(ErrorOf([&] { rs->AddNew(); }), adErrFeatureNotAvailable);
    EXPECT_EQ(ErrorOf([&] { rs->Delete(); }), adErrFeatureNotAvailable);
    EXPECT_EQ(Walk(*rs), QStringList({"Tea", "Jam", "Pie", "Bun"}));
}
