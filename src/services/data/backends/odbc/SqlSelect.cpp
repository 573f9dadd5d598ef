#include "SqlSelect.h"

#include <QStringList>

#include <algorithm>

namespace qv::data::odbc {
namespace {

// "*" and "?" as the author types them become SQL's "%" and "_".
QString LikePattern(const QString &value)
{
    QString pattern = value.toUpper();
    pattern.replace(u'*', u'%').replace(u'?', u'_');
    return pattern;
}

QString ContainsPattern(const QString &value)
{
    QString escaped;
    for (const QChar c : value.toUpper()) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

bool IsPlainAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0 && c.unicode() < 128; });
}

// A text field as UPPER reads it. Where UPPER knows ASCII only, the two
// letters beyond ASCII that fold to ASCII ones (long s, Kelvin sign) are
// first made those, so that a comparison with an ASCII value is exact.
QString Upper(const QString &field, const SqlDialect &dialect)
{
    if (!dialect.FoldsAsciiOnly)
        return QStringLiteral("UPPER(%1)").arg(field);
    return QStringLiteral("UPPER(REPLACE(REPLACE(%1, '\u017F', 's'), '\u212A', 'k'))").arg(field);
}

QString Clause(const Condition &c, const SqlDialect &dialect, QList<Variant> &parameters)
{
    static const char *const comparisons[] = {"=", "<>", ">", ">=", "<", "<="};
    const QString field = QuoteIdentifier(c.Field.Name, dialect);
    const bool text = KindOfAdoType(c.Field.Type) == ValueKind::Text;
    // Text fields are compared as text: a filter on a text column must not
    // depend on the database's own casts.
    const QString asText = text ? field : QStringLiteral("CAST(%1 AS VARCHAR(255))").arg(field);
    if (c.Value.trimmed().isEmpty()) {
        if (c.Operator == 1)
            return text ? QStringLiteral("(%1 IS NULL OR %1 = '')").arg(field) : field + QStringLiteral(" IS NULL");
        if (c.Operator == 2)
            return text ? QStringLiteral("(%1 IS NOT NULL AND %1 <> '')").arg(field)
                        : field + QStringLiteral(" IS NOT NULL");
        RaiseBadFilter(c, QStringLiteral("this operator needs a value"));
    }
    if (c.Operator >= 1 && c.Operator <= 6) {
        // Texts compare without regard to case, as they do in the file sources
        // and in the author's eyes ("leeds" finds Leeds).
        if (text) {
            parameters.append(Variant(c.Value.toUpper()));
            return Upper(field, dialect) + u' ' + QLatin1String(comparisons[c.Operator - 1]) + QStringLiteral(" ?");
        }
        parameters.append(ConditionValue(c));
        return field + u' ' + QLatin1String(comparisons[c.Operator - 1]) + QStringLiteral(" ?");
    }
    if (c.Operator == 7) {
        parameters.append(Variant(LikePattern(c.Value)));
        return (text ? Upper(field, dialect) : QStringLiteral("UPPER(%1)").arg(asText)) + QStringLiteral(" LIKE ?");
    }
    if (c.Operator == 8) {
        parameters.append(Variant(ContainsPattern(ContainedText(c.Value))));
        return (text ? Upper(field, dialect) : QStringLiteral("UPPER(%1)").arg(asText))
               + QStringLiteral(" LIKE ? ESCAPE '\\'");
    }
    RaiseBadFilter(c, QStringLiteral("operator %1 is unknown").arg(c.Operator));
}

// Whether a select reads the field as bytes: a text, where the driver cuts
// texts at a NUL.
bool ReadAsBytes(const DataField &field, const SqlDialect &dialect)
{
    return dialect.CutsTextAtNul && KindOfAdoType(field.Type) == ValueKind::Text;
}

QString SelectedColumn(const DataField &field, const SqlDialect &dialect)
{
    const QString name = QuoteIdentifier(field.Name, dialect);
    return ReadAsBytes(field, dialect) ? QStringLiteral("CAST(%1 AS BLOB) AS %1").arg(name) : name;
}

