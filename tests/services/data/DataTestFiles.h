#pragma once

#include "automation/ComError.h"
#include "data/backends/ColumnTypes.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QString>

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

// Writes a generated workbook ("kinds", or "large" with a row count) to `path`.
inline bool MakeWorkbook(const QString &path, const QStringList &kind)
{
    QProcess process;
    process.start(QStringLiteral(QV_MAKE_WORKBOOK), QStringList{kind.value(0), path} + kind.mid(1));
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
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

} // namespace qv::data::test
