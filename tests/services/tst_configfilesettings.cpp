#include "BizFixture.h"
#include "TestMain.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigStore.h"

#include "automation/ComError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>

#include <sys/stat.h>

using namespace qv;
using namespace qv::biz;

namespace {

constexpr int kPersonal = ConfigFileSettings::Personal;
constexpr int kTeam = ConfigFileSettings::Team;

std::shared_ptr<config::ConfigStore> Open(const QString &path)
{
    auto store = config::ConfigStore::Create();
    store->Open(path);
    return store;
}

QStringList ViewNames(const config::ConfigStore &store)
{
    QStringList names;
    for (const auto &view : store.DataViewCollection())
        names << view->Name;
    return names;
}

} // namespace

TEST_F(BizTest, PathsLiveInTheRegistryAndThePersonalFileIsMadeOnFirstUse)
{
    ConfigFileSettings settings;
    const QString personal = settings.GetConfigFilePath(kPersonal);
    EXPECT_TRUE(personal.startsWith(DataPath(QString())));
    EXPECT_EQ(Open(personal)->DataViewCollection().Count(), 0) << "the new personal file is an empty configuration";
    EXPECT_FALSE(settings.TeamPathSet());
    EXPECT_EQ(settings.GetConfigFilePath(kTeam), QString());

    settings.SetConfigFilePath(kTeam, QStringLiteral("/share/team.cfg"));
    settings.SetConfigFilePath(kPersonal, DataPath(QStringLiteral("mine.cfg")));
    ConfigFileSettings other;
    EXPECT_TRUE(other.TeamPathSet());
    EXPECT_EQ(other.GetConfigFilePath(kTeam), QStringLiteral("/share/team.cfg"));
    EXPECT_EQ(other.GetConfigFilePath(kPersonal), DataPath(QStringLiteral("mine.cfg")));
    other.SetConfigFilePath(kTeam, QString());
    EXPECT_FALSE(settings.TeamPathSet());
    EXPECT_THROW(settings.GetConfigFilePath(3), ComError);
    EXPECT_THROW(settings.SetConfigFilePath(0, QString()), ComError);
}

