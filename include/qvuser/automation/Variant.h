#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <variant>

namespace qv {

// Variant kinds, numbered as the automation type codes so that VarType() reads
// the same numbers the system's code compares with.
enum class VarType : int {
    Empty = 0,
    Null = 1,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Boolean = 11,
    Decimal = 14,
    LongLong = 20,
    // An array of bytes (the array flag 8192 on the byte kind 17), as a
    // binary column's value comes.
    ByteArray = 8209,
};

// A fixed-point money value: an integer count of 1/10000.
struct Currency
{
    qint64 Scaled = 0;
    friend bool operator==(const Currency &, const Currency &) = default;
};

// A 96-bit unsigned mantissa with a sign and a power-of-ten scale of 0 to 28.
struct Decimal
{
    quint32 Hi = 0;
    quint64 Lo = 0;
    quint8 Scale = 0;
    bool Negative = false;
    friend bool operator==(const Decimal &, const Decimal &) = default;

    // The exact digits, with a decimal point before the last Scale of them and
    // trailing fraction zeros removed; the point is '.', the sign '-'.
    QString ToPlainText() const;
    double ToDouble() const;
};

// An OLE date: days since 1899-12-30, the fraction being the time of day.
struct DateValue
{
    double Days = 0.0;
    friend bool operator==(const DateValue &, const DateValue &) = default;
};

// A value of the automation kinds the system passes around. Conversions follow
// the language's rules: see ToText() and CStr().
class Variant
{
public:
    Variant() = default;
    Variant(bool value) : m_value(value) {}
    Variant(qint32 value) : m_value(value) {}
    Variant(qint64 value) : m_value(value) {}
    // A single-precision number keeps its kind: its text has 7 significant
    // digits, where widening it to a double would show binary noise.
    Variant(float value) : m_value(value) {}
    Variant(double value) : m_value(value) {}
    Variant(Currency value) : m_value(value) {}
    Variant(Decimal value) : m_value(value) {}
    Variant(DateValue value) : m_value(value) {}
    Variant(QString value) : m_value(std::move(value)) {}
    Variant(const char *value) : m_value(QString::fromUtf8(value)) {}
    // Bytes keep their kind: their text is the bytes read two to a
    // character, and they convert to no number.
    Variant(QByteArray value) : m_value(std::move(value)) {}
    Variant(std::nullptr_t) = delete;

    static Variant Null();

    VarType Type() const;
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsNumeric() const;

    // Text as `value & ""` gives it: Null and Empty become "", a byte array
    // is read as UTF-16 (an odd last byte is a character of its own).
    QString ToText() const;
    // Text as CStr gives it: raises error 94 "Invalid use of Null" on Null.
    QString CStr() const;
    // CBool: numbers are True when not zero, texts "True"/"False" or numbers.
    bool ToBool() const;
    // CLng: rounds half to even, error 6 when out of range, 94 on Null.
    qint32 ToLong() const;
    // CDbl: error 13 on a text that is no number or a byte array, 94 on Null.
    double ToDouble() const;

    // The stored value, when it is of that kind (nullptr otherwise).
    template<typename T>
    const T *Get() const { return std::get_if<T>(&m_value); }

    friend bool operator==(const Variant &, const Variant &) = default;

private:
    struct NullTag
    {
        friend bool operator==(const NullTag &, const NullTag &) = default;
    };
    std::variant<std::monostate, NullTag, bool, qint32, qint64, float, double, Currency, Decimal,
                 DateValue, QString, QByteArray>
        m_value;
};

// A double as text with at most 15 significant digits and the locale's decimal
// character; exponent form from 1E+15 up, and below one only when the plain
// form would need more than 15 digits after the point.
QString DoubleToText(double value);
// The same for a single-precision number, with 7 digits.
QString SingleToText(float value);
// A Currency as text: up to four decimals, trailing zeros dropped.
QString CurrencyToText(Currency value);

} // namespace qv
