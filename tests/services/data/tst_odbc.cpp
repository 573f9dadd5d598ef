#include "data/backends/odbc/OdbcConnection.h"
#include "data/backends/odbc/OdbcRowSource.h"
#include "ado/Recordset.h"
#include "data/backends/odbc/OdbcSources.h"

#include "data/ConnectionText.h"
#include "DataTestFiles.h"
#include "TestMain.h"
#include "automation/ComError.h"
#include "automation/OleDate.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace qv;
using namespace qv::data;
using namespace qv::data::odbc;

namespace {

// The same table in each real database the tests reach through its ODBC
// driver: a SQLite file, and a PostgreSQL server that ctest starts on a
// loopback port (tests/support/pgserver.sh). Every name is quoted, as
// PostgreSQL folds unquoted names to lower case.
class OdbcSourceTest : public ::testing::TestWithParam<const char *>
{
protected:
    bool Postgres() const { return QLatin1String(GetParam()) == QLatin1String("postgres"); }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (Postgres()) {
            m_text = qv::data::test::PostgresText();
            if (m_text.isEmpty())
                GTEST_SKIP() << "no PostgreSQL server: run the tests through ctest (./qv test -R test_data)";
            m_text += QStringLiteral(";BoolsAsChar=0");
        } else {
            // No waiting for the disk after each statement: the file is thrown away.
            m_text = QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + m_dir.filePath(QStringLiteral("people.db"));
        }
        Connection db(m_text);
        const QString real = Postgres() ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("DOUBLE");
        const QString flag = Postgres() ? QStringLiteral("BOOLEAN") : QStringLiteral("BIT");
        const QStringList statements{
            QStringLiteral("DROP VIEW IF EXISTS \"Tall People\""),
            QStringLiteral("DROP TABLE IF EXISTS \"People\""),
            QStringLiteral("CREATE TABLE \"People\" (\"Id\" INTEGER, \"Name\" VARCHAR(40), \"Born\" DATE, \"Height\" %1,"
                           " \"Salary\" NUMERIC(12,2), \"Member\" %2, \"Notes\" TEXT, \"Odd \"\"Name\"\"\" VARCHAR(10))")
                .arg(real, flag),
            QStringLiteral("INSERT INTO \"People\" VALUES (1, 'Ann', '1970-03-15', 1.68, 52000.50, TRUE, 'likes 100% wool', 'a')"),
            QStringLiteral("INSERT INTO \"People\" VALUES (2, 'Bob O''Neil', '1985-12-01', 1.80, 48000, FALSE, NULL, 'b')"),
            QString::fromUtf8("INSERT INTO \"People\" VALUES (3, 'Zoë Ångström', NULL, NULL, NULL, NULL, 'under_score', NULL)"),
            QStringLiteral("INSERT INTO \"People\" VALUES (4, '', '2001-07-04', 1.75, 61000.25, TRUE, '', 'd')"),
            QStringLiteral("CREATE VIEW \"Tall People\" AS SELECT \"Name\", \"Height\" FROM \"People\" WHERE \"Height\" > 1.7")};
        for (const QString &sql : statements)
            db.Execute({sql, {}});
    }

    void AddRows()
    {
        Connection db(m_text);
        db.Execute({QStringLiteral("INSERT INTO \"People\" (\"Id\", \"Name\") WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL "
                                   "SELECT i + 1 FROM n WHERE i < 2999) SELECT 100 + i, 'Row ' || i FROM n"),
                    {}});
    }

    QList<DataRow> Rows(const QList<Condition> &conditions, const QList<DataField> &fields = {})
    {
        Connection db(m_text);
        return db.Execute(SelectStatement(QStringLiteral("People"), fields, conditions, db.Dialect()))->Fetch(1000);
    }

    DataField Field(const char *name)
    {
        Connection db(m_text);
        for (const DataField &f : db.Columns(QStringLiteral("People")))
            if (f.Name == QString::fromUtf8(name))
                return f;
        ADD_FAILURE() << "no field " << name;
        return {};
    }

