#include "EntryFixture.h"

#include "entry/DVUserPrivate.h"

#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "data/ConnectionText.h"
#include "data/backends/DataTable.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"
#include "qvuser/HostSettings.h"
#include "registry/Registry.h"
#include "scripting/Dictionary.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <thread>

using namespace qv;
using qv::test::EntryTest;
using qv::test::ErrorOf;

namespace {

using Services = std::shared_ptr<data::DataViewDataServices>;

std::shared_ptr<config::DataView> NewView(const std::shared_ptr<config::ConfigStore> &store)
{
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Folder view");
    return view;
}

} // namespace

TEST(DVUserLifecycle, TheSharedServicesLiveAsLongAsTheThreadsLastInstance)
{
    auto first = std::make_unique<DVUser>();
    auto second = std::make_unique<DVUser>();
    EXPECT_EQ(entry::CurrentThreadState().InstanceCount, 2);
    EXPECT_EQ(first->DataViewDataServices(), nullptr) << "nothing until one is set or created";

    Services services = std::make_shared<data::DataViewDataServices>();
    const std::weak_ptr<data::DataViewDataServices> watch = services;
    first->SetDataViewDataServices(services);
    services.reset();
    EXPECT_EQ(second->DataViewDataServices(), watch.lock()) << "one object for the thread";

    first.reset();
    EXPECT_FALSE(watch.expired()) << "another instance of the thread still lives";
    EXPECT_EQ(second->DataViewDataServices(), watch.lock());
    EXPECT_EQ(LoadResString(340), QStringLiteral("Select Access Database")) << "the strings stay while one lives";

    // Another thread has its own state: no services, its own count.
    bool otherSawNone = false;
    int otherCount = 0;
    bool otherHasStrings = false;
    std::thread other([&] {
        DVUser user;
        otherSawNone = user.DataViewDataServices() == nullptr;
        Services own = std::make_shared<data::DataViewDataServices>();
        user.SetDataViewDataServices(own);
        otherCount = entry::CurrentThreadState().InstanceCount;
        otherHasStrings = !LoadResString(342).isEmpty();
    });
    other.join();
    EXPECT_TRUE(otherSawNone);
    EXPECT_EQ(otherCount, 1);
    EXPECT_TRUE(otherHasStrings);
    EXPECT_EQ(second->DataViewDataServices(), watch.lock()) << "the other thread's set reached this one";
    EXPECT_EQ(entry::CurrentThreadState().InstanceCount, 1);

    second.reset();
    EXPECT_TRUE(watch.expired()) << "the last instance drops the shared object";
    EXPECT_EQ(entry::CurrentThreadState().InstanceCount, 0);
    EXPECT_EQ(LoadResString(340), QString()) << "and frees the string table";
    DVUser fresh;
    EXPECT_EQ(fresh.DataViewDataServices(), nullptr);
}

TEST(DVUserLifecycle, LoadsStringsAndHelpFromTheComponentFolder)
{
    DVUser user;
    EXPECT_EQ(LoadResString(341), QStringLiteral("Select File Data Source"));
    EXPECT_EQ(ui::ApplicationHelpFile(), ComponentFolder() + QStringLiteral("\\1033\\qvhelp.chm::/popups.txt"));
}

// Puts the host settings back as they were when it goes.
struct HostSettingsScope
{
    HostSettings saved = CurrentHostSettings();
    ~HostSettingsScope() { SetHostSettings(saved); }
};

TEST(DVUserLifecycle, AMissingStringTableIsAnErrorThatSaysWhereItLooked)
{
    const HostSettingsScope scope;
    QTemporaryDir empty;
    SetHostSettings({QString(), QString(), empty.path()});
    const ComError missing = ErrorOf([] { DVUser user; });
    EXPECT_EQ(missing.Number(), entry::kFileNotFound);
    EXPECT_EQ(missing.Source(), QStringLiteral("QVUSER.DVUser"));
    EXPECT_TRUE(missing.Description().contains(empty.filePath(QStringLiteral("1033/qvres.txt"))))
        << missing.Description().toStdString();
    EXPECT_EQ(entry::CurrentThreadState().InstanceCount, 0) << "a failed creation counts no instance";

    // A component folder given by the host is used when it holds the strings.
    SetHostSettings({QString(), QString(), QStringLiteral(QV_BUILD_LIB)});
    DVUser user;
    EXPECT_EQ(LoadResString(340), QStringLiteral("Select Access Database"));
}

