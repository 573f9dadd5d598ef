#include "config/ConfigStore.h"

#include "automation/ComError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::config;

namespace {

std::shared_ptr<ConfigStore> Reopen(const QString &path)
{
    auto store = ConfigStore::Create();
    store->Open(path);
    return store;
}

std::shared_ptr<DataView> AddView(ConfigStore &store, const QString &name, const QStringList &fields)
{
    auto view = store.DataViewCollection().AddBlank();
    view->Name = name;
    for (const QString &f : fields)
        view->Fields.Add(f);
    return view;
}

} // namespace

TEST(Conditions, IdentifiersFindTheCustomFilterAndSurviveASave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.cfg"));
    auto store = ConfigStore::Create();
    store->CreateNew(path, QStringLiteral("P"), {}, {});
    auto view = AddView(*store, QStringLiteral("V"), {QStringLiteral("A"), QStringLiteral("B")});
    const qint32 kept = view->Fields.At(1)->AddCondition(QStringLiteral("x"), QStringLiteral("AND"), QStringLiteral("=")).Id;
    const qint32 custom = view->Fields.At(2)->AddCondition(QStringLiteral("%y%"), QStringLiteral("AND"), QStringLiteral("contains")).Id;
    EXPECT_NE(kept, custom);
    EXPECT_EQ(view->Fields.FieldOfCondition(custom), view->Fields.At(2));
    store->Save();

    auto again = Reopen(path);
    const auto reread = again->DataViewCollection().ItemByName(QStringLiteral("V"));
    const auto owner = reread->Fields.FieldOfCondition(custom);
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->ConditionById(custom)->Value, QStringLiteral("%y%"));
    EXPECT_TRUE(owner->RemoveCondition(custom));
    EXPECT_FALSE(owner->RemoveCondition(custom));
    EXPECT_EQ(reread->Fields.FieldOfCondition(custom), nullptr);
    EXPECT_EQ(reread->Fields.FieldOfCondition(kept)->ConditionById(kept)->Value, QStringLiteral("x"));

    // A copy's conditions are new ones: removing them leaves the original alone.
    const auto copy = again->DataViewCollection().Copy(reread->Id(), QStringLiteral("W"));
    EXPECT_EQ(copy->Fields.FieldOfCondition(kept), nullptr);
    EXPECT_EQ(copy->Fields.At(1)->Conditions.size(), 1u);
}

TEST(Conditions, OlderFilesWithoutIdentifiersGetFreshOnes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.cfg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"(<qvconfig version="1"><dataView id="1" name="V"><field id="2" name="F">
<condition value="a" operator="="/><condition value="b" operator="&lt;&gt;"/></field></dataView>
<dataView id="7" name="W"/></qvconfig>)");
    file.close();
    auto store = Reopen(path);
    const auto field = store->DataViewCollection().Item(1)->Fields.At(1);
    ASSERT_EQ(field->Conditions.size(), 2u);
    const qint32 a = field->Conditions[0].Id, b = field->Conditions[1].Id;
    EXPECT_GT(a, 7) << "a condition must not take an identifier the file already uses";
    EXPECT_NE(a, b);
    EXPECT_EQ(field->Conditions[1].Operator, QStringLiteral("<>"));
    store->Save();
    EXPECT_EQ(Reopen(path)->DataViewCollection().Item(1)->Fields.At(1)->Conditions[1].Id, b);
}

TEST(DataViewTextKey, StableAcrossSavesAndNewForCopies)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("k.cfg"));
    auto store = ConfigStore::Create();
    store->CreateNew(path, {}, {}, {});
    auto view = AddView(*store, QStringLiteral("V"), {QStringLiteral("F")});
    const QString key = view->TextKey();
    EXPECT_FALSE(key.isEmpty());
    const auto copy = store->DataViewCollection().Copy(view->Id(), QStringLiteral("Copy"));
    EXPECT_NE(copy->TextKey(), key);
    store->Save();
    EXPECT_EQ(Reopen(path)->DataViewCollection().Item(view->Id())->TextKey(), key);

    auto other = ConfigStore::Create();
    other->CreateNew(QString(), {}, {}, {});
    EXPECT_NE(other->DataViewCollection().AddFrom(*view)->TextKey(), key);
}

