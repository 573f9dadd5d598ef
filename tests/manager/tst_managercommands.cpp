// The rules of the manager's commands, without a window: paste names, what
// a paste does in the same and in the other store, drop refusals, delete
// with its in-use rule and its one confirmation, the row selected after a
// delete, rename limits, the clipboard format, and the undo history.
#include "ManagerFixture.h"

#include "automation/ComError.h"
#include "manager/ManagerClipboard.h"
#include "manager/ManagerCommands.h"
#include "manager/ManagerHistory.h"
#include "manager/ManagerState.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>

using namespace qv;
using namespace qv::manager;
using qv::test::ManagerTest;

namespace {

QStringList Names(const config::ConfigStore &store)
{
    QStringList names;
    for (const auto &view : store.DataViewCollection())
        names << view->Name;
    return names;
}

qint32 IdOf(const config::ConfigStore &store, const char *name)
{
    const auto view = store.DataViewCollection().ItemByName(QString::fromUtf8(name));
    EXPECT_TRUE(view) << name;
    return view ? view->Id() : 0;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// A smart tag of the store that recognizes from the data view, so that the view is in use.
void UseView(config::ConfigStore &store, const char *name)
{
    auto tag = store.SmartTagSets().Item(1)->AddNew();
    tag->Name = QStringLiteral("Uses ") + QString::fromUtf8(name);
    tag->Recognizer.SetDataView(store.DataViewCollection().ItemByName(QString::fromUtf8(name)));
}

} // namespace

TEST(ManagerCommandRules, PasteNames)
{
    const struct
    {
        QStringList taken;
        const char *expected;
    } rows[] = {
        {{}, "Orders"},
        {{"Budget"}, "Orders"},
        {{"Orders"}, "Copy of Orders"},
        {{"Orders", "Copy of Orders"}, "Copy (1) of Orders"},
        {{"Orders", "Copy of Orders", "Copy (1) of Orders"}, "Copy (2) of Orders"},
        // A gap is filled: the first free number wins.
        {{"Orders", "Copy of Orders", "Copy (2) of Orders"}, "Copy (1) of Orders"},
        // "Copy of" itself taken but the name free: the name.
        {{"Copy of Orders"}, "Orders"},
    };
    for (const auto &row : rows) {
        const auto taken = [&row](const QString &name) { return row.taken.contains(name, Qt::CaseInsensitive); };
        EXPECT_EQ(PasteName(QStringLiteral("Orders"), taken), QString::fromLatin1(row.expected))
            << row.taken.join(QLatin1Char(',')).toStdString();
    }
}

TEST_F(ManagerTest, PasteIntoTheSameStoreCopiesWithinItAndIntoTheOtherAddsACopy)
{
    const qint32 orders = IdOf(*personal, "Orders");
    personal->DataViewCollection().Item(orders)->Fields.Add(QStringLiteral("Amount"))->DisplayName =
        QStringLiteral("Total");
    const CopiedItems copied = CopyDataViews(*personal, PersonalRoot, {orders});
    ASSERT_EQ(copied.colIds, std::vector<qint32>{orders});

    // The same folder: "Copy of", then "Copy (1) of", each a copy within the collection.
    auto first = PasteDataViews(copied, personal.get(), *personal);
    auto second = PasteDataViews(copied, personal.get(), *personal);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(personal->DataViewCollection().Item(first[0])->Name, QStringLiteral("Copy of Orders"));
    EXPECT_EQ(personal->DataViewCollection().Item(second[0])->Name, QStringLiteral("Copy (1) of Orders"));
    EXPECT_EQ(personal->DataViewCollection().Item(second[0])->Fields.Item(QStringLiteral("Amount"))->DisplayName,
              QStringLiteral("Total"));
    EXPECT_NE(personal->DataViewCollection().Item(first[0])->TextKey(),
              personal->DataViewCollection().Item(orders)->TextKey());

    // The other root: the name kept where it is free; the source keeps its own.
    auto intoTeam = PasteDataViews(copied, personal.get(), *team);
    ASSERT_EQ(intoTeam.size(), 1u);
    EXPECT_EQ(team->DataViewCollection().Item(intoTeam[0])->Name, QStringLiteral("Orders"));
    EXPECT_EQ(personal->DataViewCollection().Item(orders)->Name, QStringLiteral("Orders"));
    EXPECT_EQ(team->DataViewCollection().Item(intoTeam[0])->Fields.Item(QStringLiteral("Amount"))->DisplayName,
              QStringLiteral("Total"));
    PasteDataViews(copied, personal.get(), *team);
    EXPECT_EQ(Names(*team), QStringList({"Projects", "Orders", "Copy of Orders"}));

    // Deleted since it was copied: skipped without a word.
    personal->DataViewCollection().Remove(orders);
    EXPECT_TRUE(PasteDataViews(copied, personal.get(), *personal).empty());

    // Copied where the file is not open (another process's): the copies the clipboard carries.
    const auto carried = PasteDataViews(copied, nullptr, *team);
    ASSERT_EQ(carried.size(), 1u);
    EXPECT_EQ(team->DataViewCollection().Item(carried[0])->Name, QStringLiteral("Copy (1) of Orders"));
    EXPECT_EQ(team->DataViewCollection().Item(carried[0])->Source.ConnectionText,
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/data/orders.mdb"));
}

TEST_F(ManagerTest, TheClipboardFormatCarriesTheViewsAndRefusesAnythingElse)
{
    const CopiedItems copied =
        CopyDataViews(*personal, PersonalRoot, {IdOf(*personal, "Budget"), 99999, IdOf(*personal, "Orders")});
    EXPECT_EQ(copied.colNames, QStringList({"Budget", "Orders"})) << "an identifier the store lacks is left out";
    EXPECT_EQ(copied.sSourceFile, ComparableFilePath(personalPath));

    std::unique_ptr<QMimeData> data(MakeMimeData(copied));
    EXPECT_EQ(data->text(), QStringLiteral("Budget\nOrders"));
    const auto read = ReadMimeData(data.get());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->colIds, copied.colIds);
    EXPECT_EQ(read->lSourceRoot, PersonalRoot);
    EXPECT_EQ(read->sSourceFile, copied.sSourceFile);
    const auto views = CarriedDataViews(*read);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0]->Name, QStringLiteral("Budget"));
    EXPECT_EQ(views[1]->Source.TypeName, QStringLiteral("Microsoft Access"));

    // Cut short anywhere, another version, or another format: nothing.
    const QByteArray bytes = EncodeCopiedItems(copied);
    for (qsizetype length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(DecodeCopiedItems(bytes.left(length))) << length;
    QByteArray otherVersion = bytes;
    otherVersion[7] = 2;
    EXPECT_FALSE(DecodeCopiedItems(otherVersion));
    EXPECT_FALSE(DecodeCopiedItems(bytes + QByteArray(1, '\0')));
    QMimeData text;
    text.setText(QStringLiteral("Orders"));
    EXPECT_FALSE(ReadMimeData(&text));
    EXPECT_FALSE(ReadMimeData(nullptr));

    // A damaged document refuses the paste with the configuration library's error.
    CopiedItems damaged = copied;
    damaged.baXml = "<not a configuration";
    qint32 number = 0;
    try {
        PasteDataViews(damaged, nullptr, *team);
    } catch (const ComError &error) {
        number = error.Number();
    }
    EXPECT_EQ(number, config::kErrorUnreadable);
    EXPECT_EQ(Names(*team), QStringList({"Projects"}));
}

