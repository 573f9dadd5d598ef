// Names a SQLite database allows and a driver reports badly: a dot inside a
// table's or a column's name, letters beyond ASCII, a name past 255
// characters. Each is read under its true name, and a name that does not
// resolve is an error, never a text shown in every row.
#include "DataTestFiles.h"

#include "data/backends/odbc/OdbcConnection.h"

#include <QTemporaryDir>

namespace qv::data::test {
namespace {

using odbc::Connection;

class OdbcNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_text = QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + m_dir.filePath(QStringLiteral("names.db"));
        Connection db(m_text);
        for (const QString &sql :
             {QStringLiteral("CREATE TABLE \"a.b\" (\"x\" INTEGER)"), QStringLiteral("INSERT INTO \"a.b\" VALUES (41)"),
              QStringLiteral("CREATE TABLE \"t\" (\"ünï\" VARCHAR(10), \"%1\" INTEGER, \"a.b\" INTEGER, \"c`d\" INTEGER)")
                  .arg(kLong),
              QStringLiteral("INSERT INTO \"t\" VALUES ('u', 7, 5, 9)")})
            db.Execute({sql, {}});
    }

    QList<DataRow> Read(Connection &db, const QString &item, const QList<DataField> &fields)
    {
        return db.Execute(odbc::SelectStatement(item, fields, {}, db.Dialect()))->Fetch(10);
    }

    const QString kLong = QString(300, u'n');
    QTemporaryDir m_dir;
    QString m_text;
};

TEST_F(OdbcNames, TableWithADotIsListedAndRead)
{
    Connection db(m_text);
    EXPECT_TRUE(db.Tables().contains(QStringLiteral("a.b")));
    const QList<DataField> fields = db.Columns(QStringLiteral("a.b"));
    ASSERT_EQ(fields.size(), 1);
    EXPECT_EQ(Read(db, QStringLiteral("a.b"), fields), QList<DataRow>({{Variant(qint32(41))}}));
}

TEST_F(OdbcNames, ColumnsComeWithTheirTrueNamesAndValues)
{
    Connection db(m_text);
    const QList<DataField> fields = db.Columns(QStringLiteral("t"));
    QStringList names;
    for (const DataField &f : fields)
        names << f.Name;
    EXPECT_EQ(names, QStringList({QStringLiteral("ünï"), kLong, QStringLiteral("a.b"), QStringLiteral("c`d")}));
    const QList<DataRow> rows = Read(db, QStringLiteral("t"), fields);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].ToText(), QStringLiteral("u"));
    EXPECT_EQ(rows[0][1].ToLong(), 7);
    EXPECT_EQ(rows[0][2].ToLong(), 5) << "the value, not the column's name";
    EXPECT_EQ(rows[0][3].ToLong(), 9);
}

TEST_F(OdbcNames, NameThatDoesNotResolveIsAnError)
{
    Connection db(m_text);
    const QString message = ErrorOf([&] { Read(db, QStringLiteral("t"), {DataField{QStringLiteral("b")}}); });
    EXPECT_TRUE(message.contains(u"no such column: b")) << message.toStdString();
}

} // namespace
} // namespace qv::data::test
