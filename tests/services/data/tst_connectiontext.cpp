#include "data/ConnectionText.h"
#include "data/SourceLocation.h"

#include <gtest/gtest.h>

using namespace qv::data;

namespace {

struct SplitCase
{
    const char *text;
    QList<ConnectionPart> parts;
};

QString S(const char *text) { return QString::fromUtf8(text); }

} // namespace

TEST(ConnectionText, SplitsPartsAsDriversWriteThem)
{
    const SplitCase cases[] = {
        {"", {}},
        {";;;", {}},
        {"DSN=Sales", {{S("DSN"), S("Sales")}}},
        {" DSN = Sales ; UID = ann ;", {{S("DSN"), S("Sales")}, {S("UID"), S("ann")}}},
        {"Driver={SQLite3 ODBC};Database=/tmp/a;b.db", {{S("Driver"), S("SQLite3 ODBC")}, {S("Database"), S("/tmp/a")}, {S("b.db"), S("")}}},
        {"PWD={se;cr}}et};UID=x", {{S("PWD"), S("se;cr}et")}, {S("UID"), S("x")}}},
        {"PWD=\"a;b\";X=1", {{S("PWD"), S("a;b")}, {S("X"), S("1")}}},
        // An unclosed brace runs to the end rather than losing the text.
        {"PWD={never closed;UID=x", {{S("PWD"), S("never closed;UID=x")}}},
        {"=orphan;K=v", {{S("K"), S("v")}}},
        {"Trusted", {{S("Trusted"), S("")}}},
        {"A=b=c", {{S("A"), S("b=c")}}},
        {"K={}", {{S("K"), S("")}}},
        {"K={x}junk;L=1", {{S("K"), S("x")}, {S("L"), S("1")}}},
    };
    for (const SplitCase &c : cases)
        EXPECT_EQ(ParseConnectionText(S(c.text)), c.parts) << c.text;
}

TEST(ConnectionText, JoinedTextsSplitBackToTheSameParts)
{
    const QList<ConnectionPart> parts{{S("DSN"), S("My Sales")},
                                      {S("PWD"), S("a;b}c{d")},
                                      {S("Extra"), S(" padded ")},
                                      {S("Empty"), S("")},
                                      {S("Eq"), S("x=y")}};
    EXPECT_EQ(ParseConnectionText(JoinConnectionText(parts)), parts);
    bool found = false;
    EXPECT_EQ(ConnectionValue(parts, S("pwd"), &found), S("a;b}c{d"));
    EXPECT_TRUE(found);
    EXPECT_EQ(ConnectionValue(parts, S("UID"), &found), QString());
    EXPECT_FALSE(found);
}

TEST(ConnectionText, TextsOfEachSourceKind)
{
    struct Case
    {
        int kind;
        const char *location, *user, *password, *text;
    } const cases[] = {
        {SourceAccess, "/data/db.mdb", "", "", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/db.mdb"},
        {SourceExcel, "/data/b.xlsx", "", "", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/b.xlsx;Extended Properties=Excel 8.0;"},
        {SourceHtml, "/data/p.html", "", "", "/data/p.html;Extended Properties=HTML;"},
        {SourceFileDsn, "/dsn/x.dsn", "", "", "File Name=/dsn/x.dsn"},
        {SourceDsnLess, "Driver=SQLite3;Database=/a.db", "", "", "Driver=SQLite3;Database=/a.db"},
        {SourceUserDsn, "Sales", "", "", "Provider=MSDASQL;DSN=Sales"},
        {SourceSystemDsn, "Sales", "ann", "p;w", "Provider=MSDASQL;DSN=Sales;UID=ann;PWD={p;w}"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BuildConnectionText(c.kind, S(c.location), S(c.user), S(c.password)), S(c.text)) << c.text;
}

TEST(ConnectionText, WhatTheDriverManagerIsGiven)
{
    const char *const cases[][2] = {
        {"Provider=MSDASQL;DSN=Sales;UID=ann", "DSN=Sales;UID=ann"},
        {"provider=msdasql.1;DSN=Sales", "DSN=Sales"},
        {"File Name=/dsn/x.dsn", "FILEDSN=/dsn/x.dsn"},
        {"Provider=MSDASQL;Extended Properties=\"DSN=Sales;UID=x\"", "DSN=Sales;UID=x"},
        {"Driver={PostgreSQL Unicode};Server=127.0.0.1", "Driver=PostgreSQL Unicode;Server=127.0.0.1"},
        {"Driver=SQLite3;StepAPI=1;Database=/a.db", "Driver=SQLite3;StepAPI=1;Database=/a.db"},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a.mdb", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(OdbcDriverText(S(c[0])), S(c[1])) << c[0];
}

// A moved source's file is found in each kind of text and replaced there,
// every other part kept; texts that name no file stay as they are.
TEST(SourceLocation, TheFileIsFoundAndRepointed)
{
    struct Case
    {
        int kind;
        const char *text, *file, *repointed;
    } const cases[] = {
        {SourceExcel, "Provider=Jet;Data Source=/old/b.xlsx;Extended Properties=Excel 8.0;", "/old/b.xlsx",
         "Provider=Jet;Data Source=/new/b c.xlsx;Extended Properties=Excel 8.0"},
        {SourceAccess, "Provider=Jet;Data Source=C:\\old\\db.mdb", "C:/old/db.mdb", "Provider=Jet;Data Source=/new/b c.xlsx"},
        {SourceHtml, "/old/p.html;Extended Properties=HTML;", "/old/p.html", "/new/b c.xlsx;Extended Properties=HTML;"},
        {SourceFileDsn, "File Name=/old/x.dsn", "/old/x.dsn", "File Name=/new/b c.xlsx"},
        {SourceDsnLess, "Driver=SQLite3;database=/old/a.db;StepAPI=1", "/old/a.db",
         "Driver=SQLite3;database=/new/b c.xlsx;StepAPI=1"},
        {SourceDsnLess, "Driver={Access};DBQ=/old/a.mdb", "/old/a.mdb", "Driver=Access;DBQ=/new/b c.xlsx"},
        {SourceDsnLess, "Driver=SQLite3;Database=:memory:", "", "Driver=SQLite3;Database=:memory:"},
        {SourceUserDsn, "Provider=MSDASQL;DSN=Sales", "", "Provider=MSDASQL;DSN=Sales"},
        {SourceFolder, " FolderType=\"Contact\" FolderName=\"x\"", "", " FolderType=\"Contact\" FolderName=\"x\""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(SourceFilePath(c.kind, S(c.text)), S(c.file)) << c.text;
        EXPECT_EQ(RepointConnectionText(c.kind, S(c.text), S("/new/b c.xlsx")), S(c.repointed)) << c.text;
    }
    EXPECT_TRUE(SourceFileMissing(SourceExcel, S("Data Source=/no/such/folder/b.xlsx")));
    EXPECT_FALSE(SourceFileMissing(SourceUserDsn, S("DSN=Sales")));
}
