// The manager's team and tutorial commands: connecting to, changing and
// disconnecting from the team file through the Configuration File wizard,
// and the tutorial configuration in place of the personal one.
#include "ManagerFixture.h"
#include "Sanitizers.h"
#include "TestMain.h"
#include "WizardDriver.h"

#include "qvuser/DVUser.h"
#include "resources/PathText.h"

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QToolBar>

using namespace qv;
using namespace qv::manager;
using namespace qv::test::wizard;
using qv::test::Child;
using qv::test::ClickNode;
using qv::test::ListTexts;
using qv::test::ManagerTest;
using qv::test::ShownManager;

namespace {

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Queues a run of the wizard that links to an existing file.
void LinkTo(const QString &path)
{
    ui::modal_driver::Push([path](QDialog &wizard) {
        Press(wizard, Next);
        ChooseAction(wizard, 1);
        Press(wizard, Next);
        Type(wizard, "txtFile", path);
        Press(wizard, Finish);
    });
}

QStringList Roots(frmMain &form)
{
    const auto *tree = static_cast<const ManagerTreeModel *>(Child<QTreeView>(form, "tvTreeView")->model());
    QStringList roots;
    for (int row = 0; row < tree->rowCount(); ++row)
        roots << tree->index(row, 0).data().toString();
    return roots;
}

QString CurrentPlace(frmMain &form)
{
    const QModelIndex node = form.CurrentNode();
    return node.parent().data(TagRole).toString() + QLatin1Char('/') + node.data(TagRole).toString();
}

} // namespace

TEST_F(ManagerTest, ConnectChangesTheTeamFileAndDisconnectRemovesIt)
{
    biz::ConfigFileSettings settings;
    settings.SetConfigFilePath(biz::ConfigFileSettings::Team, QString());
    DVUser user;
    QObject *host = nullptr;
    user.OpenSmartTagView(host, personalPath);
    frmMain *form = ShownManager();
    ASSERT_TRUE(form);
    auto *disconnect = Child<QAction>(*form, "mnuDisconnectFromTeamDataViews");
    auto *connectTeam = Child<QAction>(*form, "mnuConnectToTeamDataViews");
    EXPECT_FALSE(disconnect->isEnabled());

    LinkTo(teamPath);
    connectTeam->trigger();
    EXPECT_EQ(Messages(), QStringLiteral("Team Data View configuration changed to\r\n") + teamPath);
    EXPECT_EQ(messages->Messages.value(0).Style, ui::mb::Information);
    EXPECT_EQ(Roots(*form), (QStringList{QStringLiteral("Personal"), QStringLiteral("Team")}));
    EXPECT_EQ(CurrentPlace(*form), QStringLiteral("9:0/5:0")) << "the team's data views are shown";
    EXPECT_EQ(ListTexts(*form), QStringLiteral("Projects"));
    EXPECT_TRUE(disconnect->isEnabled());
    EXPECT_EQ(settings.GetConfigFilePath(biz::ConfigFileSettings::Team), teamPath);

    // The same file again: nothing to announce.
    messages->Messages.clear();
    LinkTo(teamPath);
    connectTeam->trigger();
    EXPECT_EQ(Messages(), QString());

    // The personal file is refused as the team's, and nothing changes.
    LinkTo(personalPath);
    connectTeam->trigger();
    EXPECT_TRUE(Messages().startsWith(LoadResString(712, {personalPath}))) << Messages().toStdString();
    EXPECT_EQ(messages->Messages.value(0).Style, ui::mb::Exclamation);
    EXPECT_EQ(messages->Messages.value(0).Title, QStringLiteral("Quorivo Data View Manager"));
    EXPECT_EQ(settings.GetConfigFilePath(biz::ConfigFileSettings::Team), teamPath);
    EXPECT_EQ(form->State().TeamStore()->FilePath(), teamPath);

    // Another team file is announced.
    const QString otherTeam = QFileInfo(teamPath).dir().filePath(QStringLiteral("other team.cfg"));
    config::ConfigStore::CreateFile(otherTeam, QStringLiteral("Other"), QString(), QString());
    messages->Messages.clear();
    LinkTo(otherTeam);
    connectTeam->trigger();
    EXPECT_EQ(Messages(), QStringLiteral("Team Data View configuration changed to\r\n") + otherTeam);

    // Disconnect asks nothing, and the team root goes at once.
    messages->Messages.clear();
    disconnect->trigger();
    EXPECT_EQ(Messages(), QString());
    EXPECT_EQ(Roots(*form), QStringList{QStringLiteral("Personal")});
    EXPECT_FALSE(disconnect->isEnabled());
    EXPECT_FALSE(settings.TeamPathSet());
    user.CloseForms();
}

