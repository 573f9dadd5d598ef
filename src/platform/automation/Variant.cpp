#include "Variant.h"

#include "ComError.h"
#include "FormatRender.h"
#include "LocaleFacts.h"
#include "NumberDigits.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace qv {
namespace {

template<class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};
template<class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>; // clang 14 deduces no aggregates yet

QString WithLocalePoint(QString text)
{
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

// The language writes a date without its time when the time is midnight and
// a time alone on day zero; the date takes the locale's short form with a
// four-digit year, the time its long form.
// As the language writes a date: the date, the time or both (General Date).
QString DateToText(DateValue value)
{
    try {
        return format::GeneralDate(value.Days, CurrentLocaleFacts());
    } catch (const ComError &) {
        return {};
    }
}

// A byte array taken as a string keeps its bytes: two make a UTF-16 code
// unit, low byte first.
QString BytesAsText(const QByteArray &bytes)
{
    QString text(bytes.size() / 2 + bytes.size() % 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto low = quint8(bytes[2 * i]);
        const auto high = 2 * i + 1 < bytes.size() ? quint8(bytes[2 * i + 1]) : quint8(0);
        text[i] = QChar(char16_t(low | (high << 8)));
    }
    return text;
}

qint32 RoundToLong(double value)
{
    if (std::isnan(value) || value >= 2147483647.5 || value < -2147483648.5)
        throw RuntimeError(vberr::Overflow);
    return qint32(std::nearbyint(value)); // the default rounding mode is half to even
}

} // namespace

QString Decimal::ToPlainText() const
{
    __extension__ using Mantissa = unsigned __int128; // 96 bits need more than 64
    Mantissa mantissa = (static_cast<Mantissa>(Hi) << 64) | Lo;
    QString digits;
    do {
        digits.prepend(QLatin1Char(char('0' + int(mantissa % 10))));
        mantissa /= 10;
    } while (mantissa != 0);
    const int scale = qMin<int>(Scale, 28);
    if (digits.size() <= scale)
        digits.prepend(QString(scale - digits.size() + 1, QLatin1Char('0')));
    if (scale > 0) {
        digits.insert(digits.size() - scale, QLatin1Char('.'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    const bool zero = digits == QLatin1String("0");
    return Negative && !zero ? QLatin1Char('-') + digits : digits;
}

double Decimal::ToDouble() const
{
    const double mantissa = double(Hi) * 18446744073709551616.0 + double(Lo);
    const double value = mantissa / std::pow(10.0, qMin<int>(Scale, 28));
    return Negative ? -value : value;
}

Variant Variant::Null()
{
    Variant v;
    v.m_value = NullTag{};
    return v;
}

VarType Variant::Type() const
{
    static constexpr VarType kinds[] = {VarType::Empty,    VarType::Null,   VarType::Boolean,
                                        VarType::Long,     VarType::LongLong, VarType::Single,
                                        VarType::Double,
                                        VarType::Currency, VarType::Decimal, VarType::Date,
                                        VarType::String, VarType::ByteArray};
    return kinds[m_value.index()];
}

bool Variant::IsNumeric() const
{
    switch (Type()) {
    case VarType::Long:
    case VarType::LongLong:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Decimal:
    case VarType::Boolean:
        return true;
    default:
        return false;
    }
}

QString DoubleToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    return format::GeneralNumber(NumberDigits::FromDouble(value), CurrentLocaleFacts(), format::kDoubleDigits);
}

QString SingleToText(float value)
{
    if (!std::isfinite(value))
        return DoubleToText(double(value));
    return format::GeneralNumber(NumberDigits::FromSingle(value), CurrentLocaleFacts(), format::kSingleDigits);
}

QString CurrencyToText(Currency value)
{
    Decimal d;
    const quint64 magnitude = value.Scaled < 0 ? 0 - quint64(value.Scaled) : quint64(value.Scaled);
    d.Lo = magnitude;
    d.Scale = 4;
    d.Negative = value.Scaled < 0;
    return WithLocalePoint(d.ToPlainText());
}

QString Variant::ToText() const
{
    return std::visit(
        Overloaded{
            [](std::monostate) { return QString(); },
            [](NullTag) { return QString(); },
            [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); },
            [](qint32 n) { return QString::number(n); },
            [](qint64 n) { return QString::number(n); },
            [](float f) { return SingleToText(f); },
            [](double d) { return DoubleToText(d); },
            [](Currency c) { return CurrencyToText(c); },
            [](const Decimal &d) { return WithLocalePoint(d.ToPlainText()); },
            [](DateValue d) { return DateToText(d); },
            [](const QString &s) { return s; },
            [](const QByteArray &b) { return BytesAsText(b); },
        },
        m_value);
}

QString Variant::CStr() const
{
    if (IsNull())
        throw RuntimeError(vberr::InvalidUseOfNull);
    return ToText();
}

double Variant::ToDouble() const
{
    return std::visit(
        Overloaded{
            [](std::monostate) { return 0.0; },
            [](NullTag) -> double { throw RuntimeError(vberr::InvalidUseOfNull); },
            [](bool b) { return b ? -1.0 : 0.0; },
            [](qint32 n) { return double(n); },
            [](qint64 n) { return double(n); },
            [](float f) { return double(f); },
            [](double d) { return d; },
            [](Currency c) { return double(c.Scaled) / 10000.0; },
            [](const Decimal &d) { return d.ToDouble(); },
            [](DateValue d) { return d.Days; },
            [](const QString &s) {
                bool ok = false;
                const QString trimmed = s.trimmed();
                double d = QLocale().toDouble(trimmed, &ok);
                if (!ok)
                    d = QLocale::c().toDouble(trimmed, &ok);
                if (!ok)
                    throw RuntimeError(vberr::TypeMismatch);
                return d;
            },
            [](const QByteArray &) -> double { throw RuntimeError(vberr::TypeMismatch); },
        },
        m_value);
}

bool Variant::ToBool() const
{
    if (const QString *s = Get<QString>()) {
        const QString t = s->trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const bool *b = Get<bool>())
        return *b;
    return ToDouble() != 0.0;
}

qint32 Variant::ToLong() const
{
    if (const qint32 *n = Get<qint32>())
        return *n;
    if (const Currency *c = Get<Currency>()) {
        // Integer arithmetic keeps the half-to-even rule exact for money.
        const qint64 whole = c->Scaled / 10000;
        const qint64 rest = c->Scaled % 10000;
        qint64 rounded = whole;
        if (rest > 5000 || (rest == 5000 && (whole & 1)))
            rounded = whole + 1;
        else if (rest < -5000 || (rest == -5000 && (whole & 1)))
            rounded = whole - 1;
        if (rounded > std::numeric_limits<qint32>::max() || rounded < std::numeric_limits<qint32>::min())
            throw RuntimeError(vberr::Overflow);
        return qint32(rounded);
    }
    if (const qint64 *n = Get<qint64>()) {
        if (*n > std::numeric_limits<qint32>::max() || *n < std::numeric_limits<qint32>::min())
            throw RuntimeError(vberr::Overflow);
        return qint32(*n);
    }
    return RoundToLong(ToDouble());
}

} // namespace qv
