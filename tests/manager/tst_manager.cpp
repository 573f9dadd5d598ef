// The manager window: selection on open, sorting, remembered widths, the
// status bar, the host's version, another program's saves, and DVUser's
// members that open it.
#include "ManagerFixture.h"
#include "Sanitizers.h"
#include "TestMain.h"

#include "manager/frmMain.h"
#include "qvuser/DVUser.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

using namespace qv;
using namespace qv::manager;
using qv::test::Child;
using qv::test::ClickNode;
using qv::test::ListTexts;
using qv::test::ShownManager;
using qv::test::ManagerTest;

namespace {

QString SelectedTexts(frmMain &form)
{
    auto *list = Child<QTreeView>(form, "lvDetails");
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->selectionModel()->isRowSelected(row))
            texts << list->model()->index(row, 0).data().toString();
    return texts.join(QLatin1Char(','));
}

void ClickHeader(frmMain &form, int section)
{
    QHeaderView *header = Child<QTreeView>(form, "lvDetails")->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(section) + 4, header->height() / 2));
}

// A host's services object whose Application has the version.
class HostObject : public QObject
{
public:
    explicit HostObject(const QString &version) : m_application(new QObject(this))
    {
        m_application->setProperty("Version", version);
        setProperty("Application", QVariant::fromValue<QObject *>(m_application));
    }

private:
    QObject *m_application;
};

} // namespace

TEST_F(ManagerTest, SelectionOnOpenForEveryArgumentPair)
{
    const qint32 orders = personal->DataViewCollection().ItemByName(QStringLiteral("Orders"))->Id();
    const qint32 projects = team->DataViewCollection().ItemByName(QStringLiteral("Projects"))->Id();
    const qint32 stopped = personal->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Stopped"))->Id();
    const struct
    {
        qint32 first, second, item;
        bool noTeam, teamWithoutSets;
        const char *node;     // "position:tag" of the node selected, "" for none
        const char *selected; // the items selected
        const char *message;
    } rows[] = {
        {-1, -1, -1, false, false, "1:5:0", "Budget", ""},
        {1, -1, orders, false, false, "1:5:0", "Budget", ""},
        {-1, 2, orders, false, false, "1:5:0", "Budget", ""},
        {1, 2, orders, false, false, "1:5:0", "Orders", ""},
        {1, 2, 99999, false, false, "1:5:0", "", ""},
        {2, 2, projects, false, false, "4:5:0", "Projects", ""},
        {1, 1, stopped, false, false, "2:4:", "Stopped", ""},
        {2, 1, -1, false, false, "5:4:", "", ""},
        {3, 3, -1, false, false, "", "", ""},
        {1, 3, -1, false, false, "", "", ""},
        {2, 2, projects, true, false, "", "", ""},
        {3, 1, -1, false, false, "", "", "Invalid nodes specified for selection"},
        {2, 1, -1, false, true, "", "", "Can't select specified node, it doesn't exist"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.first << "," << row.second << " item " << row.item);
        messages->Messages.clear();
        frmMain form;
        auto teamStore = row.noTeam ? nullptr : row.teamWithoutSets ? config::ConfigStore::Create() : team;
        form.ShowSmartTagView({nullptr, personal, teamStore, personalPath, teamPath, row.first, row.second, row.item, {}});
        auto *tree = Child<QTreeView>(form, "tvTreeView");
        const QModelIndex current = tree->selectionModel()->currentIndex();
        QString node;
        if (current.isValid() && tree->selectionModel()->isSelected(current))
            node = QString::number(static_cast<const ManagerTreeModel *>(tree->model())->PositionOf(current))
                   + QLatin1Char(':') + current.data(TagRole).toString();
        // Smart tag folders end in their set's identifier, which the row leaves out.
        EXPECT_EQ(node.left(qsizetype(qstrlen(row.node))).toStdString(), row.node);
        EXPECT_EQ(node.isEmpty(), !*row.node) << node.toStdString();
        EXPECT_EQ(SelectedTexts(form), QString::fromLatin1(row.selected));
        EXPECT_TRUE(Messages().contains(QString::fromLatin1(row.message))) << Messages().toStdString();
        EXPECT_EQ(messages->Messages.isEmpty(), !*row.message) << Messages().toStdString();
    }
}

