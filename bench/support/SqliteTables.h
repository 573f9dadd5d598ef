#pragma once

#include "data/backends/odbc/OdbcConnection.h"

#include <QString>
#include <QTemporaryDir>

namespace qv::bench {

// The SQLite tables the ODBC benchmarks compare: a million rows against ten
// thousand of the same kind, made through the driver the benchmarks read
// with. Table "t": id, name, amount, born (a date) and city, with
// kSqliteCities distinct cities.
inline constexpr int kSqliteBigRows = 1000000;
inline constexpr int kSqliteSmallRows = 10000;
inline constexpr int kSqliteCities = 5000;

struct SqliteTables
{
    QTemporaryDir dir;
    QString big = Make(QStringLiteral("big.db"), kSqliteBigRows);
    QString small = Make(QStringLiteral("small.db"), kSqliteSmallRows);

    QString Make(const QString &name, int rows)
    {
        const QString path = dir.filePath(name);
        data::odbc::Connection db(QStringLiteral("Driver=SQLite3;SyncPragma=off;Database=") + path);
        db.Execute({QStringLiteral("CREATE TABLE t (id INTEGER, name VARCHAR(40), amount DOUBLE, born DATE, city VARCHAR(30))"), {}});
        db.Execute({QStringLiteral("INSERT INTO t WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                   "SELECT i, 'Name ' || i, i * 1.25, date('2000-01-01', '+' || (i % 9000) || ' days'), "
                                   "'City ' || ((i * 7919) % %2) FROM n")
                        .arg(rows - 1)
                        .arg(kSqliteCities),
                    {}});
        return path;
    }
};

} // namespace qv::bench
