// Names a database allows and a driver reports badly: a dot inside a
// table's or a column's name, letters beyond ASCII, a name past 255
// characters (SQLite; PostgreSQL's longest is 63 bytes), quote characters.
// Each is read under its true name, and a name that does not resolve is an
// error, never a text shown in every row; on SQLite and on PostgreSQL.
#include "DataTestFiles.h"

#include "data/backends/odbc/OdbcConnection.h"

#include <QTemporaryDir>

namespace qv::data::test {
namespace {

using odbc::Connection;

class OdbcNames : public SqliteOrPostgres
{
protected:
    void SetUp() override
    {
        Connect("names.db");
        if (IsSkipped() || HasFatalFailure())
            return;
        if (Postgres())
            m_longName = QString(63, u'n');
        Connection db(m_text);
        for (const QString &sql :
             {QStringLiteral("DROP TABLE IF EXISTS \"a.b\""), QStringLiteral("DROP TABLE IF EXISTS \"t\""),
              QStringLiteral("CREATE TABLE \"a.b\" (\"x\" INTEGER)"), QStringLiteral("INSERT INTO \"a.b\" VALUES (41)"),
              QStringLiteral("CREATE TABLE \"t\" (\"ünï\" VARCHAR(10), \"%1\" INTEGER, \"a.b\" INTEGER, \"c`d\" INTEGER,"
                             " \"e\"\"f\" INTEGER)")
                  .arg(m_longName),
              QStringLiteral("INSERT INTO \"t\" VALUES ('u', 7, 5, 9, 3)")})
            db.Execute({sql, {}});
    }

    // The dotted table as the source lists it: qualified where it has schemas.
    QString DottedTable() const { return Postgres() ? QStringLiteral("public.a.b") : QStringLiteral("a.b"); }

    QList<DataRow> Read(Connection &db, const QString &item, const QList<DataField> &fields)
    {
        return db.Execute(odbc::SelectStatement(item, fields, {}, db.Dialect()))->Fetch(10);
    }

    QString m_longName = QString(300, u'n');
};

TEST_P(OdbcNames, TableWithADotIsListedAndRead)
{
    Connection db(m_text);
    EXPECT_TRUE(db.Tables().contains(DottedTable())) << db.Tables().join(u',').toStdString();
    const QList<DataField> fields = db.Columns(DottedTable());
    ASSERT_EQ(fields.size(), 1);
    EXPECT_EQ(Read(db, DottedTable(), fields), QList<DataRow>({{Variant(qint32(41))}}));
}

TEST_P(OdbcNames, ColumnsComeWithTheirTrueNamesAndValues)
{
    Connection db(m_text);
    const QList<DataField> fields = db.Columns(QStringLiteral("t"));
    QStringList names;
    for (const DataField &f : fields)
        names << f.Name;
    EXPECT_EQ(names, QStringList({QStringLiteral("ünï"), m_longName, QStringLiteral("a.b"), QStringLiteral("c`d"),
                                  QStringLiteral("e\"f")}));
    const QList<DataRow> rows = Read(db, QStringLiteral("t"), fields);
    ASSERT_EQ(rows.size(), 1);
    ASSERT_EQ(rows[0].size(), 5);
    EXPECT_EQ(rows[0][0].ToText(), QStringLiteral("u"));
    EXPECT_EQ(rows[0][1].ToLong(), 7);
    EXPECT_EQ(rows[0][2].ToLong(), 5) << "the value, not the column's name";
    EXPECT_EQ(rows[0][3].ToLong(), 9);
    EXPECT_EQ(rows[0][4].ToLong(), 3);
}

TEST_P(OdbcNames, NameThatDoesNotResolveIsAnError)
{
    Connection db(m_text);
    const QString message = ErrorOf([&] { Read(db, QStringLiteral("t"), {DataField{QStringLiteral("b")}}); });
    const QString expected = Postgres() ? QStringLiteral("column \"b\" does not exist") : QStringLiteral("no such column: b");
    EXPECT_TRUE(message.contains(expected)) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Drivers, OdbcNames, ::testing::Values("sqlite", "postgres"),
                         [](const auto &info) { return std::string(info.param); });

} // namespace
} // namespace qv::data::test
