#include "PimTables.h"

#include "automation/OleDate.h"

#include <QDateTime>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>
#include <vector>

namespace qv::data {

namespace {

enum Column { Subject, StartDate, DueDate, Status, Priority, PercentComplete, DateCompleted, Categories, Notes, ColumnCount };

// libical frees a component's children by recursion, which overflows the
// stack on a file nested a few hundred thousand deep (its parser itself keeps
// its own stack). Every grandchild is moved up to the root first, so no
// component is freed while it still has children.
void FreeFlat(icalcomponent *root)
{
    while (icalcomponent *child = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT)) {
        icalcomponent_remove_component(root, child);
        while (icalcomponent *grandchild = icalcomponent_get_first_component(child, ICAL_ANY_COMPONENT)) {
            icalcomponent_remove_component(child, grandchild);
            icalcomponent_add_component(root, grandchild);
        }
        icalcomponent_free(child);
    }
    icalcomponent_free(root);
}

struct ComponentFree
{
    void operator()(icalcomponent *component) const { FreeFlat(component); }
};

// A task list shows the day a task starts, is due or was completed. A time in
// UTC counts on this machine's calendar; a floating or zoned time is taken on
// the calendar it was written in.
Variant DayOf(icaltimetype time)
{
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time))
        return Variant::Null();
    QDate date(time.year, time.month, time.day);
    if (!time.is_date && icaltime_is_utc(time))
        date = QDateTime(date, QTime(time.hour, time.minute, time.second), QTimeZone::utc()).toLocalTime().date();
    if (!date.isValid())
        return Variant::Null();
    return DateValue{DateTimeToOleDate(date)};
}

QString TextOf(const char *text)
{
    return text ? QString::fromUtf8(text).trimmed() : QString();
}

void PutText(DataRow &row, int column, const QString &text)
{
    if (!text.isEmpty())
        row[column] = text;
}

QString StatusText(icalproperty_status status, int percent)
{
    switch (status) {
    case ICAL_STATUS_COMPLETED:
        return QStringLiteral("Completed");
    case ICAL_STATUS_INPROCESS:
        return QStringLiteral("In Progress");
    case ICAL_STATUS_CANCELLED:
        return QStringLiteral("Deferred");
    default:
        if (percent >= 100)
            return QStringLiteral("Completed");
        return percent > 0 ? QStringLiteral("In Progress") : QStringLiteral("Not Started");
    }
}

QString PriorityText(int priority)
{
    // 1 is the highest; 0 means none was given.
    if (priority >= 1 && priority <= 4)
        return QStringLiteral("High");
    if (priority >= 6 && priority <= 9)
        return QStringLiteral("Low");
    return QStringLiteral("Normal");
}

DataRow TaskRow(icalcomponent *todo)
{
    DataRow row(ColumnCount, Variant::Null());
    PutText(row, Subject, TextOf(icalcomponent_get_summary(todo)));
    row[StartDate] = DayOf(icalcomponent_get_dtstart(todo));
    row[DueDate] = DayOf(icalcomponent_get_due(todo));

    int percent = -1;
    if (icalproperty *property = icalcomponent_get_first_property(todo, ICAL_PERCENTCOMPLETE_PROPERTY))
        percent = std::clamp(icalproperty_get_percentcomplete(property), 0, 100);
    icalproperty *completed = icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
    const icalproperty_status status = icalcomponent_get_status(todo);
    if (percent < 0)
        percent = (status == ICAL_STATUS_COMPLETED || completed) ? 100 : 0;
    row[Status] = StatusText(completed && status == ICAL_STATUS_NONE ? ICAL_STATUS_COMPLETED : status, percent);
    int priority = 0;
    if (icalproperty *property = icalcomponent_get_first_property(todo, ICAL_PRIORITY_PROPERTY))
        priority = icalproperty_get_priority(property);
    row[Priority] = PriorityText(priority);
    row[PercentComplete] = qint32(percent);
    if (completed)
        row[DateCompleted] = DayOf(icalproperty_get_completed(completed));

    QStringList categories;
    for (icalproperty *property = icalcomponent_get_first_property(todo, ICAL_CATEGORIES_PROPERTY); property;
         property = icalcomponent_get_next_property(todo, ICAL_CATEGORIES_PROPERTY)) {
        for (const QString &category : TextOf(icalproperty_get_categories(property)).split(u','))
            if (!category.trimmed().isEmpty())
                categories << category.trimmed();
    }
    PutText(row, Categories, categories.join(QStringLiteral(", ")));
    PutText(row, Notes, TextOf(icalcomponent_get_description(todo)));
    return row;
}

// Every task in file order, a task's own sub-components not searched. The
// walk keeps its own stack: the depth of a file is no limit of ours.
void CollectTodos(icalcomponent *root, QList<DataRow> &rows)
{
    std::vector<icalcomponent *> pending{root};
    std::vector<icalcomponent *> children;
    while (!pending.empty()) {
        icalcomponent *component = pending.back();
        pending.pop_back();
        if (icalcomponent_isa(component) == ICAL_VTODO_COMPONENT) {
            rows << TaskRow(component);
            continue;
        }
        children.clear();
        for (icalcomponent *child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); child;
             child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

} // namespace

QList<DataField> TaskFields()
{
    return {
        {QStringLiteral("Subject"), ado::adVarWChar, kTextSize},
        {QStringLiteral("Start Date"), ado::adDate, 8},
        {QStringLiteral("Due Date"), ado::adDate, 8},
        {QStringLiteral("Status"), ado::adVarWChar, kTextSize},
        {QStringLiteral("Priority"), ado::adVarWChar, kTextSize},
        {QStringLiteral("% Complete"), ado::adInteger, 4},
        {QStringLiteral("Date Completed"), ado::adDate, 8},
        {QStringLiteral("Categories"), ado::adVarWChar, kTextSize},
        {QStringLiteral("Notes"), ado::adLongVarWChar, kLongTextSize},
    };
}

QList<DataRow> ReadTaskRows(const QByteArray &ics)
{
    QList<DataRow> rows;
    const QByteArray text = ics.startsWith("\xEF\xBB\xBF") ? ics.mid(3) : ics;
    std::unique_ptr<icalcomponent, ComponentFree> root(icalparser_parse_string(text.constData()));
    if (root)
        CollectTodos(root.get(), rows);
    return rows;
}

} // namespace qv::data