    QTemporaryDir m_dir;
    QString m_text;
};

QStringList Names(const QList<DataRow> &rows)
{
    QStringList names;
    for (const DataRow &row : rows)
        names << row.value(1).ToText();
    return names;
}

} // namespace

TEST_P(OdbcSourceTest, ListsTablesAndViewsWithTheirFields)
{
    Connection db(m_text);
    EXPECT_EQ(db.Tables(), (QStringList{QStringLiteral("People"), QStringLiteral("Tall People")}));
    const QList<DataField> fields = db.Columns(QStringLiteral("People"));
    ASSERT_EQ(fields.size(), 8);
    EXPECT_EQ(fields[0].Name, QStringLiteral("Id"));
    EXPECT_EQ(fields[7].Name, QStringLiteral("Odd \"Name\""));
    EXPECT_EQ(fields[1].DefinedSize, 40);
    EXPECT_EQ(db.Columns(QStringLiteral("Tall People")).size(), 2);
}

TEST_P(OdbcSourceTest, ReadsEveryValueExactly)
{
    const QList<DataRow> rows = Rows({});
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0][0].ToLong(), 1);
    EXPECT_EQ(rows[0][1].ToText(), QStringLiteral("Ann"));
    EXPECT_EQ(rows[1][1].ToText(), QStringLiteral("Bob O'Neil"));
    EXPECT_EQ(rows[2][1].ToText(), QString::fromUtf8("Zoë Ångström"));
    EXPECT_DOUBLE_EQ(rows[0][3].ToDouble(), 1.68);
    ASSERT_NE(rows[0][2].Get<DateValue>(), nullptr);
    EXPECT_EQ(OleDatePart(rows[0][2].Get<DateValue>()->Days), QDate(1970, 3, 15));
    EXPECT_TRUE(rows[2][2].IsNull());
    EXPECT_TRUE(rows[2][4].IsNull());
    EXPECT_TRUE(rows[1][6].IsNull()) << "a Null stays Null";
    EXPECT_FALSE(rows[3][6].IsNull()) << "an empty text is not Null";
    EXPECT_EQ(rows[0][4].ToDouble(), 52000.5);
}

