#include "BizFixture.h"
#include "TestMain.h"

#include "biz/ColumnSettings.h"
#include "biz/Settings.h"
#include "config/ConfigStore.h"

#include "automation/ComError.h"

#include <QFile>

using namespace qv;
using namespace qv::biz;

namespace {

std::shared_ptr<ColumnSetting> Column(const QString &caption, float width, qint32 sorted)
{
    auto c = std::make_shared<ColumnSetting>();
    c->Caption = caption;
    c->ColumnWidth = width;
    c->Sorted = sorted;
    return c;
}

} // namespace

TEST(ColumnSettings, KeyedInScreenOrderAndReachedByName)
{
    ColumnSettings columns;
    columns.Add(Column(QStringLiteral("Name"), 100, -1), QStringLiteral("Name"));
    columns.Add(Column(QStringLiteral("City"), 80, 1), QStringLiteral("City"));
    EXPECT_EQ(columns.Count(), 2);
    EXPECT_EQ(columns.Item(QStringLiteral("city"))->Sorted, 1);
    EXPECT_EQ(columns.Item(QStringLiteral("Missing")), nullptr);
    EXPECT_EQ(columns.Item(QString()), nullptr);
    EXPECT_EQ(columns.At(1)->Caption, QStringLiteral("Name"));
    EXPECT_EQ(columns.At(3), nullptr);
    try {
        columns.Add(Column(QStringLiteral("x"), 1, -1), QStringLiteral("NAME"));
        ADD_FAILURE() << "a second column of one key must be refused";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), 457);
    }

    ColumnSetting &c = *columns.At(1);
    c.SetProperty(QStringLiteral("visible"), Variant(false));
    c.SetProperty(QStringLiteral("Totalled"), Variant(QStringLiteral("2")));
    c.SetProperty(QStringLiteral("ColumnWidth"), Variant(72.5));
    EXPECT_FALSE(c.Visible);
    EXPECT_EQ(c.Property(QStringLiteral("TOTALLED")), Variant(qint32(2)));
    EXPECT_EQ(c.Property(QStringLiteral("ColumnWidth")), Variant(72.5));
    EXPECT_THROW(c.Property(QStringLiteral("Colour")), ComError);
    EXPECT_THROW(c.SetProperty(QStringLiteral("Linked"), Variant::Null()), ComError);
    EXPECT_THROW(c.SetProperty(QStringLiteral("Sorted"), Variant(QStringLiteral("up"))), ComError);
}

TEST(DVCSCollection, HandsBackTheStoreItWasGiven)
{
    DVCSCollection stores;
    auto a = config::ConfigStore::Create();
    auto b = config::ConfigStore::Create();
    EXPECT_EQ(stores.Add(a), a);
    stores.Add(b);
    EXPECT_EQ(stores.Count(), 2);
    EXPECT_EQ(stores.Item(2), b);
    EXPECT_THROW(stores.Item(3), ComError);
    stores.Remove(1);
    EXPECT_EQ(stores.Item(1), b);
    int walked = 0;
    for (const auto &store : stores)
        walked += store == b;
    EXPECT_EQ(walked, 1);
}

