#include "DataFormat.h"

#include "automation/ComError.h"
#include "automation/DateText.h"
#include "automation/OleDate.h"
#include "automation/Format.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"

namespace qv {
namespace {

bool IsNoneOrDefault(const QString &format, const char *word)
{
    return format.size() == qsizetype(qstrlen(word)) && format.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

QString TitleCase(const QString &text)
{
    QString out = text;
    bool wordStart = true;
    for (QChar &c : out) {
        const bool separator = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
        c = separator ? c : (wordStart ? c.toUpper() : c.toLower());
        wordStart = separator;
    }
    return out.trimmed();
}

QString FirstCase(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return trimmed;
    return trimmed.left(1).toUpper() + trimmed.mid(1).toLower();
}

QString BinaryPlaceholder(qsizetype bytes)
{
    return bytes == 1 ? QStringLiteral("(binary data, 1 byte)")
                      : QStringLiteral("(binary data, %1 bytes)").arg(bytes);
}

// The value as exact digits: numbers as they are, texts read under the locale.
bool DigitsOf(const Variant &value, NumberDigits &out)
{
    switch (value.Type()) {
    case VarType::Null: return false;
    case VarType::Empty: out = {}; return true;
    case VarType::String: return ParseNumberText(*value.Get<QString>(), CurrentLocaleFacts(), out);
    case VarType::Boolean: out = NumberDigits::FromInteger(*value.Get<bool>() ? -1 : 0); return true;
    case VarType::Long: out = NumberDigits::FromInteger(*value.Get<qint32>()); return true;
    case VarType::LongLong: out = NumberDigits::FromInteger(*value.Get<qint64>()); return true;
    case VarType::Single: out = NumberDigits::FromSingle(*value.Get<float>()); return true;
    case VarType::Double: out = NumberDigits::FromDouble(*value.Get<double>()); return true;
    case VarType::Currency: out = NumberDigits::FromCurrency(*value.Get<Currency>()); return true;
    case VarType::Decimal: out = NumberDigits::FromDecimal(*value.Get<Decimal>()); return true;
    case VarType::Date: out = NumberDigits::FromDouble(value.Get<DateValue>()->Days); return true;
    case VarType::ByteArray: return false;
    }
    return false;
}

Variant AsDecimal(const NumberDigits &n, const Variant &defaultValue)
{
    Decimal d;
    return n.ToDecimal(d) ? Variant(d) : defaultValue;
}

// The value as a date (days), as CDate takes it; false when it is none.
bool DaysOf(const Variant &value, double &days)
{
    if (value.Type() == VarType::Date) {
        days = value.Get<DateValue>()->Days;
        return true;
    }
    if (value.Type() == VarType::String)
        return ParseDateText(*value.Get<QString>(), CurrentLocaleFacts(), days);
    NumberDigits n;
    if (value.IsEmpty() || !DigitsOf(value, n))
        return false;
    days = n.ToDouble();
    QDate date;
    int seconds = 0;
    return SplitOleDate(days, date, seconds);
}

} // namespace

QString DataFormat::ChooseFormat(const QString &format, qint32 fieldType) const
{
    QString chosen = format.isEmpty() || IsNoneOrDefault(format, "DEFAULT") ? GetDataFormatDefault(fieldType) : format;
    return IsNoneOrDefault(chosen, "NONE") ? QString() : chosen;
}

QString DataFormat::NormalisedDateFormat(const QString &format) const
{
    if (format.isEmpty() || format == m_lastDateFormat)
        return format.isEmpty() ? format : m_lastNormalised;
    // A month letter before a colon is a minute letter: "hh:mm" reads minutes.
    // The case stays: it tells "am/pm" from "AM/PM" and "a/p" from "A/P".
    QString normalised = format;
    normalised.replace(QLatin1String("mm:"), QLatin1String("nn:"), Qt::CaseInsensitive);
    normalised.replace(QLatin1String("m:"), QLatin1String("n:"), Qt::CaseInsensitive);
    m_lastDateFormat = format;
    m_lastNormalised = normalised;
    return normalised;
}

void DataFormat::SetSupressDateResolve(bool suppress)
{
    m_supressDateResolve = suppress;
    m_texts.Clear();
}

void DataFormat::SetSupressTimeResolve(bool suppress)
{
    m_supressTimeResolve = suppress;
    m_texts.Clear();
}

QString DataFormat::GetFormattedData(const QString &data, const QString &format, qint32 fieldType) const
{
    const quint64 generation = CurrentLocaleFacts().Generation;
    if (generation != m_textsGeneration) {
        m_texts.Clear();
        m_textsGeneration = generation;
    }
    if (const QString *known = m_texts.Find(format, fieldType, data))
        return *known;
    const QString text = FormatData(data, format, fieldType);
    m_texts.Insert(format, fieldType, data, text);
    return text;
}

QString DataFormat::GetFormattedValue(const Variant &value, const QString &format, qint32 fieldType) const
{
    // Bytes have no text to show or format: the grid says what they are.
    if (const QByteArray *bytes = value.Get<QByteArray>())
        return BinaryPlaceholder(bytes->size());
    const VarType type = value.Type();
    // A text shown without a format is its own display text.
    if (const QString *text = value.Get<QString>();
        text && (fieldType == FieldTypeText || fieldType == FieldTypeMemo) && ChooseFormat(format, fieldType).isEmpty())
        return *text;
    const bool number = value.IsNumeric() && type != VarType::Boolean
                        && (fieldType == FieldTypeNumber || fieldType == FieldTypeCurrency
                            || fieldType == FieldTypePercent || fieldType == FieldTypeScientific);
    const bool date = type == VarType::Date && fieldType == FieldTypeDate && m_supressDateResolve;
    if (!number && !date) {
        const QString text = value.ToText();
        return text.isEmpty() ? text : GetFormattedData(text, format, fieldType);
    }
    try {
        QString chosen = ChooseFormat(format, fieldType);
        if (date)
            chosen = NormalisedDateFormat(chosen);
        return chosen.isEmpty() ? value.ToText() : VarFormat(value, chosen, 1, 1);
    } catch (const ComError &) {
        return {};
    }
}

QString DataFormat::FormatData(const QString &data, const QString &format, qint32 fieldType) const
{
    try {
        QString chosen = ChooseFormat(format, fieldType);
        QString value = data;
        if (fieldType == FieldTypeDate) {
            chosen = NormalisedDateFormat(chosen);
            if (!m_supressDateResolve)
                value = ResolveDateString(value);
        } else if (fieldType == FieldTypeBoolean) {
            value = FormatBoolean(ToBoolean(value, Variant::Null()), QString(), QStringLiteral("True"),
                                  QStringLiteral("False")).ToText();
        } else if (fieldType == FieldTypeTime) {
            chosen = NormalisedDateFormat(chosen);
            if (!m_supressTimeResolve)
                value = ResolveTimeString(value);
        }
        if (chosen.isEmpty())
            return value;
        if (chosen == QLatin1String("All Uppercase"))
            return value.toUpper();
        if (chosen == QLatin1String("All Lowercase"))
            return value.toLower();
        if (chosen == QLatin1String("First Case"))
            return FirstCase(value);
        if (chosen == QLatin1String("Title Case"))
            return TitleCase(value);
        return VarFormat(Variant(value), chosen, 1, 1);
    } catch (const ComError &) {
        return {};
    }
}

QString DataFormat::GetFormattedDataForEdit(const QString &data, qint32 fieldType, const QString &viewFormat) const
{
    const QString value = data.compare(QLatin1String("(BLANK)"), Qt::CaseInsensitive) == 0 ? QString() : data;
    const QString format = ChooseFormat(viewFormat, fieldType);
    try {
        NumberDigits n;
        switch (fieldType) {
        case FieldTypeText:
        case FieldTypeMemo:
            return format.isEmpty() ? value : GetFormattedData(value, format, FieldTypeText);
        case FieldTypeNumber:
        case FieldTypeCurrency:
            return IsNumericText(value) ? VarFormat(Variant(value), QStringLiteral("General Number")) : QString();
        case FieldTypePercent:
            if (!ParseNumberText(value, CurrentLocaleFacts(), n))
                return {};
            n.Shift(2);
            return VarFormat(Variant(AsDecimal(n, Variant(n.ToDouble()))), QStringLiteral("General Number"))
                   + QLatin1Char('%');
        case FieldTypeDate:
        case FieldTypeTime: {
            const QString resolved = ResolveDateString(value);
            return resolved.isEmpty() ? QString() : VarFormat(Variant(resolved), QStringLiteral("General Date"));
        }
        case FieldTypeBoolean: {
            const Variant yes(QStringLiteral("Yes")), no(QStringLiteral("No"));
            if (!format.isEmpty()) {
                const QString normal = FormatBoolean(ToBoolean(value, Variant::Null()), QString(),
                                                     QStringLiteral("True"), QStringLiteral("False")).ToText();
                const QString formatted = VarFormat(Variant(normal), format, 1, 1);
                if (!FormatBoolean(ToBoolean(formatted, Variant::Null()), QString(), yes.ToText(), no.ToText())
                         .ToText().isEmpty())
                    return formatted;
            }
            return FormatBoolean(ToBoolean(value, Variant::Null()), QString(), yes.ToText(), no.ToText()).ToText();
        }
        default:
            return value;
        }
    } catch (const ComError &) {
        return {};
    }
}

QString DataFormat::GetRawValue(const Variant &value, qint32 fieldType) const
{
    if (fieldType == FieldTypeText || fieldType == FieldTypeMemo)
        return value.ToText();
    return ToValue(value, fieldType, Variant::Null()).ToText();
}

Variant DataFormat::ToValue(const Variant &value, qint32 fieldType, const Variant &defaultValue) const
{
    switch (fieldType) {
    case FieldTypeText:
    case FieldTypeMemo: return ToString(value, defaultValue);
    case FieldTypeNumber: return ToDecimal(value, defaultValue);
    case FieldTypeCurrency: return ToCurrency(value, defaultValue);
    case FieldTypePercent: return ToPercent(value, defaultValue);
    case FieldTypeDate: return ToDate(value, defaultValue);
    case FieldTypeTime: return ToTime(value, defaultValue);
    case FieldTypeBoolean: return ToBoolean(value, defaultValue);
    default: return {};
    }
}

Variant DataFormat::ToString(const Variant &value, const Variant &defaultValue) const
{
    return value.IsNull() ? defaultValue : Variant(value.ToText());
}

Variant DataFormat::ToDecimal(const Variant &value, const Variant &defaultValue) const
{
    NumberDigits n;
    return DigitsOf(value, n) ? AsDecimal(n, defaultValue) : defaultValue;
}

Variant DataFormat::ToPercent(const Variant &value, const Variant &defaultValue) const
{
    const QString text = value.ToText();
    if (!text.contains(QLatin1Char('%')))
        return ToDecimal(value, defaultValue);
    NumberDigits n;
    if (!ParseNumberText(QString(text).remove(QLatin1Char('%')), CurrentLocaleFacts(), n))
        return defaultValue;
    n.Shift(-2);
    return AsDecimal(n, defaultValue);
}

Variant DataFormat::ToCurrency(const Variant &value, const Variant &defaultValue) const
{
    const QString text = value.ToText();
    NumberDigits n;
    if (text.endsWith(QLatin1Char('%'))) {
        if (!ParseNumberText(text.chopped(1), CurrentLocaleFacts(), n))
            return defaultValue;
        n.Shift(-2);
    } else if (!DigitsOf(value, n)) {
        return defaultValue;
    }
    Currency money;
    return n.ToCurrency(money) ? Variant(money) : defaultValue;
}

Variant DataFormat::ToDate(const Variant &value, const Variant &defaultValue) const
{
    const QString resolved = ResolveDateString(value.ToText());
    if (!resolved.isEmpty())
        return resolved;
    double days = 0;
    if (DaysOf(value, days))
        return Variant(DateValue{days});
    return defaultValue.IsNull() ? Variant::Null() : Variant(ResolveDateString(defaultValue.ToText()));
}

Variant DataFormat::ToTime(const Variant &value, const Variant &defaultValue) const
{
    const QString resolved = ResolveTimeString(value.ToText());
    if (!resolved.isEmpty())
        return resolved;
    return defaultValue.IsNull() ? Variant::Null() : Variant(ResolveTimeString(defaultValue.ToText()));
}

Variant DataFormat::ToBoolean(const Variant &value, const Variant &defaultValue) const
{
    if (const QString *text = value.Get<QString>()) {
        if (*text == QLatin1String("Yes") || *text == QLatin1String("On") || *text == QLatin1String("Positive"))
            return true;
        if (*text == QLatin1String("No") || *text == QLatin1String("Off") || *text == QLatin1String("Negative"))
            return false;
    }
    try {
        return value.ToBool();
    } catch (const ComError &) {
        return defaultValue;
    }
}

Variant DataFormat::FormatBoolean(const Variant &value, const Variant &defaultValue, const QString &trueText,
                                  const QString &falseText) const
{
    const Variant b = ToBoolean(value, Variant::Null());
    if (b.IsNull())
        return defaultValue;
    return *b.Get<bool>() ? trueText : falseText;
}

Variant DataFormat::FormatDate(const Variant &value, const Variant &defaultValue) const
{
    try {
        return VarFormatDateTime(ToDate(value, QString()), 1);
    } catch (const ComError &) {
        return defaultValue;
    }
}

Variant DataFormat::FormatTime(const Variant &value, const Variant &defaultValue) const
{
    double days = 0;
    if (value.IsNull() || value.IsEmpty() || !DaysOf(value, days))
        return defaultValue;
    try {
        return VarFormatDateTime(Variant(DateValue{days}), 3);
    } catch (const ComError &) {
        return defaultValue;
    }
}

} // namespace qv
