#include "DataTestFiles.h"

#include "automation/OleDate.h"
#include "data/backends/ColumnTypes.h"

namespace qv::data::test {
namespace {

Variant Day(int y, int m, int d)
{
    return DateValue{DateTimeToOleDate(QDate(y, m, d))};
}

struct ColumnCase
{
    const char *label;
    QList<Variant> values; // below a header "Col"
    int type;
    QStringList texts; // each value as the table holds it
};

class ColumnTypeTest : public ::testing::TestWithParam<ColumnCase>
{
};

TEST_P(ColumnTypeTest, TypeComesFromEveryValueAndNoValueIsLost)
{
    const ColumnCase &c = GetParam();
    CellGrid grid{{QStringLiteral("Col")}};
    for (const Variant &value : c.values)
        grid << QList<Variant>{value};
    const DataTable table = TableFromGrid(QStringLiteral("t.xlsx"), QStringLiteral("S"), grid);
    ASSERT_EQ(table.Fields.size(), 1);
    EXPECT_EQ(table.Fields[0].Type, c.type);
    ASSERT_EQ(table.Rows.size(), c.texts.size());
    for (qsizetype r = 0; r < c.texts.size(); ++r)
        EXPECT_EQ(ValueText(table, r, QStringLiteral("Col")), c.texts[r]) << "row " << r;
}

const QString kLong(300, u'x');

INSTANTIATE_TEST_SUITE_P(
    Kinds, ColumnTypeTest,
    ::testing::Values(
        ColumnCase{"numbers", {1.5, Variant(), 2.0}, ado::adDouble, {"1.5", "<null>", "2"}},
        ColumnCase{"dates", {Variant(), Day(2024, 2, 29)}, ado::adDate, {"<null>", "2024-02-29"}},
        ColumnCase{"booleans", {true, false}, ado::adBoolean, {"TRUE", "FALSE"}},
        ColumnCase{"texts", {QString(), "a"}, ado::adVarWChar, {"<null>", "a"}},
        ColumnCase{"long text", {"a", kLong}, ado::adLongVarWChar, {"a", kLong}},
        // A number column with one text far down is text, and the numbers keep their digits.
        ColumnCase{"numbers then text", {12.0, 0.1, 123456789012345.0, "n/a"}, ado::adVarWChar,
                   {"12", "0.1", "123456789012345", "n/a"}},
        ColumnCase{"dates and numbers", {Day(1999, 12, 31), 3.0}, ado::adVarWChar, {"1999-12-31", "3"}},
        ColumnCase{"booleans and texts", {true, "maybe"}, ado::adVarWChar, {"TRUE", "maybe"}},
        // Blank rows at the end are no records.
        ColumnCase{"nothing", {Variant(), QString()}, ado::adVarWChar, {}}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.label);
        return name.replace(u' ', u'_').toStdString();
    });

TEST(ColumnTypes, FirstFilledRowNamesTheFields)
{
    // Blank rows above the header and below the data are no records; a
    // blank row between records is one; short rows are filled with Null.
    CellGrid grid{{},
                  {Variant(), Variant()},
                  {"Name", Variant(), "name", 2020.0},
                  {"a"},
                  {},
                  {"b", "c", "d", 1.0, Variant()},
                  {}};
    const DataTable table = TableFromGrid(QStringLiteral("t.xlsx"), QStringLiteral("S"), grid);
    QStringList names;
    for (const DataField &field : table.Fields)
        names << field.Name;
    EXPECT_EQ(names, QStringList({"Name", "F2", "name1", "2020"}));
    ASSERT_EQ(table.Rows.size(), 3);
    EXPECT_EQ(table.Rows[0], DataRow({"a", Variant::Null(), Variant::Null(), Variant::Null()}));
    EXPECT_EQ(table.Rows[1], DataRow(4, Variant::Null()));
    EXPECT_EQ(table.Rows[2], DataRow({"b", "c", "d", 1.0}));
}

TEST(ColumnTypes, EmptySheetHasNoFieldsAndTooLargeOneIsRefused)
{
    const DataTable empty = TableFromGrid(QStringLiteral("t.xlsx"), QStringLiteral("S"), {{}, {Variant()}});
    EXPECT_EQ(empty.Fields, QList<DataField>{DataField{QStringLiteral("F1")}}) << "an empty sheet is an item with no rows";
    EXPECT_TRUE(empty.Rows.isEmpty());
    CellGrid wide(10, QList<Variant>(100, 1.0));
    const QString message = ErrorOf([&] { TableFromGrid(QStringLiteral("t.xlsx"), QStringLiteral("Big"), wide, 999); });
    EXPECT_TRUE(message.contains(u"'t.xlsx'") && message.contains(u"'Big'") && message.contains(u"10 rows by 100 columns"))
        << message.toStdString();
}

} // namespace
} // namespace qv::data::test