TEST(Recognizer, ResolvesItsDataViewAndFieldByReference)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.cfg"));
    auto store = ConfigStore::Create();
    store->CreateNew(path, QStringLiteral("P"), {}, QStringLiteral("urn:x"));
    auto clients = AddView(*store, QStringLiteral("Clients"), {QStringLiteral("Id"), QStringLiteral("Name")});
    auto other = AddView(*store, QStringLiteral("Other"), {QStringLiteral("Name")});
    auto tag = store->SmartTagSets().Item(1)->AddNew(QStringLiteral("0123456789ABCDEF0123456789ABCDEF"), 0);
    tag->Name = QStringLiteral("Clients tag");
    EXPECT_EQ(tag->Recognizer.DataView(), nullptr);
    EXPECT_EQ(tag->Recognizer.Field(), nullptr);
    tag->Recognizer.SetDataView(clients);
    tag->Recognizer.SetFieldName(QStringLiteral("name"));
    EXPECT_EQ(tag->Recognizer.DataView(), clients);
    EXPECT_EQ(tag->Recognizer.FieldReference, clients->Fields.At(2)->Id());
    EXPECT_EQ(clients->Fields.ItemByReference(clients->Id(), tag->Recognizer.FieldReference), clients->Fields.At(2));
    EXPECT_EQ(other->Fields.ItemByReference(other->Id(), tag->Recognizer.FieldReference), nullptr);
    EXPECT_EQ(clients->Fields.ItemByReference(other->Id(), tag->Recognizer.FieldReference), nullptr);
    auto action = tag->AddAction();
    action->Name = QStringLiteral("Show");
    action->DataViewId = other->Id();
    store->Save();

    // After a reload the field is still found by its reference, even renamed.
    auto again = Reopen(path);
    const auto reread = again->SmartTagSets().Item(1)->ItemByName(QStringLiteral("CLIENTS tag"));
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->Key, QStringLiteral("0123456789ABCDEF0123456789ABCDEF"));
    EXPECT_EQ(reread->ActionByKey(action->Key())->Name, QStringLiteral("Show"));
    EXPECT_TRUE(again->DataViewCollection().Item(other->Id())->InUse());
    again->DataViewCollection().Item(clients->Id())->Fields.At(2)->Name = QStringLiteral("Full name");
    ASSERT_TRUE(reread->Recognizer.Field());
    EXPECT_EQ(reread->Recognizer.Field()->Name, QStringLiteral("Full name"));
    EXPECT_EQ(reread->Recognizer.DataView()->Name, QStringLiteral("Clients"));

    // Another data view forgets the field; none forgets both.
    reread->Recognizer.SetDataView(again->DataViewCollection().Item(other->Id()));
    EXPECT_TRUE(reread->Recognizer.FieldName.isEmpty());
    EXPECT_EQ(reread->Recognizer.Field(), nullptr);
    reread->Recognizer.SetFieldName(QStringLiteral("Missing"));
    EXPECT_EQ(reread->Recognizer.FieldReference, 0);
    reread->Recognizer.SetDataView(nullptr);
    EXPECT_EQ(reread->Recognizer.DataViewId, 0);
}

TEST(ConfigStore, CreateFileWritesANewFileAndKeepsAnExistingOnesContent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qvDataView Team.cfg"));
    auto fresh = ConfigStore::Create();
    EXPECT_EQ(fresh->FileKind(), 0);

    auto created = ConfigStore::CreateFile(path, QStringLiteral("Team"), QStringLiteral("Ours"),
                                           QStringLiteral("schemas-harbrane-com:quorivo:smarttag#edsteam"));
    EXPECT_EQ(created->FileKind(), 1);
    auto read = Reopen(path);
    EXPECT_EQ(read->Name, QStringLiteral("Team"));
    EXPECT_EQ(read->Description, QStringLiteral("Ours"));
    EXPECT_EQ(read->SmartTagNamespace, QStringLiteral("schemas-harbrane-com:quorivo:smarttag#edsteam"));
    ASSERT_EQ(read->SmartTagSets().Count(), 1);

    AddView(*read, QStringLiteral("Kept"), {QStringLiteral("F")});
    read->Save();
    ConfigStore::CreateFile(path, QStringLiteral("Renamed"), QStringLiteral("New words"), QStringLiteral("urn:y"));
    auto after = Reopen(path);
    EXPECT_EQ(after->Name, QStringLiteral("Renamed"));
    EXPECT_TRUE(after->DataViewCollection().ItemByName(QStringLiteral("Kept")));
    EXPECT_EQ(after->SmartTagSets().Count(), 1);

    try {
        ConfigStore::CreateFile(dir.filePath(QStringLiteral("no/such/folder/x.cfg")), QStringLiteral("X"), {}, {});
        ADD_FAILURE() << "a file in a missing folder cannot be created";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorCannotWrite);
    }
}
