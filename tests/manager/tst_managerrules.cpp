// The manager's decisions and models, without a window.
#include "ManagerFixture.h"

#include "automation/ComError.h"
#include "manager/ManagerModels.h"
#include "manager/ManagerState.h"
#include "registry/Registry.h"

#include <QAbstractItemModelTester>

using namespace qv;
using namespace qv::manager;
using qv::test::ManagerTest;

namespace {

// An application object as a host's services object hands it over.
class FakeApplication : public QObject
{
public:
    explicit FakeApplication(const QVariant &version)
    {
        if (version.isValid())
            setProperty("Version", version);
    }
};

QString ErrorOf(const std::function<void()> &body, qint32 *number = nullptr)
{
    try {
        body();
    } catch (const ComError &error) {
        if (number)
            *number = error.Number();
        return error.Description();
    }
    return QString();
}

} // namespace

TEST(ManagerRules, NodeTagsAndTheirRefusedForms)
{
    EXPECT_EQ(MakeNodeTag(11, 123), QStringLiteral("11:123"));
    EXPECT_EQ(MakeNodeTag(8, 0), QStringLiteral("8:0"));
    EXPECT_EQ(ParseNodeTag(QStringLiteral("5:0")), std::make_pair(5, 0));
    EXPECT_EQ(ParseNodeTag(QStringLiteral("2:17")), std::make_pair(2, 17));
    EXPECT_EQ(ParseNodeTag(QStringLiteral("4:-2147483648")), std::make_pair(4, qint32(-2147483648LL)));
    const struct
    {
        const char *tag, *message;
    } refused[] = {
        {"", "Node tag is empty"},
        {"5", "Incorrectly formed node tag"},
        {":5", "Incorrectly formed node tag"},
        {"5:", "Incorrectly formed node tag"},
        {":", "Incorrectly formed node tag"},
        {"a:1", "Incorrectly formed node tag"},
        {"1:2:3", "Incorrectly formed node tag"},
        {"1:2147483648", "Incorrectly formed node tag"},
    };
    for (const auto &row : refused) {
        qint32 number = 0;
        EXPECT_EQ(ErrorOf([&] { ParseNodeTag(QString::fromLatin1(row.tag)); }, &number),
                  QString::fromLatin1(row.message)) << row.tag;
        EXPECT_EQ(number, kErrorNodeTag) << row.tag;
    }
    EXPECT_EQ((ListKey{5, 0, 8, 8}.ColumnKey(2)), QStringLiteral("5:0:8:8:2"));
}

TEST_F(ManagerTest, StartNodeForEverySelectionPair)
{
    const QString personalSet = MakeNodeTag(SmartTagsFolder, personal->SmartTagSets().Item(1)->Id());
    const QString teamSet = MakeNodeTag(SmartTagsFolder, team->SmartTagSets().Item(1)->Id());
    const struct
    {
        qint32 first, second;
        QString root, child, error;
    } rows[] = {
        {-1, -1, "", "", ""},
        {-1, 2, "", "5:0", ""},
        {1, -1, "8:0", "", ""},
        {1, 1, "8:0", personalSet, ""},
        {1, 2, "8:0", "5:0", ""},
        {1, 3, "8:0", "", ""},
        {2, 1, "9:0", teamSet, ""},
        {2, 2, "9:0", "5:0", ""},
        {3, 3, "", "", ""},
        {3, 2, "", "5:0", ""},
        {3, 1, "", "", "Invalid nodes specified for selection"},
        {-1, 1, "", "", "Invalid nodes specified for selection"},
    };
    for (const auto &row : rows) {
        ManagerState state;
        state.Begin({nullptr, personal, team, personalPath, teamPath, row.first, row.second, -1, {}});
        std::pair<QString, QString> tags;
        EXPECT_EQ(ErrorOf([&] { tags = state.StartNodeTags(); }), row.error) << row.first << "," << row.second;
        if (row.error.isEmpty()) {
            EXPECT_EQ(tags, std::make_pair(row.root, row.child)) << row.first << "," << row.second;
        }
    }
    // A store without a smart tag set, and no team store at all, have no "Smart Tags" to select.
    for (const auto &store : {config::ConfigStore::Create(), std::shared_ptr<config::ConfigStore>()}) {
        ManagerState state;
        state.Begin({nullptr, personal, store, personalPath, QString(), 2, 1, -1, {}});
        qint32 number = 0;
        EXPECT_EQ(ErrorOf([&] { state.StartNodeTags(); }, &number),
                  QStringLiteral("Can't select specified node, it doesn't exist"));
        EXPECT_EQ(number, kErrorInvalidNode);
    }
}

