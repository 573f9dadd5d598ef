#include "config/ConfigStore.h"

#include "automation/ComError.h"

#include "TestMain.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::config;

namespace {

std::shared_ptr<ConfigStore> Sample(const QString &path)
{
    auto store = ConfigStore::Create();
    store->CreateNew(path, QStringLiteral("Team & <Co>"), QStringLiteral("line one\nline two"),
                     QStringLiteral("urn:qv:tags"));
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Clients \"A\"");
    view->DataItemName = QStringLiteral("Clients");
    view->Description = QStringLiteral("All of them");
    view->DataItemKind = 4;
    view->Source = {6, QStringLiteral("Access"), QStringLiteral("Provider=x;Data Source=c:\\db.mdb"), {}};
    auto field = view->Fields.Add(QStringLiteral("Name"));
    field->DisplayName = QStringLiteral("Näme");
    field->ViewFormat = QStringLiteral("All Uppercase");
    field->DataKind = 1;
    field->AdoType = 202;
    field->AddCondition(QStringLiteral("O'Brien"), QStringLiteral("AND"), QStringLiteral("="));
    view->Fields.Add(QStringLiteral("Hidden"))->Displayed = false;
    auto tag = store->SmartTagSets().Item(1)->AddNew();
    tag->Name = QStringLiteral("Clients");
    tag->Enabled = false;
    tag->Description = QStringLiteral("Finds clients");
    tag->Warnings = QStringLiteral("Field \"Name\" is gone");
    tag->Recognizer.DataViewId = view->Id();
    tag->Recognizer.FieldName = QStringLiteral("Name");
    tag->Recognizer.FieldReference = field->Id();
    tag->Recognizer.Included.Add(QStringLiteral("Smith <Ltd>"));
    tag->Recognizer.Excluded.Add(QStringLiteral("Smithers"));
    auto action = tag->AddAction();
    action->Name = QStringLiteral("Insert");
    action->DataViewId = view->Id();
    action->ActionKind = 1;
    action->LayoutType = 2;
    action->DisplayText = QStringLiteral("Insert the client");
    action->StyleName = QStringLiteral("Table Grid");
    return store;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(ConfigStore, RoundTripKeepsEveryPropertyAndIdentifier)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("team.cfg"));
    auto store = Sample(path);
    store->Save();
    const QByteArray first = store->ToXml();

    auto again = ConfigStore::Create();
    again->Open(path);
    EXPECT_EQ(again->ToXml(), first);
    EXPECT_EQ(again->Name, QStringLiteral("Team & <Co>"));
    ASSERT_EQ(again->DataViewCollection().Count(), 1);
    const auto view = again->DataViewCollection().ItemByName(QStringLiteral("clients \"a\""));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Id(), store->DataViewCollection().ItemByName(view->Name)->Id());
    EXPECT_EQ(view->Fields.Item(QStringLiteral("name"))->DisplayName, QStringLiteral("Näme"));
    EXPECT_EQ(view->Fields.Item(QStringLiteral("Name"))->Conditions.at(0).Value, QStringLiteral("O'Brien"));
    EXPECT_FALSE(view->Fields.Item(QStringLiteral("Hidden"))->Displayed);
    EXPECT_TRUE(view->InUse());
    const auto tag = again->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Clients"));
    ASSERT_TRUE(tag);
    EXPECT_FALSE(tag->Enabled);
    EXPECT_EQ(tag->Recognizer.Included.Item(1), QStringLiteral("Smith <Ltd>"));
    EXPECT_EQ(tag->ActionAt(1)->LayoutType, 2);
    EXPECT_EQ(tag->ActionAt(1)->StyleName, QStringLiteral("Table Grid"));
    EXPECT_EQ(tag->Warnings, QStringLiteral("Field \"Name\" is gone"));
    EXPECT_EQ(tag->Key, store->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Clients"))->Key);
    EXPECT_EQ(view->DataItemKind, 4);
    EXPECT_EQ(view->TextKey(), store->DataViewCollection().ItemByName(view->Name)->TextKey());
    // New objects never take an identifier the file already uses.
    EXPECT_GT(again->DataViewCollection().AddBlank()->Id(), tag->ActionAt(1)->Id());
}

TEST(ConfigStore, UnknownElementsAndAttributesSurviveASave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("newer.cfg"));
    WriteFile(path, R"(<?xml version="1.0"?>
<qvconfig version="7" future="yes"><theme colour="blue"><shade>dark</shade></theme>
<dataView id="4" name="V" extra="1"><dataSource kind="6" connection="c"/><layout cols="3"/>
<field id="5" name="F" hint="h"/></dataView></qvconfig>)");
    auto store = ConfigStore::Create();
    store->Open(path);
    store->DataViewCollection().Item(4)->Description = QStringLiteral("changed");
    store->Save();
    auto again = ConfigStore::Create();
    again->Open(path);
    const QByteArray xml = again->ToXml();
    for (const char *kept : {"future=\"yes\"", "<shade>dark</shade>", "extra=\"1\"", "<layout cols=\"3\"/>",
                             "hint=\"h\"", "description=\"changed\""})
        EXPECT_TRUE(xml.contains(kept)) << kept << "\n" << xml.toStdString();
}

