// The data viewer's decisions that need no window: sort keys, header icons,
// settings that carry over, the copy of a data view and the totals row.
#include "TestMain.h"
#include "ViewerFixture.h"

#include "automation/ComError.h"
#include "automation/LocaleFacts.h"
#include "viewer/ViewerLoad.h"
#include "viewer/ViewerOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace qv;
using namespace qv::viewer;

namespace {

// The texts in the order their keys sort them, ascending; `values` are the
// typed values behind them, when the rows have them.
QStringList SortedBy(const QStringList &texts, SortKind kind, const QList<Variant> &values = {})
{
    const LocaleScope locale;
    DataFormat format;
    const auto keys = SortKeys(texts, values, kind, format);
    std::vector<int> order(size_t(texts.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return SortKeyLess(keys[size_t(a)], keys[size_t(b)]); });
    QStringList out;
    for (int i : order)
        out << texts[i];
    return out;
}

TEST(ViewerRules, SortKeysOrderNumbersAndDatesByValue)
{
    const test::ScopedLocale us("en_US");
    const struct { QStringList texts; SortKind kind; QStringList expected; } rows[] = {
        {{"$1,200.00", "-$5.00", "$30.00"}, SortKind::Decimal, {"-$5.00", "$30.00", "$1,200.00"}},
        // larger negative amounts first, texts without a number before all
        {{"-2", "-10", "n/a", "3", "(7.50)"}, SortKind::Decimal, {"n/a", "-10", "(7.50)", "-2", "3"}},
        {{"12/25/2023", "no date", "1/2/2024", "3/1/2023"}, SortKind::Date,
         {"no date", "3/1/2023", "12/25/2023", "1/2/2024"}},
        {{"10:30:00 PM", "9:15:00 AM"}, SortKind::Date, {"9:15:00 AM", "10:30:00 PM"}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SortedBy(row.texts, row.kind), row.expected) << row.texts.join('|').toStdString();
}

// Keys come from the values behind the texts: a percent cell reads "15.00%",
// identifiers differ in digits a double drops, a date shows in words.
TEST(ViewerRules, SortKeysComeFromTypedValues)
{
    const test::ScopedLocale us("en_US");
    const Variant big(qint64(12345678901234567)), bigger(qint64(12345678901234568));
    const struct { QStringList texts; QList<Variant> values; SortKind kind; QStringList expected; } rows[] = {
        {{"15.00%", "5.00%", "100.00%", ""}, {0.15, 0.05, 1.0, Variant::Null()}, SortKind::Decimal,
         {"", "5.00%", "15.00%", "100.00%"}},
        {{"15.00%", "5.00%", "-1.00%"}, {}, SortKind::Decimal, {"-1.00%", "5.00%", "15.00%"}},
        {{"B", "A"}, {bigger, big}, SortKind::Decimal, {"A", "B"}},
        {{"late", "early"}, {Variant(0.05f), Variant(Decimal{0, 4, 2, false})}, SortKind::Decimal, {"early", "late"}},
        {{"Tuesday", "Monday"}, {test::Day(2024, 3, 5), test::Day(2024, 3, 4)}, SortKind::Date, {"Monday", "Tuesday"}},
        {{"x", "y"}, {Variant("3/5/2024"), Variant("3/4/2024")}, SortKind::Date, {"y", "x"}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SortedBy(row.texts, row.kind, row.values), row.expected) << row.texts.join('|').toStdString();
}

TEST(ViewerRules, HeaderIconLaterRuleWins)
{
    const struct { qint32 sorted, totalled; bool linked; int icon; } rows[] = {
        {-1, 1, false, -1}, {1, 1, false, 0}, {0, 0, false, 1}, {0, 2, false, 2}, {1, 2, true, 3}, {-1, 0, true, 3},
    };
    for (const auto &row : rows) {
        biz::ColumnSetting setting;
        setting.Sorted = row.sorted;
        setting.Totalled = row.totalled;
        setting.Linked = row.linked;
        EXPECT_EQ(HeaderIconIndex(setting), row.icon) << row.sorted << ' ' << row.totalled << ' ' << row.linked;
    }
}

TEST(ViewerRules, SettingsCarryOverOnlyWhenEveryNameFits)
{
    auto make = [](const QStringList &names) {
        auto settings = std::make_shared<biz::ColumnSettings>();
        for (const QString &name : names) {
            auto s = std::make_shared<biz::ColumnSetting>();
            s->Caption = name;
            settings->Add(s, name);
        }
        return settings;
    };
    EXPECT_TRUE(SettingsMatch(make({"A", "B"}).get(), make({"b", "A"}).get()));
    EXPECT_FALSE(SettingsMatch(make({"A", "B"}).get(), make({"A", "C"}).get()));
    EXPECT_FALSE(SettingsMatch(make({"A"}).get(), make({"A", "B"}).get()));
    EXPECT_FALSE(SettingsMatch(nullptr, make({"A"}).get()));
}

TEST(ViewerRules, PreselectionKeysMatchOnceIgnoringCase)
{
    PreselectionKeys keys;
    keys.Add("Smith1");
    keys.Add("Smith1"); // a duplicate counts once
    keys.Add("");
    EXPECT_TRUE(keys.TakeMatch("SMITH1"));
    EXPECT_FALSE(keys.TakeMatch("smith1"));
    EXPECT_TRUE(keys.IsEmpty());
    EXPECT_FALSE(keys.TakeMatch(""));
}

TEST(ViewerLoad, FieldsMatchByNameBaseColumnOrLeadingCharacter)
{
    auto view = test::MakeView({{"Name"}, {"Hidden", ado::adVarWChar, FieldTypeText, "none", false}, {"City"}},
                               {{Variant("Ann"), Variant("x"), Variant("Oslo")}});
    auto rs = ado::Recordset::Create();
    rs->Fields().Append("Expr1", ado::adVarWChar, 50);
    rs->Fields().Append("Hidden", ado::adVarWChar, 50);
    rs->Fields().Append("[City", ado::adVarWChar, 50);
    rs->Fields().Append("Unknown", ado::adVarWChar, 50);
    rs->Fields().Item(0).SetProperty("BASECOLUMNNAME", Variant("Name"));
    view->Fields.Item("City")->DisplayName = "Town";
    const DisplayColumns columns = BuildDisplayColumns(*view, rs.get());
    ASSERT_EQ(columns.colSettings.size(), 2u);
    EXPECT_EQ(columns.colSettings[0]->Caption, "Name");
    EXPECT_EQ(columns.colSettings[1]->Caption, "Town");
    EXPECT_EQ(columns.colSourceFields, (std::vector<int>{0, 2}));
    EXPECT_TRUE(columns.oSettings->Item("town"));
}

TEST(ViewerLoad, NoShownFieldRaisesTheWizardHint)
{
    auto view = test::MakeView({{"Name", ado::adVarWChar, FieldTypeText, "none", false}}, {});
    try {
        BuildDisplayColumns(*view, view->Recordset.get());
        FAIL() << "no error";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), qint32(0x80040001));
        EXPECT_EQ(e.Description(),
                  "No Fields matched this Data View, Use the Data View Wizard to refresh this Data View.");
    }
}

TEST(ViewerLoad, CopyFormatsOnceLeavesNullEmptyAndStopsAtTheLimit)
{
    const test::ScopedLocale us("en_US");
    auto view = test::MakeView(test::PeopleColumns(), {{Variant("Ann"), test::Money(1234.5), Variant::Null()},
                                                       {Variant::Null(), Variant::Null(), test::Day(2024, 3, 9)},
                                                       {Variant("Cy"), test::Money(-2), test::Day(2024, 3, 10)}});
    const DisplayColumns columns = BuildDisplayColumns(*view, view->Recordset.get());
    CopyResult all = CopyRows(*view->Recordset, columns, 2000);
    ASSERT_EQ(all.colRows.size(), 3u);
    EXPECT_FALSE(all.bLimitReached);
    EXPECT_EQ(all.colRows[0].colTexts, (QList<QString>{"Ann", "$1,234.50", ""}));
    EXPECT_EQ(all.colRows[1].colTexts, (QList<QString>{"", "", "3/9/2024"}));
    EXPECT_EQ(all.colRows[2].colValues, (QList<Variant>{Variant("Cy"), test::Money(-2), test::Day(2024, 3, 10)}));
    EXPECT_EQ(all.colRows[2].sRawBookmark, "3");
    EXPECT_EQ(all.colRows[2].lDisplayBookmark, 3);

    // reaching the limit on the last row still reports it
    EXPECT_TRUE(CopyRows(*view->Recordset, columns, 3).bLimitReached);
    const CopyResult two = CopyRows(*view->Recordset, columns, 2);
    EXPECT_TRUE(two.bLimitReached);
    EXPECT_EQ(two.colRows.size(), 2u);
}

// A binary column shows what it holds in place of its bytes.
TEST(ViewerLoad, BinaryColumnsShowAPlaceholder)
{
    const test::ScopedLocale us("en_US");
    const Variant photo(QByteArray(2048, '\x89'));
    auto view = test::MakeView({{QStringLiteral("Name")}, {QStringLiteral("Photo"), ado::adLongVarBinary, FieldTypeNone, QString()}},
                               {{Variant("Ann"), photo}, {Variant("Bo"), Variant::Null()}});
    const DisplayColumns columns = BuildDisplayColumns(*view, view->Recordset.get());
    const CopyResult rows = CopyRows(*view->Recordset, columns, 2000);
    ASSERT_EQ(rows.colRows.size(), 2u);
    EXPECT_EQ(rows.colRows[0].colTexts, (QList<QString>{"Ann", "(binary data, 2048 bytes)"}));
    EXPECT_EQ(rows.colRows[0].colValues.value(1), photo);
    EXPECT_EQ(rows.colRows[1].colTexts, (QList<QString>{"Bo", ""}));
    // Bytes are no number and no date: they sort with the cells that have none.
    const QString shown = rows.colRows[0].colTexts[1];
    EXPECT_EQ(SortedBy({"5", shown}, SortKind::Decimal, {Variant(qint32(5)), photo}), (QStringList{shown, "5"}));
    EXPECT_EQ(SortedBy({"3/4/2024", shown}, SortKind::Date, {test::Day(2024, 3, 4), photo}), (QStringList{shown, "3/4/2024"}));
}

TEST(ViewerLoad, UnreadableSelectionXmlSelectsNothing)
{
    for (const char *xml : {"<xml>", "not xml at all", "<xml xmlns:rs='urn:schemas-microsoft-com:rowset'/>"})
        EXPECT_TRUE(ReadPreselection(xml, {"Name"}).IsEmpty()) << xml;
}

TEST(ViewerOutput, TotalsRowSumsMoneyUnderADollarLocale)
{
    const test::ScopedLocale us("en_US");
    DataViewerModel model;
    auto name = std::make_shared<biz::ColumnSetting>();
    name->Caption = "Name";
    auto amount = std::make_shared<biz::ColumnSetting>();
    amount->Caption = "Amount";
    amount->ColumnType = FieldTypeCurrency;
    amount->ViewFormat = "Currency";
    amount->Totalled = 2;
    model.ResetColumns({name, amount});
    model.AppendRows({{{"Ann", "$10.00"}, 1, "1"}, {{"Bo", "$5.50"}, 2, "2"}, {{"Cy", ""}, 3, "3"}});

    auto rs = BuildOutputRecordset(model, {0, 1, 2}, {{2, amount}, {1, name}});
    EXPECT_EQ(test::FieldNames(*rs), (QStringList{"Amount", "Name"}));
    EXPECT_EQ(test::Column(*rs, "Amount"), (QStringList{"$10.00", "$5.50", "", "$15.50"}));
    EXPECT_EQ(test::Column(*rs, "Name"), (QStringList{"Ann", "Bo", "Cy", ""}));
    EXPECT_EQ(rs->Fields().Item(0).DefinedSize(), 500);
}

// Totals add the typed values to the last digit and show as the column's
// kind; rows without values are read from their texts, "%" included.
TEST(ViewerOutput, TotalsAddTypedValuesExactly)
{
    const test::ScopedLocale us("en_US");
    auto id = std::make_shared<biz::ColumnSetting>();
    id->Caption = "Id";
    id->ColumnType = FieldTypeNumber;
    id->ViewFormat = "#,##0.00";
    id->Totalled = 2;
    auto rate = std::make_shared<biz::ColumnSetting>();
    rate->Caption = "Rate";
    rate->ColumnType = FieldTypePercent;
    rate->Totalled = 2;
    DataViewerModel model;
    model.ResetColumns({id, rate});
    DataViewerModel::Row first{{"12,345,678,901,234,567.00", "15.00%"}, 1, "1"};
    first.colValues = {Variant(qint64(12345678901234567)), Variant(0.15)};
    DataViewerModel::Row second{{"12,345,678,901,234,567.00", "5.00%"}, 2, "2"};
    second.colValues = {Variant(qint64(12345678901234567)), Variant(0.05)};
    model.AppendRows({first, second, {{"1.00", "100.00%"}, 3, "3"}});

    const auto totals = TotalsRow(model, {0, 1, 2}, {{1, id}, {2, rate}});
    EXPECT_EQ(totals, (QList<Variant>{Variant("24,691,357,802,469,135.00"), Variant("120.00%")}));
    auto rs = BuildOutputRecordset(model, {0, 1}, {{2, rate}});
    EXPECT_EQ(test::Column(*rs, "Rate"), (QStringList{"15.00%", "5.00%", "20.00%"}));
}

} // namespace