TEST_F(ManagerTest, TheTutorialReplacesThePersonalRootAndResetRestoresItByteForByte)
{
    DVUser user;
    QObject *host = nullptr;
    user.OpenSmartTagView(host, personalPath, teamPath);
    frmMain *form = ShownManager();
    ASSERT_TRUE(form);
    auto *enable = Child<QAction>(*form, "mnuHelpEnableTutorialDataViews");
    auto *reset = Child<QAction>(*form, "mnuHelpResetTutorialDataViews");
    EXPECT_FALSE(enable->isChecked());
    EXPECT_FALSE(reset->isEnabled());

    enable->trigger();
    EXPECT_TRUE(enable->isChecked());
    EXPECT_TRUE(reset->isEnabled());
    EXPECT_EQ(Roots(*form), (QStringList{QStringLiteral("Tutorial"), QStringLiteral("Team")}));
    ClickNode(*form, 1);
    EXPECT_EQ(ListTexts(*form), QStringLiteral("Tutorial Clients,Tutorial Open Balances"));

    // What was shipped, with the copy's folder in place of the marker.
    const QString tutorial = biz::ConfigFileSettings::TutorialFilePath();
    const QString shipped = FileSystemPath(LocaleFolder()) + QStringLiteral("/tutorial/");
    QByteArray expected = Bytes(shipped + QStringLiteral("qvDataView Tutorial.cfg"));
    expected.replace("$(TutorialFolder)", QFileInfo(tutorial).absolutePath().toUtf8());
    const QString workbook = QFileInfo(tutorial).dir().filePath(QStringLiteral("Tutorial Clients.xml"));
    ASSERT_EQ(Bytes(tutorial), expected);

    // The author practises: a data view goes, the workbook breaks.
    auto practice = Open(tutorial);
    practice->DataViewCollection().Remove(
        practice->DataViewCollection().ItemByName(QStringLiteral("Tutorial Clients"))->Id());
    practice->Save();
    QFile broken(workbook);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.close();
    const QByteArray practised = Bytes(tutorial);

    messages->Answers << ui::mb::No;
    reset->trigger();
    EXPECT_EQ(Messages(), QStringLiteral("Are you sure you want lose all changes and reset the Tutorial Data Views\r\n"
                                         "to their orginal settings?"));
    EXPECT_EQ(messages->Messages.value(0).Style, ui::mb::YesNo + ui::mb::Question);
    EXPECT_EQ(Bytes(tutorial), practised) << "No changes nothing";
    EXPECT_EQ(Bytes(workbook), QByteArray());

    messages->Answers << ui::mb::Yes;
    reset->trigger();
    EXPECT_EQ(Bytes(tutorial), expected);
    EXPECT_EQ(Bytes(workbook), Bytes(shipped + QStringLiteral("Tutorial Clients.xml")));
    EXPECT_EQ(ListTexts(*form), QStringLiteral("Tutorial Clients,Tutorial Open Balances"))
        << "the window shows the reset file";

    enable->trigger();
    EXPECT_FALSE(reset->isEnabled());
    EXPECT_EQ(Roots(*form), (QStringList{QStringLiteral("Personal"), QStringLiteral("Team")}));
    EXPECT_EQ(form->State().Request().sPersonalFilePath, personalPath);
    user.CloseForms();
}

TEST_F(ManagerTest, TeamPropertiesKeepWhatAnotherAuthorSavedMeanwhile)
{
    DVUser user;
    QObject *host = nullptr;
    user.OpenSmartTagView(host, personalPath, teamPath);
    frmMain *form = ShownManager();
    ASSERT_TRUE(form);
    QSignalSpy shown(form, &frmMain::OutsideChangesShown);
    const auto addElsewhere = [this](const char *name) {
        QProcess other;
        other.start(qv::test::SelfPath(),
                    {QStringLiteral("--child"), QStringLiteral("add-view"), teamPath, QString::fromLatin1(name)});
        ASSERT_TRUE(other.waitForFinished(60000) && other.exitCode() == 0);
    };
    // Each manager sees the other's saves.
    addElsewhere("Added Elsewhere");
    ASSERT_TRUE(shown.count() > 0 || shown.wait(qv::test::kUnderSanitizers ? 60000 : 20000));
    ClickNode(*form, 3);
    ASSERT_EQ(CurrentPlace(*form), QStringLiteral("/9:0"));

    ui::modal_driver::Push([&](QDialog &wizard) {
        ASSERT_EQ(StepOf(wizard), 3);
        EXPECT_EQ(Text(wizard, "txtName"), QStringLiteral("Team Views"));
        Type(wizard, "txtDescriptions", QStringLiteral("Shared by the whole team"));
        addElsewhere("During The Wizard");
        Press(wizard, Next);
        // Asked to take the other's version: No saves nothing and stays, Yes saves over it.
        messages->Answers << ui::mb::No << ui::mb::Yes;
        Press(wizard, Finish);
        EXPECT_TRUE(wizard.isVisible());
        EXPECT_EQ(Open(teamPath)->Description, QString());
        Press(wizard, Finish);
    });
    QToolBar *toolbar = Child<QToolBar>(*form, "tbrMain");
    QTest::mouseClick(toolbar->widgetForAction(Child<QAction>(*form, "Properties")), Qt::LeftButton);
    const QString asked = LoadResString(150021, {teamPath});
    EXPECT_EQ(Messages(), asked + QStringLiteral(" | ") + asked) << "asked at each Finish";
    EXPECT_EQ(CurrentPlace(*form), QStringLiteral("9:0/5:0"));
    EXPECT_EQ(ListTexts(*form), QStringLiteral("Added Elsewhere,During The Wizard,Projects"));
    auto saved = Open(teamPath);
    EXPECT_EQ(saved->Description, QStringLiteral("Shared by the whole team"));
    EXPECT_EQ(saved->DataViewCollection().Count(), 3);
    user.CloseForms();
}