TEST(ConfigStore, BrokenFilesRaiseClearlyAndChangeNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.cfg"));
    QByteArray deep = "<qvconfig version=\"1\">";
    for (int i = 0; i < 200; ++i)
        deep += "<x>";
    const struct { QByteArray bytes; const char *says; } cases[] = {
        {"", "line 1"},
        {"<qvconfig version=\"1\"><dataView id=\"1\"", "line 1"},
        {"<other/>", "not <qvconfig>"},
        {"\x01\x02\xff\xfe binary", "line 1"},
        {"<!DOCTYPE q [<!ENTITY a \"aaaa\">]><qvconfig>&a;</qvconfig>", "document type"},
        {"<qvconfig version=\"1\">\n\n<dataView id=\"x\"/></qvconfig>", "line 3: the attribute id is not a number"},
        {"<qvconfig><dataView id=\"2\"/><dataView id=\"2\"/></qvconfig>", "used twice"},
        {"<qvconfig>stray text</qvconfig>", "unexpected text"},
        {deep, "nested too deeply"},
        {"<qvconfig><dataView id=\"1\" name=\"" + QByteArray(2 * 1024 * 1024, 'a') + "\"/></qvconfig>", "too long"},
    };
    auto store = Sample(path);
    const QByteArray before = store->ToXml();
    for (const auto &c : cases) {
        WriteFile(path, c.bytes);
        try {
            store->Open(path);
            ADD_FAILURE() << "no error for " << c.bytes.left(60).toStdString();
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), kErrorUnreadable);
            EXPECT_TRUE(e.Description().contains(QLatin1String(c.says))) << e.Description().toStdString();
            EXPECT_TRUE(e.Description().contains(QLatin1String("bad.cfg")));
        }
        EXPECT_EQ(store->ToXml(), before) << "a failed open must leave the store as it was";
    }
    EXPECT_THROW(store->Open(dir.filePath(QStringLiteral("missing.cfg"))), ComError);
}

TEST(ConfigStore, SecondAuthorsSaveIsRefusedAndNothingIsLost)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("team.cfg"));
    Sample(path)->Save();
    auto first = ConfigStore::Create();
    auto second = ConfigStore::Create();
    first->Open(path);
    second->Open(path);
    first->DataViewCollection().AddBlank()->Name = QStringLiteral("Mine");
    first->Save();
    second->DataViewCollection().AddBlank()->Name = QStringLiteral("Theirs");
    try {
        second->Save();
        ADD_FAILURE() << "the second save must be refused";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorChangedElsewhere);
    }
    auto check = ConfigStore::Create();
    check->Open(path);
    EXPECT_TRUE(check->DataViewCollection().ItemByName(QStringLiteral("Mine")));
    EXPECT_FALSE(check->DataViewCollection().ItemByName(QStringLiteral("Theirs")));
    // After reloading, the second author can save.
    second->Reload(path);
    second->DataViewCollection().AddBlank()->Name = QStringLiteral("Theirs");
    second->Save();
    check->Open(path);
    EXPECT_EQ(check->DataViewCollection().Count(), 3);
}

TEST(ConfigStore, UnwritableFolderRaisesSeventy)
{
    auto store = Sample(QStringLiteral("/nonexistent-folder/x.cfg"));
    try {
        store->Save();
        ADD_FAILURE() << "saving into a missing folder must fail";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorCannotWrite);
        EXPECT_TRUE(e.Description().contains(QLatin1String("x.cfg")));
    }
}

TEST(ConfigStore, EmptyLockFileOfAKilledWriterIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("team.cfg"));
    const QString lock = path + QStringLiteral(".lock");
    WriteFile(lock, QByteArray());
    QFile old(lock);
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
    old.close();
    QElapsedTimer timer;
    timer.start();
    Sample(path)->Save();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(QFile::exists(lock));
    auto again = ConfigStore::Create();
    again->Open(path);
    EXPECT_EQ(again->DataViewCollection().Count(), 1);
}

TEST(DataViewCollection, CopyAddFromAndRemove)
{
    auto store = Sample(QString());
    auto &views = store->DataViewCollection();
    const auto original = views.ItemByName(QStringLiteral("Clients \"A\""));
    const auto copy = views.Copy(original->Id(), QStringLiteral("Copy"));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->Id(), original->Id());
    EXPECT_NE(copy->Fields.At(1)->Id(), original->Fields.At(1)->Id());
    EXPECT_EQ(copy->Fields.At(1)->Conditions.size(), 1u);
    EXPECT_FALSE(copy->InUse());
    EXPECT_EQ(views.Copy(9999, QStringLiteral("none")), nullptr);

    auto other = ConfigStore::Create();
    other->CreateNew(QString(), {}, {}, {});
    other->DataViewCollection().AddFrom(*original);
    try {
        other->DataViewCollection().AddFrom(*original);
        ADD_FAILURE() << "a second view of that name must be refused";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorNotAccepted);
    }
    views.Remove(copy->Id());
    EXPECT_EQ(views.Item(copy->Id()), nullptr);
    original->Fields.Move(2, 1);
    EXPECT_EQ(original->Fields.At(1)->Name, QStringLiteral("Hidden"));
}

TEST(ConfigStore, KilledWhileSavingLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crash.cfg"));
    Sample(path)->Save();
    int lastCount = 1;
    for (int round = 0; round < 200; ++round) {
        QProcess child;
        child.start(test::SelfPath(), {QStringLiteral("--child"), QStringLiteral("save-loop"), path});
        ASSERT_TRUE(child.waitForStarted());
        // Once the first save is done, the kill falls at a varying point of the next ones.
        ASSERT_TRUE(child.waitForReadyRead(30000))
            << "round " << round << ": " << child.readAllStandardError().toStdString();
        QThread::msleep((round * 7) % 40);
        child.kill();
        child.waitForFinished();
        auto store = ConfigStore::Create();
        ASSERT_NO_THROW(store->Open(path)) << "round " << round;
        const int count = store->DataViewCollection().Count();
        EXPECT_GE(count, lastCount) << "round " << round << ": saved views were lost";
        lastCount = count;
    }
    EXPECT_GT(lastCount, 20) << "the child saved too rarely for the kills to fall inside saves";
}