TEST(DVUserLifecycle, WithoutAHostFolderTheStringsAreLookedForBesideTheLibraryThenInShare)
{
    const HostSettingsScope scope;
    SetHostSettings({});
    const QStringList candidates = ComponentFolderCandidates();
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_EQ(QDir(candidates[0]), QDir(QStringLiteral(QV_BUILD_LIB)));
    EXPECT_TRUE(candidates[1].endsWith(QStringLiteral("/share/qvuser"))) << candidates[1].toStdString();
    EXPECT_EQ(QDir(FoundComponentFolder()), QDir(QStringLiteral(QV_BUILD_LIB))) << "the build keeps 1033 beside";
}

TEST(HostSettingsRoots, TheHostSetsTheRootsAndTheEnvironmentOverridesThem)
{
    const HostSettingsScope scope;
    const QByteArray registryBefore = qgetenv("QV_REGISTRY_ROOT"), pimBefore = qgetenv("QV_PIM_ROOT");
    qunsetenv("QV_REGISTRY_ROOT");
    qunsetenv("QV_PIM_ROOT");
    QTemporaryDir host, environment;
    SetHostSettings({host.filePath(QStringLiteral("registry")), host.filePath(QStringLiteral("pim")), QString()});
    const QString hostHive = host.filePath(QStringLiteral("registry/HKEY_CURRENT_USER.ini"));
    EXPECT_EQ(Registry::HiveFile(Registry::CurrentUser), hostHive);
    Registry().SetValue(Registry::CurrentUser, QStringLiteral("Software\\Test"), QStringLiteral("Seen"),
                        Registry::DWord, Variant(qint32(7)));
    EXPECT_TRUE(QFile::exists(hostHive));
    data::DataViewDataServices services;
    EXPECT_EQ(services.PimRoot(), host.filePath(QStringLiteral("pim")));
    services.SetPimRoot(QStringLiteral("/own"));
    EXPECT_EQ(services.PimRoot(), QStringLiteral("/own")) << "an object's own root wins over the host's";

    qputenv("QV_REGISTRY_ROOT", environment.path().toLocal8Bit());
    qputenv("QV_PIM_ROOT", environment.path().toLocal8Bit());
    EXPECT_EQ(Registry::HiveFile(Registry::CurrentUser), environment.filePath(QStringLiteral("HKEY_CURRENT_USER.ini")));
    EXPECT_EQ(services.PimRoot(), environment.path());
    qputenv("QV_REGISTRY_ROOT", registryBefore);
    qputenv("QV_PIM_ROOT", pimBefore);
    if (registryBefore.isEmpty())
        qunsetenv("QV_REGISTRY_ROOT");
    if (pimBefore.isEmpty())
        qunsetenv("QV_PIM_ROOT");
}

// A scripting bridge calls by name; in-and-out parameters pass by reference.
TEST(DVUserByName, MembersAreReachedByNameAndInOutParametersComeBack)
{
    DVUser user;
    bool cancelled = true;
    ASSERT_TRUE(QMetaObject::invokeMethod(&user, "InsertDataCancelled", Q_RETURN_ARG(bool, cancelled)));
    EXPECT_FALSE(cancelled);

    auto view = NewView(config::ConfigStore::Create());
    std::shared_ptr<Dictionary> values;
    ASSERT_TRUE(QMetaObject::invokeMethod(&user, "GetValueListDictionary",
                                          Q_RETURN_ARG(std::shared_ptr<qv::Dictionary>, values),
                                          Q_ARG(std::shared_ptr<qv::config::DataView> &, view),
                                          Q_ARG(QString, QStringLiteral("City")), Q_ARG(bool, true)));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->Count(), 0) << "offline, a view without rows has no values";
    EXPECT_EQ(view, nullptr) << "the member clears the caller's reference";
}

TEST(DVUserMembers, ValidateDataViewFieldValueOnlyAsksForADataView)
{
    DVUser user;
    std::shared_ptr<config::DataView> view;
    EXPECT_FALSE(user.ValidateDataViewFieldValue(view, QStringLiteral("1"), QStringLiteral("x")));
    view = NewView(config::ConfigStore::Create());
    EXPECT_TRUE(user.ValidateDataViewFieldValue(view, QStringLiteral("no such field"), QStringLiteral("not a number")));
}