TEST_F(ManagerTest, StoreOfEachNodeAndTheRefusedOnes)
{
    ManagerState state;
    state.Begin({nullptr, personal, team, personalPath, teamPath, -1, -1, -1, {}});
    EXPECT_EQ(state.StoreForNode(PersonalRoot, 0), personal);
    EXPECT_EQ(state.StoreForNode(TeamRoot, 0), team);
    EXPECT_EQ(state.StoreForNode(DataViewsFolder, TeamRoot), team);
    EXPECT_EQ(state.StoreForNode(SmartTagsFolder, PersonalRoot), personal);
    EXPECT_EQ(state.StoreOfList({DataViewsFolder, 0, TeamRoot, TeamRoot}), team);
    EXPECT_EQ(state.StoreOfList({PersonalRoot, 0, 0, 0}), personal);
    const struct
    {
        qint32 type, parent;
        const char *message;
    } refused[] = {
        {4, 0, "must supply parent nodetype for smarttagroot node"},
        {4, 5, "Unknown node type"},
        {5, 0, "must supply parent nodetype for Data View node"},
        {5, 4, "unknown node type"},
        {2, 8, "unknown node type"},
    };
    for (const auto &row : refused)
        EXPECT_EQ(ErrorOf([&] { state.StoreForNode(row.type, row.parent); }), QString::fromLatin1(row.message))
            << row.type << "," << row.parent;
}

TEST(ManagerRules, CommandsByNodeAndSelection)
{
    using S = ListSelection;
    const struct
    {
        qint32 node;
        int selection;
        bool enabled;
        const char *warnings;
        CommandStates expected;
    } rows[] = {
        // New Copy Paste Delete Rename Preview Properties Enable Disable Terms ClearWarnings
        {4, S::None, true, "", {true, false, false, false, false, false, false, false, false, false, false}},
        {4, S::One, true, "", {true, false, false, true, true, false, true, false, true, true, false}},
        {4, S::One, false, "gone", {true, false, false, true, true, false, true, true, false, true, true}},
        {4, S::Several, true, "", {true, false, false, true, false, false, false, false, false, false, false}},
        {5, S::None, true, "", {true, false, false, false, false, false, false, false, false, false, false}},
        {5, S::One, true, "", {true, true, false, true, true, true, true, false, false, false, false}},
        {5, S::Several, true, "", {true, true, false, true, false, false, false, false, false, false, false}},
        {8, S::One, true, "", {}},
        {9, S::None, true, "", {false, false, false, false, false, false, true, false, false, false, false}},
        {9, S::One, true, "", {false, false, false, false, false, false, true, false, false, false, false}},
        {9, S::Several, true, "", {}},
    };
    ManagerState state;
    for (const auto &row : rows) {
        const S selection{row.node, row.selection, row.selection == S::Several ? 2 : row.selection - 1, {}};
        EXPECT_EQ(state.Commands(selection, row.enabled, QString::fromLatin1(row.warnings)), row.expected)
            << row.node << " selection " << row.selection << " enabled " << row.enabled;
    }
    EXPECT_EQ(ErrorOf([&] { state.Commands({2, S::One, 1, {}}, true, {}); }), QStringLiteral("invalid nodetype"));
}

