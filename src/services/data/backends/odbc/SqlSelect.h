#pragma once

#include "data/Conditions.h"

#include <QList>
#include <QString>

#include <utility>

namespace qv::data::odbc {

using data::Condition;

// A statement with its parameters, in the order of the '?' markers. Values
// are never written into the SQL text.
struct SqlStatement
{
    SqlStatement(QString sql = {}, QList<Variant> parameters = {})
        : Sql(std::move(sql)), Parameters(std::move(parameters))
    {
    }

    QString Sql;
    QList<Variant> Parameters;
    // The result's columns (from 0) that the SQL reads as bytes: texts the
    // driver would cut at a NUL, read whole and decoded from UTF-8.
    QList<qsizetype> TextColumnsAsBytes;
};

// How the source's SQL quotes names: the driver's identifier quote character
// (none when it is blank) and its catalog separator.
struct SqlDialect
{
    QChar Quote = u'"';
    // Whether the source has schemas: where it has none (SQLite), a dot in
    // an item is part of the table's name.
    bool Schemas = true;
    // Whether the database's UPPER and LIKE know the case of ASCII letters
    // only, and LIKE ends a text at a NUL (SQLite): such comparisons are
    // then made after the query.
    bool FoldsAsciiOnly = false;
    // Whether the driver cuts a text at a NUL (SQLite's): texts are then
    // selected as bytes.
    bool CutsTextAtNul = false;
};

// Splits `conditions` into those the SQL of `dialect` decides exactly as
// RowMatcher does (into `inSql`) and those left to a RowMatcher over the
// rows read, which it returns: a value holding NUL (drivers cut it there),
// and where the database folds ASCII only, a text compared with a value
// beyond ASCII, by order or by pattern.
QList<Condition> ConditionsAfterQuery(const QList<Condition> &conditions, const SqlDialect &dialect,
                                      QList<Condition> &inSql);

// "name" quoted for the dialect, a quote inside doubled.
QString QuoteIdentifier(const QString &name, const SqlDialect &dialect);

// A table or view name as the data item lists it ("orders" or
// "sales.orders"), quoted part by part: split at its first dot where the
// source has schemas, whole where it has none.
QString QuoteTable(const QString &item, const SqlDialect &dialect);

// SELECT of `fields` (all when empty) from `item` under `conditions`.
// Raises kErrorBadFilter for a value that does not suit its field's type or
// an operator that takes no blank value given one.
SqlStatement SelectStatement(const QString &item, const QList<DataField> &fields,
                             const QList<Condition> &conditions, const SqlDialect &dialect);

// SELECT COUNT(*) of the same rows.
SqlStatement CountStatement(const QString &item, const QList<Condition> &conditions, const SqlDialect &dialect);

// SELECT DISTINCT of one field, Nulls left out, in its order when `sorted`.
SqlStatement DistinctStatement(const QString &item, const DataField &field, const QList<Condition> &conditions,
                               const SqlDialect &dialect, bool sorted = true);

} // namespace qv::data::odbc