TEST_P(OdbcSourceTest, LongTextsComeWhole)
{
    const QString longText = QString(5000, u'x') + QString::fromUtf8("ß-end");
    {
        Connection db(m_text);
        db.Execute({QStringLiteral("UPDATE \"People\" SET \"Notes\" = ? WHERE \"Id\" = 4"), {Variant(longText)}});
    }
    bool found = false;
    for (const DataRow &row : Rows({})) {
        if (row[0].ToLong() == 4) {
            EXPECT_EQ(row[6].ToText(), longText);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST_P(OdbcSourceTest, BinaryColumnsComeAsBytes)
{
    Connection db(m_text);
    const QString blob = Postgres() ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    const QString small = Postgres() ? QStringLiteral("'\\x00ff10'::bytea") : QStringLiteral("X'00FF10'");
    // Larger than one piece of SQLGetData.
    const QString large = Postgres() ? QStringLiteral("decode(repeat('00', 5000), 'hex')") : QStringLiteral("zeroblob(5000)");
    for (const QString &sql : {QStringLiteral("DROP TABLE IF EXISTS \"Blobs\""),
                               QStringLiteral("CREATE TABLE \"Blobs\" (\"Id\" INTEGER, \"Data\" %1)").arg(blob),
                               QStringLiteral("INSERT INTO \"Blobs\" VALUES (1, %1), (2, NULL), (3, %2)").arg(small, large)})
        db.Execute({sql, {}});
    const QList<DataRow> rows = db.Execute(SelectStatement(QStringLiteral("Blobs"), {}, {}, db.Dialect()))->Fetch(10);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][1], Variant(QByteArray::fromHex("00ff10")));
    EXPECT_TRUE(rows[1][1].IsNull());
    EXPECT_EQ(rows[2][1], Variant(QByteArray(5000, '\0')));
}

TEST_P(OdbcSourceTest, FiltersMatchWhatTheirOperatorsSay)
{
    struct Case
    {
        const char *field;
        int op;
        const char *value;
        QStringList names;
    };
    const QString ann = QStringLiteral("Ann"), bob = QStringLiteral("Bob O'Neil"),
                  zoe = QString::fromUtf8("Zoë Ångström"), empty;
    const Case cases[] = {
        {"Id", 1, "2", {bob}},
        {"Id", 2, "2", {ann, zoe, empty}},
        {"Id", 3, "2", {zoe, empty}},
        {"Id", 4, "2", {bob, zoe, empty}},
        {"Id", 5, "2", {ann}},
        {"Id", 6, "2", {ann, bob}},
        {"Salary", 3, "50,000.00", {ann, empty}},
        {"Born", 5, "1/1/1980", {ann}},
        {"Name", 7, "b*", {bob}},
        {"Name", 1, "ANN", {ann}},
        {"Name", 3, "bob", {bob, zoe}},
        {"Name", 7, "*o'n*", {bob}},
        {"Notes", 8, "100%", {ann}},
        {"Notes", 8, "_", {zoe}},
        {"Name", 8, "x' OR '1'='1", {}},
        {"Name", 1, "'; DROP TABLE \"People\"; --", {}},
        {"Notes", 8, "'; DELETE FROM \"People\"; --", {}},
        {"Notes", 1, "", {bob, empty}},
        {"Notes", 2, "", {ann, zoe}},
        {"Born", 1, "", {zoe}},
        {"Odd \"Name\"", 1, "d", {empty}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Names(Rows({{Field(c.field), c.op, QString::fromUtf8(c.value)}})), c.names)
            << c.field << " " << c.op << " " << c.value;
    EXPECT_EQ(Rows({}).size(), 4) << "hostile values changed nothing";
    // Conditions together must all hold.
    EXPECT_EQ(Names(Rows({{Field("Id"), 3, QStringLiteral("1")}, {Field("Member"), 1, QStringLiteral("True")}})),
              QStringList{empty});
}

TEST_P(OdbcSourceTest, CountsDistinctValuesAndChosenFields)
{
    Connection db(m_text);
    const QList<Condition> members{{Field("Member"), 1, QStringLiteral("yes")}};
    EXPECT_EQ(db.Count(CountStatement(QStringLiteral("People"), {}, db.Dialect())), 4);
    EXPECT_EQ(db.Count(CountStatement(QStringLiteral("People"), members, db.Dialect())), 2);
    const QList<DataRow> born =
        db.Execute(DistinctStatement(QStringLiteral("People"), Field("Born"), {}, db.Dialect()))->Fetch(100);
    EXPECT_EQ(born.size(), 3) << "Nulls are no value of the list";
    const QList<DataRow> chosen = Rows({}, {Field("Name"), Field("Id")});
    ASSERT_EQ(chosen[0].size(), 2);
    EXPECT_EQ(chosen[0][0].ToText(), QStringLiteral("Ann"));
}

TEST_P(OdbcSourceTest, RefusesValuesOfTheWrongKind)
{
    const struct
    {
        const char *field;
        int op;
        const char *value;
    } cases[] = {{"Id", 1, "two"}, {"Born", 3, "someday"}, {"Member", 1, "maybe"}, {"Id", 3, ""}, {"Name", 9, "x"}};
    for (const auto &c : cases) {
        try {
            Rows({{Field(c.field), c.op, QString::fromUtf8(c.value)}});
            ADD_FAILURE() << c.field << " " << c.value << " was taken";
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), kErrorBadFilter);
            EXPECT_TRUE(e.Description().contains(QString::fromUtf8(c.field))) << e.what();
        }
    }
}

