#include "data/DataViewDataServices.h"

#include "DataTestFiles.h"
#include "data/ConnectionText.h"
#include "data/DataJob.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "data/backends/odbc/OdbcSources.h"

#include "ado/Recordset.h"
#include "config/ConfigStore.h"
#include "registry/Registry.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::data;

namespace {

// A configuration store with one data view over `kind` at `location`.
struct ViewFixture
{
    std::shared_ptr<config::ConfigStore> store = config::ConfigStore::Create();
    std::shared_ptr<config::DataView> view;
    DataViewDataServices services;

    ViewFixture(int kind, const QString &location, const QString &item)
    {
        store->CreateNew(QString(), QStringLiteral("Test"), QString(), QString());
        view = store->DataViewCollection().AddBlank();
        view->Name = QStringLiteral("Test view");
        services.SetDataSource(view, kind, location, {}, {}, true);
        view->DataItemName = item;
    }

    // Shows these fields of the item, in this order, and no others.
    void Show(const QStringList &names)
    {
        services.LoadFields(view);
        for (const auto &field : view->Fields)
            field->Displayed = false;
        for (int i = 0; i < names.size(); ++i) {
            view->Fields.Item(names[i])->Displayed = true;
            int position = 0;
            for (const auto &field : view->Fields) {
                ++position;
                if (field->Name == names[i])
                    break;
            }
            view->Fields.Move(position, i + 1);
        }
    }

    QStringList Column(int index)
    {
        QStringList values;
        auto rs = view->Recordset;
        for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
            values << rs->Fields()[index].Value().ToText();
        return values;
    }
};

QString MakeSqlite(const QTemporaryDir &dir, int extraRows = 0)
{
    const QString text = QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + dir.filePath(QStringLiteral("s.db"));
    odbc::Connection db(text);
    for (const char *sql : {"CREATE TABLE \"Customers\" (\"Id\" INTEGER, \"Name\" VARCHAR(40), \"City\" VARCHAR(40), \"Since\" DATE)",
                            "INSERT INTO \"Customers\" VALUES (1, 'Ann', 'Oslo', '2001-02-03'), (2, 'Bob', 'Rome', '1999-12-31'),"
                            " (3, 'Cy', 'Oslo', NULL), (4, 'Di', NULL, '2010-06-01'), (5, 'Ed', 'Bonn', '2005-05-05')"})
        db.Execute({QString::fromUtf8(sql), {}});
    if (extraRows > 0)
        db.Execute({QStringLiteral("INSERT INTO \"Customers\" WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                   "WHERE i < %1) SELECT 10 + i, 'N' || i, 'City ' || (i %% 5000), NULL FROM n")
                        .arg(extraRows - 1)
                        .replace(QStringLiteral("%%"), QStringLiteral("%")),
                    {}});
    return text;
}

} // namespace

TEST(DataServices, FillsShownFieldsInOrderUnderTheConditions)
{
    QTemporaryDir dir;
    ViewFixture f(SourceDsnLess, MakeSqlite(dir), QStringLiteral("Customers"));
    f.Show({QStringLiteral("Name"), QStringLiteral("Id")});
    f.services.FillDataView(f.view);
    ASSERT_TRUE(f.view->Recordset);
    EXPECT_EQ(f.view->Recordset->Fields().Count(), 2);
    EXPECT_EQ(f.view->Recordset->Fields()[0].Name(), QStringLiteral("Name"));
    EXPECT_EQ(f.view->Recordset->RecordCount(), 5);

    f.view->Fields.Item(QStringLiteral("City"))->AddCondition(QStringLiteral("Oslo"), QStringLiteral("AND"), QStringLiteral("="));
    f.services.FillDataView(f.view);
    EXPECT_EQ(f.Column(0), (QStringList{QStringLiteral("Ann"), QStringLiteral("Cy")}));

    f.services.FillDataView(f.view, 1);
    EXPECT_EQ(f.view->Recordset->RecordCount(), 1) << "a preview reads only its rows";
}

