#include "EntryFixture.h"

#include "common/basDataSourcePickers.h"
#include "common/basDataViewPicker.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "qvuser/DVUser.h"
#include "registry/Registry.h"
#include "ui/MousePointer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

using namespace qv;
using qv::test::EntryTest;

namespace {

std::shared_ptr<config::ConfigStore> StoreWith(const QStringList &names)
{
    auto store = config::ConfigStore::Create();
    for (const QString &name : names)
        store->DataViewCollection().AddBlank()->Name = name;
    return store;
}

qint32 IdOf(const config::ConfigStore &store, const QString &name)
{
    return store.DataViewCollection().ItemByName(name)->Id();
}

QStringList Entries(const QComboBox &combo)
{
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i)
        entries << combo.itemText(i) + u'|' + PickerKey(&combo, i) + u'|' + combo.itemData(i, kPickerImageRole).toString();
    return entries;
}

} // namespace

TEST(DataViewKeys, KindsAndIdentifiersRoundTrip)
{
    EXPECT_EQ(MakeDataViewKey(12, 1), QStringLiteral("LOCAL_ID=12"));
    EXPECT_EQ(MakeDataViewKey(12, 2), QStringLiteral("TEAM_ID=12"));
    EXPECT_EQ(MakeDataViewKey(12, -1), QStringLiteral("TEAM_ID=12"));
    struct Case
    {
        const char *key;
        qint32 askedKind, kind, id;
    } const cases[] = {
        {"LOCAL_ID=12", 0, 1, 12},
        {"local_id=5", 0, 1, 5},
        {"TEAM_ID=40000", 0, 2, 40000},
        {"(New Data View)", 0, 0, 0},
        {"TEAM_ID=abc", 0, 2, 0},
        {"LOCAL_ID=7", 2, 1, 0},  // no team prefix to read after
        {"TEAM_ID=7", 1, 2, 0},
        {"LOCAL_ID=7", 3, 1, 0},  // neither kind
        {"", 0, 0, 0},
    };
    for (const Case &c : cases) {
        const QString key = QString::fromUtf8(c.key);
        EXPECT_EQ(DataViewKeyKind(key), c.kind) << c.key;
        EXPECT_EQ(DataViewKeyId(key, c.askedKind), c.id) << c.key << " kind " << c.askedKind;
    }
}

TEST(DataViewPickerFill, SortsByNameKeysByKindAndSelectsTheAskedView)
{
    QComboBox combo;
    QStringList tagsWhileFilling;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, &combo,
                     [&](int) { tagsWhileFilling << PickerTag(&combo); });
    auto store = StoreWith({QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("Gamma"), QStringLiteral("alpha")});
    const qint32 gamma = IdOf(*store, QStringLiteral("Gamma"));
    FillDataViewPicker(&combo, *store, true, 1, gamma);

    ASSERT_EQ(combo.count(), 5);
    EXPECT_EQ(combo.itemText(0), QString::fromLatin1(kNewDataView));
    EXPECT_EQ(combo.itemData(0, kPickerImageRole).toString(), QStringLiteral("IMG_LOCAL"));
    QStringList names;
    for (int i = 1; i < combo.count(); ++i)
        names << combo.itemText(i).toLower();
    EXPECT_EQ(names, (QStringList{QStringLiteral("alpha"), QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}))
        << "names differing only in case are both listed, side by side";
    EXPECT_EQ(PickerKey(&combo, combo.currentIndex()), QStringLiteral("LOCAL_ID=%1").arg(gamma));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Gamma"));
    EXPECT_FALSE(combo.itemIcon(1).isNull());
    ASSERT_FALSE(tagsWhileFilling.isEmpty());
    EXPECT_TRUE(tagsWhileFilling.first() == QLatin1String(kPopulating)) << "handlers can tell a fill from a user's pick";
    EXPECT_EQ(PickerTag(&combo), QString());

    FillDataViewPicker(&combo, *store, false, 2);
    ASSERT_EQ(combo.count(), 4) << "the entries of the first fill are gone";
    EXPECT_EQ(Entries(combo).last(), QStringLiteral("Gamma|TEAM_ID=%1|IMG_TEAM").arg(gamma));
    EXPECT_EQ(combo.currentIndex(), 0) << "no identifier: the first entry";

    FillDataViewPicker(&combo, *store, false, 2, 9999);
    EXPECT_EQ(combo.currentIndex(), 0) << "a view that has gone leaves the first entry selected";
}

TEST(DataViewPickerFill, AnEmptyStoreOffersOnlyItsSpecialEntry)
{
    QComboBox combo;
    auto empty = StoreWith({});
    FillDataViewPicker(&combo, *empty, false, 2);
    EXPECT_EQ(Entries(combo), (QStringList{QStringLiteral("(None available)||IMG_TEAM")}));
    FillDataViewPicker(&combo, *empty, true, 1);
    EXPECT_EQ(Entries(combo), (QStringList{QStringLiteral("(New Data View)||IMG_LOCAL")}));
    EXPECT_EQ(combo.currentIndex(), 0);

    AddDataViewItems(&combo, empty->DataViewCollection(), 1);
    EXPECT_EQ(combo.count(), 1) << "an empty collection adds nothing";
}

