#pragma once

#include "data/backends/DataTable.h"

#include <QList>
#include <QString>

namespace qv::data {

// One condition of a data view's filter: a field, an operator code (1 "=",
// 2 "<>", 3 ">", 4 ">=", 5 "<", 6 "<=", 7 "like", 8 "contains") and the value
// as the author typed it, under the current locale. All conditions of a view
// must hold.
struct Condition
{
    DataField Field;
    int Operator = 1;
    QString Value;
};

// A filter that cannot be applied: a value of the wrong kind for its field,
// an unknown operator, or a comparison without a value.
inline constexpr qint32 kErrorBadFilter = qint32(0x80040E07);

// The operator code of a stored operator text ("=", "<>", ">", ">=", "<",
// "<=", "like", "contains", compared without regard to case); 0 for any other.
int OperatorCode(const QString &storedText);

// The text a "contains" condition looks for: its stored value less the one
// '%' a custom filter puts at either end.
QString ContainedText(const QString &storedValue);

enum class ValueKind { Text, Number, Date, Boolean };
ValueKind KindOfAdoType(int adoType);

// The condition's value as the field's kind (a Double, a Date, a Boolean or
// the text); raises kErrorBadFilter when it does not read as that kind.
Variant ConditionValue(const Condition &condition);
// Raises kErrorBadFilter naming the condition's field and `why`.
[[noreturn]] void RaiseBadFilter(const Condition &condition, const QString &why);

// Evaluates conditions over rows held in memory (the file sources), with the
// meaning the SQL sources give them: text compared without regard to case,
// "like" with * ? % _ wildcards, "contains" literally, "=" and "<>" with a
// blank value testing for Null or empty.
class RowMatcher
{
public:
    // `fields` are the row's fields; conditions on a field the rows lack raise.
    RowMatcher(const QList<DataField> &fields, const QList<Condition> &conditions);
    bool Matches(const DataRow &row) const;

private:
    struct Test;
    QList<std::shared_ptr<const Test>> m_tests;
};

} // namespace qv::data
