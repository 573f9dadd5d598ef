#include "EntryFixture.h"

#include "config/ConfigStore.h"
#include "data/ConnectionText.h"
#include "data/DataViewDataServices.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "qvuser/DVUser.h"
#include "scripting/Dictionary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace qv;
using qv::test::EntryTest;
using qv::test::ErrorOf;

namespace {

// A SQLite file through the SQLite3 ODBC driver: a small table, and a view
// whose rows a recursive query makes one by one, slow enough that a
// distinct list over it takes many seconds.
class ValueList : public EntryTest
{
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        m_text = QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + m_dir.filePath(QStringLiteral("v.db"));
        data::odbc::Connection db(m_text);
        for (const char *sql : {
                 "CREATE TABLE \"Customers\" (\"Id\" INTEGER, \"City\" VARCHAR(40))",
                 "INSERT INTO \"Customers\" VALUES (1, 'Rome'), (2, 'Oslo'), (3, 'Bonn'), (4, 'Oslo'), (5, NULL)",
                 // A new city every 200000 rows.
                 "CREATE VIEW \"Slow\" AS WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n"
                 " WHERE i < 50000000) SELECT 'City ' || (i / 200000) AS \"City\" FROM n",
             })
            db.Execute({QString::fromUtf8(sql), {}});
    }

    std::shared_ptr<config::DataView> View(const QString &item, const QString &name)
    {
        auto view = m_store->DataViewCollection().AddBlank();
        view->Name = name;
        view->DataItemName = item;
        data::DataViewDataServices services;
        services.SetDataSource(view, data::SourceDsnLess, m_text, {}, {}, true);
        services.LoadFields(view);
        return view;
    }

    static QProgressDialog *VisibleProgress()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *p = qobject_cast<QProgressDialog *>(w); p && p->isVisible())
                return p;
        }
        return nullptr;
    }

    QTemporaryDir m_dir;
    QString m_text;
    std::shared_ptr<config::ConfigStore> m_store = config::ConfigStore::Create();
};

} // namespace

TEST_F(ValueList, AnswersTheDistinctValuesAndClearsTheCallersView)
{
    DVUser user;
    auto view = View(QStringLiteral("Customers"), QStringLiteral("customer LIST"));
    bool progressSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { progressSeen |= VisibleProgress() != nullptr; });
    watch.start(20);
    const auto cities = user.GetValueListDictionary(view, QStringLiteral("City"), false);
    ASSERT_NE(cities, nullptr);
    EXPECT_EQ(cities->Keys(), (QList<Variant>{Variant("Bonn"), Variant("Oslo"), Variant("Rome")}));
    EXPECT_EQ(view, nullptr) << "the caller's reference is cleared";
    EXPECT_FALSE(progressSeen) << "a quick list shows no progress";
    ASSERT_NE(user.DataViewDataServices(), nullptr) << "the shared services were made on first need";
    EXPECT_FALSE(user.DataViewDataServices()->Cancelled());
}

TEST_F(ValueList, ASlowListShowsProgressAfterFourSecondsAndCancelsFromIt)
{
    auto user = std::make_unique<DVUser>();
    auto view = View(QStringLiteral("Slow"), QStringLiteral("slow CITY list"));
    QElapsedTimer sinceStart, sinceCancel;
    qint64 shownAfter = -1;
    QString caption, label;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QProgressDialog *progress = VisibleProgress();
        if (!progress || sinceCancel.isValid())
            return;
        shownAfter = sinceStart.elapsed();
        caption = progress->windowTitle();
        label = progress->labelText();
        sinceCancel.start();
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    });
    watch.start(20);
    sinceStart.start();
    // Sorted: the driver computes the whole list before its first row, so
    // Cancel has to stop the query itself.
    const auto cities = user->GetValueListDictionary(view, QStringLiteral("City"), false);
    watch.stop();
    EXPECT_EQ(cities, nullptr) << "a cancelled fetch answers nothing";
    EXPECT_EQ(view, nullptr);
    EXPECT_GE(shownAfter, 4000) << "shown before the fetch had run four seconds";
    EXPECT_LT(shownAfter, 6000);
    EXPECT_EQ(caption, QStringLiteral("Slow City List Rows"));
    EXPECT_EQ(label, QStringLiteral("Retrieving data..."));
    ASSERT_TRUE(sinceCancel.isValid()) << "no progress window appeared";
    EXPECT_LT(sinceCancel.elapsed(), 1000) << "the fetch went on after Cancel";
    EXPECT_TRUE(user->DataViewDataServices()->Cancelled());
    EXPECT_EQ(VisibleProgress(), nullptr) << "the progress window is closed";
    auto unfetched = View(QStringLiteral("Customers"), QStringLiteral("Customers"));
    const auto offline = user->GetValueListDictionary(unfetched, QStringLiteral("City"), true);
    ASSERT_NE(offline, nullptr) << "the cancel before it still counted";
    EXPECT_EQ(offline->Count(), 0) << "offline without fetched rows answers an empty list";
    // The last instance joins the services' worker: the query must have stopped too.
    QElapsedTimer closing;
    closing.start();
    user.reset();
    EXPECT_LT(closing.elapsed(), 2000) << "the query ran on after Cancel";
}

TEST_F(ValueList, ErrorsReachTheHostWithTheMembersNameInTheSource)
{
    DVUser user;
    std::shared_ptr<config::DataView> none;
    const ComError noView = ErrorOf([&] { user.GetValueListDictionary(none, QStringLiteral("City"), false); });
    EXPECT_EQ(noView.Number(), vberr::ObjectRequired);
    EXPECT_EQ(noView.Source(), QStringLiteral("QVUSER.DVUser.GetValueListDictionary(): QVUSER"));

    auto view = View(QStringLiteral("Customers"), QStringLiteral("Customers"));
    view->DataItemName = QStringLiteral("Dropped Table");
    const ComError missing = ErrorOf([&] { user.GetValueListDictionary(view, QStringLiteral("City"), false); });
    EXPECT_TRUE(missing.Source().startsWith(QStringLiteral("QVUSER.DVUser.GetValueListDictionary(): ")))
        << missing.Source().toStdString();
    EXPECT_NE(view, nullptr) << "a failed call leaves the caller's reference";
    EXPECT_TRUE(Boxes->Messages.isEmpty()) << "passed on, never shown";
}
