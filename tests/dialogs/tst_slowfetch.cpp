// Insert Data over a source that takes seconds: one fetch at a time, and a
// host that goes during the fetch neither waits for it nor leaves it running.
#include "SelectDriver.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigObjects.h"
#include "data/DataViewDataServices.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "qvuser/DVUser.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

namespace {

// A SQLite database with a view that takes seconds to read and to count
// ("Slow") and a table of three rows ("Fast"), and a personal configuration
// with a data view over each.
class SlowSource
{
public:
    // The view's time grows with the square of `rows`: 4000 take seconds,
    // 12000 half a minute.
    explicit SlowSource(int rows)
    {
        m_database = m_dir.filePath(QStringLiteral("slow.db"));
        data::odbc::Connection db(Text());
        for (const char *sql : {
                 "CREATE TABLE n (x INTEGER)",
                 // INSERT first: a driver stepping through results runs a
                 // statement that starts with WITH only as it is fetched.
                 "INSERT INTO n WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < ROWS) "
                 "SELECT x FROM c",
                 "CREATE VIEW slow AS SELECT a.x AS Id, COUNT(*) AS Below FROM n a, n b WHERE b.x <= a.x GROUP BY a.x",
                 "CREATE TABLE fast (Id INTEGER, Name VARCHAR(20))",
                 "INSERT INTO fast VALUES (1, 'Ann'), (2, 'Bo'), (3, 'Cy')",
                 "CREATE TABLE probe (x INTEGER)",
                 // Each row is quick to read and slow to count: the count
                 // must look at every row's subquery.
                 "CREATE VIEW counted AS SELECT a.x AS Id FROM n a "
                 "WHERE (SELECT COUNT(*) FROM n b WHERE b.x <= a.x) > 0"})
            db.Execute({QString::fromLatin1(sql).replace(QStringLiteral("ROWS"), QString::number(rows)), {}});

        config = m_dir.filePath(QStringLiteral("slow.cfg"));
        auto store = config::ConfigStore::Create();
        store->CreateNew(config, QStringLiteral("Slow"), QString(), QString());
        data::DataViewDataServices services;
        for (const char *name : {"Slow", "Fast", "Counted"}) {
            auto view = store->DataViewCollection().AddBlank();
            view->Name = QString::fromLatin1(name);
            // Counted steps through its rows, so that its first page does not
            // wait for the whole result.
            const bool stepping = view->Name == QLatin1String("Counted");
            services.SetDataSource(view, 5, Text() + (stepping ? QStringLiteral(";StepAPI=1") : QString()), {}, {}, true);
            view->DataItemName = view->Name.toLower();
            services.LoadFields(view);
        }
        store->Save();
        biz::ConfigFileSettings().SetConfigFilePath(1, config);
    }

    // True while a statement still reads the database: a write cannot commit then.
    bool Busy() const
    {
        try {
            data::odbc::Connection db(Text() + QStringLiteral(";Timeout=1"));
            db.Execute({QStringLiteral("INSERT INTO probe VALUES (1)"), {}});
            return false;
        } catch (const ComError &) {
            return true;
        }
    }

    QString Text() const { return QStringLiteral("Driver=SQLite3;Database=") + m_database; }
    std::shared_ptr<config::DataView> View(const char *name) const
    {
        auto store = config::ConfigStore::Create();
        store->Open(config);
        return store->DataViewCollection().ItemByName(QString::fromLatin1(name));
    }

    QString config;

private:
    QTemporaryDir m_dir;
    QString m_database;
};

bool FetchRunning(const frmSelectDataItems &form)
{
    return form.State().Fetching() == dialogs::SelectDataState::Fetch::Rows;
}

} // namespace

