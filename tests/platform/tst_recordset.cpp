#include "AdoTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;
using namespace qv::ado;
using qv::ado::test::ErrorOf;
using qv::ado::test::People;
using qv::ado::test::Walk;

TEST(RecordsetFields, AppendLookupAndRefusals)
{
    Recordset rs;
    rs.Fields().Append(QStringLiteral("Last Name"), adVarWChar, 500, adFldUnspecified);
    rs.Fields().Append(QStringLiteral("Amount"), adCurrency);
    EXPECT_EQ(rs.Fields().Item(QStringLiteral("last NAME")).Name(), QStringLiteral("Last Name"));
    EXPECT_EQ(rs.Fields().Item(Variant(qint32(1))).Name(), QStringLiteral("Amount"));
    EXPECT_EQ(rs.Fields()["amount"].Type(), adCurrency);
    EXPECT_EQ(rs.Fields().Item(QStringLiteral("Amount")).DefinedSize(), 8); // fixed types size themselves
    EXPECT_EQ(ErrorOf([&] { rs.Fields().Append(QStringLiteral("AMOUNT"), adInteger); }), adErrObjectInCollection);
    EXPECT_EQ(ErrorOf([&] { rs.Fields().Append(QStringLiteral("X"), 999); }), adErrInvalidArgument);
    EXPECT_EQ(ErrorOf([&] { rs.Fields().Item(2); }), adErrItemNotFound);
    EXPECT_EQ(ErrorOf([&] { rs.Fields().Item(QStringLiteral("Nope")); }), adErrItemNotFound);
    EXPECT_EQ(ErrorOf([&] { rs.MoveFirst(); }), adErrObjectClosed);
    rs.Open();
    EXPECT_EQ(ErrorOf([&] { rs.Fields().Append(QStringLiteral("Late"), adInteger); }), adErrObjectOpen);
    EXPECT_EQ(ErrorOf([&] { rs.Open(); }), adErrObjectOpen);
    EXPECT_EQ(ErrorOf([] { Recordset none; none.Open(); }), adErrInvalidArgument);
}

TEST(RecordsetCursor, EmptyAndEnds)
{
    auto rs = People({});
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), adErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { rs->Fields().Item(0).Value(); }), adErrNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { rs->Bookmark(); }), adErrNoCurrentRecord);

    rs = People({"Ann", "Bob", "Cy"});
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MovePrevious();
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_FALSE(rs->IsEOF());
    EXPECT_EQ(rs->AbsolutePosition(), adPosBOF);
    EXPECT_EQ(ErrorOf([&] { rs->MovePrevious(); }), adErrNoCurrentRecord);
    rs->MoveLast();
    rs->MoveNext();
    EXPECT_EQ(rs->AbsolutePosition(), adPosEOF);
    rs->MovePrevious(); // from EOF back onto the last row
    EXPECT_EQ(rs->Fields().Item(QStringLiteral("Name")).Value().ToText(), QStringLiteral("Cy"));
    rs->SetAbsolutePosition(2);
    EXPECT_EQ(rs->Fields().Item(1).Value().ToText(), QStringLiteral("Bob"));
    EXPECT_EQ(ErrorOf([&] { rs->SetAbsolutePosition(4); }), adErrInvalidArgument);
    rs->Move(5);
    EXPECT_TRUE(rs->IsEOF());
}

TEST(RecordsetEdit, AddNewUpdateCancelAndConversion)
{
    auto rs = People({"Ann"});
    rs->AddNew();
    rs->Fields().Item(QStringLiteral("ID")).SetValue(Variant("42")); // text converts to the field's type
    rs->Fields().Item(QStringLiteral("Name")).SetValue(Variant("Zed"));
    EXPECT_EQ(rs->EditMode(), adEditAdd);
    rs->MoveFirst(); // moving keeps the new row
    EXPECT_EQ(Walk(*rs), QStringList({"Ann", "Zed"}));
    rs->MoveLast();
    EXPECT_EQ(rs->Fields().Item(0).Value().Type(), VarType::Long);
    EXPECT_EQ(rs->Fields().Item(0).Value().ToLong(), 42);
    EXPECT_EQ(ErrorOf([&] { rs->Fields().Item(0).SetValue(Variant("forty")); }), adErrDataConversion);

    rs->AddNew();
    rs->Fields().Item(1).SetValue(Variant("Dropped"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields().Item(1).Value().ToText(), QStringLiteral("Zed")); // back where it was

    rs->MoveFirst();
    rs->Fields().Item(1).SetValue(Variant("Anne"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields().Item(1).Value().ToText(), QStringLiteral("Ann"));
    rs->Fields().Item(1).SetValue(Variant());
    rs->Update();
    EXPECT_TRUE(rs->Fields().Item(1).Value().IsNull()); // Empty is stored as Null
}

TEST(RecordsetBookmarks, StableThroughFiltersAndClones)
{
    auto rs = People({"Ann", "Bob", "Cy", "Di"});
    rs->SetAbsolutePosition(3);
    const Variant cy = rs->Bookmark();
    EXPECT_EQ(cy.ToText(), QStringLiteral("3"));
    rs->SetFilter(QStringLiteral("Name <> 'Bob'"));
    rs->SetBookmark(cy);
    EXPECT_EQ(rs->Fields().Item(1).Value().ToText(), QStringLiteral("Cy"));
    EXPECT_EQ(rs->AbsolutePosition(), 2);

    auto clone = rs->Clone();
    EXPECT_TRUE(clone->Filter().IsNone());
    clone->SetBookmark(cy);
    EXPECT_EQ(clone->Fields().Item(1).Value().ToText(), QStringLiteral("Cy"));
    clone->SetBookmark(Variant("2")); // the text of a bookmark, as lists keep them
    EXPECT_EQ(clone->Fields().Item(1).Value().ToText(), QStringLiteral("Bob"));
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(Variant(2.0)); }), adErrInvalidArgument); // filtered out
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(Variant(99.0)); }), adErrInvalidArgument);
}

