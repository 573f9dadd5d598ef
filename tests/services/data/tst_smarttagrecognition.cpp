// The smart tags' terms from configurations: own terms, a data view field's
// values from a real SQLite file, excluded terms, disabled tags, and the
// value lists kept until the data view or its source changes.
#include "qvuser/data/SmartTagRecognition.h"

#include "data/ConnectionText.h"
#include "data/backends/odbc/OdbcConnection.h"

#include "config/ConfigStore.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::data;

namespace {

constexpr int kWaitMs = 60000;

// A personal store whose data view reads the Customers of a SQLite file.
struct RecognitionFixture
{
    QTemporaryDir dir;
    QString database = dir.filePath(QStringLiteral("customers.db"));
    QString text = QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + database;
    std::shared_ptr<config::ConfigStore> store = config::ConfigStore::Create();
    std::shared_ptr<config::DataView> view;
    SmartTagRecognition recognition;

    RecognitionFixture()
    {
        Execute("CREATE TABLE \"Customers\" (\"Id\" INTEGER, \"Name\" VARCHAR(40), \"City\" VARCHAR(40))");
        Execute("INSERT INTO \"Customers\" VALUES (1, 'Chloé O''Neill', 'Lyon'), (2, 'Ann', 'Oslo'),"
                " (3, 'Jun Park', 'Busan'), (4, NULL, 'Riga')");
        store->CreateNew(QString(), QStringLiteral("Personal"), QString(), QString());
        view = store->DataViewCollection().AddBlank();
        view->Name = QStringLiteral("Customers");
        view->Source = {SourceDsnLess, QStringLiteral("ODBC"), text, {}};
        view->DataItemName = QStringLiteral("Customers");
        for (const char *name : {"Id", "Name", "City"})
            view->Fields.Add(QString::fromLatin1(name));
    }

    void Execute(const char *sql) { odbc::Connection(text).Execute({QString::fromUtf8(sql), {}}); }

    // A smart tag of the store recognizing the view's Name (when `fromView`) and these terms.
    std::shared_ptr<config::SmartTag> AddTag(const QString &name, bool fromView, const QStringList &terms,
                                             const QStringList &excluded = {})
    {
        auto tag = store->SmartTagSets().Item(1)->AddNew();
        tag->Name = name;
        if (fromView) {
            tag->Recognizer.SetDataView(view);
            tag->Recognizer.SetFieldName(QStringLiteral("Name"));
        }
        for (const QString &term : terms)
            tag->Recognizer.Included.Add(term);
        for (const QString &term : excluded)
            tag->Recognizer.Excluded.Add(term);
        return tag;
    }

    bool Rebuild(const QList<std::shared_ptr<config::ConfigStore>> &stores)
    {
        QSignalSpy ready(&recognition, &SmartTagRecognition::Ready);
        recognition.Rebuild(stores);
        return ready.wait(kWaitMs) && !recognition.Building();
    }
    bool Rebuild() { return Rebuild({store}); }

    // The recognized spans of the text, as "span=tag name" texts.
    QStringList Found(const QString &sample) const
    {
        const auto terms = recognition.Terms();
        QStringList found;
        for (const SmartTagTerms::Match &match : terms->Recognize(sample)) {
            QStringList names;
            for (const qint32 tag : match.Tags)
                names << terms->Tags()[tag].Name;
            found << sample.mid(match.Start, match.Length) + u'=' + names.join(u',');
        }
        return found;
    }
};

} // namespace