TEST(DataServices, FileSourcesComeThroughTheSameWay)
{
    struct Case
    {
        int kind;
        const char *file;
    } const cases[] = {
        {SourceExcel, "excel/example1.xlsx"},
        {SourceExcel, "excel/profiles.xls"},
        {SourceAccess, "access/testV1997.mdb"},
        {SourceHtml, "html/rowspan.html"},
    };
    for (const Case &c : cases) {
        const QString path = test::SharedFile(c.file);
        ViewFixture f(c.kind, path, QString());
        const auto items = f.services.GetDataItems(f.view);
        ASSERT_TRUE(items && items->Count() > 0) << c.file;
        f.view->DataItemName = items->Keys().front().ToText();
        f.services.LoadFields(f.view);
        ASSERT_GT(f.view->Fields.Count(), 0) << c.file;
        f.services.FillDataView(f.view);
        const DataTable table = OpenSource(path)->ReadItem(f.view->DataItemName);
        ASSERT_TRUE(f.view->Recordset) << c.file;
        EXPECT_EQ(f.view->Recordset->RecordCount(), table.Rows.size()) << c.file;
        EXPECT_EQ(f.view->Recordset->Fields().Count(), table.Fields.size()) << c.file;
        if (!table.Rows.isEmpty()) {
            f.view->Recordset->MoveFirst();
            EXPECT_EQ(f.view->Recordset->Fields()[0].Value().ToText(), table.Rows[0][0].ToText()) << c.file;
        }
    }
}

// Empty sheets and tables are data items with no rows, through the whole service.
TEST(DataServices, EmptyItemsOpenWithNoRows)
{
    struct Case
    {
        int kind;
        const char *file;
        const char *item;
    } const cases[] = {
        {SourceExcel, "excel/ragged.xls", "Sheet2"},
        {SourceExcel, "excel/sample.xlsx", "Sheet1"},
        {SourceHtml, "html/xhtml4.entity.xhtml", "Table1"},
        {SourceHtml, "html/issue.4823.html", "sheet0"},
    };
    for (const Case &c : cases) {
        ViewFixture f(c.kind, test::SharedFile(c.file), QString::fromUtf8(c.item));
        f.services.LoadFields(f.view);
        f.services.FillDataView(f.view);
        ASSERT_TRUE(f.view->Recordset) << c.file;
        EXPECT_EQ(f.view->Recordset->RecordCount(), 0) << c.file;
        EXPECT_TRUE(f.view->Recordset->IsEOF()) << c.file;
    }
}

TEST(DataServices, ContactsFolderByItsSourceText)
{
    QTemporaryDir dir;
    for (const char *name : {"John_Doe_IPHONE.vcf", "rfc2426-example.vcf"})
        ASSERT_TRUE(QFile::copy(test::SharedFile((std::string("contacts/") + name).c_str()), dir.filePath(QString::fromUtf8(name))));
    ViewFixture f(SourceFolder, QString(), QString());
    const QString text = f.services.GetFolderPath(dir.path());
    EXPECT_EQ(FolderSourceValue(text, QStringLiteral("FolderType"), QStringLiteral("FolderName")), QStringLiteral("Contact"));
    EXPECT_EQ(FolderSourceValue(text, QStringLiteral("FolderName"), QStringLiteral("StoreID")), dir.path());
    f.services.SetDataSource(f.view, SourceFolder, text, {}, {}, true);
    EXPECT_EQ(f.view->DataItemKind, 4);
    f.services.LoadFields(f.view);
    f.services.FillDataView(f.view);
    ASSERT_TRUE(f.view->Recordset);
    EXPECT_GE(f.view->Recordset->RecordCount(), 2);
}

