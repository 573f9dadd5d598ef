// The display-field and filter pages' rules without a window: display names,
// the refresh's field comparison and report, the operators, the value check,
// duplicates and the conditions written into a data view.
#include "wizard/DisplayFieldRules.h"
#include "wizard/FilterRules.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "format/DataFormat.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::wizard;

namespace {

// The resource strings the messages are made of.
class WizardRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetResourceLibrary(LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName))));
        ASSERT_FALSE(LoadResString(80004).isEmpty()) << "the resource strings are missing";
    }
    void TearDown() override { SetResourceLibrary(nullptr); }
};

// The error a call raises: its number and description (0 and "" for none).
template<typename Call>
std::pair<qint32, QString> ErrorOf(Call &&call)
{
    try {
        call();
    } catch (const ComError &error) {
        return {error.Number(), error.Description()};
    }
    return {0, QString()};
}

std::shared_ptr<config::Field> AddField(config::DataView &view, const char *name, int adoType, bool displayed = true)
{
    auto field = view.Fields.Add(QString::fromLatin1(name));
    field->DisplayName = field->Name;
    field->AdoType = adoType;
    field->Displayed = displayed;
    return field;
}

} // namespace

TEST_F(WizardRules, RenamedDisplayNamesAreCheckedInOrder)
{
    const QStringList grid{QStringLiteral("Name"), QStringLiteral("City"), QStringLiteral("Phone")};
    const QString hundred(100, u'x');
    struct Row
    {
        const char *what;
        QString typed;
        qsizetype row;
        qint32 error;
        QString kept;
    } rows[] = {
        {"another row's name in other case", QStringLiteral("name"), 1, kErrorDisplayNameTaken, {}},
        {"the row's own name in other case", QStringLiteral("NAME"), 0, 0, QStringLiteral("NAME")},
        {"blanks around are trimmed", QStringLiteral("  Town "), 1, 0, QStringLiteral("Town")},
        {"trimmed before the comparison", QStringLiteral(" city "), 2, kErrorDisplayNameTaken, {}},
        {"empty", QStringLiteral("   "), 2, kErrorDisplayNameEmpty, {}},
        {"100 characters", hundred, 2, 0, hundred},
        {"101 characters", hundred + u'y', 2, kErrorDisplayNameTooLong, {}},
    };
    for (const Row &r : rows) {
        QString kept;
        const auto [number, text] = ErrorOf([&] { kept = CheckRenamedDisplayName(grid, r.row, QStringLiteral("Fld"), r.typed); });
        EXPECT_EQ(number, r.error) << r.what;
        if (r.error == 0) {
            EXPECT_EQ(kept, r.kept) << r.what;
        }
    }
    EXPECT_EQ(ErrorOf([&] { CheckRenamedDisplayName(grid, 0, QStringLiteral("CustName"), QString()); }).second,
              LoadResString(80010, {QStringLiteral("CustName")}));
    EXPECT_EQ(ErrorOf([&] { CheckRenamedDisplayName(grid, 2, QStringLiteral("f"), hundred + u'y'); }).second,
              LoadResString(80009, {QStringLiteral("Display Field")}));
}

TEST_F(WizardRules, NewRowsAndForbiddenCharacters)
{
    const QStringList grid{QStringLiteral("Name")};
    EXPECT_EQ(ErrorOf([&] { CheckNewDisplayName(grid, QStringLiteral("NAME")); }),
              std::make_pair(kErrorDisplayNameTaken, LoadResString(80004, {QStringLiteral("Display Field")})));
    EXPECT_EQ(ErrorOf([&] { CheckNewDisplayName(grid, QStringLiteral("Names")); }).first, 0);
    EXPECT_TRUE(IsDisplayNameFree({}, QStringLiteral("x")));
    for (const char *name : {"a>b", "<a", "O'Brien", "R&D"})
        EXPECT_EQ(ErrorOf([&] { CheckDisplayNameChars(QString::fromLatin1(name)); }),
                  std::make_pair(kErrorDisplayNameChars, LoadResString(81341)))
            << name;
    for (const char *name : {"", "Name (2) - \"x\" / y %1", "a=b"})
        EXPECT_EQ(ErrorOf([&] { CheckDisplayNameChars(QString::fromLatin1(name)); }).first, 0) << name;
}

