#include "TestMain.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigObjects.h"

#include "automation/ComError.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::biz;

namespace {

config::Field FieldOf(int adoType, int dataKind = 0)
{
    config::Field field(1, std::make_shared<config::IdSource>());
    field.Name = QStringLiteral("F");
    field.AdoType = adoType;
    field.DataKind = dataKind;
    return field;
}

} // namespace

TEST(FilterRules, OperatorTextsAndCodes)
{
    ConfigFileSettings rules;
    const char *stored[] = {"=", "<>", ">", ">=", "<", "<=", "like", "contains"};
    QStringList shown;
    for (int code = 1; code <= 8; ++code) {
        EXPECT_EQ(rules.StoredOperatorText(code), QLatin1String(stored[code - 1]));
        EXPECT_EQ(rules.OperatorCode(rules.StoredOperatorText(code)), code);
        EXPECT_FALSE(rules.OperatorText(code).isEmpty());
        shown << rules.OperatorText(code);
    }
    shown.removeDuplicates();
    EXPECT_EQ(shown.size(), 8) << "each operator reads differently in the list";
    EXPECT_EQ(rules.OperatorCode(QStringLiteral(" LIKE ")), 7);
    EXPECT_EQ(rules.OperatorCode(QStringLiteral("==")), 0);
    EXPECT_EQ(rules.OperatorCode(QString()), 0);
    EXPECT_EQ(rules.OperatorText(0), QString());
    EXPECT_EQ(rules.StoredOperatorText(9), QString());
}

TEST(FilterRules, OperatorsBySourceKindAndFieldType)
{
    const struct { int source, adoType, dataKind; QList<int> codes; } rows[] = {
        {6, 202, 0, {1, 2, 3, 4, 5, 6, 7, 8}},  // Access text
        {1, 202, 0, {1, 2, 3, 4, 5, 6, 8}},     // a contacts folder takes no patterns
        {4, 203, 0, {1, 2, 7, 8}},              // memo
        {1, 201, 0, {1, 2, 8}},
        {2, 3, 0, {1, 2, 3, 4, 5, 6}},          // integer
        {4, 135, 0, {1, 2, 3, 4, 5, 6}},        // date
        {6, 6, 0, {1, 2, 3, 4, 5, 6}},          // currency
        {6, 11, 0, {1, 2}},                     // yes/no
        {5, 72, 0, {1, 2}},                     // GUID
        {6, 205, 0, {}},                        // binary: nothing to compare
        {6, 0, 5, {1, 2, 3, 4, 5, 6}},          // type unknown: the field kind decides
        {6, 0, 8, {1, 2, 7, 8}},
        {6, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    ConfigFileSettings rules;
    for (const auto &row : rows)
        EXPECT_EQ(rules.AllowedOperators(row.source, FieldOf(row.adoType, row.dataKind)), row.codes)
            << "source " << row.source << " type " << row.adoType << " kind " << row.dataKind;
}

TEST(FilterRules, ValuesSuitTheFieldType)
{
    const struct { int adoType; const char *value; bool valid; } rows[] = {
        {202, "anything at all %", true},
        {3, "1,234", true}, {3, "12.5", false}, {3, "abc", false}, {3, "3000000000", false},
        {2, "40000", false}, {2, "-32768", true}, {17, "-1", false}, {20, "9000000000", true},
        {5, "1.5E3", true}, {5, "(12.50)", true}, {5, "1/2/2024", false},
        {6, "$1,250.50", true}, {14, "0.0000000001", true},
        {135, "March 3, 2024", true}, {135, "2024-02-30", false}, {135, "3/14/2024 10:30 PM", true},
        {7, "42", false}, {134, "10:30", true},
        {11, "Yes", true}, {11, "false", true}, {11, "-1", true}, {11, "maybe", false},
        {72, "{6F9619FF-8B86-D011-B42D-00C04FC964FF}", true}, {72, "6F9619FF8B86D011B42D00C04FC964FF", true},
        {72, "6F9619FF", false},
        {205, "00FF", false},
        {3, "", true}, {3, "   ", true},
    };
    ConfigFileSettings rules;
    for (const auto &row : rows)
        EXPECT_EQ(rules.IsValueValid(QString::fromUtf8(row.value), FieldOf(row.adoType)), row.valid)
            << "type " << row.adoType << " value \"" << row.value << "\"";

    // The locale's own decimal character counts.
    test::ScopedLocale german("de_DE");
    EXPECT_TRUE(rules.IsValueValid(QStringLiteral("1.234,5"), FieldOf(5)));
    EXPECT_TRUE(rules.IsValueValid(QStringLiteral("14.03.2024"), FieldOf(135)));
    EXPECT_FALSE(rules.IsValueValid(QStringLiteral("1.234,5"), FieldOf(3)));
}

TEST(FilterRules, BlanksAndCustomFilters)
{
    ConfigFileSettings rules;
    const config::Field text = FieldOf(202), number = FieldOf(3), binary = FieldOf(205);
    for (int code = 1; code <= 8; ++code) {
        EXPECT_EQ(rules.AcceptsBlank(code, text), code <= 2) << code;
        EXPECT_EQ(rules.AcceptsBlank(code, number), code <= 2) << code;
        EXPECT_FALSE(rules.AcceptsBlank(code, binary)) << code;
    }
    EXPECT_FALSE(rules.AcceptsBlank(0, text));

    config::Field field = FieldOf(202);
    const qint32 contains = rules.CreateCustomFilter(field, 8, QStringLiteral("Lee")).Id;
    const qint32 like = rules.CreateCustomFilter(field, 7, QStringLiteral("Sm")).Id;
    const qint32 pattern = rules.CreateCustomFilter(field, 7, QStringLiteral("S%th")).Id;
    const qint32 blank = rules.CreateCustomFilter(field, 1, QString()).Id;
    ASSERT_EQ(field.Conditions.size(), 4u);
    EXPECT_EQ(field.ConditionById(contains)->Value, QStringLiteral("%Lee%"));
    EXPECT_EQ(field.ConditionById(contains)->Operator, QStringLiteral("contains"));
    EXPECT_EQ(field.ConditionById(like)->Value, QStringLiteral("Sm%"));
    EXPECT_EQ(field.ConditionById(pattern)->Value, QStringLiteral("S%th"));
    EXPECT_EQ(field.ConditionById(blank)->Value, QString());
    EXPECT_EQ(field.ConditionById(blank)->Conjunction, QStringLiteral("AND"));
    EXPECT_EQ(QSet<qint32>({contains, like, pattern, blank}).size(), 4);
    try {
        rules.CreateCustomFilter(field, 9, QStringLiteral("x"));
        ADD_FAILURE() << "code 9 is no operator";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), vberr::InvalidCall);
    }
    EXPECT_EQ(field.Conditions.size(), 4u);
}
