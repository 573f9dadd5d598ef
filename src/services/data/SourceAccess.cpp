#include "SourceAccess.h"

#include "BackgroundWork.h"
#include "ConnectionText.h"
#include "backends/TableRowSource.h"
#include "backends/odbc/OdbcConnection.h"
#include "backends/odbc/OdbcRowSource.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <optional>

namespace qv::data {
namespace {

// The path a file or folder source names.
QString PathOf(int kind, const QString &connectionText)
{
    if (kind != SourceFolder)
        return FileOfConnectionText(kind, connectionText);
    // A folder named relative to its store (the root of the folders) is below it.
    const QString folder = FolderSourceValue(connectionText, QStringLiteral("FolderName"), QStringLiteral("StoreID"));
    QString store = FolderSourceValue(connectionText, QStringLiteral("StoreID"), QStringLiteral("\u0001"));
    if (store.endsWith(u'"'))
        store.chop(1); // the last attribute runs to the end of the text
    if (folder.isEmpty() || QDir::isAbsolutePath(folder) || store.isEmpty())
        return folder;
    return QDir(store).filePath(folder);
}

// Workbooks name a sheet "Orders$" where a query names it: the sheet is "Orders".
DataTable ReadNamedItem(SourceReader &reader, int kind, const QString &connectionText, const QString &item)
{
    return ReadWithinMemory(PathOf(kind, connectionText), [&] {
        if (kind == SourceExcel && item.endsWith(u'$') && !reader.DataItems().contains(item))
            return reader.ReadItem(item.chopped(1));
        return reader.ReadItem(item);
    });
}

std::unique_ptr<SourceReader> OpenFileSource(int kind, const QString &connectionText)
{
    const QString path = PathOf(kind, connectionText);
    if (path.isEmpty())
        RaiseUnreadable(connectionText, QStringLiteral("it names no file or folder"), Remedy::CheckPath);
    return ReadWithinMemory(path, [&] { return OpenSource(path); });
}

// A table read whole, narrowed to the request's rows and fields.
OpenedRows RowsOfTable(const DataTable &table, const RowsRequest &request)
{
    QList<qsizetype> columns;
    OpenedRows opened;
    if (request.Fields.isEmpty()) {
        for (qsizetype i = 0; i < table.Fields.size(); ++i)
            columns << i;
    } else {
        for (const QString &name : request.Fields) {
            const int index = table.FieldIndex(name);
            if (index < 0)
                RaiseNoSuchItem(request.ConnectionText, QStringLiteral("field"), name);
            columns << index;
        }
    }
    for (qsizetype c : columns)
        opened.Fields << table.Fields[c];
    const RowMatcher matcher(table.Fields, request.Conditions);
    QList<DataRow> rows;
    for (const DataRow &row : table.Rows) {
        if (request.MaxRows >= 0 && rows.size() >= request.MaxRows)
            break;
        if (!matcher.Matches(row))
            continue;
        DataRow shown;
        shown.reserve(columns.size());
        for (qsizetype c : columns)
            shown << row.value(c);
        rows << std::move(shown);
    }
    opened.Source = std::make_shared<TableRowSource>(std::move(rows));
    return opened;
}

qsizetype FieldIndexOf(const QList<DataField> &fields, const QString &name)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QList<DataField> FieldsNamed(const QString &source, const QList<DataField> &all, const QStringList &names)
{
    if (names.isEmpty())
        return all;
    QList<DataField> chosen;
    for (const QString &name : names) {
        const auto it = std::find_if(all.begin(), all.end(), [&](const DataField &f) {
            return f.Name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == all.end())
            RaiseNoSuchItem(source, QStringLiteral("field"), name);
        chosen << *it;
    }
    return chosen;
}

} // namespace

bool IsOdbcKind(int kind)
{
    return kind == SourceUserDsn || kind == SourceSystemDsn || kind == SourceDsnLess || kind == SourceFileDsn;
}

QStringList ListDataItems(int kind, const QString &connectionText)
{
    if (IsOdbcKind(kind))
        return odbc::Connection(connectionText).Tables();
    return OpenFileSource(kind, connectionText)->DataItems();
}

QList<DataField> ListFields(int kind, const QString &connectionText, const QString &item)
{
    if (IsOdbcKind(kind))
        return odbc::Connection(connectionText).Columns(item);
    return ReadNamedItem(*OpenFileSource(kind, connectionText), kind, connectionText, item).Fields;
}

OpenedRows OpenRows(const RowsRequest &request, WorkControl &control)
{
    if (!IsOdbcKind(request.Kind)) {
        const DataTable table = ReadNamedItem(*OpenFileSource(request.Kind, request.ConnectionText), request.Kind,
                                              request.ConnectionText, request.Item);
        return RowsOfTable(table, request);
    }
    odbc::Connection probe(request.ConnectionText);
    const QList<DataField> all = probe.Columns(request.Item);
    odbc::RowFilter filter;
    QList<Condition> inSql;
    filter.Conditions = odbc::ConditionsAfterQuery(request.Conditions, probe.Dialect(), inSql);
    filter.Fields = FieldsNamed(probe.Source(), all, request.Fields);
    filter.Shown = filter.Fields.size();
    // The fields the filter reads follow those the rows show.
    for (const Condition &c : std::as_const(filter.Conditions)) {
        const qsizetype i = FieldIndexOf(all, c.Field.Name);
        if (i >= 0 && FieldIndexOf(filter.Fields, c.Field.Name) < 0)
            filter.Fields << all[i];
    }
    const auto select = odbc::SelectStatement(request.Item, filter.Fields, inSql, probe.Dialect());
    const auto count = odbc::CountStatement(request.Item, inSql, probe.Dialect());
    // The fields as the table describes them: the select may read a text as bytes.
    const QList<DataField> shown = filter.Fields.mid(0, filter.Shown);
    auto source = std::make_shared<odbc::OdbcRowSource>(request.ConnectionText, select, count, 500, request.MaxRows,
                                                        std::move(filter));
    control.OnCancel([source] { source->Cancel(); });
    source->Fields(); // raises what running the select raised
    return {shown, source};
}

QList<Variant> DistinctValues(const RowsRequest &request, const DataField &field, bool sorted, qsizetype limit,
                              bool &cut, WorkControl &control)
{
    cut = false;
    QList<Variant> values;
    std::optional<odbc::Connection> odbcSource;
    QList<Condition> inSql;
    if (IsOdbcKind(request.Kind))
        odbcSource.emplace(request.ConnectionText);
    // Where conditions are decided after the query, the values are those of
    // the rows that pass, as the rows themselves are read.
    if (odbcSource && odbc::ConditionsAfterQuery(request.Conditions, odbcSource->Dialect(), inSql).isEmpty()) {
        odbc::Connection &db = *odbcSource;
        std::unique_ptr<odbc::Cursor> cursor;
        try {
            cursor = db.Execute(odbc::DistinctStatement(request.Item, field, request.Conditions, db.Dialect(), sorted), 0,
                                [&control](std::function<void()> stop) { control.OnCancel(std::move(stop)); });
        } catch (...) {
            control.OnCancel({});
            throw;
        }
        odbc::Cursor *raw = cursor.get();
        control.OnCancel([raw] { raw->Cancel(); });
        // The cursor goes with this call: so does the way to cancel it.
        const std::unique_ptr<WorkControl, void (*)(WorkControl *)> forget(&control,
                                                                       [](WorkControl *c) { c->OnCancel({}); });
        for (QList<DataRow> page; !(page = cursor->Fetch(1000)).isEmpty();) {
            for (const DataRow &row : page) {
                if (values.size() >= limit) {
                    cut = true;
                    break;
                }
                values << row.value(0);
            }
            if (cut || control.CancelRequested)
                break;
        }
        return values;
    }
    RowsRequest one = request;
    one.Fields = QStringList{field.Name};
    one.MaxRows = -1;
    OpenedRows rows = OpenRows(one, control);
    QSet<QString> seen;
    for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();) {
        for (const auto &row : page) {
            const Variant &v = row.value(0);
            if (v.IsNull() || v.IsEmpty())
                continue;
            // Two cells are one value when they read the same, as SQL's DISTINCT takes them.
            const QString key = QString::number(int(v.Type())) + u':' + v.ToText();
            if (seen.contains(key))
                continue;
            seen.insert(key);
            values << v;
        }
    }
    if (sorted) {
        std::stable_sort(values.begin(), values.end(), [](const Variant &a, const Variant &b) {
            if (a.IsNumeric() && b.IsNumeric())
                return a.ToDouble() < b.ToDouble();
            if (const DateValue *da = a.Get<DateValue>(); da && b.Get<DateValue>())
                return da->Days < b.Get<DateValue>()->Days;
            return a.ToText().compare(b.ToText(), Qt::CaseInsensitive) < 0;
        });
    }
    if (values.size() > limit) {
        values.resize(limit);
        cut = true;
    }
    return values;
}

void TestSource(int kind, const QString &connectionText)
{
    if (IsOdbcKind(kind)) {
        odbc::Connection db(connectionText);
        return;
    }
    OpenFileSource(kind, connectionText)->DataItems();
}

} // namespace qv::data