TEST(SmartTagRecognition, FieldValuesOwnTermsAndExcludedTermsOfEnabledTags)
{
    RecognitionFixture f;
    f.AddTag(QStringLiteral("Customer"), true, {QStringLiteral("Acme Corp")}, {QStringLiteral("Ann Arbor")});
    f.AddTag(QStringLiteral("Off"), false, {QStringLiteral("Zeta")})->Enabled = false;
    auto team = config::ConfigStore::Create();
    team->CreateNew(QString(), QStringLiteral("Team"), QString(), QString());
    auto teamTag = team->SmartTagSets().Item(1)->AddNew();
    teamTag->Name = QStringLiteral("City");
    teamTag->Recognizer.Included.Add(QStringLiteral("Lyon"));
    ASSERT_TRUE(f.Rebuild({f.store, nullptr, team}));

    EXPECT_EQ(f.Found(QStringLiteral("Met chloé o’neill in LYON, then Ann in Ann Arbor, ACME\ncorp and Zeta; "
                                     "Jun Parks, Jun Park.")),
              (QStringList{QStringLiteral("chloé o’neill=Customer"), QStringLiteral("LYON=City"),
                           QStringLiteral("Ann=Customer"), QStringLiteral("ACME\ncorp=Customer"),
                           QStringLiteral("Jun Park=Customer")}))
        << "accents, apostrophes, several words, whole words only; excluded span, disabled tag left out";

    const auto terms = f.recognition.Terms();
    const QString sample = QStringLiteral("Dear CHLOÉ O'NEILL,");
    const SmartTagTerms::Match match = terms->MatchAt(sample, 8);
    ASSERT_EQ(match.Tags.size(), 1);
    const SmartTagTerms::Tag &tag = terms->Tags()[match.Tags[0]];
    EXPECT_EQ(tag.Store, f.store);
    EXPECT_EQ(tag.FieldName, QStringLiteral("Name"));
    EXPECT_EQ(terms->TermOf(match.Tags[0], QStringView(sample).mid(match.Start, match.Length)),
              QStringLiteral("Chloé O'Neill"))
        << "the action filters on the value as the source holds it";
    EXPECT_EQ(terms->MatchAt(sample, 3).Length, 0);
    EXPECT_EQ(terms->TermOf(match.Tags[0], u"Nobody"), QString());
    EXPECT_EQ(f.Found(QStringLiteral("lyon"))[0], QStringLiteral("lyon=City")) << "the team store's tag";
}

// Value lists are fetched once and kept until the data view's definition or
// its file changes; a rebuild over unchanged data views fetches nothing.
TEST(SmartTagRecognition, KeptValuesFetchedAgainOnlyWhenTheDataViewOrItsSourceChanges)
{
    RecognitionFixture f;
    f.AddTag(QStringLiteral("Customer"), true, {});
    f.AddTag(QStringLiteral("Same view"), true, {});
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.recognition.FetchCount(), 1) << "two tags over one data view and field share one list";
    const auto built = f.recognition.Terms();
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.recognition.FetchCount(), 1) << "nothing changed";
    EXPECT_EQ(f.recognition.Terms(), built) << "nor was anything built again";

    f.view->Fields.Item(QStringLiteral("City"))->AddCondition(QStringLiteral("Oslo"), QStringLiteral("AND"),
                                                              QStringLiteral("<>"));
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.recognition.FetchCount(), 2);
    EXPECT_EQ(f.Found(QStringLiteral("Ann and Jun Park")).size(), 1) << "Ann of Oslo is no value of the view's rows";

    f.Execute("INSERT INTO \"Customers\" VALUES (5, 'Kofi Haddad', 'Lagos')");
    // The file system's clock may be coarser than the two writes are apart.
    QFile file(f.database);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.recognition.FetchCount(), 3);
    EXPECT_EQ(f.Found(QStringLiteral("kofi haddad")).size(), 1);

    f.store->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Customer"))->Enabled = false;
    f.store->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Same view"))->Enabled = false;
    ASSERT_TRUE(f.Rebuild());
    EXPECT_TRUE(f.Found(QStringLiteral("Kofi Haddad")).isEmpty());
    f.store->SmartTagSets().Item(1)->ItemByName(QStringLiteral("Customer"))->Enabled = true;
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.recognition.FetchCount(), 4) << "values no tag used were let go";

    f.recognition.ClearCache();
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.recognition.FetchCount(), 5);
}