TEST(WizardFieldRefresh, ComparesByNameAndType)
{
    using S = FieldSignature;
    struct Row
    {
        const char *what;
        QList<S> view, source;
        QStringList removed;
        QList<S> added;
    } rows[] = {
        {"same", {{"A", 3}, {"B", 202}}, {{"A", 3}, {"B", 202}}, {}, {}},
        {"case only", {{"City", 202}}, {{"CITY", 202}}, {}, {}},
        {"gone", {{"A", 3}, {"B", 202}}, {{"B", 202}}, {"A"}, {}},
        {"new", {{"A", 3}}, {{"A", 3}, {"C", 7}}, {}, {{"C", 7}}},
        {"type changed", {{"A", 3}, {"B", 202}}, {{"A", 5}, {"B", 202}}, {"A"}, {{"A", 5}}},
        {"all new", {}, {{"X", 3}, {"Y", 3}}, {}, {{"X", 3}, {"Y", 3}}},
        {"source empty", {{"A", 3}}, {}, {"A"}, {}},
    };
    for (const Row &r : rows) {
        const FieldChanges changes = CompareFields(r.view, r.source);
        EXPECT_EQ(changes.Removed, r.removed) << r.what;
        EXPECT_EQ(changes.Added, r.added) << r.what;
        EXPECT_EQ(changes.Any(), !r.removed.isEmpty() || !r.added.isEmpty()) << r.what;
    }
}

TEST(WizardFieldRefresh, ReportListsTenNamesAtMost)
{
    QStringList names;
    for (int i = 1; i <= 11; ++i)
        names << QStringLiteral("F%1").arg(i);
    EXPECT_EQ(RemovedFieldsText({}), QString());
    EXPECT_EQ(RemovedFieldsText({QStringLiteral("Only")}), QStringLiteral("\nOnly"));
    EXPECT_EQ(RemovedFieldsText(names.mid(0, 10)), QStringLiteral("\nF1\nF2\nF3\nF4\nF5\nF6\nF7\nF8\nF9\nF10"));
    EXPECT_EQ(RemovedFieldsText(names),
              QStringLiteral("\nF1\nF2\nF3\nF4\nF5\nF6\nF7\nF8\nF9\nF10...\n(displaying first 10 fields)"));
}

TEST(WizardFilters, OperatorTextsBothWays)
{
    const biz::ConfigFileSettings operators;
    const char *stored[] = {"=", "<>", ">", ">=", "<", "<=", "like", "contains"};
    for (int code = 1; code <= 8; ++code) {
        const QString shown = OperatorTextFromStored(operators, QString::fromLatin1(stored[code - 1]));
        EXPECT_EQ(shown, operators.OperatorText(code)) << code;
        EXPECT_EQ(StoredFromOperatorText(operators, shown), QString::fromLatin1(stored[code - 1])) << code;
    }
    EXPECT_EQ(OperatorTextFromStored(operators, QStringLiteral("LIKE")), operators.OperatorText(7));
    EXPECT_EQ(OperatorTextFromStored(operators, QStringLiteral("between")), QString());
    EXPECT_EQ(StoredFromOperatorText(operators, QStringLiteral("=")), QString()) << "a stored text is not shown so";
    EXPECT_EQ(StoredFromOperatorText(operators, QString()), QString());
}

TEST(WizardFilters, ValuesAreCheckedForTheFieldAndOperator)
{
    const biz::ConfigFileSettings operators;
    auto store = config::ConfigStore::Create();
    auto view = store->DataViewCollection().AddBlank();
    const auto number = AddField(*view, "Qty", 3);
    const auto text = AddField(*view, "City", 202);
    const auto when = AddField(*view, "Ordered", 135);
    struct Row
    {
        const config::Field *field;
        int code;
        const char *value;
        bool valid;
    } rows[] = {
        {number.get(), 1, "12", true},        {number.get(), 1, "twelve", false},
        {number.get(), 3, "1,234", true},     {number.get(), 1, "1.5", false}, // an integer column
        {number.get(), 1, "(blank)", true},   {number.get(), 3, "(blank)", false},
        {number.get(), 3, "", false},         {number.get(), 3, "  ", false}, // added as "(blank)"
        {number.get(), 1, "", true},          {number.get(), 1, "(no filter)", true},
        {text.get(), 7, "Ber*", true},        {text.get(), 7, "(blank)", false},
        {text.get(), 2, "(blank)", true},     {when.get(), 4, "2002-06-04", true},
        {when.get(), 4, "someday", false},    {nullptr, 1, "12", false},
    };
    for (const Row &r : rows)
        EXPECT_EQ(IsFilterValueValid(operators, r.field, r.code, QString::fromLatin1(r.value)), r.valid)
            << (r.field ? r.field->Name.toStdString() : "(no field)") << " " << r.code << " " << r.value;
}

