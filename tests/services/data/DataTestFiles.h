#pragma once

#include "GeneratedWorkbooks.h"

#include "automation/ComError.h"
#include "data/backends/ColumnTypes.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace qv::data::test {

// A file of the shared real-data folder, by its path below it ("excel/x.xlsx").
inline QString SharedFile(const char *relative)
{
    return QStringLiteral(QV_SHARED_DATA "/") + QString::fromUtf8(relative);
}

// The value of a field in a row as text, "<null>" for Null.
inline QString ValueText(const DataTable &table, qsizetype row, const QString &field)
{
    const int column = table.FieldIndex(field);
    if (column < 0 || row >= table.Rows.size())
        return QStringLiteral("<no such cell>");
    const Variant &value = table.Rows[row][column];
    return value.IsNull() ? QStringLiteral("<null>") : CellText(value);
}

// The connection text of the PostgreSQL server ctest starts for the run
// (tests/support/pgserver.sh), with no driver options, as an author writes
// one; "" when no server runs.
inline QString PostgresText()
{
    QFile port(qEnvironmentVariable("QV_PG_STATE") + QStringLiteral("/port"));
    if (!port.open(QIODevice::ReadOnly))
        return {};
    return QStringLiteral("Driver=PostgreSQL Unicode;Server=127.0.0.1;Port=%1;Database=postgres;UID=postgres")
        .arg(QString::fromLatin1(port.readAll().trimmed()));
}

// Runs `call`, which must raise a ComError; returns its description.
template<typename Call>
QString ErrorOf(Call call)
{
    try {
        call();
    } catch (const ComError &error) {
        return error.Description();
    }
    return QStringLiteral("<no error>");
}

// A test run once on a SQLite file of its own and once on the PostgreSQL
// server the suite starts ("sqlite" or "postgres" as the parameter); the
// PostgreSQL run is skipped outside ctest.
class SqliteOrPostgres : public ::testing::TestWithParam<const char *>
{
protected:
    bool Postgres() const { return QLatin1String(GetParam()) == QLatin1String("postgres"); }
    // Sets m_text, or skips the test (IsSkipped()).
    void Connect(const char *sqliteFile)
    {
        ASSERT_TRUE(m_dir.isValid());
        if (!Postgres()) {
            m_text = QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + m_dir.filePath(QString::fromLatin1(sqliteFile));
            return;
        }
        m_text = PostgresText();
        if (m_text.isEmpty())
            GTEST_SKIP() << "no PostgreSQL server: run the tests through ctest (./qv test -R test_data)";
    }

    QTemporaryDir m_dir;
    QString m_text;
};

} // namespace qv::data::test
