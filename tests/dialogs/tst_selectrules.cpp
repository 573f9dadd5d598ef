#include "DialogsFixture.h"
#include "TestMain.h"
#include "dialogs/SelectDataRules.h"

#include "config/ConfigObjects.h"
#include "registry/Registry.h"

using namespace qv;
using namespace qv::dialogs;
using qv::test::DialogTest;

namespace {

struct StatusCase
{
    qint64 displayed, selected, total;
    const char *text;
};

} // namespace

TEST(SelectDataRules, StatusTextForEveryCount)
{
    const StatusCase cases[] = {
        {0, 3, 1200, "3 of 1,200 records selected"},
        {2000, 0, 50000, "First 2,000 of 50,000 records displayed"},
        {5, 0, 5, "First 5 records displayed"},
        {0, 0, 12, "12 records displayed"},
        {0, 0, 1, "1 record displayed"},
        {0, 1, 1, "1 of 1 record selected"},
        {0, 0, 0, ""},
        {2000, 0, -1, "First 2,000 of 2,000+ records displayed"},
        {2000, 3, -1, "3 of 2,000+ records selected"},
        {0, 0, -1, ""},
    };
    for (const StatusCase &c : cases)
        EXPECT_EQ(StatusText(c.displayed, c.selected, c.total), QString::fromUtf8(c.text)) << c.text;
    test::ScopedLocale german("de_DE");
    EXPECT_EQ(StatusText(0, 3, 1200), QStringLiteral("3 of 1.200 records selected"));
}

TEST(SelectDataRules, SelectionButtonsFollowTheTicks)
{
    struct Case
    {
        bool checkBoxes;
        qint64 rows, chosen;
        bool selectAll, deselectAll, ok, tick;
    };
    const Case cases[] = {
        {true, 10, 3, true, true, true, false},   {true, 10, 10, false, true, true, false},
        {true, 1, 1, false, false, true, false},  {true, 1, 0, false, false, true, true},
        {true, 10, 0, true, false, false, false}, {true, 0, 0, false, false, false, false},
        {false, 10, 1, false, false, true, false}, {false, 10, 0, false, false, false, false},
    };
    for (const Case &c : cases) {
        const SelectionButtons b = SelectionButtonStates(c.checkBoxes, c.rows, c.chosen);
        const std::string at = std::to_string(c.rows) + " rows, " + std::to_string(c.chosen) + " chosen";
        EXPECT_EQ(b.bSelectAll, c.selectAll) << at;
        EXPECT_EQ(b.bDeselectAll, c.deselectAll) << at;
        EXPECT_EQ(b.bOK, c.ok) << at;
        EXPECT_EQ(b.bTickOnlyRow, c.tick) << at;
    }
}

TEST(SelectDataRules, FilterRowAndValues)
{
    EXPECT_FALSE(FilterRowStates(false, 3, true).bField);
    const FilterRowState noOperators = FilterRowStates(true, 0, true);
    EXPECT_TRUE(noOperators.bField);
    EXPECT_FALSE(noOperators.bOperator || noOperators.bParam || noOperators.bApply);
    EXPECT_TRUE(FilterRowStates(true, 2, true).bApply);
    EXPECT_FALSE(FilterRowStates(true, 2, false).bApply);

    EXPECT_FALSE(ApplyEnabledForValue(QStringLiteral(" (no filter) "), false));
    EXPECT_FALSE(ApplyEnabledForValue(QStringLiteral("Leeds"), true));
    EXPECT_TRUE(ApplyEnabledForValue(QStringLiteral("(blank)"), false));
    EXPECT_EQ(ValueWithoutWildcards(QStringLiteral("%ee%"), 8), QStringLiteral("ee"));
    EXPECT_EQ(ValueWithoutWildcards(QStringLiteral("50%"), 1), QStringLiteral("50%"));
    EXPECT_EQ(InvalidFilterMessage(QStringLiteral("Amount"), QStringLiteral(">"), QStringLiteral("abc")),
              QStringLiteral("This filter is invalid: 'Amount > abc'"));
}

TEST(SelectDataRules, LayoutsMapBothWays)
{
    SetResourceLibrary(LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName))));
    const qint32 expected[] = {2, 5, 1, 3, 4};
    for (int i = 0; i < LayoutCount(); ++i) {
        EXPECT_EQ(FormatTypeOfLayoutText(LoadResString(quint32(LayoutStringId(i)))), expected[i]);
        EXPECT_EQ(LayoutIndexOfFormatType(expected[i]), i);
    }
    EXPECT_EQ(FormatTypeOfLayoutText(QStringLiteral("Bullets")), 0);
    EXPECT_EQ(LayoutIndexOfFormatType(9), 0);
    SetResourceLibrary(nullptr);
}

TEST(SelectDataRules, UnsavedFiltersGoSavedOnesStay)
{
    config::DataView view(1, std::make_shared<config::IdSource>(), {});
    auto city = view.Fields.Add(QStringLiteral("City"));
    auto amount = view.Fields.Add(QStringLiteral("Amount"));
    const qint32 own = amount->AddCondition(QStringLiteral("500"), QStringLiteral("AND"), QStringLiteral(">")).Id;
    const QSet<QString> saved = ConditionKeys(view);
    const qint32 first = city->AddCondition(QStringLiteral("Leeds"), QStringLiteral("AND"), QStringLiteral("=")).Id;
    const qint32 second = amount->AddCondition(QStringLiteral("9"), QStringLiteral("AND"), QStringLiteral("<")).Id;

    EXPECT_EQ(DiscardUnsavedFilters(view, saved, first), 1);
    EXPECT_TRUE(city->ConditionById(first));
    EXPECT_FALSE(amount->ConditionById(second));
    EXPECT_EQ(DiscardUnsavedFilters(view, saved), 1);
    EXPECT_TRUE(city->Conditions.empty());
    EXPECT_TRUE(amount->ConditionById(own));
}

TEST(SelectDataRules, ViewProgressTitles)
{
    EXPECT_EQ(ViewProgressTitle(QString()), QStringLiteral("(Untitled) Rows"));
    EXPECT_EQ(ViewProgressTitle(QStringLiteral("sample CUSTOMERS")), QStringLiteral("Sample Customers Rows"));
}

TEST_F(DialogTest, RememberedValuesRoundTripUnderTheirNames)
{
    EXPECT_EQ(ReadLastDataView().lType, -1);
    WriteLastDataView(7, 2);
    EXPECT_EQ(ReadLastDataView().lId, 7);
    EXPECT_EQ(ReadLastDataView().lType, 2);

    const ViewPlacement defaults = ReadViewPlacement();
    EXPECT_EQ(defaults.lCloseLeft, 7260);
    EXPECT_EQ(defaults.lCloseTop, 6300);
    WriteViewPlacement({1000, 2000, 30, 45});
    Registry registry;
    EXPECT_EQ(registry.GetValue(Registry::CurrentUser, kRegistryKey, QStringLiteral("PreveiwCloseTop"),
                                Registry::DWord).ToLong(), 2000);
    EXPECT_EQ(registry.GetValue(Registry::CurrentUser, kRegistryKey, QStringLiteral("FormPreveiwTop"),
                                Registry::DWord).ToLong(), 45);
}