TEST(WizardFilters, DuplicatesIgnoreCase)
{
    const QList<FilterRow> rows{{"City", "equals", "Berlin"}, {"Qty", "is greater than", "(blank)"}};
    EXPECT_TRUE(FilterExists(rows, QStringLiteral("CITYEQUALSberlin")));
    EXPECT_TRUE(FilterExists(rows, QStringLiteral("qtyis greater than(BLANK)")));
    EXPECT_FALSE(FilterExists(rows, QStringLiteral("CityequalsBerlin ")));
    EXPECT_FALSE(FilterExists({}, QString()));
}

TEST(WizardFilters, WrittenConditionsAndTheListBack)
{
    const biz::ConfigFileSettings operators;
    const DataFormat format;
    auto store = config::ConfigStore::Create();
    auto view = store->DataViewCollection().AddBlank();
    const auto city = AddField(*view, "City", 202);
    const auto price = AddField(*view, "Price", 6, false);
    const auto upper = AddField(*view, "Code", 202);
    upper->ViewFormat = QStringLiteral("All Uppercase");
    city->AddCondition(QStringLiteral("old"), QStringLiteral("AND"), QStringLiteral("="));

    QList<FilterRow> rows{
        {"City", operators.OperatorText(1), "(blank)"},
        {"Gone", operators.OperatorText(1), "x"},
        {"price", operators.OperatorText(3), "$1,234.50"},
        {"Code", operators.OperatorText(7), "ab%"},
        {"City", operators.OperatorText(8), "Ber"},
    };
    EXPECT_EQ(WriteFilters(operators, format, *view, rows), QStringLiteral("Price"));
    ASSERT_EQ(city->Conditions.size(), 2u);
    EXPECT_EQ(city->Conditions[0].Value, QString()) << "an empty value is stored empty";
    EXPECT_EQ(city->Conditions[0].Operator, QStringLiteral("="));
    EXPECT_EQ(city->Conditions[0].Conjunction, QStringLiteral("AND"));
    EXPECT_EQ(city->Conditions[1].Operator, QStringLiteral("contains"));
    ASSERT_EQ(price->Conditions.size(), 1u);
    EXPECT_EQ(price->Conditions[0].Value, QStringLiteral("1234.5"));
    ASSERT_EQ(upper->Conditions.size(), 1u);
    EXPECT_EQ(upper->Conditions[0].Value, QStringLiteral("AB%"));
    EXPECT_EQ(rows[0].Value, QStringLiteral("(blank)"));
    EXPECT_EQ(rows[2].Value, QStringLiteral("1234.5")) << "the row shows what was stored";

    // Read back in collection order, fields then their conditions.
    const QList<FilterRow> shown = FilterRowsOf(operators, *view);
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0], (FilterRow{"City", operators.OperatorText(1), "(blank)"}));
    EXPECT_EQ(shown[1], (FilterRow{"City", operators.OperatorText(8), "Ber"}));
    EXPECT_EQ(shown[2].Field, QStringLiteral("Price"));

    QList<FilterRow> none;
    EXPECT_EQ(WriteFilters(operators, format, *view, none), QString());
    for (const auto &field : view->Fields)
        EXPECT_TRUE(field->Conditions.empty()) << field->Name.toStdString();
}

TEST(WizardFilters, ValueListTitleInProperCase)
{
    EXPECT_EQ(ValueListTitle(QStringLiteral("CUSTOMER name")), QStringLiteral("Customer Name Values"));
}