TEST(ManagerRules, StatusTextsAndHostVersions)
{
    EXPECT_EQ(ManagerState::ItemCountText(0), QStringLiteral("0 Items"));
    EXPECT_EQ(ManagerState::ItemCountText(1), QStringLiteral("1 Item"));
    EXPECT_EQ(ManagerState::ItemCountText(5000), QStringLiteral("5000 Items"));

    const struct
    {
        QVariant version;
        bool smartTags;
    } rows[] = {{QStringLiteral("9.0"), false}, {QStringLiteral("9"), false}, {8, false},
                {QStringLiteral("10.0"), true}, {QStringLiteral("16.0.1"), true}, {QStringLiteral("abc"), true},
                {QVariant(), true}};
    for (const auto &row : rows) {
        FakeApplication application(row.version);
        EXPECT_EQ(ManagerState::SupportsSmartTags(&application), row.smartTags) << row.version.toString().toStdString();
    }
    EXPECT_TRUE(ManagerState::SupportsSmartTags(nullptr));
}

TEST_F(ManagerTest, PlacementRules)
{
    EXPECT_EQ(ManagerState::ReadPlacement(), ManagerPlacement()) << "nothing stored gives the defaults";
    const ManagerPlacement normal{0, 1200, 900, 11000, 7000};
    ASSERT_TRUE(ManagerState::WritePlacement(normal));
    EXPECT_EQ(ManagerState::ReadPlacement(), normal);
    EXPECT_EQ(ManagerState::OpeningPlacement(normal), normal);

    // A minimized window writes nothing: the last normal placement stays.
    EXPECT_FALSE(ManagerState::WritePlacement({1, 0, 0, 100, 100}));
    EXPECT_EQ(ManagerState::ReadPlacement(), normal);

    // A maximized one is written, and reopens in the default place, not maximized.
    ASSERT_TRUE(ManagerState::WritePlacement({2, 50, 60, 20000, 15000}));
    EXPECT_EQ(ManagerState::ReadPlacement().lWindowState, 2);
    EXPECT_EQ(ManagerState::OpeningPlacement(ManagerState::ReadPlacement()), ManagerPlacement());

    // An unreadable value falls back to its default alone.
    Registry().SetValue(Registry::CurrentUser,
                        QString::fromLatin1(kRegistryKey) + QStringLiteral("Data View Manager"),
                        QStringLiteral("MainWidth"), Registry::String, Variant(QStringLiteral("wide")));
    EXPECT_EQ(ManagerState::ReadPlacement().dWidth, 10000);
    EXPECT_EQ(ManagerState::ReadPlacement().dLeft, 50);

    EXPECT_EQ(ManagerState::ClampSplitter(0, 10000), 1500);
    EXPECT_EQ(ManagerState::ClampSplitter(9900, 10000), 8500);
    EXPECT_EQ(ManagerState::ClampSplitter(4000, 10000), 4000);
}

