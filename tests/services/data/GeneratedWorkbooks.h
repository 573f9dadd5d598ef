#pragma once

// Workbooks written by the generator of the tests (MakeWorkbook.cpp), in a
// process of its own: libxlsxwriter and QuaZip cannot share one. Needs
// QV_MAKE_WORKBOOK, the generator's path.

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace qv::data::test {

// Writes a generated workbook ("kinds", or "large" with a row count) to `path`.
inline bool MakeWorkbook(const QString &path, const QStringList &kind)
{
    QProcess process;
    process.start(QStringLiteral(QV_MAKE_WORKBOOK), QStringList{kind.value(0), path} + kind.mid(1));
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The generated order sheet "Orders" of `rows` records and 10 columns,
// written once a process; "" when it could not be written.
inline QString OrdersWorkbook(int rows)
{
    static QTemporaryDir dir;
    static QHash<int, QString> written;
    if (!written.contains(rows)) {
        const QString file = dir.filePath(QStringLiteral("orders-%1.xlsx").arg(rows));
        written.insert(rows, MakeWorkbook(file, {QStringLiteral("large"), QString::number(rows)}) ? file : QString());
    }
    return written.value(rows);
}

} // namespace qv::data::test