TEST_P(OdbcSourceTest, PagesAndCancel)
{
    Connection db(m_text);
    AddRows();
    auto cursor = db.Execute(SelectStatement(QStringLiteral("People"), {}, {}, db.Dialect()));
    EXPECT_EQ(cursor->Fetch(1000).size(), 1000);
    EXPECT_EQ(cursor->Fetch(1000).size(), 1000);
    std::thread other([&] { cursor->Cancel(); });
    other.join();
    EXPECT_TRUE(cursor->Fetch(1000).isEmpty());
    EXPECT_TRUE(cursor->Cancelled());
}

INSTANTIATE_TEST_SUITE_P(Drivers, OdbcSourceTest, ::testing::Values("sqlite", "postgres"),
                         [](const auto &info) { return std::string(info.param); });

TEST(OdbcSource, UnreachableSourcesSayWhyWithoutThePassword)
{
    const char *const texts[] = {
        "Provider=MSDASQL;DSN=NoSuchSource;UID=ann;PWD=secret",
        "Driver=NoSuchDriver;PWD=secret",
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a.mdb",
    };
    for (const char *text : texts) {
        try {
            Connection db(QString::fromUtf8(text));
            ADD_FAILURE() << text << " connected";
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), kErrorSourceUnreadable);
            EXPECT_FALSE(e.Description().contains(QStringLiteral("secret"))) << e.what();
            EXPECT_GT(e.Description().size(), 40) << e.what();
        }
    }
}

TEST(OdbcSource, NamedAndFileDataSources)
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("named.db"));
    {
        Connection db(QStringLiteral("Driver=SQLite3;Database=") + database);
        db.Execute({QStringLiteral("CREATE TABLE t (x INTEGER)"), {}});
        db.Execute({QStringLiteral("INSERT INTO t VALUES (7)"), {}});
    }
    QFile ini(dir.filePath(QStringLiteral("odbc.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Test Named]\nDescription=A test source\nDriver=SQLite3\nDatabase=" + database.toUtf8() + "\n");
    ini.close();
    const QByteArray previous = qgetenv("ODBCINI");
    qputenv("ODBCINI", ini.fileName().toLocal8Bit());
    const auto names = DataSourceNames(false);
    bool listed = false;
    for (const auto &[name, driver] : names)
        listed = listed || name == QStringLiteral("Test Named");
    EXPECT_TRUE(listed);
    {
        Connection named(BuildConnectionText(SourceUserDsn, QStringLiteral("Test Named"), {}, {}));
        EXPECT_EQ(named.Count({QStringLiteral("SELECT x FROM t"), {}}), 7);
    }
    qputenv("ODBCINI", previous);

    QFile dsn(dir.filePath(QStringLiteral("file source.dsn")));
    ASSERT_TRUE(dsn.open(QIODevice::WriteOnly));
    dsn.write("[ODBC]\nDriver=SQLite3\nDatabase=" + database.toUtf8() + "\n");
    dsn.close();
    EXPECT_EQ(FileDataSources(dir.path()), QStringList{dsn.fileName()});
    Connection fromFile(BuildConnectionText(SourceFileDsn, dsn.fileName(), {}, {}));
    EXPECT_EQ(fromFile.Tables(), QStringList{QStringLiteral("t")});
}

namespace {

// A recordset over the rows of a SELECT, as the data services hand one over.
std::shared_ptr<ado::Recordset> OpenPaged(const std::shared_ptr<OdbcRowSource> &source)
{
    auto rs = ado::Recordset::Create();
    for (const DataField &f : source->Fields())
        rs->Fields().Append(f.Name, f.Type, f.DefinedSize);
    rs->Open(source);
    return rs;
}

} // namespace

TEST_P(OdbcSourceTest, RecordsetOverPagesKnowsItsCountBeforeWalking)
{
    AddRows();
    const SqlDialect dialect;
    const auto select = SelectStatement(QStringLiteral("People"), {}, {}, dialect);
    const auto count = CountStatement(QStringLiteral("People"), {}, dialect);

    auto rs = OpenPaged(std::make_shared<OdbcRowSource>(m_text, select, count, 128));
    EXPECT_EQ(rs->RecordCount(), 3004);
    qint64 walked = 0;
    qint64 idSum = 0;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext()) {
        ++walked;
        idSum += rs->Fields()[0].Value().ToLong();
    }
    EXPECT_EQ(walked, 3004) << "no row lost at a page boundary";
    EXPECT_EQ(idSum, 1 + 2 + 3 + 4 + (100 + 3099) * 3000 / 2);

    auto preview = OpenPaged(std::make_shared<OdbcRowSource>(m_text, select, count, 128, 10));
    EXPECT_EQ(preview->RecordCount(), 10);
    preview->MoveLast();
    EXPECT_EQ(preview->Fields()[1].Value().ToText(), QStringLiteral("Row 5"));

    auto source = std::make_shared<OdbcRowSource>(m_text, select, count, 100);
    auto cancelled = OpenPaged(source);
    cancelled->MoveFirst();
    EXPECT_EQ(cancelled->Fields()[0].Value().ToLong(), 1); // brings the first page
    std::thread([&] { source->Cancel(); }).join();
    cancelled->MoveLast();
    EXPECT_LT(cancelled->RecordCount(), 3004);
    EXPECT_GE(cancelled->RecordCount(), 100);
}

