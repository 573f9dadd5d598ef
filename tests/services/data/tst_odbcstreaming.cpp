// ODBC sources as authors write them: rows stream without driver options,
// a cancel during a fetch is safe, and filters compare every letter without
// regard to case and keep a NUL as part of the value, on SQLite (whose SQL
// folds ASCII only) and PostgreSQL alike.
#include "DataTestFiles.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/odbc/OdbcConnection.h"
#include "data/backends/odbc/OdbcRowSource.h"

#include <QTemporaryDir>

#include <thread>

namespace qv::data::test {
namespace {

using odbc::Connection;

class OdbcLetters : public SqliteOrPostgres
{
protected:
    void SetUp() override
    {
        Connect("l.db");
        if (IsSkipped() || HasFatalFailure())
            return;
        Connection db(m_text);
        db.Execute({QStringLiteral("DROP TABLE IF EXISTS \"Letters\""), {}});
        db.Execute({QStringLiteral("CREATE TABLE \"Letters\" (\"Id\" INTEGER, \"Name\" VARCHAR(40))"), {}});
        const char *const names[] = {"Ann", "Zoë Ångström", "école", "ÉCOLE", "😀 smile", "Straſse", "ǅemal"};
        for (int i = 0; i < int(std::size(names)); ++i)
            db.Execute({QStringLiteral("INSERT INTO \"Letters\" VALUES (?, ?)"),
                        {Variant(double(i + 1)), Variant(QString::fromUtf8(names[i]))}});
    }

