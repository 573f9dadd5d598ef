#include "FilterRules.h"

#include "biz/ConfigFileSettings.h"
#include "config/ConfigObjects.h"
#include "dialogs/SelectDataRules.h"
#include "format/DataFormat.h"

#include <array>

namespace qv::wizard {

QString OperatorTextFromStored(const biz::ConfigFileSettings &operators, const QString &stored)
{
    return operators.OperatorText(operators.OperatorCode(stored));
}

QString StoredFromOperatorText(const biz::ConfigFileSettings &operators, const QString &shown)
{
    // The order the wizard has always tried them in.
    constexpr std::array kCodes{1, 3, 5, 2, 4, 6, 7, 8};
    for (const int code : kCodes) {
        if (operators.OperatorText(code) == shown)
            return operators.StoredOperatorText(code);
    }
    return {};
}

bool IsFilterValueValid(const biz::ConfigFileSettings &operators, const config::Field *field, int code,
                        const QString &value)
{
    if (!field)
        return false;
    if (!dialogs::ValueNeedsNoCheck(value) && !operators.IsValueValid(value, *field))
        return false;
    // An empty value is added as "(blank)", so it must be one the operator takes.
    const bool bBlank = value.trimmed().isEmpty() || value == QLatin1String(dialogs::kBlank);
    return !bBlank || operators.AcceptsBlank(code, *field);
}

bool FilterExists(const QList<FilterRow> &rows, const QString &text)
{
    for (const FilterRow &row : rows) {
        if ((row.Field + row.Operator + row.Value).compare(text, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QList<FilterRow> FilterRowsOf(const biz::ConfigFileSettings &operators, const config::DataView &view)
{
    QList<FilterRow> rows;
    for (const auto &field : view.Fields) {
        for (const config::Condition &condition : field->Conditions)
            rows << FilterRow{field->Name, OperatorTextFromStored(operators, condition.Operator),
                              dialogs::ShownValue(condition.Value)};
    }
    return rows;
}

QString WriteFilters(const biz::ConfigFileSettings &operators, const DataFormat &format, config::DataView &view,
                     QList<FilterRow> &rows)
{
    for (const auto &field : view.Fields)
        field->ClearConditions();
    QString hidden;
    for (FilterRow &row : rows) {
        const auto field = view.Fields.Item(row.Field);
        if (!field)
            continue;
        const qint32 kind = format.ADOTypeToQuorivoFieldType(field->AdoType);
        const QString value = format.GetFormattedDataForEdit(row.Value, kind, field->ViewFormat);
        row.Value = dialogs::ShownValue(value);
        field->AddCondition(value, QStringLiteral("AND"), StoredFromOperatorText(operators, row.Operator));
        if (!field->Displayed && hidden.isEmpty())
            hidden = field->Name;
    }
    return hidden;
}

QString ValueListTitle(const QString &fieldName)
{
    return dialogs::ProperCase(fieldName + QStringLiteral(" Values"));
}

} // namespace qv::wizard
