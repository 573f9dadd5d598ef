// The wizard's decisions without a window: the name rules, the step sequence
// and its buttons, and saving one file from two processes.
#include "TestMain.h"

#include "automation/ComError.h"
#include "config/ConfigStore.h"
#include "configfile/ConfigFileRules.h"
#include "configfile/ConfigFileWizardState.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::configfile;

namespace {

// The checked path, or "refused" when the rules raise "Invalid filename".
QString Checked(const QString &path)
{
    try {
        return CheckConfigFileName(path);
    } catch (const ComError &error) {
        EXPECT_EQ(error.Number(), kErrorInvalidFilename);
        EXPECT_EQ(error.Description(), QStringLiteral("Invalid filename"));
        return QStringLiteral("refused");
    }
}

QString Steps(ConfigFileWizardState &state, bool next, int moves)
{
    QStringList steps{QString::number(int(state.Current()))};
    for (int i = 0; i < moves; ++i) {
        state.MoveTo(next ? state.NextStep() : state.BackStep());
        steps << QString::number(int(state.Current()));
    }
    return steps.join(QLatin1Char(','));
}

} // namespace

TEST(ConfigFileRules, NamesAsTheWizardChecksThem)
{
    const struct
    {
        const char *path, *expected;
    } rows[] = {
        {"team", "team.cfg"},
        {"/srv/share/team", "/srv/share/team.cfg"},
        {"/srv/share/team.cfg", "/srv/share/team.cfg"},
        {"team.txt", "team.txt"},
        {"/home/me/My Files/team.v2.cfg", "/home/me/My Files/team.v2.cfg"},
        // The system's own path texts and the paths Qt's dialogs give, alike.
        {"C:\\Shared\\team", "C:/Shared/team.cfg"},
        {"shared\\team", "shared/team.cfg"},
        {"/srv/dept:sales/team", "/srv/dept:sales/team.cfg"},
        {".cfg", "refused"},
        {"team.", "refused"},
        {"/srv/share/.hidden", "refused"},
        {"/srv/share/", "refused"},
        {"", "refused"},
        {"/srv/a|b/team", "refused"},
        {"team|2", "refused"},
        {"te*m", "refused"},
        {"team?", "refused"},
        {"\"team\"", "refused"},
        {"<team>", "refused"},
        {"C:team", "refused"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Checked(QString::fromUtf8(row.path)), QString::fromUtf8(row.expected)) << row.path;
}

TEST(ConfigFileWizardState, StepsButtonsAndTextsForEachStart)
{
    ConfigFileWizardState state;
    // Without a file, creating: welcome, action, name, complete, and back again.
    state.Begin({QStringLiteral("/srv"), QString()}, false);
    EXPECT_EQ(state.FirstStep(), ConfigStep::Welcome);
    EXPECT_EQ(Steps(state, true, 5), QStringLiteral("0,1,2,3,4,4"));
    EXPECT_EQ(Steps(state, false, 4), QStringLiteral("4,3,2,1,1"));
    EXPECT_EQ(state.InitialFilePath(), QStringLiteral("/srv/qvDataView Team.cfg"));

    // Linking skips the name step both ways.
    state.SetAction(ConfigAction::Link);
    state.MoveTo(ConfigStep::Action);
    EXPECT_EQ(Steps(state, true, 1), QStringLiteral("2,4"));
    EXPECT_EQ(Steps(state, false, 1), QStringLiteral("4,2"));
    EXPECT_FALSE(state.Creating());
    EXPECT_EQ(state.FileLabel(), QStringLiteral("&Open configuration file:"));
    EXPECT_EQ(state.TitleId(ConfigStep::Complete), 150012u);
    EXPECT_EQ(state.DescriptionId(ConfigStep::Complete), 150013u);

    // "SkipWelcome": the action step is the first, and Back stays on it.
    state.Begin({QString(), QString()}, true);
    EXPECT_EQ(state.FirstStep(), ConfigStep::Action);
    state.MoveTo(ConfigStep::Action);
    EXPECT_EQ(state.Buttons(), (ConfigFileWizardButtons{false, true, false}));
    EXPECT_EQ(state.InitialFilePath(), QString()) << "no folder, no proposal";

    // A file passed in opens on the name step; Back goes to the welcome, Next
    // from there to the name step again; the file is always written.
    state.Begin({QStringLiteral("/srv"), QStringLiteral("/srv/t.cfg")}, true);
    state.SetAction(ConfigAction::Link);
    EXPECT_TRUE(state.Creating());
    EXPECT_EQ(state.FirstStep(), ConfigStep::Name);
    state.MoveTo(ConfigStep::Name);
    EXPECT_EQ(Steps(state, false, 2), QStringLiteral("3,1,1"));
    EXPECT_EQ(Steps(state, true, 2), QStringLiteral("1,3,4"));
    EXPECT_EQ(state.Buttons(), (ConfigFileWizardButtons{true, false, true}));
    EXPECT_EQ(state.FileLabel(), QStringLiteral("&Save configuration file as:"));
    EXPECT_EQ(state.TitleId(ConfigStep::Complete), 150010u);
    EXPECT_EQ(state.InitialFilePath(), QStringLiteral("/srv/t.cfg"));
}

TEST(ConfigFileWizardState, TheFileIsRequiredAndTheResultIsBuiltOnce)
{
    ConfigFileWizardState state;
    state.Begin({QString(), QStringLiteral("/srv/t.cfg")}, false);
    state.MoveTo(ConfigStep::Complete);
    EXPECT_EQ(state.MissingField(QStringLiteral("T"), QString()), QStringLiteral("Configuration file name"));
    EXPECT_EQ(state.MissingField(QString(), QStringLiteral("/x.cfg")), QString());
    EXPECT_FALSE(state.Finish(QStringLiteral("/srv/new.cfg")).Cancelled());
    EXPECT_EQ(state.Cancel().FilePath(), QStringLiteral("/srv/new.cfg")) << "the result stays as built";
    state.Begin({QString(), QStringLiteral("/srv/t.cfg")}, false);
    EXPECT_EQ(state.Cancel().FilePath(), QStringLiteral("/srv/t.cfg")) << "a cancel answers the caller's path";
}

TEST(ConfigFileRules, SavesOfTwoProcessesOnOneFileLoseNothing)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("team.cfg"));
    auto mine = config::ConfigStore::CreateFile(path, QStringLiteral("Team"), QString(), QString());

    // Another author saves after this store read the file: the save is refused
    // and, asked, made again on their version.
    QProcess other;
    other.start(qv::test::SelfPath(), {QStringLiteral("--child"), QStringLiteral("add-views"), path,
                                       QStringLiteral("Theirs "), QStringLiteral("1")});
    ASSERT_TRUE(other.waitForFinished(60000) && other.exitCode() == 0) << other.readAllStandardError().toStdString();
    const auto addMine = [](config::ConfigStore &store) {
        store.DataViewCollection().AddBlank()->Name = QStringLiteral("Mine");
    };
    addMine(*mine);
    int asked = 0;
    EXPECT_FALSE(SaveRedoingOnConflict(*mine, addMine, [&] { return ++asked > 1; })) << "declined: nothing saved";
    EXPECT_EQ(asked, 1);
    auto onDisk = config::ConfigStore::Create();
    onDisk->Open(path);
    EXPECT_FALSE(onDisk->DataViewCollection().ItemByName(QStringLiteral("Mine")));
    EXPECT_TRUE(SaveRedoingOnConflict(*mine, addMine, [&] { return ++asked > 1; }));
    EXPECT_EQ(asked, 2);
    onDisk->Open(path);
    EXPECT_TRUE(onDisk->DataViewCollection().ItemByName(QStringLiteral("Theirs 0")));
    EXPECT_TRUE(onDisk->DataViewCollection().ItemByName(QStringLiteral("Mine")));

    // Two authors saving 25 times each, at the same time: every data view arrives.
    QProcess first, second;
    for (auto [process, prefix] : {std::pair{&first, "A "}, std::pair{&second, "B "}})
        process->start(qv::test::SelfPath(), {QStringLiteral("--child"), QStringLiteral("add-views"), path,
                                              QString::fromLatin1(prefix), QStringLiteral("25")});
    for (QProcess *process : {&first, &second})
        ASSERT_TRUE(process->waitForFinished(120000) && process->exitCode() == 0)
            << process->readAllStandardError().toStdString();
    onDisk->Open(path);
    EXPECT_EQ(onDisk->DataViewCollection().Count(), 52);
    for (const char *prefix : {"A ", "B "})
        for (int i = 0; i < 25; ++i)
            EXPECT_TRUE(onDisk->DataViewCollection().ItemByName(QString::fromLatin1(prefix) + QString::number(i)))
                << prefix << i;
}
