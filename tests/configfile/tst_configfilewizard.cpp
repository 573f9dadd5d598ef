// The Configuration File wizard as a host reaches it through DVUser, worked
// with the mouse and the keyboard.
#include "WizardDriver.h"

#include "TestMain.h"

#include "biz/ConfigFileSettings.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "configfile/ConfigFileRules.h"
#include "qvuser/DVUser.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace qv;
using namespace qv::test::wizard;

namespace {

// A host whose team folder is given.
class TeamFolderHost : public QObject
{
    Q_OBJECT

public:
    explicit TeamFolderHost(QString folder) : m_folder(std::move(folder)) {}
    Q_INVOKABLE QString GetPath(int lPathType) const { return lPathType == 3 ? m_folder : QString(); }

private:
    QString m_folder;
};

class ConfigFileWizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registry.isValid() && files.isValid());
        m_oldRegistry = qgetenv("QV_REGISTRY_ROOT");
        qputenv("QV_REGISTRY_ROOT", m_registry.path().toLocal8Bit());
        ui::SetMessageBoxHandler(messages);
        ui::SetFileDialogService(dialogs);
        ui::modal_driver::Clear();
    }

    void TearDown() override
    {
        EXPECT_EQ(ui::modal_driver::Pending(), 0) << "a wizard expected by the test did not come";
        EXPECT_EQ(ui::modal_driver::LeftOpen(), 0) << "a driver left the wizard open";
        ui::SetMessageBoxHandler(nullptr);
        ui::SetFileDialogService(nullptr);
        ui::modal_driver::Clear();
        qputenv("QV_REGISTRY_ROOT", m_oldRegistry);
    }

    QString Messages() const
    {
        QStringList texts;
        for (const auto &message : messages->Messages)
            texts << message.Text;
        return texts.join(QStringLiteral(" | "));
    }

    static std::shared_ptr<config::ConfigStore> Open(const QString &path)
    {
        auto store = config::ConfigStore::Create();
        store->Open(path);
        return store;
    }

    DVUser user; // loads the resource strings for the test's thread
    std::shared_ptr<ui::MessageRecorder> messages = std::make_shared<ui::MessageRecorder>();
    std::shared_ptr<ui::FileDialogDouble> dialogs = std::make_shared<ui::FileDialogDouble>();
    QTemporaryDir files;

private:
    QTemporaryDir m_registry;
    QByteArray m_oldRegistry;
};

} // namespace

TEST_F(ConfigFileWizardTest, ANewTeamFileInTheHostsFolderIsStoredAndOpens)
{
    TeamFolderHost host(files.path());
    ui::modal_driver::Push([this](QDialog &wizard) {
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral("Data View Configuration File Wizard"));
        EXPECT_EQ(StepOf(wizard), 1);
        EXPECT_EQ(Text(wizard, "lblWelcomeTitle"), LoadResString(150004));
        EXPECT_FALSE(Control<QPushButton>(wizard, QStringLiteral("cmdNav(1)"))->isEnabled())
            << "no Back on the first step";
        Press(wizard, Next);
        ASSERT_EQ(StepOf(wizard), 2);
        EXPECT_EQ(Text(wizard, "lblStepHeader"), LoadResString(150006));
        Press(wizard, Next);
        ASSERT_EQ(StepOf(wizard), 3);
        // A name is required before the wizard goes on.
        Press(wizard, Next);
        EXPECT_EQ(StepOf(wizard), 3);
        EXPECT_EQ(Messages(), LoadResString(150003, {QStringLiteral("Name")}));
        EXPECT_EQ(messages->Messages.value(0).Style, 16);
        Type(wizard, "txtName", QStringLiteral("Sales Team"));
        Type(wizard, "txtDescriptions", QStringLiteral("Views the sales team shares"));
        QTest::keyClick(Control<QWidget>(wizard, QStringLiteral("txtName")), Qt::Key_Return);
        ASSERT_EQ(StepOf(wizard), 4) << "Enter presses Next";
        EXPECT_EQ(Text(wizard, "lblFile"), QStringLiteral("&Save configuration file as:"));
        EXPECT_EQ(Text(wizard, "txtFile"), QDir(files.path()).filePath(QStringLiteral("qvDataView Team.cfg")));
        Press(wizard, Finish);
    });
    QObject *services = &host;
    const QString chosen = user.InvokeWizardCreateOrFindConfig(services, Team, QString());
    const QString expected = QDir(files.path()).filePath(QStringLiteral("qvDataView Team.cfg"));
    EXPECT_EQ(chosen, expected);
    EXPECT_EQ(biz::ConfigFileSettings().GetConfigFilePath(biz::ConfigFileSettings::Team), expected);
    auto store = Open(chosen);
    EXPECT_EQ(store->Name, QStringLiteral("Sales Team"));
    EXPECT_EQ(store->Description, QStringLiteral("Views the sales team shares"));
    EXPECT_EQ(store->SmartTagNamespace, QStringLiteral("schemas-harbrane-com:quorivo:smarttag#edsteam"));
}

