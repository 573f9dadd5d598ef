#include "TestMain.h"

#include "automation/ComError.h"
#include "registry/Registry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;

namespace {

const QString kKey = QStringLiteral("\\Software\\Harbrane\\Quorivo\\Data Views\\");

QString RunChild(const QStringList &arguments, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(test::SelfPath(), QStringList{QStringLiteral("--child")} + arguments);
    EXPECT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    return QString::fromUtf8(child.readAllStandardOutput());
}

} // namespace

TEST(Registry, RoundTripOfEachTypeAndHive)
{
    Registry r;
    r.SetValue(Registry::CurrentUser, kKey, QStringLiteral("LastDataViewId"), Registry::String, Variant("{12}"));
    r.SetValue(Registry::CurrentUser, kKey, QStringLiteral("LastDataViewTypeId"), Registry::DWord,
               Variant(qint32(-1)));
    r.SetValue(Registry::LocalMachine, kKey, QString(), Registry::QWord, Variant(qint64(1) << 40));
    EXPECT_EQ(r.GetValue(Registry::CurrentUser, kKey, QStringLiteral("LastDataViewId"), Registry::String),
              Variant(QStringLiteral("{12}")));
    EXPECT_EQ(r.GetValue(Registry::CurrentUser, kKey, QStringLiteral("LastDataViewTypeId"), Registry::DWord),
              Variant(qint32(-1)));
    EXPECT_EQ(r.GetValue(Registry::LocalMachine, kKey, QString(), Registry::QWord), Variant(qint64(1) << 40));
    // The hives are apart: the user's value is not the machine's.
    EXPECT_EQ(r.GetValue(Registry::LocalMachine, kKey, QStringLiteral("LastDataViewId"), Registry::String,
                         Variant("none")),
              Variant("none"));
}

TEST(Registry, KeysAndValueNamesIgnoreCase)
{
    Registry r;
    r.SetValue(Registry::CurrentUser, QStringLiteral("Software\\Case Test"), QStringLiteral("Width"),
               Registry::DWord, Variant(qint32(640)));
    r.SetValue(Registry::CurrentUser, QStringLiteral("SOFTWARE\\CASE TEST\\"), QStringLiteral("WIDTH"),
               Registry::DWord, Variant(qint32(800)));
    EXPECT_EQ(r.GetValue(Registry::CurrentUser, QStringLiteral("\\software\\case test"), QStringLiteral("width"),
                         Registry::DWord),
              Variant(qint32(800)));
    QFile file(Registry::HiveFile(Registry::CurrentUser));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("800"), 1) << "the second write must replace the first, not add a twin";
}

TEST(Registry, DefaultsAndRefusals)
{
    Registry r;
    EXPECT_EQ(r.GetValue(Registry::CurrentUser, QStringLiteral("Software\\Absent"), QStringLiteral("X"),
                         Registry::DWord, Variant(qint32(7))),
              Variant(qint32(7)));
    r.SetValue(Registry::CurrentUser, QStringLiteral("Software\\Mixed"), QStringLiteral("X"), Registry::String,
               Variant("not a number"));
    EXPECT_EQ(r.GetValue(Registry::CurrentUser, QStringLiteral("Software\\Mixed"), QStringLiteral("X"),
                         Registry::DWord, Variant(qint32(3))),
              Variant(qint32(3)));
    EXPECT_EQ(r.GetValue(0x80000003, kKey, QStringLiteral("X"), Registry::String, Variant("d")), Variant("d"));
    EXPECT_THROW(r.SetValue(0x80000003, kKey, QStringLiteral("X"), Registry::String, Variant("v")), ComError);
    EXPECT_THROW(r.SetValue(Registry::CurrentUser, kKey, QStringLiteral("X"), 3, Variant("v")), ComError);
    EXPECT_THROW(r.SetValue(Registry::CurrentUser, kKey, QStringLiteral("X"), Registry::String, Variant::Null()),
                 ComError);
}

TEST(Registry, UnwritableHiveIsAnError)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("QV_REGISTRY_ROOT");
    const QString root = dir.filePath(QStringLiteral("missing/deeper"));
    QFile blocker(dir.filePath(QStringLiteral("missing")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder would have to be
    blocker.close();
    qputenv("QV_REGISTRY_ROOT", root.toLocal8Bit());
    Registry r;
    try {
        r.SetValue(Registry::CurrentUser, kKey, QStringLiteral("X"), Registry::String, Variant("v"));
        ADD_FAILURE() << "writing into an unwritable folder did not fail";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), 75);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("missing/deeper")));
    }
    qputenv("QV_REGISTRY_ROOT", saved);
}

TEST(Registry, ValuesCrossProcesses)
{
    Registry r;
    r.SetValue(Registry::CurrentUser, kKey, QStringLiteral("Shared"), Registry::String,
               Variant(QStringLiteral("from parent: é")));
    EXPECT_EQ(RunChild({QStringLiteral("read"), QStringLiteral("0x80000001"), kKey, QStringLiteral("shared")}),
              QStringLiteral("from parent: é"));
    RunChild({QStringLiteral("write"), QStringLiteral("0x80000001"), kKey, QStringLiteral("Shared"),
              QStringLiteral("from child")});
    EXPECT_EQ(r.GetValue(Registry::CurrentUser, kKey, QStringLiteral("Shared"), Registry::String),
              Variant(QStringLiteral("from child")));
}

TEST(Registry, FileDsnFolderComesFromUnixOdbc)
{
    QTemporaryDir sysIni;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ODBCSYSINI"), sysIni.path());
    EXPECT_EQ(RunChild({QStringLiteral("odbc")}, env), sysIni.filePath(QStringLiteral("ODBCDataSources")));

    QFile ini(QDir(sysIni.path()).filePath(QStringLiteral("odbcinst.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[ODBC]\nFILEDSNPATH = /srv/team dsns\n");
    ini.close();
    EXPECT_EQ(RunChild({QStringLiteral("odbc")}, env), QStringLiteral("/srv/team dsns"));
}
