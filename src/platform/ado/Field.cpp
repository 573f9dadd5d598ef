#include "Field.h"

#include "AdoError.h"
#include "Recordset.h"
#include "RowStore.h"
#include "automation/DateText.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"

#include <cmath>
#include <limits>

namespace qv::ado {

namespace {

bool IsKnownType(qint32 type)
{
    static const qint32 known[] = {adSmallInt, adInteger, adSingle, adDouble, adCurrency, adDate, adBSTR,
                                   adBoolean, adVariant, adDecimal, adTinyInt, adUnsignedTinyInt,
                                   adUnsignedSmallInt, adUnsignedInt, adBigInt, adUnsignedBigInt, adGUID,
                                   adBinary, adChar, adWChar, adNumeric, adVarNumeric, adDBDate, adDBTime, adDBTimeStamp,
                                   adVarChar, adLongVarChar, adVarWChar, adLongVarWChar, adVarBinary,
                                   adLongVarBinary};
    return std::find(std::begin(known), std::end(known), type) != std::end(known);
}

// The size ADO gives a field of a fixed-size type.
qint32 FixedSize(qint32 type)
{
    switch (type) {
    case adTinyInt: case adUnsignedTinyInt: return 1;
    case adSmallInt: case adUnsignedSmallInt: case adBoolean: return 2;
    case adInteger: case adUnsignedInt: case adSingle: return 4;
    case adDouble: case adCurrency: case adDate: case adBigInt: case adUnsignedBigInt: return 8;
    case adDecimal: case adGUID: case adDBTimeStamp: return 16;
    case adNumeric: case adVarNumeric: return 19;
    case adDBDate: return 6;
    case adDBTime: return 6;
    default: return 0;
    }
}

// A whole number written as text, Decimal or Currency, to the last digit: a
// double would keep only 15 of a 64-bit identifier's up to 19.
bool ExactWhole(const Variant &value, qint64 &out)
{
    NumberDigits digits;
    const QString *text = value.Get<QString>();
    if (text ? !ParseNumberText(*text, CurrentLocaleFacts(), digits)
             : !(value.Get<Decimal>() || value.Get<Currency>()) || !NumberDigits::FromNumber(value, digits))
        return false;
    if (int(digits.Digits.size()) > digits.Point)
        return false; // a fraction: rounded as the language rounds, below
    if (digits.Point > 19)
        throw RuntimeError(vberr::Overflow);
    quint64 magnitude = 0;
    for (char c : digits.IntegerDigits())
        magnitude = magnitude * 10 + quint64(c - '0');
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (digits.Negative ? 1 : 0);
    if (magnitude > limit)
        throw RuntimeError(vberr::Overflow);
    out = digits.Negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

qint64 ToWhole(const Variant &value)
{
    if (const qint64 *n = value.Get<qint64>())
        return *n;
    if (const qint32 *n = value.Get<qint32>())
        return *n;
    qint64 exact = 0;
    if (ExactWhole(value, exact))
        return exact;
    const double d = std::nearbyint(value.ToDouble());
    if (!(std::fabs(d) < 9.2e18))
        throw RuntimeError(vberr::Overflow);
    return qint64(d);
}

// The exact digits of a number, or of a text read as the user writes numbers.
NumberDigits DigitsOf(const Variant &value)
{
    NumberDigits digits;
    if (const QString *s = value.Get<QString>()) {
        if (!ParseNumberText(*s, CurrentLocaleFacts(), digits))
            throw RuntimeError(vberr::TypeMismatch);
    } else if (const Currency *c = value.Get<Currency>()) {
        digits = NumberDigits::FromCurrency(*c);
    } else if (const Decimal *d = value.Get<Decimal>()) {
        digits = NumberDigits::FromDecimal(*d);
    } else if (value.Get<qint32>() || value.Get<qint64>()) {
        digits = NumberDigits::FromInteger(ToWhole(value));
    } else {
        digits = NumberDigits::FromDouble(value.ToDouble());
    }
    return digits;
}

Variant ToDecimalValue(const Variant &value)
{
    Decimal out;
    if (value.Get<Decimal>())
        return value;
    if (!DigitsOf(value).ToDecimal(out))
        throw RuntimeError(vberr::Overflow);
    return Variant(out);
}

Variant ToCurrencyValue(const Variant &value)
{
    Currency out;
    if (value.Get<Currency>())
        return value;
    if (!DigitsOf(value).ToCurrency(out))
        throw RuntimeError(vberr::Overflow);
    return Variant(out);
}

Variant ToDateValue(const Variant &value)
{
    if (value.Get<DateValue>())
        return value;
    if (const QString *s = value.Get<QString>()) {
        double days = 0.0;
        if (!ParseDateText(*s, CurrentLocaleFacts(), days))
            throw RuntimeError(vberr::TypeMismatch);
        return Variant(DateValue{days});
    }
    return Variant(DateValue{value.ToDouble()});
}

Variant Convert(qint32 type, const Variant &value)
{
    switch (type) {
    case adBoolean:
        return Variant(value.ToBool());
    case adTinyInt: case adSmallInt: case adInteger: case adUnsignedTinyInt: case adUnsignedSmallInt:
        return Variant(value.ToLong());
    case adUnsignedInt: case adBigInt: case adUnsignedBigInt:
        return Variant(ToWhole(value));
    case adSingle:
        if (value.Get<float>())
            return value;
        return Variant(float(value.ToDouble()));
    case adDouble:
        return Variant(value.ToDouble());
    case adCurrency:
        return ToCurrencyValue(value);
    case adDecimal: case adNumeric: case adVarNumeric:
        return ToDecimalValue(value);
    case adDate: case adDBDate: case adDBTime: case adDBTimeStamp:
        return ToDateValue(value);
    case adVariant:
        return value;
    case adBinary: case adVarBinary: case adLongVarBinary:
        // Bytes, or their hexadecimal text as persisted rowsets spell them.
        return value.Get<QByteArray>() || value.Get<QString>() ? value : Variant(value.ToText());
    default:
        return value.Get<QString>() ? value : Variant(value.ToText());
    }
}

} // namespace

bool FieldInfo::AcceptsNull() const
{
    return Attributes == adFldUnspecified || (Attributes & (adFldIsNullable | adFldMayBeNull));
}

Variant CoerceToField(const FieldInfo &field, const Variant &value)
{
    if (value.IsNull() || value.IsEmpty())
        return Variant::Null();
    try {
        return Convert(field.Type, value);
    } catch (const ComError &) {
        throw AdoError(adErrDataConversion,
                       QStringLiteral("The value \"%1\" does not fit the field \"%2\".").arg(value.ToText(), field.Name),
                       kFieldSource);
    }
}

const FieldInfo &Field::Info() const
{
    return m_recordset->Store().FieldList[m_index];
}

Variant Field::Value() const
{
    return m_recordset->FieldValue(m_index);
}

void Field::SetValue(const Variant &value)
{
    m_recordset->SetFieldValue(m_index, value);
}

Variant Field::Property(const QString &name) const
{
    for (const auto &[key, value] : Info().Properties) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return Variant();
}

void Field::SetProperty(const QString &name, const Variant &value)
{
    auto &properties = m_recordset->Store().FieldList[m_index].Properties;
    for (auto &[key, old] : properties) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            old = value;
            return;
        }
    }
    properties.append({name, value});
}