// The field list as a job: the view changes only as the job finishes, on the
// caller's thread; a cancelled or failed job leaves it as it was.
TEST(DataServices, FieldListJobAppliesBeforeFinished)
{
    QTemporaryDir dir;
    ViewFixture f(SourceDsnLess, MakeSqlite(dir), QStringLiteral("Customers"));
    f.view->Fields.Add(QStringLiteral("Gone"));
    auto job = f.services.StartLoadFields(f.view);
    int fieldsAtFinish = -1;
    QObject::connect(job.get(), &DataJob::Finished, [&] { fieldsAtFinish = f.view->Fields.Count(); });
    EXPECT_EQ(f.view->Fields.Count(), 1) << "nothing changes while the job runs";
    ASSERT_TRUE(job->Wait());
    EXPECT_GT(fieldsAtFinish, 1);
    EXPECT_FALSE(f.view->Fields.Item(QStringLiteral("Gone")));
    EXPECT_TRUE(f.view->Fields.Item(QStringLiteral("City")));

    auto cancelled = f.services.StartLoadFields(f.view);
    f.view->Fields.Add(QStringLiteral("Kept"));
    cancelled->Cancel();
    EXPECT_FALSE(cancelled->Wait());
    EXPECT_TRUE(f.view->Fields.Item(QStringLiteral("Kept")));

    f.view->DataItemName = QStringLiteral("NoSuchTable");
    auto failed = f.services.StartLoadFields(f.view);
    EXPECT_THROW(failed->Wait(), ComError);
    EXPECT_TRUE(f.view->Fields.Item(QStringLiteral("Kept")));
}

TEST(DataServices, ValueListsOfSqlAndFileSources)
{
    QTemporaryDir dir;
    ViewFixture f(SourceDsnLess, MakeSqlite(dir), QStringLiteral("Customers"));
    f.services.LoadFields(f.view);
    auto cities = f.services.GetValueList(f.view, QStringLiteral("City"), -1, false, true);
    ASSERT_TRUE(cities);
    EXPECT_EQ(cities->Keys(), (QList<Variant>{Variant("Bonn"), Variant("Oslo"), Variant("Rome")}));
    f.view->Fields.Item(QStringLiteral("Id"))->AddCondition(QStringLiteral("2"), QStringLiteral("AND"), QStringLiteral(">"));
    EXPECT_EQ(f.services.GetValueList(f.view, QStringLiteral("City"), -1, false, true)->Count(), 2)
        << "Rome is no value of the view's rows";
    EXPECT_EQ(f.services.GetValueList(f.view, QStringLiteral("City"), 0, false, true)->Count(), 3)
        << "mode 0 offers every value of the item";
    f.services.SetValueListLimit(1);
    EXPECT_EQ(f.services.GetValueList(f.view, QStringLiteral("City"), 0, false, true)->Count(), 1);
    EXPECT_TRUE(f.services.ValueListCut());

    f.services.SetValueListLimit(100);
    EXPECT_EQ(f.services.GetValueList(f.view, QStringLiteral("City"), -1, true, true)->Count(), 0)
        << "offline without rows fetched answers nothing";
    f.services.FillDataView(f.view);
    EXPECT_EQ(f.services.GetValueList(f.view, QStringLiteral("City"), -1, true, true)->Count(), 2);
    EXPECT_FALSE(f.services.ValueListCut());
}

TEST(DataServices, CancelEndsTheWaitAndChangesNothing)
{
    QTemporaryDir dir;
    ViewFixture f(SourceDsnLess, MakeSqlite(dir, 600000), QStringLiteral("Customers"));
    f.services.LoadFields(f.view);
    QElapsedTimer sinceCancel;
    // 100 comes once the work is done, too late to cancel it.
    QObject::connect(&f.services, &DataViewDataServices::Fetching, &f.services, [&](qint32 progress) {
        if (!sinceCancel.isValid() && progress < 100) {
            sinceCancel.start();
            f.services.Cancel();
        }
    });
    // Every name, so that the work lasts long enough to be cancelled.
    f.services.SetValueListLimit(1000000);
    const auto list = f.services.GetValueList(f.view, QStringLiteral("Name"), -1, false, true);
    f.services.SetValueListLimit(10000);
    EXPECT_EQ(list, nullptr);
    EXPECT_TRUE(f.services.Cancelled());
    ASSERT_TRUE(sinceCancel.isValid()) << "the work ended before any progress was reported";
    EXPECT_LT(sinceCancel.elapsed(), 100);
    EXPECT_FALSE(f.view->Recordset);

    QObject::disconnect(&f.services, &DataViewDataServices::Fetching, nullptr, nullptr);
    QSignalSpy progress(&f.services, &DataViewDataServices::Fetching);
    const auto full = f.services.GetValueList(f.view, QStringLiteral("Name"), -1, false, false);
    EXPECT_FALSE(f.services.Cancelled());
    ASSERT_TRUE(full);
    EXPECT_EQ(full->Count(), 10000) << "cut at the default limit";
    EXPECT_TRUE(f.services.ValueListCut());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toInt(), 100);
}

