#include "HostProtocol.h"

#include "qvuser/ado/Recordset.h"
#include "qvuser/automation/ComError.h"
#include "qvuser/automation/Variant.h"
#include "qvuser/biz/Settings.h"

#include <QDateTime>

#include <cmath>

namespace qvhostd {

namespace {

// JSON numbers are doubles: integers beyond 2^53 travel as text.
constexpr qint64 kLargestExact = qint64(1) << 53;

QString DateText(double days)
{
    // OLE dates count days from 1899-12-30; before it the fraction still
    // counts forward from midnight.
    const double whole = std::floor(days) + (days < 0 && days != std::floor(days) ? 1 : 0);
    const double fraction = std::fabs(days - whole);
    const QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    const QTime time = QTime(0, 0).addSecs(int(std::lround(fraction * 86400.0)) % 86400);
    return QDateTime(date, time).toString(Qt::ISODate);
}

QJsonValue NumberToJson(qint64 value)
{
    return std::llabs(value) <= kLargestExact ? QJsonValue(double(value)) : QJsonValue(QString::number(value));
}

[[noreturn]] void RaiseWrongKind(const QString &member)
{
    throw qv::ComError(qv::vberr::TypeMismatch, QString::fromLatin1(kErrorSource),
                       QStringLiteral("The settings member \"%1\" is of the wrong kind.").arg(member));
}

qv::Variant JsonToVariant(const QJsonValue &value, const qv::Variant &kind, const QString &member)
{
    if (kind.Get<bool>() && value.isBool())
        return qv::Variant(value.toBool());
    if ((kind.Get<double>() || kind.Get<float>()) && value.isDouble())
        return kind.Get<float>() ? qv::Variant(float(value.toDouble())) : qv::Variant(value.toDouble());
    if (kind.Get<qint32>() && value.isDouble() && value.toDouble() == std::floor(value.toDouble()))
        return qv::Variant(qint32(value.toDouble()));
    if (kind.Get<QString>() && value.isString())
        return qv::Variant(value.toString());
    RaiseWrongKind(member);
}

template<typename T>
void Take(const QJsonObject &object, const char *name, T &member)
{
    const QString key = QString::fromLatin1(name);
    if (!object.contains(key))
        return;
    member = [&]() -> T {
        if constexpr (std::is_same_v<T, QString>)
            return JsonToVariant(object[key], qv::Variant(QString()), key).ToText();
        else if constexpr (std::is_same_v<T, bool>)
            return JsonToVariant(object[key], qv::Variant(false), key).ToBool();
        else
            return JsonToVariant(object[key], qv::Variant(qint32(0)), key).ToLong();
    }();
}

} // namespace

QJsonValue VariantToJson(const qv::Variant &value)
{
    if (const bool *b = value.Get<bool>())
        return *b;
    if (const qint32 *n = value.Get<qint32>())
        return *n;
    if (const qint64 *n = value.Get<qint64>())
        return NumberToJson(*n);
    if (const float *f = value.Get<float>())
        return double(*f);
    if (const double *d = value.Get<double>())
        return std::isfinite(*d) ? QJsonValue(*d) : QJsonValue(value.ToText());
    if (const qv::Currency *c = value.Get<qv::Currency>())
        return qv::Decimal{0, quint64(std::llabs(c->Scaled)), 4, c->Scaled < 0}.ToPlainText();
    if (const qv::Decimal *d = value.Get<qv::Decimal>())
        return d->ToPlainText();
    if (const qv::DateValue *date = value.Get<qv::DateValue>())
        return DateText(date->Days);
    if (const QString *text = value.Get<QString>())
        return *text;
    return QJsonValue::Null;
}

QJsonObject RecordsetToJson(const std::shared_ptr<qv::ado::Recordset> &rows, bool bFormatted)
{
    QJsonArray fields;
    QJsonArray values;
    if (rows && rows->State() == qv::ado::adStateOpen) {
        qv::ado::Fields &all = rows->Fields();
        for (qint32 i = 0; i < all.Count(); ++i)
            fields.append(QJsonObject{{QStringLiteral("name"), all.Item(i).Name()},
                                      {QStringLiteral("type"), all.Item(i).Type()}});
        if (rows->RecordCount() != 0) {
            for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
                QJsonArray row;
                for (qint32 i = 0; i < all.Count(); ++i) {
                    const qv::Variant value = all.Item(i).Value();
                    row.append(bFormatted ? QJsonValue(value.ToText()) : VariantToJson(value));
                }
                values.append(row);
            }
        }
    }
    return {{QStringLiteral("fields"), fields}, {QStringLiteral("rows"), values}};
}