TEST_F(ConfigFileWizardTest, NameRulesAndAMissingFolderAtFinish)
{
    const QString folder = QDir(files.path()).filePath(QStringLiteral("new/shared"));
    ui::modal_driver::Push([&](QDialog &wizard) {
        Press(wizard, Next);
        Press(wizard, Next);
        Type(wizard, "txtName", QStringLiteral("Team"));
        Press(wizard, Next);
        Type(wizard, "txtFile", folder + QStringLiteral("/team."));
        Press(wizard, Finish);
        EXPECT_TRUE(wizard.isVisible());
        EXPECT_TRUE(Messages().contains(QStringLiteral("Invalid filename"))) << Messages().toStdString();
        // A name without an extension, in a folder that is not there yet: No stays.
        messages->Messages.clear();
        messages->Answers << ui::mb::No << ui::mb::Yes;
        Type(wizard, "txtFile", folder + QStringLiteral("/team"));
        Press(wizard, Finish);
        EXPECT_TRUE(wizard.isVisible());
        EXPECT_EQ(Messages(), LoadResString(150001, {folder + QLatin1Char('/')}));
        EXPECT_EQ(messages->Messages.value(0).Style, ui::mb::YesNo + ui::mb::Question);
        Press(wizard, Finish);
    });
    QString path;
    ASSERT_TRUE(user.ShowConfigFileWizard(QString(), path));
    EXPECT_EQ(path, folder + QStringLiteral("/team.cfg"));
    EXPECT_EQ(Open(path)->Name, QStringLiteral("Team"));
}

TEST_F(ConfigFileWizardTest, LinkingRefusesMissingFilesAndFilesThatAreNoConfiguration)
{
    const QString team = QDir(files.path()).filePath(QStringLiteral("team.cfg"));
    const QString notes = QDir(files.path()).filePath(QStringLiteral("notes.cfg"));
    config::ConfigStore::CreateFile(team, QStringLiteral("Team"), QString(), QString());
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("These are my notes, not a configuration.\n");
    text.close();
    WriteSkipWelcome(QString::fromLatin1(configfile::kSkipWelcomeKey), true);
    dialogs->Results << ui::FileDialogResult{true, notes, 1} << ui::FileDialogResult{true, team, 1};

    ui::modal_driver::Push([&](QDialog &wizard) {
        ASSERT_EQ(StepOf(wizard), 2) << "\"SkipWelcome\" opens on the action step";
        EXPECT_FALSE(Control<QPushButton>(wizard, QStringLiteral("cmdNav(1)"))->isEnabled());
        ChooseAction(wizard, 1);
        Press(wizard, Next);
        ASSERT_EQ(StepOf(wizard), 4) << "linking goes straight to the file";
        EXPECT_EQ(Text(wizard, "lblFile"), QStringLiteral("&Open configuration file:"));
        EXPECT_EQ(Text(wizard, "lblCompleteTitle"), LoadResString(150012));
        Press(wizard, Back);
        EXPECT_EQ(StepOf(wizard), 2);
        Press(wizard, Next);

        Type(wizard, "txtFile", team + QStringLiteral(".gone"));
        Press(wizard, Finish);
        EXPECT_EQ(Messages(), LoadResString(150018, {team + QStringLiteral(".gone")}));
        EXPECT_EQ(messages->Messages.value(0).Title, QStringLiteral("Configuration File"));

        messages->Messages.clear();
        QTest::mouseClick(Control<QPushButton>(wizard, QStringLiteral("cmdBrowse")), Qt::LeftButton);
        EXPECT_EQ(Text(wizard, "txtFile"), notes);
        Press(wizard, Finish);
        EXPECT_TRUE(wizard.isVisible());
        EXPECT_TRUE(Messages().startsWith(LoadResString(150020, {notes, QString()}).trimmed()))
            << Messages().toStdString();
        QTest::mouseClick(Control<QPushButton>(wizard, QStringLiteral("cmdBrowse")), Qt::LeftButton);
        Press(wizard, Finish);
    });
    QString path;
    ASSERT_TRUE(user.ShowConfigFileWizard(files.path(), path));
    EXPECT_EQ(path, team);
    ASSERT_EQ(dialogs->Requests.size(), 2);
    EXPECT_EQ(dialogs->Requests[0].DialogMode, ui::FileDialogRequest::Open);
    EXPECT_EQ(dialogs->Requests[0].Title, QStringLiteral("Connect to configuration file"));
    EXPECT_EQ(Open(team)->Name, QStringLiteral("Team")) << "linking writes nothing";

    // Unticking "Skip this screen" (on the welcome that Back leads to from a
    // file's name) is kept at once, even when the wizard is cancelled.
    ui::modal_driver::Push([&](QDialog &wizard) {
        Press(wizard, Back);
        ASSERT_EQ(StepOf(wizard), 1);
        auto *skip = Control<QCheckBox>(wizard, QStringLiteral("chkSkipWelcome"));
        EXPECT_TRUE(skip->isChecked());
        QTest::mouseClick(skip, Qt::LeftButton, {}, QPoint(6, skip->height() / 2));
        Press(wizard, Cancel);
    });
    EXPECT_FALSE(user.ShowConfigFileWizard(files.path(), path));
    EXPECT_EQ(path, team);
    EXPECT_FALSE(ReadSkipWelcome(QString::fromLatin1(configfile::kSkipWelcomeKey)));
}

#include "tst_configfilewizard.moc"