TEST_F(BizTest, SettingsRoundTripEveryChoiceAndColumn)
{
    Settings saved;
    saved.DataViewKey = QStringLiteral("5E0F6A8C-AAAA/with slash");
    saved.DataViewName = QStringLiteral("Clients");
    saved.DataViewType = 2;
    saved.FilterSet = true;
    saved.FilterField = QStringLiteral("City");
    saved.FilterOperator = 8;
    saved.FilterValue = QStringLiteral("%Le, eds%");
    saved.FormatType = 4;
    saved.StyleName = QStringLiteral("Body Text");
    saved.InsertPosition = 0;
    auto wide = Column(QStringLiteral("Name"), 120.5f, 0);
    wide->Linked = true;
    wide->Totalled = 2;
    wide->ColumnType = 9;
    wide->ColumnIndex = 3;
    wide->ViewFormat = QStringLiteral("$#,##0.00");
    wide->Visible = false;
    saved.Columns->Add(wide, QStringLiteral("Name"));
    saved.Columns->Add(Column(QStringLiteral("City"), 0, -1), QStringLiteral("City"));
    {
        // Numbers are stored the same whatever the locale's decimal character.
        test::ScopedLocale german("de_DE");
        EXPECT_EQ(saved.Save(), saved.DataViewKey);
    }
    Settings other;
    other.DataViewKey = QStringLiteral("other");
    other.Save();

    Settings loaded;
    ASSERT_TRUE(loaded.Load(saved.DataViewKey));
    EXPECT_EQ(loaded.DataViewName, saved.DataViewName);
    EXPECT_EQ(loaded.DataViewType, 2);
    EXPECT_TRUE(loaded.FilterSet);
    EXPECT_EQ(loaded.FilterField, QStringLiteral("City"));
    EXPECT_EQ(loaded.FilterOperator, 8);
    EXPECT_EQ(loaded.FilterValue, saved.FilterValue);
    EXPECT_EQ(loaded.FormatType, 4);
    EXPECT_EQ(loaded.StyleName, QStringLiteral("Body Text"));
    EXPECT_EQ(loaded.InsertPosition, 0);
    ASSERT_EQ(loaded.Columns->Count(), 2);
    EXPECT_EQ(loaded.Columns->At(2)->Caption, QStringLiteral("City"));
    const auto name = loaded.Columns->Item(QStringLiteral("Name"));
    for (const QString &property : ColumnSetting::PropertyNames())
        EXPECT_EQ(name->Property(property), wide->Property(property)) << property.toStdString();

    // Saving again replaces the columns rather than adding to them.
    loaded.Columns = std::make_shared<ColumnSettings>();
    loaded.Save();
    Settings again;
    ASSERT_TRUE(again.Load(saved.DataViewKey));
    EXPECT_EQ(again.Columns->Count(), 0);
    Settings::Forget(saved.DataViewKey);
    EXPECT_FALSE(again.Load(saved.DataViewKey));
    EXPECT_TRUE(again.Load(QStringLiteral("other")));
}

TEST_F(BizTest, SettingsNotSavedOrUnreadableLeaveTheObjectAlone)
{
    Settings s;
    s.StyleName = QStringLiteral("Mine");
    EXPECT_FALSE(s.Load(QStringLiteral("never saved")));
    EXPECT_FALSE(s.Load(QString()));
    EXPECT_EQ(s.StyleName, QStringLiteral("Mine"));
    EXPECT_EQ(s.Save(), QString()) << "without a data view key there is nothing to save under";

    // A damaged file: garbage lines and values of the wrong kind.
    QFile file(Settings::FilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x01\xff\n[K]\nFormatType=many\nColumns\\size=2\nColumns\\1\\Caption=A\nColumns\\1\\ColumnWidth=wide\n"
               "Columns\\2\\Caption=A\n[unclosed\n=\n");
    file.close();
    Settings damaged;
    ASSERT_TRUE(damaged.Load(QStringLiteral("K")));
    EXPECT_EQ(damaged.FormatType, 2);
    ASSERT_EQ(damaged.Columns->Count(), 1) << "a repeated caption is read once";
    EXPECT_EQ(damaged.Columns->At(1)->ColumnWidth, 0.0f);
}

TEST_F(BizTest, SettingsInAFolderThatCannotBeMadeRaiseSeventy)
{
    QFile blocker(DataPath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("QV_DATA_ROOT", DataPath(QStringLiteral("file/below")).toLocal8Bit());
    Settings s;
    s.DataViewKey = QStringLiteral("K");
    try {
        s.Save();
        ADD_FAILURE() << "saving below a file must fail";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), 70);
        EXPECT_TRUE(e.Description().contains(QLatin1String("Insert Data Settings.ini")));
    }
}