// A source that cannot be read is told of once; its tag goes on with its own
// terms, and the other tags are not held up.
TEST(SmartTagRecognition, FailingSourceIsToldOnceAndLeavesTheOwnTerms)
{
    RecognitionFixture f;
    f.view->DataItemName = QStringLiteral("NoSuchTable");
    f.AddTag(QStringLiteral("Broken"), true, {QStringLiteral("O'Brien")});
    f.AddTag(QStringLiteral("Plain"), false, {QStringLiteral("Graz")});
    QSignalSpy failed(&f.recognition, &SmartTagRecognition::Failed);
    ASSERT_TRUE(f.Rebuild());
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0][0].toString().contains(QStringLiteral("\"Broken\""))) << failed[0][0].toString().toStdString();
    EXPECT_TRUE(failed[0][0].toString().contains(QStringLiteral("NoSuchTable"))) << failed[0][0].toString().toStdString();
    EXPECT_EQ(f.Found(QStringLiteral("o’brien in graz, Chloé O'Neill")),
              (QStringList{QStringLiteral("o’brien=Broken"), QStringLiteral("graz=Plain")}));

    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(failed.size(), 1) << "told once";
    EXPECT_EQ(f.recognition.FetchCount(), 1);

    f.view->DataItemName = QStringLiteral("Customers");
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(failed.size(), 1);
    EXPECT_EQ(f.Found(QStringLiteral("Chloé O'Neill")).size(), 1) << "the mended data view is fetched again";
}

// A field with more values than are kept says so once; the values kept
// are recognized.
TEST(SmartTagRecognition, MoreValuesThanTheLimitAreToldOf)
{
    RecognitionFixture f;
    f.Execute("INSERT INTO \"Customers\" SELECT i, 'Customer ' || i, 'Lyon' FROM (WITH RECURSIVE "
              "n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 10010) SELECT i FROM n)");
    f.AddTag(QStringLiteral("Customer"), true, {});
    QSignalSpy limited(&f.recognition, &SmartTagRecognition::Limited);
    QSignalSpy failed(&f.recognition, &SmartTagRecognition::Failed);
    ASSERT_TRUE(f.Rebuild());
    ASSERT_EQ(limited.size(), 1);
    EXPECT_TRUE(failed.isEmpty());
    const QString message = limited[0][0].toString();
    EXPECT_TRUE(message.contains(u"\"Customer\"") && message.contains(u"filter")) << message.toStdString();
    EXPECT_EQ(f.Found(QStringLiteral("Ann and Customer 42")).size(), 2);
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(limited.size(), 1) << "told once";

    f.Execute("DELETE FROM \"Customers\" WHERE \"Id\" > 100");
    f.recognition.ClearCache();
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(limited.size(), 1) << "a field within the limit is not told of";
}

// A rebuild that takes the place of one still waiting for its values answers
// the later configuration.
TEST(SmartTagRecognition, LaterRebuildWins)
{
    RecognitionFixture f;
    auto tag = f.AddTag(QStringLiteral("Customer"), true, {QStringLiteral("First")});
    QSignalSpy ready(&f.recognition, &SmartTagRecognition::Ready);
    f.recognition.Rebuild({f.store});
    tag->Recognizer.Included.Add(QStringLiteral("Second"));
    f.recognition.Rebuild({f.store});
    ASSERT_TRUE(ready.wait(kWaitMs));
    EXPECT_FALSE(f.recognition.Building());
    EXPECT_EQ(f.Found(QStringLiteral("Second, Ann")).size(), 2);
    EXPECT_EQ(f.recognition.FetchCount(), 1);

    // Going while a fetch runs (the data view changed) cancels it; nothing calls back.
    f.view->DataItemName = QStringLiteral("Customers ");
    auto gone = std::make_unique<SmartTagRecognition>();
    gone->Rebuild({f.store});
    EXPECT_TRUE(gone->Building());
    gone.reset();
    f.view->DataItemName = QStringLiteral("Customers");
    ASSERT_TRUE(f.Rebuild());
    EXPECT_EQ(f.Found(QStringLiteral("Ann")).size(), 1);
}