TEST_F(ManagerTest, SortFlipsOnEveryHeaderClickAndWidthsAreKeptPerFolder)
{
    frmMain form;
    form.ShowSmartTagView({nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Orders")) << "opened sorted by name, ascending";
    ClickHeader(form, 0);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Orders,customers,Budget"));
    ClickHeader(form, 1);
    EXPECT_EQ(ListTexts(form, 1), QStringLiteral("Microsoft Access,Microsoft Excel,ODBC"));
    ClickHeader(form, 1);
    EXPECT_EQ(ListTexts(form, 1), QStringLiteral("ODBC,Microsoft Excel,Microsoft Access"));
    EXPECT_EQ(Child<QStatusBar>(form, "sbrStatus")->currentMessage(), QStringLiteral("3 Items"));

    QHeaderView *header = Child<QTreeView>(form, "lvDetails")->header();
    header->resizeSection(1, 210);
    ClickNode(form, 4); // the team's "Data Views"
    EXPECT_EQ(ListTexts(form), QStringLiteral("Projects"));
    EXPECT_EQ(Child<QStatusBar>(form, "sbrStatus")->currentMessage(), QStringLiteral("1 Item"));
    EXPECT_NE(header->sectionSize(1), 210) << "the team folder starts from its own widths";
    header->resizeSection(1, 120);
    ClickNode(form, 3); // the team root
    EXPECT_EQ(ListTexts(form), QStringLiteral("Team Views"));
    ClickNode(form, 1);
    EXPECT_NEAR(header->sectionSize(1), 210, 1);
    ClickNode(form, 4);
    EXPECT_NEAR(header->sectionSize(1), 120, 1);
    ClickNode(form, 5); // the team's "Smart Tags": none
    EXPECT_EQ(Child<QStatusBar>(form, "sbrStatus")->currentMessage(), QStringLiteral("0 Items"));
}

TEST_F(ManagerTest, CommandsFollowTheSelectionAndOldHostsSeeNoSmartTags)
{
    frmMain form;
    HostObject host(QStringLiteral("11.0"));
    const qint32 cities = personal->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Cities"))->Id();
    form.ShowSmartTagView({&host, personal, team, personalPath, teamPath, 1, 1, cities, {}});
    const auto enabled = [&form](const char *name) { return Child<QAction>(form, name)->isEnabled(); };
    EXPECT_TRUE(enabled("mnuEditDisable"));
    EXPECT_FALSE(enabled("mnuEditEnable"));
    EXPECT_TRUE(enabled("mnuSTPopupClearWarnings")) << "Cities has warnings";
    EXPECT_FALSE(enabled("Paste")) << "nothing was copied";
    EXPECT_FALSE(enabled("Copy"));
    EXPECT_TRUE(enabled("New"));
    EXPECT_TRUE(Child<QAction>(form, "mnuEditManageSmartTagRecognizerTerms")->isVisible());
    // The details of a smart tag outgrow a small pane; the picture scrolls with the text.
    form.resize(form.minimumSize());
    auto *pane = Child<QScrollBar>(form, "vsPropertyPane");
    ASSERT_GT(pane->maximum(), 0);
    QWidget *picture = Child(form, "imgPicture");
    const int top = picture->y();
    pane->setValue(pane->maximum());
    EXPECT_EQ(picture->y(), top - pane->maximum());
    ClickNode(form, 1);
    EXPECT_TRUE(enabled("mnuPopupPreview"));
    EXPECT_TRUE(enabled("Copy"));
    EXPECT_FALSE(enabled("mnuEditEnable"));

    frmMain old;
    HostObject oldHost(QStringLiteral("9.0"));
    old.ShowSmartTagView({&oldHost, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    auto *tree = Child<QTreeView>(old, "tvTreeView");
    EXPECT_EQ(static_cast<const ManagerTreeModel *>(tree->model())->NodeCount(), 4) << "no \"Smart Tags\" folders";
    for (const char *name : {"mnuEditEnable", "mnuEditDisable", "mnuEditManageSmartTagRecognizerTerms",
                             "mnuEditClearWarnings", "mnuEditSeparator2", "mnuEditSeparator3"})
        EXPECT_FALSE(Child<QAction>(old, name)->isVisible()) << name;
}

TEST_F(ManagerTest, AnotherProgramsSaveShowsWithoutAClick)
{
    frmMain form;
    const qint32 projects = team->DataViewCollection().ItemByName(QStringLiteral("Projects"))->Id();
    form.ShowSmartTagView({nullptr, personal, team, personalPath, teamPath, 2, 2, projects, {}});
    ASSERT_EQ(ListTexts(form), QStringLiteral("Projects"));
    QSignalSpy shown(&form, &frmMain::OutsideChangesShown);

    QProcess other;
    other.start(qv::test::SelfPath(), {QStringLiteral("--child"), QStringLiteral("add-view"), teamPath,
                                       QStringLiteral("Added Elsewhere")});
    ASSERT_TRUE(other.waitForFinished(60000) && other.exitCode() == 0) << other.readAllStandardError().toStdString();
    ASSERT_TRUE(shown.count() > 0 || shown.wait(qv::test::kUnderSanitizers ? 60000 : 20000))
        << "the window did not notice the save";
    EXPECT_EQ(ListTexts(form), QStringLiteral("Projects,Added Elsewhere"));
    EXPECT_EQ(SelectedTexts(form), QStringLiteral("Projects")) << "the selection stays";
    const QModelIndex node = form.CurrentNode();
    EXPECT_EQ(node.data(TagRole).toString(), QStringLiteral("5:0"));
    EXPECT_EQ(node.parent().data(TagRole).toString(), QStringLiteral("9:0"));
    EXPECT_EQ(form.State().TeamStore()->DataViewCollection().Count(), 2) << "the store was read again";
    EXPECT_EQ(Child<QStatusBar>(form, "sbrStatus")->currentMessage(), QStringLiteral("2 Items"));

    // A long personal list scrolled halfway stays where it was.
    for (int i = 0; i < 200; ++i)
        AddView(*personal, qPrintable(QStringLiteral("View %1").arg(i, 3, 10, QLatin1Char('0'))), 5, "ODBC", "DSN=x");
    personal->Save();
    ASSERT_TRUE(shown.wait(qv::test::kUnderSanitizers ? 60000 : 20000));
    ClickNode(form, 1);
    auto *scroll = Child<QTreeView>(form, "lvDetails")->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 20);
    scroll->setValue(scroll->maximum() / 2);
    const int scrolled = scroll->value();
    const int before = int(shown.count());
    other.start(qv::test::SelfPath(), {QStringLiteral("--child"), QStringLiteral("add-view"), personalPath,
                                       QStringLiteral("Added Later")});
    ASSERT_TRUE(other.waitForFinished(60000) && other.exitCode() == 0);
    ASSERT_TRUE(shown.count() > before || shown.wait(qv::test::kUnderSanitizers ? 60000 : 20000));
    EXPECT_EQ(Child<QStatusBar>(form, "sbrStatus")->currentMessage(), QStringLiteral("204 Items"));
    EXPECT_EQ(scroll->value(), scrolled);
    EXPECT_EQ(form.CurrentNode(), static_cast<const ManagerTreeModel *>(form.CurrentNode().model())->NodeAt(1));
}

TEST_F(ManagerTest, DVUserOpensReplacesAndClosesTheManager)
{
    DVUser user;
    QObject *host = nullptr;
    user.OpenSmartTagView(host, QString(), QString());
    EXPECT_FALSE(ShownManager()) << "two empty paths do nothing";

    // The personal file given again, in another case, as the team file.
    const QString sameInCaps = personalPath.left(personalPath.size() - 3) + QStringLiteral("CFG");
    ASSERT_TRUE(QFile::copy(personalPath, sameInCaps));
    user.OpenSmartTagView(host, personalPath, sameInCaps);
    EXPECT_TRUE(Messages().contains(LoadResString(713))) << Messages().toStdString();
    EXPECT_FALSE(biz::ConfigFileSettings().TeamPathSet()) << "the stored team path is cleared";
    auto *form = static_cast<frmMain *>(ShownManager());
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quorivo Data View Manager"));
    EXPECT_FALSE(form->State().TeamStore());

    messages->Messages.clear();
    const QString missing = personalPath + QStringLiteral(".gone");
    user.OpenSmartTagView(host, personalPath, missing, FirstTeamSmartTagConfig, SecondDataView);
    EXPECT_TRUE(Messages().contains(LoadResString(704, {missing}))) << Messages().toStdString();
    EXPECT_EQ(messages->Messages.value(0).Style, 48);
    auto *replacement = static_cast<frmMain *>(ShownManager());
    ASSERT_TRUE(replacement);
    EXPECT_FALSE(form->isVisible()) << "the earlier window was replaced";

    user.CloseForms();
    EXPECT_FALSE(ShownManager());

    // The files the settings name; a team file that is gone is left out.
    biz::ConfigFileSettings().SetConfigFilePath(biz::ConfigFileSettings::Team, missing);
    messages->Messages.clear();
    user.VisualSmartTagConfig(host);
    auto *visual = static_cast<frmMain *>(ShownManager());
    ASSERT_TRUE(visual);
    EXPECT_TRUE(messages->Messages.isEmpty()) << Messages().toStdString();
    EXPECT_EQ(visual->State().Request().sPersonalFilePath, personalPath);
    EXPECT_EQ(visual->State().Request().sTeamFilePath, QString());
    user.CloseForms();
}

TEST_F(ManagerTest, TheNextClickAfterASaveElsewhereRebuildsAndAnUnreadableFileClosesTheWindow)
{
    frmMain form;
    form.ShowSmartTagView({nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    auto elsewhere = Open(personalPath);
    AddView(*elsewhere, "Zebra", 5, "ODBC", "DSN=z");
    elsewhere->Save();
    ClickNode(form, 3);
    EXPECT_EQ(form.CurrentNode().data(TagRole).toString(), QStringLiteral("9:0")) << "the clicked node stays current";
    EXPECT_EQ(ListTexts(form), QStringLiteral("Team Views"));
    ClickNode(form, 1);
    EXPECT_EQ(ListTexts(form), QStringLiteral("Budget,customers,Orders,Zebra"));

    // A personal file that can no longer be read closes the manager with the reason.
    QFile file(personalPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<not a configuration");
    file.close();
    ClickNode(form, 4);
    ASSERT_FALSE(messages->Messages.isEmpty());
    EXPECT_TRUE(messages->Messages.value(0).Text.startsWith(LoadResString(704, {personalPath})));
    EXPECT_EQ(messages->Messages.value(0).Style, 16);
    EXPECT_FALSE(form.isVisible());
}
