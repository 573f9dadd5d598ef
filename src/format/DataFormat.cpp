#include "DataFormat.h"

#include "automation/ComError.h"
#include "automation/Format.h"

#include <QDate>

namespace qv {
namespace {

const char *const kTextFormats[] = {"none", "All Uppercase", "All Lowercase", "First Case", "Title Case"};
const char *const kNumberFormats[] = {"General Number", "Standard", "0.00", "0", "#,##0.00", "#,##0",
                                      "Currency", "$#,##0.00", "$#,##0", "0.00%", "0%"};
const char *const kCurrencyFormats[] = {"Currency", "$#,##0.00", "$#,##0"};
const char *const kPercentFormats[] = {"0.00%", "0%"};
const char *const kDateFormats[] = {"Long Date", "Short Date", "General Date", "d mmmm yyyy", "d mmmm",
                                    "d-mmm-yy", "mmmm yyyy", "mmmm d", "mmmm d, yyyy", "d/mm/yy",
                                    "mm/d/yyyy hh:mm", "d/mm/yyyy hh:mm", "hh:mm", "h:mm AM/PM"};
const char *const kTimeFormats[] = {"Long Time", "Short Time", "h:mm AM/PM", "h:mm:ss AM/PM", "hh:mm",
                                    "hh:mm:ss", "mm:ss"};
const char *const kBooleanFormats[] = {"Yes/No", "True/False", "On/Off"};
const char *const kScientificFormats[] = {"Scientific", "0.00E+00", "##0.0E+0"};

template<size_t N>
QStringList ToList(const char *const (&names)[N])
{
    QStringList list;
    for (const char *name : names)
        list << QString::fromLatin1(name);
    return list;
}

QStringList Catalogue(qint32 fieldType)
{
    switch (fieldType) {
    case FieldTypeText:
    case FieldTypeMemo: return ToList(kTextFormats);
    case FieldTypeNumber: return ToList(kNumberFormats);
    case FieldTypeCurrency: return ToList(kCurrencyFormats);
    case FieldTypePercent: return ToList(kPercentFormats);
    case FieldTypeDate: return ToList(kDateFormats);
    case FieldTypeTime: return ToList(kTimeFormats);
    case FieldTypeBoolean:
    case FieldTypeBooleanAlt: return ToList(kBooleanFormats);
    case FieldTypeScientific: return ToList(kScientificFormats);
    default: return {};
    }
}

QString Joined(const QStringList &samples, bool singleLine)
{
    return samples.join(singleLine ? QStringLiteral("; ") : QStringLiteral("\r\n"));
}

QString TextExample(const QString &format)
{
    const QString base = QStringLiteral("Example formatted Text");
    if (format == QLatin1String("All Uppercase"))
        return base.toUpper();
    if (format == QLatin1String("All Lowercase"))
        return base.toLower();
    if (format == QLatin1String("First Case"))
        return QStringLiteral("Example formatted text");
    if (format == QLatin1String("Title Case"))
        return QStringLiteral("Example Formatted Text");
    return {};
}

} // namespace

DataFormat::DataFormat()
{
    const std::pair<qint32, const char *> defaults[] = {
        {FieldTypeNumber, "General Number"}, {FieldTypeCurrency, "Currency"}, {FieldTypePercent, "0.00%"},
        {FieldTypeDate, "Long Date"},        {FieldTypeTime, "Long Time"},    {FieldTypeBoolean, "Yes/No"},
        {FieldTypeBooleanAlt, "Yes/No"},     {FieldTypeScientific, "Scientific"}, {FieldTypeMemo, "none"},
        {FieldTypeText, "none"}};
    for (const auto &[kind, name] : defaults)
        m_defaults.Add(Variant(kind), Variant(QString::fromLatin1(name)));
}

qint32 DataFormat::ADOTypeToQuorivoFieldType(int adoType) const
{
    return biz::FieldKindOfAdoType(adoType);
}

int DataFormat::QuorivoFieldTypeToADOType(qint32 fieldType) const
{
    switch (fieldType) {
    case FieldTypeNumber:
    case FieldTypePercent: return 14;
    case FieldTypeCurrency: return 6;
    case FieldTypeDate: return 135;
    case FieldTypeTime: return 134;
    case FieldTypeBoolean: return 11;
    default: return 8;
    }
}

bool DataFormat::IsMemo(int adoType) const
{
    return adoType == 201 || adoType == 203;
}

QString DataFormat::GetDataFormatDefault(qint32 fieldType) const
{
    const Variant key(fieldType);
    return m_defaults.Exists(key) ? m_defaults.Item(key).ToText() : QString();
}

void DataFormat::SetFormatDefault(const QString &formatName, qint32 fieldType)
{
    const Variant key(fieldType);
    if (m_defaults.Exists(key))
        m_defaults.Remove(key);
    m_defaults.Add(key, Variant(formatName));
    m_texts.Clear();
}

void DataFormat::GetDataFormatStrings(qint32 fieldType, std::shared_ptr<Collection> &list) const
{
    if (!list)
        list = std::make_shared<Collection>();
    const QString defaultFormat = GetDataFormatDefault(fieldType);
    list->Add(Variant(defaultFormat), defaultFormat);
    for (const QString &name : Catalogue(fieldType)) {
        if (!list->Contains(name))
            list->Add(Variant(name), name);
    }
}

QString DataFormat::GetDataFormatExample(const QString &formatName, qint32 fieldType, bool singleLine) const
{
    try {
        QString format = formatName.trimmed();
        const QString upper = format.toUpper();
        if (format.isEmpty() || upper == QLatin1String("NONE") || upper == QLatin1String("DEFAULT"))
            format = GetDataFormatDefault(fieldType);
        auto formatted = [&](const Variant &value) { return VarFormat(value, format, 1, 1); };
        switch (fieldType) {
        case FieldTypeText:
        case FieldTypeMemo:
            return TextExample(format);
        case FieldTypeNumber:
        case FieldTypeCurrency: {
            QStringList samples;
            for (double value : {22.0, 22222.222226, -22222.222226})
                samples << (!format.isEmpty() ? formatted(value)
                            : fieldType == FieldTypeNumber ? VarFormatNumber(value) : VarFormatCurrency(value));
            return Joined(samples, singleLine);
        }
        case FieldTypePercent: {
            QStringList samples;
            for (double value : {0.22, 0.22228})
                samples << (format.isEmpty() ? VarFormatPercent(value) : formatted(value));
            return Joined(samples, singleLine);
        }
        case FieldTypeDate: {
            const QString day = QStringLiteral("15/") + VarFormat(Variant(DateValue{double(
                                    QDate(1899, 12, 30).daysTo(QDate::currentDate()))}), QStringLiteral("mm/yyyy"));
            QStringList samples;
            for (const char *time : {" 22:35:22", " 10:35:22"}) {
                const QString moment = day + QLatin1String(time);
                samples << (format.isEmpty() ? FormatDate(moment, QString()).ToText()
                                             : VarFormat(moment, NormalisedDateFormat(format), 1, 1));
            }
            return Joined(samples, singleLine);
        }
        case FieldTypeTime: {
            QStringList samples;
            for (const char *time : {"22:35:22", "10:35:22"}) {
                samples << (format.isEmpty() ? FormatTime(QString::fromLatin1(time), QString()).ToText()
                                             : VarFormat(QString::fromLatin1(time), NormalisedDateFormat(format), 1, 1));
            }
            return Joined(samples, singleLine);
        }
        case FieldTypeBoolean: {
            const QString used = format.isEmpty() ? QStringLiteral("Yes/No") : format;
            return Joined({VarFormat(QStringLiteral("1"), used), VarFormat(QStringLiteral("0"), used)}, singleLine);
        }
        default:
            return {};
        }
    } catch (const ComError &) {
        return {};
    }
}

} // namespace qv