TEST_F(BizTest, EditAccessFollowsWhetherTheFileMayBeWritten)
{
    ConfigFileSettings settings;
    EXPECT_FALSE(settings.GrantEditAccess(nullptr));
    EXPECT_FALSE(settings.GrantEditAccess(config::ConfigStore::Create())) << "a store without a file";
    auto store = config::ConfigStore::CreateFile(DataPath(QStringLiteral("t.cfg")), QStringLiteral("T"), {}, {});
    EXPECT_TRUE(settings.GrantEditAccess(store));
    QFile::setPermissions(store->FilePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_FALSE(settings.GrantEditAccess(store)) << "a read-only team file";

    auto fresh = config::ConfigStore::Create();
    fresh->CreateNew(DataPath(QStringLiteral("new.cfg")), {}, {}, {});
    EXPECT_TRUE(settings.GrantEditAccess(fresh)) << "a file still to be written in a writable folder";
    fresh->CreateNew(DataPath(QStringLiteral("missing/new.cfg")), {}, {}, {});
    EXPECT_FALSE(settings.GrantEditAccess(fresh));
}

TEST_F(BizTest, ChangeStampsChangeWhenAnotherProcessSaves)
{
    ConfigFileSettings settings;
    const QString personal = settings.GetConfigFilePath(kPersonal);
    const QString before = settings.ChangeStamp(kPersonal);
    EXPECT_EQ(settings.ChangeStamp(kPersonal), before) << "reading twice is no change";

    QString last = before;
    for (int round = 0; round < 3; ++round) {
        QProcess child;
        child.start(test::SelfPath(), {QStringLiteral("--child"), QStringLiteral("save-personal"),
                                       QStringLiteral("From child %1").arg(round)});
        ASSERT_TRUE(child.waitForFinished(30000));
        ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        const QString now = settings.ChangeStamp(kPersonal);
        EXPECT_NE(now.toUpper(), last.toUpper()) << "round " << round;
        EXPECT_EQ(QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed(), now)
            << "both processes derive the stamp from the same file";
        last = now;
    }
    EXPECT_EQ(Open(personal)->DataViewCollection().Count(), 3);

    // Another file becoming the team configuration is a change too.
    const QString none = settings.ChangeStamp(kTeam);
    config::ConfigStore::CreateFile(DataPath(QStringLiteral("a.cfg")), QStringLiteral("A"), {}, {});
    config::ConfigStore::CreateFile(DataPath(QStringLiteral("b.cfg")), QStringLiteral("A"), {}, {});
    settings.SetConfigFilePath(kTeam, DataPath(QStringLiteral("a.cfg")));
    const QString teamA = settings.ChangeStamp(kTeam);
    settings.SetConfigFilePath(kTeam, DataPath(QStringLiteral("b.cfg")));
    EXPECT_NE(teamA, none);
    EXPECT_NE(settings.ChangeStamp(kTeam), teamA);
}

// A pipe or a link to a device where the team file should be: the stamp is
// made at once instead of blocking on the pipe or reading /dev/zero for ever.
TEST_F(BizTest, ChangeStampOfAPipeOrADeviceComesAtOnce)
{
    ConfigFileSettings settings;
    const QString fifo = DataPath(QStringLiteral("fifo.cfg"));
    const QString zero = DataPath(QStringLiteral("zero.cfg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    QElapsedTimer timer;
    timer.start();
    settings.SetConfigFilePath(kTeam, fifo);
    const QString pipeStamp = settings.ChangeStamp(kTeam);
    settings.SetConfigFilePath(kTeam, zero);
    EXPECT_NE(settings.ChangeStamp(kTeam), pipeStamp);
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST_F(BizTest, ConfigurationChangedReachesEveryLiveObject)
{
    ConfigFileSettings first;
    auto second = std::make_unique<ConfigFileSettings>();
    QSignalSpy firstSpy(&first, &ConfigFileSettings::ConfigurationChangedSignal);
    QSignalSpy secondSpy(second.get(), &ConfigFileSettings::ConfigurationChangedSignal);
    second->ConfigurationChanged(kTeam);
    ASSERT_EQ(firstSpy.count(), 1);
    EXPECT_EQ(firstSpy.at(0).at(0).toInt(), kTeam);
    EXPECT_EQ(secondSpy.count(), 1);
    second.reset();
    first.ConfigurationChanged(kPersonal);
    EXPECT_EQ(firstSpy.count(), 2);
    EXPECT_THROW(first.ConfigurationChanged(5), ComError);
}

TEST_F(BizTest, TutorialIsCopiedOnAndResetRestoresTheShippedContent)
{
    ConfigFileSettings settings;
    const QString own = settings.GetConfigFilePath(kPersonal);
    EXPECT_FALSE(settings.TutorialEnabled());
    settings.SetTutorialEnabled(true);
    ASSERT_TRUE(settings.TutorialEnabled());
    const QString tutorial = settings.GetConfigFilePath(kPersonal);
    EXPECT_EQ(tutorial, ConfigFileSettings::TutorialFilePath());
    EXPECT_NE(tutorial, own);

    auto store = Open(tutorial);
    const QStringList shipped = ViewNames(*store);
    EXPECT_TRUE(shipped.contains(QStringLiteral("Tutorial Clients")));
    const QString connection = store->DataViewCollection().ItemByName(QStringLiteral("Tutorial Clients"))->Source.ConnectionText;
    EXPECT_FALSE(connection.contains(QLatin1String("$(")));
    const QString workbook = QFileInfo(tutorial).dir().filePath(QStringLiteral("Tutorial Clients.xml"));
    EXPECT_TRUE(connection.contains(workbook)) << connection.toStdString();
    EXPECT_TRUE(QFileInfo::exists(workbook));
    const QByteArray original = store->ToXml();

    // The author practises: deletes a view, renames another, breaks the workbook.
    store->DataViewCollection().Remove(store->DataViewCollection().ItemByName(QStringLiteral("Tutorial Clients"))->Id());
    (*store->DataViewCollection().begin())->Name = QStringLiteral("Renamed");
    store->Save();
    QFile broken(workbook);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.close();
    // Turning the tutorial off and on keeps the practice copy.
    settings.SetTutorialEnabled(false);
    EXPECT_EQ(settings.GetConfigFilePath(kPersonal), own);
    settings.SetTutorialEnabled(true);
    EXPECT_TRUE(ViewNames(*Open(tutorial)).contains(QStringLiteral("Renamed")));

    settings.ResetTutorial();
    auto restored = Open(tutorial);
    EXPECT_EQ(ViewNames(*restored), shipped);
    EXPECT_EQ(restored->ToXml(), original);
    EXPECT_GT(QFileInfo(workbook).size(), 100);

    // A practice copy deleted while the tutorial is on comes back as shipped.
    ASSERT_TRUE(QFile::remove(tutorial));
    EXPECT_EQ(Open(settings.GetConfigFilePath(kPersonal))->ToXml(), original);
}