TEST_F(ManagerTest, DropsAreRefusedOnTheirOwnRootAndOnAnythingButADataViewsFolder)
{
    const CopiedItems fromPersonal = CopyDataViews(*personal, PersonalRoot, {IdOf(*personal, "Orders")});
    EXPECT_TRUE(DropAllowed(fromPersonal, DataViewsFolder, teamPath));
    EXPECT_FALSE(DropAllowed(fromPersonal, DataViewsFolder, personalPath)) << "the root it came from";
    const QString sameByAnotherPath = QFileInfo(personalPath).absolutePath() + QStringLiteral("/./personal.cfg");
    EXPECT_FALSE(DropAllowed(fromPersonal, DataViewsFolder, sameByAnotherPath)) << "the same file, however named";
    for (const qint32 node : {SmartTagsFolder, PersonalRoot, TeamRoot})
        EXPECT_FALSE(DropAllowed(fromPersonal, node, teamPath)) << node;
    EXPECT_FALSE(DropAllowed(CopiedItems{}, DataViewsFolder, teamPath)) << "nothing dragged";

    // A name the target holds already is refused; the others go in under their own names.
    AddView(*team, "orders", 5, "ODBC", "DSN=x");
    const CopiedItems two =
        CopyDataViews(*personal, PersonalRoot, {IdOf(*personal, "Orders"), IdOf(*personal, "Budget")});
    const DropOutcome outcome = DropDataViews(two, personal.get(), *team);
    EXPECT_EQ(outcome.colRefused, QStringList({"Orders"}));
    ASSERT_EQ(outcome.colAdded.size(), 1u);
    EXPECT_EQ(Names(*team), QStringList({"Projects", "orders", "Budget"}));
}

