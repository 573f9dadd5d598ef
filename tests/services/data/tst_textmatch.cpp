// The in-memory matcher is what the file sources filter with and what the
// SQL sources are measured against: case is ignored for every letter, a
// character outside the first plane is one character, and a NUL is part of
// a text.
#include "DataTestFiles.h"

#include "data/Conditions.h"

namespace qv::data::test {
namespace {

const QStringList kTexts = {
    QStringLiteral("Zoë Ångström"), QStringLiteral("école"),  QStringLiteral("ÉCOLE"),
    QStringView(u"a\0b", 3).toString(),            QStringLiteral("a"),      QStringLiteral("smile \U0001F600 x"),
    QStringLiteral("STRASSE"),
};

struct Match
{
    int op;
    QString value;
    QList<int> rows; // positions in kTexts that match
};

QList<int> Matching(int op, const QString &value)
{
    const DataField field{QStringLiteral("Text")};
    const RowMatcher matcher({field}, {Condition{field, op, value}});
    QList<int> rows;
    for (int i = 0; i < kTexts.size(); ++i) {
        if (matcher.Matches({Variant(kTexts[i])}))
            rows << i;
    }
    return rows;
}

TEST(TextMatch, CaseIsIgnoredForEveryLetterAndNoCharacterIsHalved)
{
    const Match cases[] = {
        {1, QStringLiteral("zoë ångström"), {0}},
        {1, QStringLiteral("ÉCOLE"), {1, 2}},
        {8, QStringLiteral("Cole"), {1, 2}},
        {7, QStringLiteral("é*"), {1, 2}},
        {7, QStringLiteral("smile \U0001F600 x"), {5}},
        {7, QStringLiteral("smile ? x"), {5}},
        {7, QStringLiteral("*\U0001F600*"), {5}},
        {8, QStringLiteral("\U0001F600"), {5}},
        // A NUL is a character like any other: "a\0b" is neither "a" nor "b".
        {1, QStringLiteral("a"), {4}},
        {1, QStringView(u"A\0B", 3).toString(), {3}},
        {7, QStringView(u"a\0?", 3).toString(), {3}},
        {8, QStringView(u"\0", 1).toString(), {3}},
    };
    for (const Match &c : cases)
        EXPECT_EQ(Matching(c.op, c.value), c.rows) << c.op << " " << c.value.toStdString();
}

} // namespace
} // namespace qv::data::test
