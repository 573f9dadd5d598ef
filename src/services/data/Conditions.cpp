#include "Conditions.h"

#include "automation/ComError.h"
#include "automation/DateText.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"

#include <QRegularExpression>

namespace qv::data {

int OperatorCode(const QString &storedText)
{
    static const char *const texts[] = {"=", "<>", ">", ">=", "<", "<=", "like", "contains"};
    const QString text = storedText.trimmed();
    for (int i = 0; i < 8; ++i) {
        if (text.compare(QLatin1String(texts[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

QString ContainedText(const QString &storedValue)
{
    QString text = storedValue;
    if (text.startsWith(u'%'))
        text.remove(0, 1);
    if (text.endsWith(u'%'))
        text.chop(1);
    return text;
}

ValueKind KindOfAdoType(int adoType)
{
    switch (adoType) {
    case ado::adDate: case 133: case 134: case 135:
        return ValueKind::Date;
    case ado::adBoolean:
        return ValueKind::Boolean;
    case 2: case 3: case 4: case 5: case 6: case 14: case 16: case 17: case 18: case 19: case 20: case 21:
    case 131: case 139:
        return ValueKind::Number;
    default:
        return ValueKind::Text;
    }
}

void RaiseBadFilter(const Condition &condition, const QString &why)
{
    throw ComError(kErrorBadFilter, QString::fromLatin1(kDataSource),
                   QStringLiteral("The filter on '%1' cannot be applied: %2.").arg(condition.Field.Name, why));
}

Variant ConditionValue(const Condition &c)
{
    const LocaleFacts &facts = CurrentLocaleFacts();
    const QString value = c.Value.trimmed();
    switch (KindOfAdoType(c.Field.Type)) {
    case ValueKind::Number: {
        NumberDigits n;
        if (!ParseNumberText(value, facts, n))
            RaiseBadFilter(c, QStringLiteral("'%1' is not a number").arg(value));
        return Variant(n.ToDouble());
    }
    case ValueKind::Date: {
        double days = 0;
        if (!ParseDateText(value, facts, days))
            RaiseBadFilter(c, QStringLiteral("'%1' is not a date").arg(value));
        return Variant(DateValue{days});
    }
    case ValueKind::Boolean: {
        const QString lower = value.toLower();
        if (lower == u"true" || lower == u"yes" || lower == u"on" || lower == u"-1" || lower == u"1")
            return Variant(true);
        if (lower == u"false" || lower == u"no" || lower == u"off" || lower == u"0")
            return Variant(false);
        RaiseBadFilter(c, QStringLiteral("'%1' is neither true nor false").arg(value));
    }
    case ValueKind::Text:
        break;
    }
    return Variant(c.Value);
}

namespace {

// A comparable form of a cell: a number for numbers, dates and Booleans,
// the case-folded text otherwise.
struct Key
{
    bool isNumber = false;
    double number = 0;
    QString text;
};

Key KeyOf(const Variant &v, ValueKind kind)
{
    Key k;
    if (kind != ValueKind::Text) {
        if (const DateValue *d = v.Get<DateValue>()) {
            k.isNumber = true;
            k.number = d->Days;
            return k;
        }
        if (const bool *b = v.Get<bool>()) {
            k.isNumber = true;
            k.number = *b ? -1 : 0;
            return k;
        }
        if (v.IsNumeric()) {
            k.isNumber = true;
            k.number = v.ToDouble();
            return k;
        }
    }
    k.text = v.ToText().toCaseFolded();
    return k;
}

int Compare(const Key &a, const Key &b)
{
    if (a.isNumber && b.isNumber)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    const QString at = a.isNumber ? QString::number(a.number) : a.text;
    const QString bt = b.isNumber ? QString::number(b.number) : b.text;
    return at.compare(bt);
}

// A like pattern as an expression, read a code point at a time: a character
// outside the first plane is one character to '?' and is escaped whole, where
// escaping its halves apart made an expression that never matched.
QRegularExpression LikeExpression(const QString &value)
{
    QString pattern;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'*' || c == u'%')
            pattern += QStringLiteral(".*");
        else if (c == u'?' || c == u'_')
            pattern += u'.';
        else if (c.isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate())
            pattern += QRegularExpression::escape(value.mid(i++, 2));
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

struct RowMatcher::Test
{
    qsizetype column = 0;
    int op = 1;
    ValueKind kind = ValueKind::Text;
    bool blank = false;
    Key key;
    QString needle; // contains
    QRegularExpression like;

    bool Holds(const Variant &cell) const
    {
        const bool empty = cell.IsNull() || cell.IsEmpty() || cell.ToText().isEmpty();
        if (blank)
            return op == 1 ? empty : !empty;
        if (cell.IsNull() || cell.IsEmpty())
            return false; // as in SQL, Null satisfies no comparison
        switch (op) {
        case 7: return like.match(cell.ToText()).hasMatch();
        case 8: return cell.ToText().contains(needle, Qt::CaseInsensitive);
        default: break;
        }
        const int order = Compare(KeyOf(cell, kind), key);
        switch (op) {
        case 1: return order == 0;
        case 2: return order != 0;
        case 3: return order > 0;
        case 4: return order >= 0;
        case 5: return order < 0;
        default: return order <= 0;
        }
    }
};

RowMatcher::RowMatcher(const QList<DataField> &fields, const QList<Condition> &conditions)
{
    for (const Condition &c : conditions) {
        auto test = std::make_shared<Test>();
        test->column = -1;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (fields[i].Name.compare(c.Field.Name, Qt::CaseInsensitive) == 0) {
                test->column = i;
                break;
            }
        }
        if (test->column < 0)
            RaiseBadFilter(c, QStringLiteral("the data item has no such field"));
        if (c.Operator < 1 || c.Operator > 8)
            RaiseBadFilter(c, QStringLiteral("operator %1 is unknown").arg(c.Operator));
        test->op = c.Operator;
        test->kind = KindOfAdoType(c.Field.Type);
        test->blank = c.Value.trimmed().isEmpty();
        if (test->blank && c.Operator > 2)
            RaiseBadFilter(c, QStringLiteral("this operator needs a value"));
        if (!test->blank) {
            if (c.Operator == 7)
                test->like = LikeExpression(c.Value);
            else if (c.Operator == 8)
                test->needle = ContainedText(c.Value);
            else
                test->key = KeyOf(ConditionValue(c), test->kind);
        }
        m_tests.append(test);
    }
}

bool RowMatcher::Matches(const DataRow &row) const
{
    for (const auto &test : m_tests) {
        if (!test->Holds(row.value(test->column)))
            return false;
    }
    return true;
}

} // namespace qv::data