TEST_F(ManagerTest, DeleteAsksOnceAndLeavesADataViewInUse)
{
    UseView(*personal, "customers");
    const std::vector<ListItemRef> two = {{DataViewItem, IdOf(*personal, "customers")},
                                          {DataViewItem, IdOf(*personal, "Orders")}};
    QStringList told, asked;
    QList<bool> answers;
    DeleteAsk ask;
    ask.inUse = [&told](const QString &text) { told << text; };
    ask.confirm = [&](const QString &text) {
        asked << text;
        return answers.isEmpty() ? true : answers.takeFirst();
    };

    // No: nothing goes, though "customers" was reported in use first.
    answers = {false};
    EXPECT_TRUE(DeleteItems(*personal, two, ask).empty());
    EXPECT_EQ(told, QStringList({LoadResString(kMsgInUse, {QStringLiteral("customers")})}));
    EXPECT_EQ(asked, QStringList({LoadResString(kMsgConfirmOne, {QStringLiteral("Orders")})}))
        << "the one left selected is named";
    EXPECT_EQ(Names(*personal), QStringList({"Orders", "customers", "Budget"}));

    told.clear();
    asked.clear();
    EXPECT_EQ(DeleteItems(*personal, two, ask), std::vector<int>{1});
    EXPECT_EQ(Names(*personal), QStringList({"customers", "Budget"}));

    // Three selected, none in use: one question with their number.
    AddView(*personal, "A", 5, "ODBC", "DSN=a");
    AddView(*personal, "B", 5, "ODBC", "DSN=b");
    asked.clear();
    const std::vector<ListItemRef> three = {{DataViewItem, IdOf(*personal, "A")},
                                            {DataViewItem, IdOf(*personal, "Budget")},
                                            {DataViewItem, IdOf(*personal, "B")}};
    EXPECT_EQ(DeleteItems(*personal, three, ask), std::vector<int>({0, 1, 2}));
    EXPECT_EQ(asked, QStringList({LoadResString(kMsgConfirmSeveral, {QStringLiteral("3")})}));

    // Smart tags: no in-use rule.
    const auto set = personal->SmartTagSets().Item(1);
    const qint32 cities = set->ItemByName(QStringLiteral("Cities"))->Id();
    EXPECT_EQ(DeleteItems(*personal, {{SmartTagItem, cities}}, ask), std::vector<int>{0});
    EXPECT_FALSE(set->Item(cities));

    qint32 number = 0;
    try {
        DeleteItems(*personal, {{ConfigurationItem, set->Id()}}, ask);
    } catch (const ComError &error) {
        number = error.Number();
        EXPECT_EQ(error.Description(), QStringLiteral("Node type not implemented for delete option"));
    }
    EXPECT_EQ(number, kErrorInvalidNode);
}

