#include "AdoTestSupport.h"

#include "automation/OleDate.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::ado;
using qv::ado::test::ErrorOf;
using qv::ado::test::Walk;

namespace {

// Rows with every kind of value the criteria compare, Nulls among them.
std::shared_ptr<Recordset> Sample()
{
    auto rs = Recordset::Create();
    rs->Fields().Append(QStringLiteral("ID"), adInteger);
    rs->Fields().Append(QStringLiteral("Name"), adVarWChar, 100);
    rs->Fields().Append(QStringLiteral("Born"), adDate);
    rs->Fields().Append(QStringLiteral("Paid"), adCurrency);
    rs->Fields().Append(QStringLiteral("Active"), adBoolean);
    rs->Fields().Append(QStringLiteral("Home Town"), adVarWChar, 100);
    rs->Fields().Append(QStringLiteral("Rate"), adSingle);
    rs->Open();
    auto day = [](int y, int m, int d) { return Variant(DateValue{DateTimeToOleDate(QDate(y, m, d))}); };
    const QList<QList<Variant>> rows = {
        {qint32(1), "O'Brien", day(1980, 5, 31), Currency{125000}, true, "Cork", 0.05},
        {qint32(2), "smith", day(1975, 1, 2), Currency{-50000}, false, "New York", 1.5},
        {qint32(3), "Smithers", Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null()},
        {qint32(4), "", day(2001, 12, 24), Currency{0}, true, "50%", "0.05"},
        {qint32(5), Variant::Null(), day(1980, 5, 31), Currency{99999}, false, "Jo*burg", 2},
    };
    const QList<Variant> names = {"ID", "Name", "Born", "Paid", "Active", "Home Town", "Rate"};
    for (const auto &row : rows)
        rs->AddNew(names, row);
    return rs;
}

struct Case
{
    const char *criteria;
    const char *ids; // the IDs the filter shows, in row order
};

} // namespace

TEST(Criteria, SelectsTheRightRows)
{
    const Case cases[] = {
        {"Name = 'O''Brien'", "1"},                      // a doubled quote inside a text
        {"Name = \"O'Brien\"", "1"},
        {"Name = 'SMITH'", "2"},                         // texts compare without regard to case
        {"Name LIKE 'smith*'", "2,3"},
        {"Name LIKE '%ers'", "3"},
        {"Name LIKE '*mit*'", "2,3"},                    // wildcards at both ends
        {"[Home Town] LIKE '50%'", "4"},                 // the text before the wildcard is literal
        {"[Home Town] LIKE 'Jo*'", "5"},
        {"Name = ''", "4"},                              // empty text is not Null
        {"Name = Null", "5"},
        {"Name <> NULL", "1,2,3,4"},
        {"Paid <> 0", "1,2,5"},                          // a Null value matches no comparison
        {"Paid >= $12.50", "1"},
        {"Paid < -1", "2"},
        {"Born = #1980-05-31#", "1,5"},
        {"Born > #5/31/1980#", "4"},
        {"Born < #1980-05-31 12:00#", "1,2,5"},
        {"Active = True", "1,4"},
        {"Active = 0", "2,5"},
        {"ID > 1 AND ID < 5 OR ID = 5", "2,3,4,5"},     // AND binds closer than OR
        {"ID = 1 OR (ID > 2 AND Name LIKE 'S*')", "1,3"},
        {"(ID = 1 OR ID = 2) AND Active = False", "2"},
        {"((ID=4))", "4"},
        {"ID >= '3'", "3,4,5"},                          // a quoted number on a number field
        {"id<>3 and name like 's*'", "2"},
        {"Rate = 0.05", "1,4"},                          // a single compares at its own precision
        {"Rate > 0.05", "2,5"},
    };
    auto rs = Sample();
    for (const Case &c : cases) {
        rs->SetFilter(QString::fromUtf8(c.criteria));
        EXPECT_EQ(Walk(*rs, QStringLiteral("ID")).join(u','), QString::fromUtf8(c.ids)) << c.criteria;
        EXPECT_EQ(rs->RecordCount(), Walk(*rs, QStringLiteral("ID")).size()) << c.criteria;
    }
}

TEST(Criteria, RefusesBrokenTextsClearly)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Name = 'open", "closing quote"},
        {"Name", "operator"},
        {"Name =", "value"},
        {"Nobody = 1", "no field \"Nobody\""},
        {"ID = 'abc'", "\"abc\" is no value for the field \"ID\""},
        {"Born = #not a date#", "no value"},
        {"Name > Null", "Null can only"},
        {"(ID = 1", "closing parenthesis"},
        {"ID = 1 AND", "field name"},
        {"ID = 1 XOR ID = 2", "unexpected text"},
        {"[Home Town = 'x'", "closing bracket"},
    };
    auto rs = Sample();
    for (const auto &[criteria, message] : cases) {
        try {
            rs->SetFilter(QString::fromUtf8(criteria));
            ADD_FAILURE() << "accepted: " << criteria;
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), adErrInvalidArgument) << criteria;
            EXPECT_TRUE(e.Description().contains(QString::fromUtf8(message))) << e.what();
        }
    }
    const QString deep = QString(100, u'(') + QStringLiteral("ID = 1") + QString(100, u')');
    EXPECT_EQ(ErrorOf([&] { rs->SetFilter(deep); }), adErrInvalidArgument);
}
