#pragma once

#include <QList>
#include <QString>

namespace qv {
class DataFormat;
}
namespace qv::biz {
class ConfigFileSettings;
}
namespace qv::config {
class DataView;
class Field;
} // namespace qv::config

// The filter page's rules, without a widget: the operator texts, the value
// check, duplicates, and the writing of the list into the data view. The
// operators and their rules are the configuration file settings' (the same
// object the Insert Data filter asks).
namespace qv::wizard {

// One row of the filter list, as shown: field name, operator text as the
// operator list shows it, value ("(blank)" for an empty one).
struct FilterRow
{
    QString Field;
    QString Operator;
    QString Value;
    friend bool operator==(const FilterRow &, const FilterRow &) = default;
};

// The shown operator text of a stored one ("" when it names no operator).
QString OperatorTextFromStored(const biz::ConfigFileSettings &operators, const QString &stored);
// The stored operator text of a shown one ("" when no operator shows so).
QString StoredFromOperatorText(const biz::ConfigFileSettings &operators, const QString &shown);

// Whether `value` may be compared with `field` by the operator `code`:
// "(no filter)", "" and "(blank)" need no type check, but "(blank)" and an
// empty value (added as "(blank)") only with an operator that takes a blank.
// A missing field takes nothing.
bool IsFilterValueValid(const biz::ConfigFileSettings &operators, const config::Field *field, int code,
                        const QString &value);
// A row whose field, operator and value joined are `text`, without regard to case.
bool FilterExists(const QList<FilterRow> &rows, const QString &text);

// The list of a data view's conditions, fields in collection order.
QList<FilterRow> FilterRowsOf(const biz::ConfigFileSettings &operators, const config::DataView &view);

// Replaces the data view's conditions by the rows (rows on a field it lacks
// are skipped). Each value is turned into the field's edit form, and the row
// shows what was stored. Answers the first field that has a condition but
// is not displayed ("" when none).
QString WriteFilters(const biz::ConfigFileSettings &operators, const DataFormat &format, config::DataView &view,
                     QList<FilterRow> &rows);

// The progress title of a value list: the field name and " Values" in proper case.
QString ValueListTitle(const QString &fieldName);

} // namespace qv::wizard
