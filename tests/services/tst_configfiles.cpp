// The configuration file where it is not an ordinary file of one author: a
// pipe or a device at its path, a link shared by two writers, a read-only
// file, a full disk.
#include "config/ConfigStore.h"

#include "automation/ComError.h"

#include "TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace qv;
using namespace qv::config;

namespace {

std::shared_ptr<ConfigStore> NewFile(const QString &path)
{
    auto store = ConfigStore::Create();
    store->CreateNew(path, QStringLiteral("Team"), {}, QStringLiteral("urn:qv:tags"));
    store->DataViewCollection().AddBlank()->Name = QStringLiteral("First");
    return store;
}

template<typename Call>
ComError ErrorOf(Call call)
{
    try {
        call();
    } catch (const ComError &e) {
        return e;
    }
    return ComError(0, {}, QStringLiteral("<no error>"));
}

struct NotAFile
{
    const char *name;
    bool (*make)(const QString &path);
};

class NotAFileTest : public ::testing::TestWithParam<NotAFile>
{
};

// A pipe would block the open for ever, /dev/zero would fill memory.
TEST_P(NotAFileTest, IsRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("team.cfg"));
    ASSERT_TRUE(GetParam().make(path));
    QElapsedTimer timer;
    timer.start();
    const ComError error = ErrorOf([&] { ConfigStore::Create()->Open(path); });
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(error.Number(), kErrorUnreadable);
    EXPECT_TRUE(error.Description().contains(u"team.cfg\" cannot be opened: it is not a regular file"))
        << error.Description().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    ConfigFiles, NotAFileTest,
    ::testing::Values(
        NotAFile{"fifo", [](const QString &p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }},
        NotAFile{"linkToZero", [](const QString &p) { return QFile::link(QStringLiteral("/dev/zero"), p); }},
        NotAFile{"folder", [](const QString &p) { return QDir().mkdir(p); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ConfigFiles, ReadOnlyFileIsKeptEvenForRoot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("team.cfg"));
    auto store = NewFile(path);
    store->Save();
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    store->DataViewCollection().AddBlank()->Name = QStringLiteral("Second");
    const ComError error = ErrorOf([&] { store->Save(); });
    EXPECT_EQ(error.Number(), kErrorCannotWrite);
    EXPECT_TRUE(error.Description().contains(u"team.cfg\" is read-only, so it was not saved"))
        << error.Description().toStdString();
    auto check = ConfigStore::Create();
    check->Open(path);
    EXPECT_EQ(check->DataViewCollection().Count(), 1);
}

// Two authors, one through a link and one by the real name, each saving 100
// edits and redoing those refused: every edit is in the file at the end.
TEST(ConfigFiles, WritersThroughALinkAndTheRealPathLoseNothing)
{
    constexpr int kRounds = 100;
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real/team.cfg"));
    const QString link = dir.filePath(QStringLiteral("team-link.cfg"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    NewFile(real)->Save();
    ASSERT_TRUE(QFile::link(real, link));
    QProcess viaLink, viaReal;
    viaLink.start(test::SelfPath(), {"--child", "edit-rounds", link, QString::number(kRounds), "link "});
    viaReal.start(test::SelfPath(), {"--child", "edit-rounds", real, QString::number(kRounds), "real "});
    for (QProcess *child : {&viaLink, &viaReal}) {
        ASSERT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().toStdString();
    }
    auto check = ConfigStore::Create();
    check->Open(link);
    EXPECT_EQ(check->DataViewCollection().Count(), 1 + 2 * kRounds);
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_TRUE(check->DataViewCollection().ItemByName(QStringLiteral("link %1").arg(i))) << i;
        EXPECT_TRUE(check->DataViewCollection().ItemByName(QStringLiteral("real %1").arg(i))) << i;
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link must stay a link";
}

// A small file system of its own, filled to the last block. Needs root and
// loop devices; elsewhere the test is skipped.
class FullDisk
{
public:
    FullDisk()
    {
        if (::geteuid() != 0 || !m_dir.isValid())
            return;
        const QString image = m_dir.filePath(QStringLiteral("disk.img"));
        m_mount = m_dir.filePath(QStringLiteral("mnt"));
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(1 << 20) || !QDir().mkdir(m_mount))
            return;
        file.close();
        if (!Run("mkfs.ext2", {"-q", "-F", "-m", "0", image}) || !Run("mount", {"-o", "loop", image, m_mount}))
            return;
        m_mounted = true;
        // Large pieces first, then smaller ones for the last partial blocks.
        for (const int piece : {65536, 1024, 1}) {
            QFile filler(QDir(m_mount).filePath(QStringLiteral("filler%1").arg(piece)));
            const QByteArray bytes(piece, 'x');
            while (filler.isOpen() || filler.open(QIODevice::WriteOnly)) {
                if (filler.write(bytes) != bytes.size() || !filler.flush())
                    break;
            }
        }
    }
    ~FullDisk()
    {
        if (m_mounted)
            Run("umount", {m_mount});
    }
    bool Ready() const { return m_mounted; }
    QString FilePath(const QString &name) const { return QDir(m_mount).filePath(name); }

private:
    static bool Run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    QTemporaryDir m_dir;
    QString m_mount;
    bool m_mounted = false;
};

TEST(ConfigFiles, FullDiskIsNamedAsSuch)
{
    FullDisk disk;
    if (!disk.Ready())
        GTEST_SKIP() << "a loop-mounted file system needs root and loop devices";
    auto store = NewFile(disk.FilePath(QStringLiteral("team.cfg")));
    const ComError error = ErrorOf([&] { store->Save(); });
    EXPECT_EQ(error.Number(), kErrorCannotWrite);
    EXPECT_TRUE(error.Description().contains(u"team.cfg\" cannot be written: the disk is full"))
        << error.Description().toStdString();
}

} // namespace