TEST(RecordsetFilter, BookmarkArrayKeepsListOrderAndSkipsStale)
{
    auto rs = People({"Ann", "Bob", "Cy", "Di", "Ed"});
    rs->SetFilter(QList<Variant>{Variant(4.0), Variant(99.0), Variant(qint32(1)), Variant(0.0), Variant(2.5),
                                 Variant("x"), Variant(4.0), Variant("2")});
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(Walk(*rs), QStringList({"Di", "Ann", "Bob"}));
    EXPECT_TRUE(rs->Filter().IsBookmarks());
    rs->SetFilter(QList<Variant>{});
    EXPECT_TRUE(rs->IsBOF() && rs->IsEOF());
    rs->SetFilter(adFilterNone);
    EXPECT_EQ(rs->RecordCount(), 5);
    rs->SetFilter(QStringLiteral("Name LIKE 'B*' OR Name = 'Ed'"));
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(ErrorOf([&] { rs->SetFilter(QStringLiteral("Nope = 1")); }), adErrInvalidArgument);
    EXPECT_EQ(rs->RecordCount(), 2); // a refused filter leaves the old one
}

TEST(RecordsetClone, SharesRowsWithItsOwnCursorAndFilter)
{
    auto rs = People({"Ann", "Bob"});
    auto clone = rs->Clone();
    clone->SetFilter(QStringLiteral("Name LIKE '*e*'"));
    EXPECT_EQ(clone->RecordCount(), 0);
    rs->AddNew({Variant("Name")}, {Variant("Eve")});
    EXPECT_EQ(Walk(*clone), QStringList({"Eve"})); // added through the original, seen by the clone
    clone->SetFilter(adFilterNone);
    clone->MoveLast();
    clone->AddNew({Variant("Name")}, {Variant("Flo")});
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(rs->Fields().Item(1).Value().ToText(), QStringLiteral("Eve")); // still on the row it added

    // A filtered view shows the row added through it, criteria or not.
    rs->SetFilter(QStringLiteral("Name = 'Ann'"));
    rs->AddNew({Variant("Name")}, {Variant("Gus")});
    EXPECT_EQ(Walk(*rs), QStringList({"Ann", "Gus"}));

    rs->Close();
    EXPECT_EQ(rs->State(), adStateClosed);
    EXPECT_EQ(clone->RecordCount(), 5); // closing one leaves its clones their rows
    EXPECT_EQ(rs->Fields().Count(), 2);
    rs->Open();
    EXPECT_EQ(rs->RecordCount(), 0);
}

// Values given to 64-bit and single-precision fields keep what those types
// hold: every digit of an identifier, a single's kind.
TEST(RecordsetEdit, WideAndSingleFieldsKeepTheirValues)
{
    Decimal wide;
    wide.Lo = 12345678901234567ULL;
    const struct { qint32 type; Variant given; Variant stored; } cases[] = {
        {adBigInt, Variant("12345678901234567"), Variant(qint64(12345678901234567LL))},
        {adBigInt, Variant(wide), Variant(qint64(12345678901234567LL))},
        {adBigInt, Variant("-9223372036854775808"), Variant(qint64(std::numeric_limits<qint64>::min()))},
        {adBigInt, Variant("2.5"), Variant(qint64(2))},
        {adSingle, Variant(0.05), Variant(0.05f)},
        {adSingle, Variant("0.05"), Variant(0.05f)},
    };
    for (const auto &c : cases) {
        Recordset rs;
        rs.Fields().Append(QStringLiteral("Value"), c.type);
        rs.Open();
        rs.AddNew();
        rs.Fields().Item(0).SetValue(c.given);
        rs.Update();
        EXPECT_EQ(rs.Fields().Item(0).Value(), c.stored) << c.given.ToText().toStdString();
    }
    Recordset rs;
    rs.Fields().Append(QStringLiteral("Value"), adBigInt);
    rs.Open();
    rs.AddNew();
    EXPECT_EQ(ErrorOf([&] { rs.Fields().Item(0).SetValue(Variant("9223372036854775808")); }), adErrDataConversion);
}
