#pragma once

#include "data/backends/DataTable.h"

#include <QList>
#include <QString>

namespace qv::data::odbc {

// One condition of a data view's filter: a field, an operator code (1 "=",
// 2 "<>", 3 ">", 4 ">=", 5 "<", 6 "<=", 7 "like", 8 "contains") and the value
// as the author typed it, under the current locale. All conditions must hold.
struct Condition
{
    DataField Field;
    int Operator = 1;
    QString Value;
};

// A statement with its parameters, in the order of the '?' markers. Values
// are never written into the SQL text.
struct SqlStatement
{
    QString Sql;
    QList<Variant> Parameters;
};

// How the source's SQL quotes names: the driver's identifier quote character
// (none when it is blank) and its catalog separator.
struct SqlDialect
{
    QChar Quote = u'"';
};

// "name" quoted for the dialect, a quote inside doubled.
QString QuoteIdentifier(const QString &name, const SqlDialect &dialect);

// A table or view name as the data item lists it ("orders" or
// "sales.orders"), quoted part by part.
QString QuoteTable(const QString &item, const SqlDialect &dialect);

// SELECT of `fields` (all when empty) from `item` under `conditions`.
// Raises kErrorBadFilter for a value that does not suit its field's type or
// an operator that takes no blank value given one.
SqlStatement SelectStatement(const QString &item, const QList<DataField> &fields,
                             const QList<Condition> &conditions, const SqlDialect &dialect);

// SELECT COUNT(*) of the same rows.
SqlStatement CountStatement(const QString &item, const QList<Condition> &conditions, const SqlDialect &dialect);

// SELECT DISTINCT of one field, in its order, Nulls left out.
SqlStatement DistinctStatement(const QString &item, const DataField &field, const QList<Condition> &conditions,
                               const SqlDialect &dialect);

// A filter that cannot be applied: a value of the wrong kind for its field.
inline constexpr qint32 kErrorBadFilter = qint32(0x80040E07);

} // namespace qv::data::odbc