TEST(DataServices, ErrorsNameTheSourceAndWhatIsWrong)
{
    QTemporaryDir dir;
    {
        ViewFixture f(SourceExcel, dir.filePath(QStringLiteral("missing.xlsx")), QStringLiteral("Sheet1"));
        const QString message = test::ErrorOf([&] { f.services.FillDataView(f.view); });
        EXPECT_TRUE(message.contains(QStringLiteral("missing.xlsx"))) << message.toStdString();
    }
    {
        ViewFixture f(SourceDsnLess, MakeSqlite(dir), QStringLiteral("No Such Table"));
        const QString message = test::ErrorOf([&] { f.services.FillDataView(f.view); });
        EXPECT_TRUE(message.contains(QStringLiteral("No Such Table"))) << message.toStdString();
        EXPECT_FALSE(f.view->Recordset) << "a failed fill leaves the view as it was";
    }
    {
        ViewFixture f(SourceDsnLess, QStringLiteral("Driver=SQLite3;Database=") + dir.filePath(QStringLiteral("s.db")),
                      QStringLiteral("Customers"));
        f.services.LoadFields(f.view);
        f.view->Fields.Item(QStringLiteral("Id"))->AddCondition(QStringLiteral("many"), QStringLiteral("AND"), QStringLiteral("="));
        const QString message = test::ErrorOf([&] { f.services.FillDataView(f.view); });
        EXPECT_TRUE(message.contains(QStringLiteral("'Id'"))) << message.toStdString();
    }
}

TEST(DataServices, SourcesTextsAndFieldsKeepTheAuthorsSettings)
{
    QTemporaryDir dir;
    ViewFixture f(SourceDsnLess, MakeSqlite(dir), QStringLiteral("Customers"));
    f.services.LoadFields(f.view);
    ASSERT_EQ(f.view->Fields.Count(), 4);
    f.view->Fields.Item(QStringLiteral("Name"))->DisplayName = QStringLiteral("Customer");
    f.view->Fields.Item(QStringLiteral("Since"))->Displayed = false;
    f.view->Fields.Add(QStringLiteral("Gone"));
    f.services.LoadFields(f.view);
    EXPECT_EQ(f.view->Fields.Count(), 4);
    EXPECT_EQ(f.view->Fields.Item(QStringLiteral("Name"))->DisplayName, QStringLiteral("Customer"));
    EXPECT_FALSE(f.view->Fields.Item(QStringLiteral("Since"))->Displayed);
    EXPECT_EQ(f.view->Fields.Item(QStringLiteral("Gone")), nullptr);

    EXPECT_EQ(f.services.GetConnectionString(SourceUserDsn, QStringLiteral("Sales"), QStringLiteral("ann"), {}),
              QStringLiteral("Provider=MSDASQL;DSN=Sales;UID=ann"));
    EXPECT_NO_THROW(f.services.TestConnectionString(SourceDsnLess, f.view->Source.ConnectionText));
    EXPECT_THROW(f.services.TestConnectionString(SourceAccess, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                                                + dir.filePath(QStringLiteral("none.mdb"))),
                 ComError);

    qputenv("QV_PIM_ROOT", dir.path().toLocal8Bit());
    EXPECT_TRUE(f.services.OutlookAvailable());
    qputenv("QV_PIM_ROOT", dir.filePath(QStringLiteral("nowhere")).toLocal8Bit());
    EXPECT_FALSE(f.services.OutlookAvailable());
    qunsetenv("QV_PIM_ROOT");

    QFile dsn(dir.filePath(QStringLiteral("b.dsn")));
    ASSERT_TRUE(dsn.open(QIODevice::WriteOnly));
    dsn.close();
    const auto files = f.services.GetDataSources(3, dir.path());
    ASSERT_EQ(files->Count(), 1);
    EXPECT_EQ(files->Items().front().ToText(), QStringLiteral("b"));
}