void Fields::Append(const QString &name, qint32 type, qint32 definedSize, qint32 attributes)
{
    if (m_recordset->State() == adStateOpen)
        throw AdoError(adErrObjectOpen, QStringLiteral("Fields are appended while the recordset is closed."));
    if (name.isEmpty())
        throw AdoError(adErrInvalidArgument, QStringLiteral("A field needs a name."));
    if (!IsKnownType(type))
        throw AdoError(adErrInvalidArgument, QStringLiteral("%1 is no field type.").arg(type));
    RowStore &store = m_recordset->Store();
    if (store.FieldIndex(name) >= 0)
        throw AdoError(adErrObjectInCollection, QStringLiteral("There is a field \"%1\" already.").arg(name));
    FieldInfo field;
    field.Name = name;
    field.Type = type;
    field.DefinedSize = FixedSize(type) ? FixedSize(type) : definedSize;
    field.Attributes = attributes;
    if (type == adDecimal || type == adNumeric || type == adVarNumeric)
        field.Precision = 18;
    store.AddField(std::move(field));
    Sync();
}

qint32 Fields::Count() const
{
    return m_recordset->Store().FieldCount();
}

qint32 Fields::IndexOf(const QString &name) const
{
    return m_recordset->Store().FieldIndex(name);
}

void Fields::Sync()
{
    const qint32 count = Count();
    m_items.resize(size_t(count));
    for (qint32 i = 0; i < count; ++i) {
        if (!m_items[size_t(i)])
            m_items[size_t(i)].reset(new Field(m_recordset, i));
    }
}

Field &Fields::Item(qint32 index)
{
    Sync();
    if (index < 0 || index >= Count())
        throw AdoError(adErrItemNotFound, QStringLiteral("There is no field %1.").arg(index));
    return *m_items[size_t(index)];
}

Field &Fields::Item(const QString &name)
{
    const qint32 index = IndexOf(name);
    if (index < 0)
        throw AdoError(adErrItemNotFound, QStringLiteral("There is no field \"%1\".").arg(name));
    return Item(index);
}

Field &Fields::Item(const Variant &indexOrName)
{
    if (const QString *name = indexOrName.Get<QString>())
        return Item(*name);
    if (!indexOrName.IsNumeric())
        throw AdoError(adErrItemNotFound, QStringLiteral("A field is named by its index or its name."));
    return Item(indexOrName.ToLong());
}

} // namespace qv::ado