TEST_P(OdbcSourceTest, PagedSourceReportsWhatWentWrong)
{
    const SqlStatement broken{QStringLiteral("SELECT * FROM \"No Such Table\""), {}};
    OdbcRowSource source(m_text, broken, broken);
    try {
        source.Fields();
        ADD_FAILURE() << "a missing table was read";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorSourceUnreadable);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("No Such Table"))) << e.what();
    }
    EXPECT_EQ(source.TotalCount(), -1);
}

// A server of the test's own, stopped while a recordset is being walked:
// the walk ends in an error that says what happened, never a crash or a
// hang, and a source that is down says so when it is opened.
TEST(OdbcServer, StoppedDuringAFetch)
{
    QTemporaryDir state;
    const auto script = [&](const char *action) {
        QProcess run;
        run.start(QStringLiteral(QV_PGSERVER_SCRIPT), {QString::fromLatin1(action), state.path()});
        return run.waitForFinished(60000) && run.exitCode() == 0;
    };
    ASSERT_TRUE(script("start"));
    QFile port(state.filePath(QStringLiteral("port")));
    ASSERT_TRUE(port.open(QIODevice::ReadOnly));
    // Rows are fetched from a server-side cursor a hundred at a time, so
    // most of them are still on the server when it stops.
    const QString text = QStringLiteral("Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=%1;Database=postgres;"
                                        "UID=postgres;UseDeclareFetch=1;Fetch=100")
                             .arg(QString::fromLatin1(port.readAll().trimmed()));
    {
        Connection db(text);
        db.Execute({QStringLiteral("CREATE TABLE big AS SELECT g AS id, 'row ' || g AS name FROM generate_series(1, 200000) g"), {}});
    }
    const SqlDialect dialect;
    auto source = std::make_shared<OdbcRowSource>(text, SelectStatement(QStringLiteral("big"), {}, {}, dialect),
                                                  CountStatement(QStringLiteral("big"), {}, dialect), 100);
    auto rs = ado::Recordset::Create();
    for (const DataField &f : source->Fields())
        rs->Fields().Append(f.Name, f.Type, f.DefinedSize);
    rs->Open(source);
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields()[0].Value().ToLong(), 1);
    ASSERT_TRUE(script("stop"));
    qint64 walked = 0;
    try {
        for (; !rs->IsEOF(); rs->MoveNext())
            ++walked;
        ADD_FAILURE() << "all rows were walked after the server stopped";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorSourceUnreadable) << e.what();
        EXPECT_LT(walked, 200000);
    }
    try {
        Connection down(text);
        ADD_FAILURE() << "a stopped server was reached";
    } catch (const ComError &e) {
        EXPECT_EQ(e.Number(), kErrorSourceUnreadable);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("127.0.0.1")) || e.Description().contains(QStringLiteral("connect")))
            << e.what();
    }
}