// The wizard passes kind 3 for every ODBC entry: a file data source's path
// connects as one, and with no folder the list is unixODBC's own folder.
TEST(DataServices, FileDataSourcesByTheWizardsKind)
{
    QTemporaryDir dir;
    const QString database = MakeSqlite(dir).section(QStringLiteral("Database="), 1);
    const QString folder = dir.filePath(QStringLiteral("dsn files"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile dsn(folder + QStringLiteral("/sales.dsn"));
    ASSERT_TRUE(dsn.open(QIODevice::WriteOnly));
    dsn.write("[ODBC]\nDriver=SQLite3\nDatabase=" + database.toUtf8() + "\n");
    dsn.close();

    ViewFixture f(SourceSystemDsn, dsn.fileName(), QStringLiteral("Customers"));
    EXPECT_EQ(f.view->Source.ConnectionText, QStringLiteral("File Name=") + dsn.fileName());
    f.services.LoadFields(f.view);
    f.services.FillDataView(f.view);
    ASSERT_TRUE(f.view->Recordset);
    EXPECT_EQ(f.view->Recordset->RecordCount(), 5);
    EXPECT_EQ(f.services.GetConnectionString(SourceSystemDsn, QStringLiteral("Sales.dsn"), {}, {}),
              QStringLiteral("Provider=MSDASQL;DSN=Sales.dsn")) << "a name without a folder or file is a name";

    // unixODBC keeps the folder it resolved for the life of the process, so
    // the list is checked against that folder, from inside another one.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder));
    const auto files = f.services.GetDataSources(3);
    QDir::setCurrent(previous);
    ASSERT_TRUE(files);
    QList<Variant> expected;
    if (!OdbcFileDsnFolder().isEmpty()) {
        for (const QString &path : odbc::FileDataSources(OdbcFileDsnFolder()))
            expected << Variant(path);
    }
    EXPECT_EQ(files->Keys(), expected);
    for (const Variant &key : files->Keys())
        EXPECT_FALSE(key.ToText().endsWith(u"sales.dsn")) << "the current directory is no file data source folder";
}

TEST(DataServices, PagesRenderThemselves)
{
    ViewFixture f(SourceHtml, test::SharedFile("html/rowspan.html"), QString());
    f.view->DataItemName = f.services.GetDataItems(f.view)->Keys().front().ToText();
    const QString page = f.services.GetHtml(f.view, true);
    EXPECT_TRUE(page.contains(QStringLiteral("<table"), Qt::CaseInsensitive));
    const QString table = f.services.GetHtml(f.view, false);
    EXPECT_TRUE(table.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_GT(table.count(QStringLiteral("<tr>")), 1);
    ViewFixture other(SourceExcel, test::SharedFile("excel/example1.xlsx"), QString());
    EXPECT_EQ(other.services.GetHtml(other.view, true), QString());
}

// The shipped sample configuration must work as it stands: every data view
// of it fills from the sources the generator wrote beside it.
TEST(DataServices, EverySampleDataViewFills)
{
    QTemporaryDir dir;
    QProcess generator;
    generator.start(QStringLiteral(QV_SAMPLEGEN), {dir.path()});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    auto store = config::ConfigStore::Create();
    store->Open(dir.filePath(QStringLiteral("qvDataView Sample.cfg")));
    DataViewDataServices services;
    int filled = 0;
    for (const auto &view : store->DataViewCollection()) {
        ASSERT_NO_THROW(services.FillDataView(view)) << view->Name.toStdString();
        ASSERT_TRUE(view->Recordset) << view->Name.toStdString();
        EXPECT_GT(view->Recordset->RecordCount(), 0) << view->Name.toStdString();
        ++filled;
    }
    EXPECT_EQ(filled, 8) << "the data views over every sample source";
}