QJsonObject SettingsToJson(const qv::biz::Settings &settings)
{
    QJsonArray columns;
    if (settings.Columns) {
        for (const auto &column : *settings.Columns) {
            QJsonObject properties;
            for (const QString &name : qv::biz::ColumnSetting::PropertyNames())
                properties.insert(name, VariantToJson(column->Property(name)));
            columns.append(properties);
        }
    }
    return {{QStringLiteral("DataViewName"), settings.DataViewName},
            {QStringLiteral("DataViewKey"), settings.DataViewKey},
            {QStringLiteral("DataViewType"), settings.DataViewType},
            {QStringLiteral("FilterSet"), settings.FilterSet},
            {QStringLiteral("FilterField"), settings.FilterField},
            {QStringLiteral("FilterOperator"), settings.FilterOperator},
            {QStringLiteral("FilterValue"), settings.FilterValue},
            {QStringLiteral("FormatType"), settings.FormatType},
            {QStringLiteral("StyleName"), settings.StyleName},
            {QStringLiteral("InsertPosition"), settings.InsertPosition},
            {QStringLiteral("Columns"), columns}};
}

std::shared_ptr<qv::biz::Settings> SettingsFromJson(const QJsonObject &object)
{
    auto settings = std::make_shared<qv::biz::Settings>();
    Take(object, "DataViewName", settings->DataViewName);
    Take(object, "DataViewKey", settings->DataViewKey);
    Take(object, "DataViewType", settings->DataViewType);
    Take(object, "FilterSet", settings->FilterSet);
    Take(object, "FilterField", settings->FilterField);
    Take(object, "FilterOperator", settings->FilterOperator);
    Take(object, "FilterValue", settings->FilterValue);
    Take(object, "FormatType", settings->FormatType);
    Take(object, "StyleName", settings->StyleName);
    Take(object, "InsertPosition", settings->InsertPosition);
    const QJsonValue columns = object.value(QStringLiteral("Columns"));
    if (!columns.isUndefined() && !columns.isArray())
        RaiseWrongKind(QStringLiteral("Columns"));
    for (const QJsonValue &item : columns.toArray()) {
        if (!item.isObject())
            RaiseWrongKind(QStringLiteral("Columns"));
        auto column = std::make_shared<qv::biz::ColumnSetting>();
        const QJsonObject properties = item.toObject();
        for (auto it = properties.begin(); it != properties.end(); ++it)
            column->SetProperty(it.key(), JsonToVariant(it.value(), column->Property(it.key()), it.key()));
        // A caption twice would be one column for the viewer: the first wins.
        if (!column->Caption.isEmpty() && !settings->Columns->Item(column->Caption))
            settings->Columns->Add(column, column->Caption);
    }
    return settings;
}

QJsonObject ErrorToJson(const qv::ComError &error)
{
    return {{QStringLiteral("number"), error.Number()},
            {QStringLiteral("source"), error.Source()},
            {QStringLiteral("description"), error.Description()}};
}

void RaiseBadRequest(const QString &description)
{
    throw qv::ComError(qv::vberr::InvalidCall, QString::fromLatin1(kErrorSource), description);
}

QStringList TextList(const QJsonValue &value, const char *member)
{
    QStringList texts;
    if (value.isUndefined() || value.isNull())
        return texts;
    if (!value.isArray())
        RaiseBadRequest(QStringLiteral("\"%1\" is not a list of names.").arg(QLatin1String(member)));
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isString())
            RaiseBadRequest(QStringLiteral("\"%1\" is not a list of names.").arg(QLatin1String(member)));
        texts.append(item.toString());
    }
    return texts;
}

int RequestedConfigType(const QJsonObject &request)
{
    const QJsonValue type = request.value(QStringLiteral("dataViewType"));
    if (type.isUndefined() || type.isNull())
        return 1;
    if (type != QJsonValue(1) && type != QJsonValue(2))
        RaiseBadRequest(QStringLiteral("\"dataViewType\" is 1 (personal) or 2 (team)."));
    return type.toInt();
}

} // namespace qvhostd
