#include "SourceAccess.h"

#include "BackgroundWork.h"
#include "ConnectionText.h"
#include "backends/FileRowSource.h"
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
QString ItemOf(SourceReader &reader, int kind, const QString &item)
{
    if (kind == SourceExcel && item.endsWith(u'$') && !reader.DataItems().contains(item))
        return item.chopped(1);
    return item;
}

std::shared_ptr<SourceReader> OpenFileSource(int kind, const QString &connectionText)
{
    const QString path = PathOf(kind, connectionText);
    if (path.isEmpty())
        RaiseUnreadable(connectionText, QStringLiteral("it names no file or folder"), Remedy::CheckPath);
    return ReadWithinMemory(path, [&] { return std::shared_ptr<SourceReader>(OpenSource(path)); });
}

// A table read whole, narrowed to the request's rows and fields.
OpenedRows RowsOfTable(const DataTable &table, const RowChoice &choice)
{
    const RowPicker picker(table.Fields, choice);
    QList<DataRow> rows;
    for (const DataRow &row : table.Rows) {
        if (choice.MaxRows >= 0 && rows.size() >= choice.MaxRows)
            break;
        if (picker.Keeps(row))
            rows << picker.Pick(row);
    }
    return {picker.Shown(), std::make_shared<TableRowSource>(std::move(rows))};
}

// Takes the fields of an item and stops it at its first row.
class FieldsOnly : public TableSink
{
public:
    void Fields(const QList<DataField> &fields) override { Found = fields; }
    bool Row(DataRow) override { return false; }

    QList<DataField> Found;
};

qsizetype FieldIndexOf(const QList<DataField> &fields, const QString &name)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
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
    const std::shared_ptr<SourceReader> reader = OpenFileSource(kind, connectionText);
    const QString name = ItemOf(*reader, kind, item);
    return ReadWithinMemory(PathOf(kind, connectionText), [&] {
        // A streamed item's fields come from its first rows, as its rows will.
        if (!reader->Streams())
            return reader->ReadItem(name).Fields;
        FieldsOnly sink;
        reader->StreamItem(name, sink);
        return sink.Found;
    });
}

OpenedRows OpenRows(const RowsRequest &request, WorkControl &control)
{
    if (!IsOdbcKind(request.Kind)) {
        const QString path = PathOf(request.Kind, request.ConnectionText);
        const std::shared_ptr<SourceReader> reader = OpenFileSource(request.Kind, request.ConnectionText);
        const QString item = ItemOf(*reader, request.Kind, request.Item);
        const RowChoice choice{request.Fields, request.Conditions, request.MaxRows, request.ConnectionText};
        if (!reader->Streams())
            return RowsOfTable(ReadWithinMemory(path, [&] { return reader->ReadItem(item); }), choice);
        auto source = std::make_shared<FileRowSource>(
            [reader, item](TableSink &sink) { reader->StreamItem(item, sink); }, choice);
        control.OnCancel([source] { source->Cancel(); });
        return {source->Fields(), source};
    }
    odbc::Connection probe(request.ConnectionText);
    const QList<DataField> all = probe.Columns(request.Item);
    odbc::RowFilter filter;
    QList<Condition> inSql;
    filter.Conditions = odbc::ConditionsAfterQuery(request.Conditions, probe.Dialect(), inSql);
    filter.Fields = RowPicker(all, RowChoice{request.Fields, {}, -1, probe.Source()}).Shown();
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