TEST(ManagerCommandRules, TheRowSelectedAfterADelete)
{
    EXPECT_EQ(RowAfterDelete(4, 4), 0) << "the last of five deleted: the first";
    EXPECT_EQ(RowAfterDelete(1, 4), 1) << "the second of five deleted: the new second";
    EXPECT_EQ(RowAfterDelete(0, 0), -1) << "nothing left";
    EXPECT_EQ(RowAfterDelete(2, 3), 2);
}

TEST_F(ManagerTest, RenameLimits)
{
    const qint32 orders = IdOf(*personal, "Orders");
    const QString hundred(100, QLatin1Char('x'));
    const struct
    {
        QString text;
        NameVerdict::Check check;
        quint32 message;
        const char *after;
    } rows[] = {
        {QStringLiteral("Orders"), NameVerdict::Same, 0, "Orders"},
        {QStringLiteral("  Orders "), NameVerdict::Same, 0, "Orders"},
        {QStringLiteral("   "), NameVerdict::Empty, kMsgNameMissing, "Orders"},
        {hundred + QLatin1Char('x'), NameVerdict::TooLong, kMsgNameTooLong, "Orders"},
        {QStringLiteral("budget"), NameVerdict::Taken, kMsgNameTaken, "Orders"},
        {QStringLiteral(" ORDERS"), NameVerdict::Accepted, 0, "ORDERS"},
        {QStringLiteral("  ") + hundred + QStringLiteral("  "), NameVerdict::Accepted, 0, nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const NameVerdict verdict = RenameItem(*personal, DataViewsFolder, orders, row.text);
        EXPECT_EQ(verdict.lCheck, row.check);
        EXPECT_EQ(verdict.lMessage, row.message);
        if (row.message != 0) {
            EXPECT_EQ(verdict.sMessage, LoadResString(row.message, {QStringLiteral("Data View")}));
        }
        EXPECT_EQ(personal->DataViewCollection().Item(orders)->Name, row.after ? QString::fromLatin1(row.after) : hundred);
    }
    // Smart tags are named "Smart Tag" in the messages and looked up in the first set.
    const qint32 cities = personal->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Cities"))->Id();
    const NameVerdict taken = RenameItem(*personal, SmartTagsFolder, cities, QStringLiteral("stopped"));
    EXPECT_EQ(taken.sMessage, LoadResString(kMsgNameTaken, {QStringLiteral("Smart Tag")}));
    EXPECT_EQ(RenameItem(*personal, SmartTagsFolder, cities, QStringLiteral("Towns")).lCheck, NameVerdict::Accepted);
    EXPECT_EQ(personal->SmartTagSets().Item(1)->Item(cities)->Name, QStringLiteral("Towns"));
    qint32 number = 0;
    try {
        RenameItem(*personal, PersonalRoot, cities, QStringLiteral("x"));
    } catch (const ComError &error) {
        number = error.Number();
        EXPECT_EQ(error.Description(), QStringLiteral("Unknown node type for rename"));
    }
    EXPECT_EQ(number, kErrorInvalidNode);
}

TEST(ManagerCommandRules, SaveFailuresAndPasteAvailability)
{
    EXPECT_EQ(SaveFailureMessage(config::kErrorCannotWrite), kMsgCannotWrite);
    EXPECT_EQ(SaveFailureMessage(config::kErrorChangedElsewhere), kMsgChangedElsewhere);
    EXPECT_EQ(SaveFailureMessage(5), 0u);

    ManagerState state;
    const ListSelection none{DataViewsFolder, ListSelection::None, 0, {}};
    EXPECT_FALSE(state.Commands(none, true, {}).bPaste) << "nothing copied";
    state.SetClipboardHolds(true);
    EXPECT_TRUE(state.Commands(none, true, {}).bPaste) << "another manager copied";
    state.SetClipboardHolds(false);
    CopiedItems own;
    own.colIds = {1};
    state.SetCopyBuffer(own);
    EXPECT_TRUE(state.Commands(none, true, {}).bPaste) << "this window's copy stays until it closes";
    EXPECT_FALSE(state.Commands({SmartTagsFolder, ListSelection::None, 0, {}}, true, {}).bPaste);
}

TEST_F(ManagerTest, UndoTakesBackTheLastChangeWhileItsFileIsAsItLeftIt)
{
    ManagerHistory history;
    const QString file = ComparableFilePath(personalPath);
    const QByteArray original = FileBytes(personalPath);
    EXPECT_EQ(history.Undo(personal.get()), ManagerHistory::Check::Nothing);

    // Two changes: a delete, then a rename.
    QByteArray before = personal->ToXml();
    const qint32 orders = IdOf(*personal, "Orders");
    personal->DataViewCollection().Remove(orders);
    personal->Save();
    history.Record(QStringLiteral("Delete"), file, before, personal->ToXml());
    before = personal->ToXml();
    RenameItem(*personal, DataViewsFolder, IdOf(*personal, "Budget"), QStringLiteral("Plan"));
    personal->Save();
    history.Record(QStringLiteral("Rename"), file, before, personal->ToXml());
    ASSERT_EQ(history.Count(), 2);
    EXPECT_EQ(history.Top()->sWhat, QStringLiteral("Rename"));

    EXPECT_EQ(history.CheckTop(team.get()), ManagerHistory::Check::NotOpen) << "another file's store";
    EXPECT_EQ(history.Undo(personal.get()), ManagerHistory::Check::Ready);
    EXPECT_EQ(Names(*ManagerTest::Open(personalPath)), QStringList({"customers", "Budget"}));
    EXPECT_EQ(history.Undo(personal.get()), ManagerHistory::Check::Ready);
    EXPECT_EQ(Names(*ManagerTest::Open(personalPath)), QStringList({"Orders", "customers", "Budget"}));
    EXPECT_EQ(IdOf(*personal, "Orders"), orders) << "the data view comes back under its identifier";
    EXPECT_EQ(FileBytes(personalPath), original) << "the file is as it was before both";
    EXPECT_TRUE(history.IsEmpty());

    // Saved again since (by another program): the change and those before it are dropped.
    before = personal->ToXml();
    personal->DataViewCollection().Remove(orders);
    personal->Save();
    history.Record(QStringLiteral("Delete"), file, before, personal->ToXml());
    auto elsewhere = ManagerTest::Open(personalPath);
    AddView(*elsewhere, "Theirs", 5, "ODBC", "DSN=t");
    elsewhere->Save();
    EXPECT_EQ(history.CheckTop(personal.get()), ManagerHistory::Check::ChangedSince);
    EXPECT_EQ(history.Undo(personal.get()), ManagerHistory::Check::ChangedSince);
    EXPECT_TRUE(history.IsEmpty());
    EXPECT_EQ(Names(*ManagerTest::Open(personalPath)), QStringList({"customers", "Budget", "Theirs"}))
        << "their save stands";

    // A save refused meanwhile (the file read-only) keeps the change to undo and the store as it was.
    auto store = ManagerTest::Open(personalPath);
    before = store->ToXml();
    store->DataViewCollection().Remove(IdOf(*store, "Theirs"));
    store->Save();
    history.Record(QStringLiteral("Delete"), file, before, store->ToXml());
    QFile::setPermissions(personalPath, QFile::ReadOwner);
    bool raised = false;
    try {
        history.Undo(store.get());
    } catch (const ComError &) {
        raised = true;
    }
    QFile::setPermissions(personalPath, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(raised);
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(Names(*store), QStringList({"customers", "Budget"}));
    EXPECT_EQ(history.Undo(store.get()), ManagerHistory::Check::Ready);
    EXPECT_EQ(Names(*ManagerTest::Open(personalPath)), QStringList({"customers", "Budget", "Theirs"}));
}