QString Where(const QList<Condition> &conditions, const SqlDialect &dialect, QList<Variant> &parameters)
{
    QStringList clauses;
    for (const Condition &c : conditions)
        clauses << Clause(c, dialect, parameters);
    return clauses.isEmpty() ? QString() : QStringLiteral(" WHERE ") + clauses.join(QStringLiteral(" AND "));
}

} // namespace

QList<Condition> ConditionsAfterQuery(const QList<Condition> &conditions, const SqlDialect &dialect,
                                      QList<Condition> &inSql)
{
    QList<Condition> after;
    inSql.clear();
    for (const Condition &c : conditions) {
        const bool text = KindOfAdoType(c.Field.Type) == ValueKind::Text;
        const bool blank = c.Value.trimmed().isEmpty();
        const bool equality = c.Operator == 1 || c.Operator == 2;
        const bool folded = dialect.FoldsAsciiOnly && text && !blank && (!equality || !IsPlainAscii(c.Value));
        if (c.Value.contains(QChar(0)) || folded)
            after << c;
        else
            inSql << c;
    }
    return after;
}

QString QuoteIdentifier(const QString &name, const SqlDialect &dialect)
{
    if (dialect.Quote.isNull() || dialect.Quote.isSpace())
        return name;
    QString doubled = name;
    doubled.replace(dialect.Quote, QString(2, dialect.Quote));
    return dialect.Quote + doubled + dialect.Quote;
}

QString QuoteTable(const QString &item, const SqlDialect &dialect)
{
    const qsizetype dot = dialect.Schemas ? item.indexOf(u'.') : -1;
    if (dot <= 0 || dot == item.size() - 1)
        return QuoteIdentifier(item, dialect);
    return QuoteIdentifier(item.left(dot), dialect) + u'.' + QuoteIdentifier(item.mid(dot + 1), dialect);
}

SqlStatement SelectStatement(const QString &item, const QList<DataField> &fields,
                             const QList<Condition> &conditions, const SqlDialect &dialect)
{
    QStringList columns;
    SqlStatement s;
    for (const DataField &f : fields) {
        if (ReadAsBytes(f, dialect))
            s.TextColumnsAsBytes << columns.size();
        columns << SelectedColumn(f, dialect);
    }
    s.Sql = QStringLiteral("SELECT ") + (columns.isEmpty() ? QStringLiteral("*") : columns.join(QStringLiteral(", ")))
            + QStringLiteral(" FROM ") + QuoteTable(item, dialect);
    s.Sql += Where(conditions, dialect, s.Parameters);
    return s;
}

SqlStatement CountStatement(const QString &item, const QList<Condition> &conditions, const SqlDialect &dialect)
{
    SqlStatement s;
    s.Sql = QStringLiteral("SELECT COUNT(*) FROM ") + QuoteTable(item, dialect);
    s.Sql += Where(conditions, dialect, s.Parameters);
    return s;
}

SqlStatement DistinctStatement(const QString &item, const DataField &field, const QList<Condition> &conditions,
                               const SqlDialect &dialect, bool sorted)
{
    const QString column = QuoteIdentifier(field.Name, dialect);
    SqlStatement s;
    QList<Condition> all = conditions;
    QString where = Where(all, dialect, s.Parameters);
    where += (where.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + column
             + QStringLiteral(" IS NOT NULL");
    const QString order = sorted ? QStringLiteral(" ORDER BY ") : QString();
    if (!ReadAsBytes(field, dialect)) {
        s.Sql = QStringLiteral("SELECT DISTINCT %1 FROM %2").arg(column, QuoteTable(item, dialect)) + where;
        if (sorted)
            s.Sql += order + column;
        return s;
    }
    // The values are made bytes after DISTINCT: casting every row first
    // doubled the time of a value list over a large table.
    s.TextColumnsAsBytes << 0;
    s.Sql = QStringLiteral("SELECT CAST(v AS BLOB) AS %1 FROM (SELECT DISTINCT %1 AS v FROM %2%3)")
                .arg(column, QuoteTable(item, dialect), where);
    if (sorted)
        s.Sql += order + QStringLiteral("v");
    return s;
}

} // namespace qv::data::odbc