    RowsRequest Request(int op, const QString &value) const
    {
        RowsRequest request;
        request.Kind = SourceDsnLess;
        request.ConnectionText = m_text;
        request.Item = QStringLiteral("Letters");
        request.Fields = {QStringLiteral("Id")};
        Connection db(m_text);
        request.Conditions = {Condition{db.Columns(request.Item).value(1), op, value}};
        return request;
    }


};

// The ids of the rows a filter keeps, read page by page, and the count the
// source gives beside them.
struct Filtered
{
    QList<qint64> ids;
    qint64 count = -2;
};

Filtered ReadFiltered(const RowsRequest &request)
{
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    Filtered out;
    EXPECT_EQ(rows.Fields.size(), 1) << "the filter's own field is not shown";
    for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();) {
        for (const auto &row : page)
            out.ids << row.value(0).ToLong();
    }
    out.count = rows.Source->TotalCount();
    return out;
}

TEST_P(OdbcLetters, FiltersFoldEveryLetter)
{
    const struct
    {
        int op;
        const char *value;
        QList<qint64> ids;
    } cases[] = {
        {1, "zoë ångström", {2}},
        {1, "ÉCOLE", {3, 4}},
        {2, "école", {1, 2, 5, 6, 7}},
        {7, "éc*", {3, 4}},
        {7, "? smile", {5}},
        {7, "😀*", {5}},
        {8, "ÅNG", {2}},
        {8, "COL", {3, 4}},
        {1, "strasse", {6}},  // the long s folds to s
        {1, "ann", {1}},
        {1, "ǆemal", {7}},    // a title-case letter beyond ASCII
        {3, "y", {2, 3, 4, 5, 7}},
        {5, "b", {1}},
    };
    for (const auto &c : cases) {
        const Filtered got = ReadFiltered(Request(c.op, QString::fromUtf8(c.value)));
        EXPECT_EQ(got.ids, c.ids) << c.op << " " << c.value;
        EXPECT_EQ(got.count, c.ids.size()) << "the count of " << c.op << " " << c.value;
    }
}

TEST_P(OdbcLetters, NulIsPartOfTheValue)
{
    const QString withNul = QStringLiteral("Ann") + QChar(0) + QStringLiteral("x");
    // PostgreSQL keeps no NUL in a text; SQLite does, and its driver cut it.
    const bool stored = !Postgres();
    if (stored) {
        Connection db(m_text);
        db.Execute({QStringLiteral("INSERT INTO \"Letters\" VALUES (8, CAST(X'416E6E0078' AS TEXT))"), {}});
    }
    const QList<qint64> nulRow = stored ? QList<qint64>{8} : QList<qint64>{};
    for (int op : {1, 7, 8}) {
        const Filtered got = ReadFiltered(Request(op, withNul));
        EXPECT_EQ(got.ids, nulRow) << "operator " << op;
        EXPECT_EQ(got.count, nulRow.size());
    }
    EXPECT_EQ(ReadFiltered(Request(1, QStringLiteral("ann"))).ids, QList<qint64>{1}) << "\"Ann\\0x\" is not \"Ann\"";
    EXPECT_EQ(ReadFiltered(Request(7, QStringLiteral("ann"))).ids, QList<qint64>{1});
    EXPECT_EQ(ReadFiltered(Request(2, withNul)).ids.size(), 7);
    if (stored) {
        RowsRequest request = Request(1, withNul);
        request.Fields = {QStringLiteral("Name")};
        WorkControl control;
        const OpenedRows rows = OpenRows(request, control);
        EXPECT_EQ(rows.Source->FetchNextPage(), QList<ado::RowSource::Row>{{Variant(withNul)}}) << "read back whole";
        // A long one comes in pieces, each whole.
        const QString longText = QString(5000, QChar(0xE9)) + QChar(0) + QStringLiteral("z");
        Connection db(m_text);
        db.Execute({QStringLiteral("INSERT INTO \"Letters\" VALUES (9, CAST(X'%1' AS TEXT))")
                        .arg(QString::fromLatin1(longText.toUtf8().toHex())),
                    {}});
        request = Request(7, QStringLiteral("*z"));
        request.Fields = {QStringLiteral("Name")};
        const OpenedRows longRows = OpenRows(request, control);
        EXPECT_EQ(longRows.Source->FetchNextPage(), QList<ado::RowSource::Row>{{Variant(longText)}});
    }
}

TEST_P(OdbcLetters, ValueListsAndPreviewsAgreeWithTheFilteredRows)
{
    RowsRequest request = Request(7, QStringLiteral("éc*"));
    WorkControl control;
    bool cut = true;
    const QList<Variant> values =
        DistinctValues(request, request.Conditions[0].Field, true, 100, cut, control);
    QStringList texts;
    for (const Variant &v : values)
        texts << v.ToText();
    texts.sort(); // the order of two texts equal but for case is the database's
    EXPECT_EQ(texts, QStringList({QStringLiteral("ÉCOLE"), QStringLiteral("école")}));
    EXPECT_FALSE(cut);
    request.MaxRows = 1;
    EXPECT_EQ(ReadFiltered(request).ids, QList<qint64>{3}) << "a preview counts the rows that pass";
}

TEST_P(OdbcLetters, StreamsWithoutOptionsInTheText)
{
    EXPECT_TRUE(Connection(m_text).Streams()) << m_text.toStdString();
    const QString own = m_text + (Postgres() ? QStringLiteral(";UseDeclareFetch=0") : QStringLiteral(";StepAPI=0"));
    EXPECT_FALSE(Connection(own).Streams()) << "an option the author set is kept";
}

// A cancel lands while the reader fetches, 200 times, on a source that
// steps through its result: never a crash, and nothing more comes after.
TEST_P(OdbcLetters, CancelDuringASteppingFetch)
{
    {
        Connection db(m_text);
        db.Execute({QStringLiteral("INSERT INTO \"Letters\" (\"Id\", \"Name\") SELECT a.\"Id\" * 1000 + b.\"Id\" * 10"
                                   " + c.\"Id\", 'Row' FROM \"Letters\" a, \"Letters\" b, \"Letters\" c"),
                    {}});
    }
    Connection probe(m_text);
    const auto select = odbc::SelectStatement(QStringLiteral("Letters"), {}, {}, probe.Dialect());
    const auto count = odbc::CountStatement(QStringLiteral("Letters"), {}, probe.Dialect());
    for (int round = 0; round < 200; ++round) {
        if (round % 2 == 0) {
            auto source = std::make_shared<odbc::OdbcRowSource>(m_text, select, count, 7);
            ASSERT_FALSE(source->FetchNextPage().isEmpty());
            std::thread([&source] { source->Cancel(); }).join();
            EXPECT_TRUE(source->FetchNextPage().isEmpty());
            continue;
        }
        Connection db(m_text);
        auto cursor = db.Execute(select);
        std::thread fetcher([&cursor] {
            while (!cursor->Fetch(3).isEmpty()) {
            }
        });
        cursor->Cancel();
        fetcher.join();
        EXPECT_TRUE(cursor->Cancelled());
        EXPECT_TRUE(cursor->Fetch(10).isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, OdbcLetters, ::testing::Values("sqlite", "postgres"),
                         [](const auto &info) { return std::string(info.param); });

} // namespace
} // namespace qv::data::test