// A root with a contacts folder, a tasks folder below a group, and an empty folder.
class SelectFolder : public EntryTest
{
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        QDir root(m_root.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("Contacts")) && root.mkpath(QStringLiteral("Work/Tasks"))
                    && root.mkpath(QStringLiteral("Empty")));
        for (const char *name : {"John_Doe_IPHONE.vcf", "rfc2426-example.vcf"})
            Copy(QStringLiteral("contacts/") + QString::fromUtf8(name), QStringLiteral("Contacts"));
        for (const char *name : {"todos-example.ics", "rfc_7986_image.ics"})
            Copy(QStringLiteral("tasks/") + QString::fromUtf8(name), QStringLiteral("Work/Tasks"));
        Services services = std::make_shared<data::DataViewDataServices>();
        services->SetPimRoot(m_root.path());
        m_user.SetDataViewDataServices(services);
    }

    void Copy(const QString &file, const QString &folder)
    {
        const QString target = QDir(m_root.path()).filePath(folder + u'/' + QFileInfo(file).fileName());
        ASSERT_TRUE(QFile::copy(QStringLiteral(QV_SHARED_DATA "/") + file, target)) << file.toStdString();
    }

    QTemporaryDir m_root;
    DVUser m_user;
    std::shared_ptr<config::ConfigStore> m_store = config::ConfigStore::Create();
};

TEST_F(SelectFolder, ListsTheFoldersAndMakesTheChosenOneTheSource)
{
    QStringList rows;
    ui::modal_driver::Push([&](QDialog &dialog) {
        auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("lvwFolders"));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            rows << item->text(0) + u'|' + item->text(1) + u'|' + item->text(2);
        }
        list->setCurrentItem(list->topLevelItem(1));
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    auto view = NewView(m_store);
    const QString text = m_user.VisualSelectFolder(view);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("Contacts|Contact|3"), QStringLiteral("Work/Tasks|Task|3")}))
        << "the empty folder and the root, which hold nothing, are not offered";
    EXPECT_EQ(data::FolderSourceValue(text, QStringLiteral("FolderType"), QStringLiteral("FolderName")),
              QStringLiteral("Task"));
    EXPECT_EQ(view->Source.Kind, data::SourceFolder);
    EXPECT_EQ(view->Source.ConnectionText, text);
    EXPECT_EQ(view->DataItemKind, 4);
}

TEST_F(SelectFolder, CancelledLeavesTheDataViewAlone)
{
    ui::modal_driver::Push([](QDialog &dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    auto view = NewView(m_store);
    view->Source.Kind = data::SourceAccess;
    EXPECT_EQ(m_user.VisualSelectFolder(view), QString());
    EXPECT_EQ(view->Source.Kind, data::SourceAccess);
}

TEST_F(SelectFolder, ErrorsReachTheHostWithTheMembersNameInTheSource)
{
    // The chosen folder vanishes before OK: the data services' error, passed on.
    ui::modal_driver::Push([&](QDialog &dialog) {
        ASSERT_TRUE(QDir(m_root.filePath(QStringLiteral("Contacts"))).removeRecursively());
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    auto view = NewView(m_store);
    const ComError gone = ErrorOf([&] { m_user.VisualSelectFolder(view); });
    EXPECT_EQ(gone.Number(), data::kErrorSourceUnreadable);
    EXPECT_EQ(gone.Source(), QStringLiteral("QVUSER.DVUser.VisualSelectFolder(): QVDATA.DataViewDataServices"));
    EXPECT_EQ(view->Source.Kind, 0);

    std::shared_ptr<config::DataView> none;
    const ComError noView = ErrorOf([&] { m_user.VisualSelectFolder(none); });
    EXPECT_EQ(noView.Number(), vberr::ObjectRequired);
    EXPECT_EQ(noView.Source(), QStringLiteral("QVUSER.DVUser.VisualSelectFolder(): QVUSER"));

    m_user.DataViewDataServices()->SetPimRoot(m_root.filePath(QStringLiteral("nowhere")));
    const ComError noRoot = ErrorOf([&] { m_user.VisualSelectFolder(view); });
    EXPECT_TRUE(noRoot.Description().contains(QStringLiteral("nowhere"))) << noRoot.Description().toStdString();
    EXPECT_TRUE(Boxes->Messages.isEmpty()) << "passed on, never shown";
}