TEST_F(ManagerTest, TreeModelOfRootsAndFolders)
{
    ManagerTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.Build(personal, team, false, true);
    ASSERT_EQ(model.NodeCount(), 6);
    const char *expected[][2] = {{"Personal", "8:0"}, {"Data Views", "5:0"}, {"Smart Tags", nullptr},
                                 {"Team", "9:0"},     {"Data Views", "5:0"}, {"Smart Tags", nullptr}};
    for (int i = 0; i < 6; ++i) {
        const QModelIndex node = model.NodeAt(i);
        EXPECT_EQ(node.data().toString(), QString::fromLatin1(expected[i][0])) << i;
        if (expected[i][1]) {
            EXPECT_EQ(node.data(TagRole).toString(), QString::fromLatin1(expected[i][1])) << i;
        }
        EXPECT_EQ(model.PositionOf(node), i);
    }
    EXPECT_EQ(model.NodeAt(5).data(TagRole).toString(),
              MakeNodeTag(SmartTagsFolder, team->SmartTagSets().Item(1)->Id()));
    EXPECT_EQ(model.KeyOf(model.NodeAt(4)), (ListKey{5, 0, 9, 9}));
    EXPECT_EQ(model.KeyOf(model.NodeAt(3)), (ListKey{9, 0, 0, 0}));
    EXPECT_EQ(model.FindChild(model.FindRoot(QStringLiteral("9:0")), QStringLiteral("5:0")), model.NodeAt(4));
    EXPECT_FALSE(model.NodeAt(6).isValid());

    // The tutorial renames the personal root and keeps its tag; no smart tags, no such folders.
    model.Build(personal, nullptr, true, false);
    ASSERT_EQ(model.NodeCount(), 2);
    EXPECT_EQ(model.NodeAt(0).data().toString(), QStringLiteral("Tutorial"));
    EXPECT_EQ(model.NodeAt(0).data(TagRole).toString(), QStringLiteral("8:0"));
    EXPECT_FALSE(model.FindRoot(QStringLiteral("9:0")).isValid());
    // A store without a smart tag set has no "Smart Tags" folder.
    model.Build(config::ConfigStore::Create(), nullptr, false, true);
    EXPECT_EQ(model.NodeCount(), 2);
}

TEST_F(ManagerTest, ListModelOfEachFolderBehindTheSortModel)
{
    ManagerListModel model;
    ManagerSortModel sorted;
    sorted.setSourceModel(&model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QAbstractItemModelTester sortedTester(&sorted, QAbstractItemModelTester::FailureReportingMode::Warning);

    model.Fill({DataViewsFolder, 0, PersonalRoot, PersonalRoot}, personal);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Type"));
    EXPECT_EQ(model.Columns()[1].lDefaultWidth, 2200);
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("Microsoft Excel"));
    EXPECT_EQ(model.TagAt(0), MakeNodeTag(DataViewItem, personal->DataViewCollection().ItemByName("Orders")->Id()));

    // Without regard to case, by either column, either way.
    sorted.sort(0, Qt::AscendingOrder);
    const auto order = [&sorted](int column) {
        QStringList texts;
        for (int row = 0; row < sorted.rowCount(); ++row)
            texts << sorted.index(row, column).data().toString();
        return texts.join(QLatin1Char(','));
    };
    EXPECT_EQ(order(0), QStringLiteral("Budget,customers,Orders"));
    EXPECT_EQ(sorted.NextOrder(), Qt::DescendingOrder);
    sorted.sort(1, Qt::DescendingOrder);
    EXPECT_EQ(order(1), QStringLiteral("ODBC,Microsoft Excel,Microsoft Access"));
    EXPECT_EQ(sorted.NextOrder(), Qt::AscendingOrder);

    model.Fill({SmartTagsFolder, 0, PersonalRoot, PersonalRoot}, personal);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.index(0, 0).data(ImageKeyRole).toString(), QStringLiteral("SmartTagStateWarning"));
    EXPECT_EQ(model.index(1, 0).data(ImageKeyRole).toString(), QStringLiteral("SmartTagStateStop"));

    model.Fill({TeamRoot, 0, 0, 0}, team);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("Team Views"));
    EXPECT_EQ(model.TagAt(0), MakeNodeTag(ConfigurationItem, team->SmartTagSets().Item(1)->Id()));
    EXPECT_EQ(model.index(0, 0).data(ImageKeyRole).toString(), QStringLiteral("Team"));

    EXPECT_EQ(ErrorOf([&] { model.Fill({DataViewItem, 3, 5, 8}, personal); }),
              QStringLiteral("Invalid node type for setting listview"));
    EXPECT_EQ(model.rowCount(), 1) << "a refused fill leaves the list as it was";
    EXPECT_EQ(ManagerListModel::SmartTagImageKey(true, QString()), QStringLiteral("Smarttag"));
    EXPECT_EQ(ManagerListModel::SmartTagImageKey(false, QStringLiteral("w")), QStringLiteral("SmartTagStateStop"));
}
