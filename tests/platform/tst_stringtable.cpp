#include "resources/PathText.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(StringTable, ReadsLinesCommentsAndEscapes)
{
    QStringList problems;
    const StringTable table = StringTable::Parse(
        "# a comment\r\n"
        "\r\n"
        "704\tThe file %1 could not be opened.\\nCheck the path.\r\n"
        "  12\ttab\\there, backslash \\\\ and \\q kept\n"
        "13\t\n"
        "14\tlast line without a newline",
        &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(table.Count(), 4);
    EXPECT_EQ(table.Text(704), QStringLiteral("The file %1 could not be opened.\nCheck the path."));
    EXPECT_EQ(table.Text(12), QStringLiteral("tab\there, backslash \\ and \\q kept"));
    EXPECT_TRUE(table.Contains(13));
    EXPECT_EQ(table.Text(13), QString());
    EXPECT_EQ(table.Text(14), QStringLiteral("last line without a newline"));
    EXPECT_EQ(table.Text(15), QString());
}

TEST(StringTable, BrokenLinesAreReportedAndSkipped)
{
    // Each line here once broke, or could break, a reader of the table.
    QStringList problems;
    const StringTable table = StringTable::Parse(
        "no tab at all\n"
        "\tno number\n"
        "x1\tletters\n"
        "-5\tnegative\n"
        "99999999999\ttoo large\n"
        "20\tfirst\n"
        "20\tsecond\n"
        "21\tends with a lone backslash \\\n"
        "22\t\xff\xfe invalid UTF-8\n",
        &problems);
    EXPECT_EQ(problems.size(), 6);
    EXPECT_TRUE(problems.last().contains(QStringLiteral("line 7")));
    EXPECT_EQ(table.Text(20), QStringLiteral("first"));
    EXPECT_EQ(table.Text(21), QStringLiteral("ends with a lone backslash \\"));
    EXPECT_TRUE(table.Text(22).endsWith(QStringLiteral(" invalid UTF-8")));
    EXPECT_EQ(table.Count(), 3);
}

TEST(StringTable, MissingFileIsNoTable)
{
    EXPECT_EQ(StringTable::Load(QStringLiteral("/nonexistent/qvres.txt")), nullptr);
}

TEST(PathText, ConvertsAtTheEdge)
{
    EXPECT_EQ(FileSystemPath(QStringLiteral("\\home\\me\\a b.cfg")), QStringLiteral("/home/me/a b.cfg"));
    EXPECT_EQ(SystemPathText(QStringLiteral("/home/me/")), QStringLiteral("\\home\\me\\"));
}
