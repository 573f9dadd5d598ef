// The filter rules of ConfigFileSettings: operators, which fields and sources
// take which, and whether a value suits a field.
#include "ConfigFileSettings.h"

#include "automation/ComError.h"
#include "automation/DateText.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"
#include "config/ConfigObjects.h"

#include <QRegularExpression>
#include <QUuid>

#include <array>
#include <cmath>
#include <limits>

namespace qv::biz {
namespace {

struct Operator
{
    const char *stored;
    const char *shown;
};

constexpr std::array<Operator, 8> kOperators{{
    {"=", "equals"},
    {"<>", "does not equal"},
    {">", "is greater than"},
    {">=", "is greater than or equal to"},
    {"<", "is less than"},
    {"<=", "is less than or equal to"},
    {"like", "is like"},
    {"contains", "contains"},
}};

constexpr int kLike = 7;
constexpr int kContains = 8;

enum class Compare { Text, Memo, Integer, Real, Currency, Decimal, DateTime, Boolean, Guid, Unusable };

// The kind of comparison a field takes, from its ADO type, or from its field
// kind when the type is not known.
Compare KindOf(const config::Field &field)
{
    switch (field.AdoType) {
    case 8: case 129: case 130: case 200: case 202: return Compare::Text;
    case 201: case 203: return Compare::Memo;
    case 2: case 3: case 16: case 17: case 18: case 19: case 20: case 21: return Compare::Integer;
    case 4: case 5: return Compare::Real;
    case 6: return Compare::Currency;
    case 14: case 131: case 139: return Compare::Decimal;
    case 7: case 64: case 133: case 134: case 135: return Compare::DateTime;
    case 11: return Compare::Boolean;
    case 72: return Compare::Guid;
    case 0: break;
    default: return Compare::Unusable;
    }
    switch (field.DataKind) {
    case 2: case 4: case 10: return Compare::Real;
    case 3: return Compare::Currency;
    case 5: case 6: return Compare::DateTime;
    case 7: case 9: return Compare::Boolean;
    case 8: return Compare::Memo;
    default: return Compare::Text;
    }
}

QList<int> CodesFor(Compare kind)
{
    switch (kind) {
    case Compare::Text: return {1, 2, 3, 4, 5, 6, 7, 8};
    case Compare::Memo: return {1, 2, 7, 8};
    case Compare::Boolean:
    case Compare::Guid: return {1, 2};
    case Compare::Unusable: return {};
    default: return {1, 2, 3, 4, 5, 6};
    }
}

// Integer ranges by ADO type.
bool FitsInteger(int adoType, double value)
{
    if (value != std::floor(value))
        return false;
    switch (adoType) {
    case 16: return value >= -128 && value <= 127;
    case 17: return value >= 0 && value <= 255;
    case 2: return value >= -32768 && value <= 32767;
    case 18: return value >= 0 && value <= 65535;
    case 3: return value >= -2147483648.0 && value <= 2147483647.0;
    case 19: return value >= 0 && value <= 4294967295.0;
    case 21: return value >= 0 && value < 18446744073709551616.0;
    default: return std::fabs(value) < 9223372036854775808.0;
    }
}

bool IsBooleanText(const QString &text)
{
    static const QStringList words{QStringLiteral("true"), QStringLiteral("false"), QStringLiteral("yes"),
                                   QStringLiteral("no"),   QStringLiteral("on"),    QStringLiteral("off")};
    return words.contains(text, Qt::CaseInsensitive);
}

// With or without braces and dashes.
bool IsGuidText(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9A-Fa-f]{32}$"));
    return !QUuid::fromString(text).isNull() || plain.match(text).hasMatch();
}

bool ReadsAsNumber(const QString &text, Compare kind, int adoType)
{
    NumberDigits digits;
    if (!ParseNumberText(text, CurrentLocaleFacts(), digits))
        return false;
    switch (kind) {
    case Compare::Integer: return FitsInteger(adoType, digits.ToDouble());
    case Compare::Currency: { Currency c; return digits.ToCurrency(c); }
    case Compare::Decimal: { Decimal d; return digits.ToDecimal(d); }
    default: return std::isfinite(digits.ToDouble());
    }
}

} // namespace

QString ConfigFileSettings::OperatorText(int code) const
{
    return code >= 1 && code <= 8 ? QString::fromLatin1(kOperators[size_t(code - 1)].shown) : QString();
}

QString ConfigFileSettings::StoredOperatorText(int code) const
{
    return code >= 1 && code <= 8 ? QString::fromLatin1(kOperators[size_t(code - 1)].stored) : QString();
}

int ConfigFileSettings::OperatorCode(const QString &storedText) const
{
    const QString text = storedText.trimmed();
    for (size_t i = 0; i < kOperators.size(); ++i) {
        if (text.compare(QLatin1String(kOperators[i].stored), Qt::CaseInsensitive) == 0)
            return int(i + 1);
    }
    return 0;
}

QList<int> ConfigFileSettings::AllowedOperators(int sourceKind, const config::Field &field) const
{
    QList<int> codes = CodesFor(KindOf(field));
    // A contacts or tasks folder is searched by words, not by patterns.
    if (sourceKind == 1)
        codes.removeAll(kLike);
    return codes;
}

bool ConfigFileSettings::IsValueValid(const QString &value, const config::Field &field) const
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return true;
    const Compare kind = KindOf(field);
    switch (kind) {
    case Compare::Text:
    case Compare::Memo: return true;
    case Compare::Integer:
    case Compare::Real:
    case Compare::Currency:
    case Compare::Decimal: return ReadsAsNumber(text, kind, field.AdoType);
    case Compare::DateTime: {
        double days = 0;
        return ParseDateText(text, CurrentLocaleFacts(), days);
    }
    case Compare::Boolean: {
        NumberDigits digits;
        return IsBooleanText(text) || ParseNumberText(text, CurrentLocaleFacts(), digits);
    }
    case Compare::Guid: return IsGuidText(text);
    case Compare::Unusable: return false;
    }
    return false;
}

bool ConfigFileSettings::AcceptsBlank(int code, const config::Field &field) const
{
    // A blank is compared as "is empty" or "is not empty"; ordering and
    // patterns have nothing to compare it with.
    return (code == 1 || code == 2) && CodesFor(KindOf(field)).contains(code);
}

const config::Condition &ConfigFileSettings::CreateCustomFilter(config::Field &field, int code,
                                                                const QString &value) const
{
    const QString stored = StoredOperatorText(code);
    if (stored.isEmpty())
        throw RuntimeError(vberr::InvalidCall);
    QString text = value;
    if (code == kLike && !text.contains(QLatin1Char('%')))
        text += QLatin1Char('%');
    else if (code == kContains)
        text = QLatin1Char('%') + text + QLatin1Char('%');
    return field.AddCondition(text, QStringLiteral("AND"), stored);
}

} // namespace qv::biz