// Picking another data view and applying a filter while the rows come start
// nothing: the one fetch ends, and the rows shown are those of the data view
// the picker shows.
TEST_F(DialogTest, NoSecondFetchDuringTheFirst)
{
    SlowSource source(4000);
    auto form = std::make_unique<frmSelectDataItems>();
    SelectRequest request;
    request.oDataView = source.View("Slow");
    request.bForceDataView = true;
    ui::modal_driver::Push([&](QDialog &dialog) {
        auto &f = static_cast<frmSelectDataItems &>(dialog);
        QSignalSpy shown(&f, &frmSelectDataItems::RowsShown);
        ASSERT_TRUE(QTest::qWaitFor([&] { return FetchRunning(f); }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return source.Busy(); }, 10000)) << "the slow query never started";
        auto *picker = Child<QComboBox>(f, "icboDataView");
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_End);
        EXPECT_EQ(picker->currentText(), QStringLiteral("Slow")) << "the picker took a choice during the fetch";
        TypeInto(Child<QComboBox>(f, "cboParam"), QStringLiteral("7"));
        QTest::mouseClick(Button(f, "cmdApplyFilter"), Qt::LeftButton);
        QTest::keyClick(Child<QComboBox>(f, "cboParam"), Qt::Key_Return);
        EXPECT_TRUE(FetchRunning(f));
        EXPECT_EQ(shown.count(), 0) << "a second fetch ran inside the first";
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(shown.count(), 1);
        EXPECT_EQ(picker->currentText(), QStringLiteral("Slow"));
        EXPECT_EQ(f.State().DataView()->Name, QStringLiteral("Slow"));
        EXPECT_EQ(Viewer(f)->RecordCount(), 2000) << "the viewer's first 2000 rows of the slow view";
        QTest::mouseClick(Button(f, "cmdCancel"), Qt::LeftButton);
    });
    EXPECT_TRUE(RunSelectData(*form, request).Cancelled());
    // The count beside the rows may still run; the dialog's end stops it.
    form.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !source.Busy(); }, 3000)) << "the dialog left a query running";
}

// The host's DVUser goes while the first rows are read: that returns at once,
// the dialog closes, and the source is released soon after, long before the
// query could have ended by itself.
TEST_F(DialogTest, DestroyingTheHostDuringAFetch)
{
    SlowSource source(12000);
    auto user = std::make_unique<DVUser>();
    qint64 destroyMs = -1;
    ui::modal_driver::Push([&](QDialog &dialog) {
        auto &f = static_cast<frmSelectDataItems &>(dialog);
        ASSERT_TRUE(QTest::qWaitFor([&] { return FetchRunning(f); }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return source.Busy(); }, 10000)) << "the slow query never started";
        QElapsedTimer clock;
        clock.start();
        user.reset();
        destroyMs = clock.elapsed();
    });
    auto view = source.View("Slow");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(user->ShowSelectData(view));
    EXPECT_GE(destroyMs, 0);
    EXPECT_LT(destroyMs, 200) << "destroying the host waited for the query";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !source.Busy(); }, 3000)) << "the query went on";
    EXPECT_LT(clock.elapsed(), 4000);
}

// The full count of a large source never holds the first rows back: the
// status says the rows are still being counted, then gives the total.
TEST_F(DialogTest, TheCountNeverDelaysTheFirstRows)
{
    SlowSource source(12000);
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = source.View("Counted");
    ui::modal_driver::Push([&](QDialog &dialog) {
        auto &f = static_cast<frmSelectDataItems &>(dialog);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 2000);
        // The count costs some twenty times the first rows: had they waited
        // for it, the status would tell the total already.
        EXPECT_EQ(Status(f), QStringLiteral("First 2,000 of 2,000+ records displayed")) << "the first rows waited for the count";
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status(f) == QStringLiteral("First 2,000 of 12,000 records displayed"); },
                                    120000))
            << Status(f).toStdString();
        QTest::mouseClick(Button(f, "cmdCancel"), Qt::LeftButton);
    });
    RunSelectData(form, request);
}

// The same over a workbook: its first rows come while the rest of its sheet
// is still being read and counted, and the status then gives the total.
TEST_F(DialogTest, TheCountOfALargeWorkbookNeverDelaysTheFirstRows)
{
    constexpr int kRows = 150000;
    QTemporaryDir dir;
    const QString workbook = dir.filePath(QStringLiteral("orders.xlsx"));
    QProcess make;
    make.start(QStringLiteral(QV_MAKE_WORKBOOK), {QStringLiteral("large"), workbook, QString::number(kRows)});
    ASSERT_TRUE(make.waitForFinished(120000) && make.exitCode() == 0) << "the workbook could not be written";
    auto store = config::ConfigStore::Create();
    store->CreateNew(dir.filePath(QStringLiteral("orders.cfg")), QStringLiteral("Orders"), QString(), QString());
    data::DataViewDataServices services;
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Orders");
    services.SetDataSource(view, 4, workbook, {}, {}, true);
    view->DataItemName = QStringLiteral("Orders");
    services.LoadFields(view);

    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = view;
    ui::modal_driver::Push([&](QDialog &dialog) {
        auto &f = static_cast<frmSelectDataItems &>(dialog);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 2000);
        // Counting reads the whole sheet, some seventy times the first rows.
        EXPECT_EQ(Status(f), QStringLiteral("First 2,000 of 2,000+ records displayed")) << "the first rows waited for the count";
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status(f) == QStringLiteral("First 2,000 of 150,000 records displayed"); },
                                    120000))
            << Status(f).toStdString();
        QTest::mouseClick(Button(f, "cmdCancel"), Qt::LeftButton);
    });
    RunSelectData(form, request);
}