// The three file pickers: what each asks of the file dialog, and what it answers.
TEST_F(EntryTest, FilePickersAskTheirTitlesFiltersAndFolders)
{
    DVUser user;
    struct Case
    {
        const char *name;
        std::function<QString()> pick;
        const char *title, *extension, *filter, *folder, *file;
    } const cases[] = {
        {"Access", [&] { return user.VisualGetAccessDatasource(nullptr, QStringLiteral("/data"), QStringLiteral("a.mdb")); },
         "Select Access Database", "*.mdb", kAccessFilter, "/data", "a.mdb"},
        {"Access, no folder", [&] { return user.VisualGetAccessDatasource(nullptr); }, "Select Access Database", "*.mdb",
         kAccessFilter, nullptr, ""},
        {"Excel", [&] { return user.VisualGetExcelDatasource(nullptr, QString(), QStringLiteral("b.xls")); },
         "Select Excel Workbook", "*.xls", kExcelFilter, nullptr, "b.xls"},
    };
    for (const Case &c : cases) {
        Files->Requests.clear();
        Files->Results.enqueue({true, QStringLiteral("/data/chosen.mdb") + QChar(0) + QStringLiteral("junk"), 1});
        ui::SetMousePointer(ui::pointer::Hourglass);
        EXPECT_EQ(c.pick(), QStringLiteral("/data/chosen.mdb")) << c.name << ": cut at the NUL";
        EXPECT_EQ(ui::MousePointer(), ui::pointer::Default) << c.name;
        ASSERT_EQ(Files->Requests.size(), 1) << c.name;
        const ui::FileDialogRequest &r = Files->Requests.first();
        EXPECT_EQ(r.Title, QString::fromUtf8(c.title)) << c.name;
        EXPECT_EQ(r.DefaultExtension, QString::fromUtf8(c.extension)) << c.name;
        EXPECT_EQ(r.Filter, QString::fromLatin1(c.filter)) << c.name;
        EXPECT_EQ(r.FileName, QString::fromUtf8(c.file)) << c.name;
        EXPECT_EQ(r.InitialFolder, c.folder ? QString::fromUtf8(c.folder) : DocumentsFolder()) << c.name;
        EXPECT_EQ(c.pick(), QString()) << c.name << ": a cancelled dialog gives \"\"";
    }
    EXPECT_TRUE(Boxes->Messages.isEmpty());
}

TEST_F(EntryTest, FileDsnPickerStartsInOdbcsFolder)
{
    // unixODBC's own configuration names the folder, as the registry did.
    QTemporaryDir config;
    const QString dsnFolder = config.filePath(QStringLiteral("dsns"));
    ASSERT_TRUE(QDir().mkpath(dsnFolder));
    QFile ini(config.filePath(QStringLiteral("odbcinst.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[ODBC]\nFILEDSNPATH=" + dsnFolder.toUtf8() + "\n");
    ini.close();
    const QByteArray previous = qgetenv("ODBCSYSINI");
    qputenv("ODBCSYSINI", config.path().toLocal8Bit());

    DVUser user;
    Files->Results.enqueue({true, dsnFolder + QStringLiteral("/sales.dsn"), 1});
    EXPECT_EQ(user.VisualGetFileDSNDatasource(nullptr), dsnFolder + QStringLiteral("/sales.dsn"));
    if (previous.isNull())
        qunsetenv("ODBCSYSINI");
    else
        qputenv("ODBCSYSINI", previous);
    ASSERT_EQ(Files->Requests.size(), 1);
    EXPECT_EQ(Files->Requests[0].InitialFolder, dsnFolder);
    EXPECT_EQ(Files->Requests[0].Title, QStringLiteral("Select File Data Source"));
    EXPECT_EQ(Files->Requests[0].Filter, QString::fromLatin1(kDsnFilter));
    EXPECT_EQ(Files->Requests[0].FileName, QString());

    // The user's hive has no such value: the folder is empty, as the dialog then starts.
    EXPECT_EQ(GetDefaultDsnFolder(false), QString());
    EXPECT_EQ(DataSourceFileRequest(DataSourceFileKind::FileDsn, QString(), QStringLiteral("x")).InitialFolder, QString());
}

namespace {

class FailingFileDialog : public ui::FileDialogService
{
public:
    ui::FileDialogResult Run(const ui::FileDialogRequest &, QWidget *) override
    {
        throw ComError(qint32(0x80040210), QStringLiteral("FileDialog"), QStringLiteral("Invalid filename"));
    }
};

} // namespace

TEST_F(EntryTest, FilePickerErrorsAreShownAndAnswerNothing)
{
    DVUser user;
    const auto previous = ui::SetFileDialogService(std::make_shared<FailingFileDialog>());
    EXPECT_EQ(user.VisualGetExcelDatasource(nullptr), QString());
    EXPECT_EQ(user.VisualGetAccessDatasource(nullptr), QString());
    EXPECT_EQ(user.VisualGetFileDSNDatasource(nullptr), QString());
    ui::SetFileDialogService(previous);
    ASSERT_EQ(Boxes->Messages.size(), 3);
    for (const ui::MessageRequest &box : Boxes->Messages) {
        EXPECT_EQ(box.Text, QStringLiteral("Invalid filename"));
        EXPECT_EQ(box.Title, QStringLiteral("Quorivo Data Views"));
        EXPECT_EQ(box.Style, 48);
    }
    EXPECT_EQ(CurrentError().Number, 0) << "a shown error is cleared";
}
