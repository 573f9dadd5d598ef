// What the source pages show and parse back: the data source list, the
// location of each kind of connection text, and folder texts.
#include "wizard/SourceRules.h"

#include "common/basUtility.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "scripting/Dictionary.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::wizard;

namespace {

std::shared_ptr<Dictionary> Sources(std::initializer_list<std::pair<const char *, const char *>> colPairs)
{
    auto dct = std::make_shared<Dictionary>();
    for (const auto &[sKey, sText] : colPairs)
        dct->Add(Variant(QString::fromUtf8(sKey)), Variant(QString::fromUtf8(sText)));
    return dct;
}

class SourceRulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetResourceLibrary(LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName))));
        ASSERT_FALSE(LoadResString(81322).isEmpty()) << "the resource strings are missing";
    }
    void TearDown() override { SetResourceLibrary(nullptr); }
};

} // namespace

TEST_F(SourceRulesTest, DataSourceListPutsFilesFirstAndOdbcInTextOrder)
{
    // One name as a user, a system and a file data source: three entries.
    const auto dctUser = Sources({{"Sales", "Sales figures"}, {"zeta", ""}});
    const auto dctSystem = Sources({{"Sales", ""}});
    const auto dctFile = Sources({{"/home/a/Sales.dsn", "Sales.dsn"}, {"/home/a/Alpha.DSN", ""}});
    const QList<DataSourceEntry> colWith = DataSourceEntries(*dctUser, *dctSystem, *dctFile, true);
    QStringList colKeys, colTexts;
    for (const DataSourceEntry &oEntry : colWith) {
        colKeys << oEntry.Key;
        colTexts << oEntry.Text;
    }
    EXPECT_EQ(colKeys, (QStringList{"ACCESS", "EXCEL", "OUTLOOK", "File:/home/a/Alpha.DSN",
                                    "File:/home/a/Sales.dsn", "System:Sales", "User:Sales", "User:zeta"}));
    EXPECT_EQ(colTexts.mid(3), (QStringList{"/home/a/Alpha (File)", "Sales (File)", "Sales (System)",
                                            "Sales figures (User)", "zeta (User)"}));
    EXPECT_EQ(colTexts.at(0), LoadResString(81322));

    // Without the folders, Access and Excel and the data sources only.
    const QList<DataSourceEntry> colWithout = DataSourceEntries(*dctUser, *dctSystem, *dctFile, false);
    ASSERT_EQ(colWithout.size(), colWith.size() - 1);
    EXPECT_EQ(colWithout.at(2).Key, QStringLiteral("File:/home/a/Alpha.DSN"));

    // Selection: files by type, ODBC by the name after the first ':'.
    EXPECT_EQ(SelectedDataSourceEntry(colWith, SourceType::Excel, QString()), 1);
    // The system and the user data source share a name: the first in the list is taken.
    EXPECT_EQ(SelectedDataSourceEntry(colWith, SourceType::System, QStringLiteral("Sales")), 5);
    EXPECT_EQ(SelectedDataSourceEntry(colWith, SourceType::System, QStringLiteral("/home/a/Sales.dsn")), 4);
    EXPECT_EQ(SelectedDataSourceEntry(colWith, SourceType::System, QStringLiteral("gone")), 0);
    EXPECT_EQ(LocationOfKey(QStringLiteral("File:/a:b/c.dsn")), QStringLiteral("/a:b/c.dsn"));
}

TEST_F(SourceRulesTest, LocationOfEveryKindOfConnectionText)
{
    struct Row
    {
        qint32 lKind;
        const char *sText;
        const char *sItem;
        const char *sLocation;
    };
    const Row colRows[] = {
        {6, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/orders.mdb", "", "/data/orders.mdb"},
        {4, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/Sales.xlsx;Extended Properties=Excel 8.0;", "",
         "/data/Sales.xlsx"},
        // User information after the path goes.
        {4, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/d/x.xls;UID=me;Extended Properties=Excel 8.0;", "",
         "/d/x.xls"},
        {3, "Provider=MSDASQL;DSN=Sales;UID=me;PWD=x", "", "Sales"},
        {3, "File Name=/home/a/Sample Sales.dsn", "", "/home/a/Sample Sales.dsn"},
        {1, " FolderType=\"Contact\" FolderName=\"/p/Contacts\" StoreID=\"/p\"", "/p/Contacts", "/p/Contacts"},
        {5, "DRIVER=SQLite3;Database=/srv/budget.db", "", "DRIVER=SQLite3;Database=/srv/budget.db"},
    };
    auto oStore = config::ConfigStore::Create();
    for (const Row &row : colRows) {
        auto oView = oStore->DataViewCollection().AddBlank();
        oView->Source.Kind = row.lKind;
        oView->Source.ConnectionText = QString::fromUtf8(row.sText);
        oView->DataItemName = QString::fromUtf8(row.sItem);
        EXPECT_EQ(GetLocationFromDataView(*oView), QString::fromUtf8(row.sLocation)) << row.sText;
    }
}

TEST_F(SourceRulesTest, FolderTextsAndTheirTypes)
{
    struct Row
    {
        const char *sText;
        const char *sName;
        const char *sType;
        bool bContactOrTask;
    };
    const Row colRows[] = {
        {" FolderType=\"Contact\" FolderName=\"/p/My Contacts\" StoreID=\"/p\"", "/p/My Contacts", "Contact", true},
        {" FolderType=\"task\" FolderName=\"/p/Jobs\" StoreID=\"/p\"", "/p/Jobs", "task", true},
        {" FolderType=\"Mail\" FolderName=\"/p/Inbox\" StoreID=\"/p\"", "/p/Inbox", "Mail", false},
        // A missing closing marker runs to the end; a missing opening one gives nothing.
        {" FolderType=\"Contact\" FolderName=\"/p/Cut", "/p/Cut", "Contact", true},
        {"FolderName=\"/p/x\"", "", "", false},
        {"", "", "", false},
    };
    for (const Row &row : colRows) {
        const QString sText = QString::fromUtf8(row.sText);
        EXPECT_EQ(GetOutlookFolderName(sText), QString::fromUtf8(row.sName)) << row.sText;
        EXPECT_EQ(GetOutlookFolderType(sText), QString::fromUtf8(row.sType)) << row.sText;
        EXPECT_EQ(IsContactOrTaskFolder(sText), row.bContactOrTask) << row.sText;
    }
    for (SourceType eType : {SourceType::Access, SourceType::Excel, SourceType::Outlook}) {
        SourceType eRead = SourceType::System;
        EXPECT_TRUE(SourceTypeOfKey(SourceTypeText(eType), eRead));
        EXPECT_EQ(eRead, eType);
        EXPECT_EQ(SourceTypeOfKind(SourceTypeCode(eType)), eType);
    }
    SourceType eRead = SourceType::Access;
    EXPECT_FALSE(SourceTypeOfKey(QStringLiteral("System:ACCESS"), eRead));
    EXPECT_EQ(eRead, SourceType::System);
}
