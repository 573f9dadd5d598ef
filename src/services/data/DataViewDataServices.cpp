#include "DataViewDataServices.h"
#include "qvuser/HostSettings.h"

#include "DataJob.h"
#include "DataViewChecks.h"
#include "ConnectionText.h"
#include "SourceAccess.h"
#include "backends/HtmlTableReader.h"
#include "backends/PimFolderReader.h"
#include "backends/odbc/OdbcSources.h"

#include "ado/Recordset.h"
#include "automation/ComError.h"
#include "biz/FieldKinds.h"
#include "config/ConfigObjects.h"
#include "registry/Registry.h"

#include <QDir>
#include <QScopeGuard>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace qv::data {
namespace {

QList<Condition> ConditionsOf(const config::DataView &view)
{
    QList<Condition> conditions;
    for (const auto &field : view.Fields) {
        for (const config::Condition &c : field->Conditions)
            conditions.append({DataField{field->Name, field->AdoType ? field->AdoType : ado::adVarWChar, kTextSize},
                               OperatorCode(c.Operator), c.Value});
    }
    return conditions;
}

RowsRequest RequestOf(const config::DataView &view, bool withConditions)
{
    RowsRequest request;
    request.Kind = view.Source.Kind;
    request.ConnectionText = view.Source.ConnectionText;
    request.Item = view.DataItemName;
    for (const auto &field : view.Fields) {
        if (field->Displayed)
            request.Fields << field->Name;
    }
    if (withConditions)
        request.Conditions = ConditionsOf(view);
    return request;
}

// Done on the worker: it reads the source. A folder is its own single data
// item, whatever the view calls it.
void ResolveItem(RowsRequest &request)
{
    if (request.Kind == SourceFolder)
        request.Item = ListDataItems(request.Kind, request.ConnectionText).value(0);
}

std::shared_ptr<ado::Recordset> RecordsetOver(const OpenedRows &rows)
{
    auto rs = ado::Recordset::Create();
    for (const DataField &f : rows.Fields) {
        qint32 attributes = ado::adFldIsNullable | ado::adFldMayBeNull;
        if (f.DefinedSize >= kLongTextSize)
            attributes |= ado::adFldLong;
        rs->Fields().Append(f.Name, f.Type, f.DefinedSize, attributes);
        rs->Fields()[rs->Fields().Count() - 1].SetProperty(QStringLiteral("BASECOLUMNNAME"), Variant(f.Name));
    }
    rs->Open(rows.Source);
    return rs;
}

QString HtmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
}

// Only the view's table, as a page of its own.
QString TableHtml(const QString &title, const QList<DataField> &fields, const QList<ado::RowSource::Row> &rows)
{
    QString html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head><body>"
                                  "<table border=\"1\"><tr>")
                       .arg(HtmlEscaped(title));
    for (const DataField &f : fields)
        html += QStringLiteral("<th>%1</th>").arg(HtmlEscaped(f.Name));
    html += QStringLiteral("</tr>");
    for (const auto &row : rows) {
        html += QStringLiteral("<tr>");
        for (const Variant &cell : row)
            html += QStringLiteral("<td>%1</td>").arg(HtmlEscaped(cell.ToText()));
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}

} // namespace

DataViewDataServices::DataViewDataServices(QObject *parent) : QObject(parent)
{
}

DataViewDataServices::~DataViewDataServices()
{
    // A member still waiting ends with its job cancelled; nothing here waits
    // for the work to wind down.
    if (const auto job = m_current.lock())
        job->Cancel();
}

bool DataViewDataServices::Wait(const std::shared_ptr<DataJob> &job)
{
    m_cancelled = false;
    m_current = job;
    connect(job.get(), &DataJob::Fetching, this, &DataViewDataServices::Fetching);
    const auto forget = qScopeGuard([this] { m_current.reset(); });
    const bool finished = job->Wait();
    m_cancelled = !finished;
    return finished;
}

bool DataViewDataServices::RunWork(const std::function<void(WorkControl &)> &work, const std::function<void()> &apply)
{
    return Wait(DataJob::Start(work, apply));
}

void DataViewDataServices::Cancel()
{
    m_cancelled = true;
    if (const auto job = m_current.lock())
        job->Cancel();
}

std::shared_ptr<DataJob> DataViewDataServices::StartFillDataView(const std::shared_ptr<config::DataView> &view,
                                                                 qint32 previewRows)
{
    RequireView(view);
    // The worker gets plain values, never the caller's objects.
    RowsRequest request = RequestOf(*view, true);
    request.MaxRows = previewRows > 0 ? previewRows : -1;
    auto result = std::make_shared<std::shared_ptr<ado::Recordset>>();
    return DataJob::Start(
        [request, result](WorkControl &control) mutable {
            ResolveItem(request);
            control.Progress = 10;
            auto rs = RecordsetOver(OpenRows(request, control));
            control.Progress = 60;
            rs->MoveFirst();
            rs->IsEOF(); // brings the first page while the caller still waits
            *result = rs;
        },
        [view, result] { view->Recordset = *result; });
}

void DataViewDataServices::FillDataView(const std::shared_ptr<config::DataView> &view, qint32 previewRows)
{
    Wait(StartFillDataView(view, previewRows));
}

std::shared_ptr<Dictionary> DataViewDataServices::GetValueList(const std::shared_ptr<config::DataView> &view,
                                                               const QString &fieldName, qint32 mode, bool offline,
                                                               bool sorted)
{
    RequireView(view);
    // An offline list runs no work: without this, Cancelled() would still
    // tell of the fetch before it, and callers would drop the list.
    m_cancelled = false;
    m_valueListCut = false;
    auto list = std::make_shared<Dictionary>();
    const std::shared_ptr<config::Field> field = view->Fields.Item(fieldName);
    if (offline) {
        if (!view->Recordset || view->Recordset->State() != ado::adStateOpen)
            return list;
        auto rows = view->Recordset->Clone();
        for (rows->MoveFirst(); !rows->IsEOF() && list->Count() < m_valueListLimit; rows->MoveNext()) {
            const Variant v = rows->Fields()[fieldName].Value();
            if (!v.IsNull() && !v.IsEmpty() && !list->Exists(v))
                list->Add(v, v);
        }
        m_valueListCut = !rows->IsEOF();
        return list;
    }
    std::shared_ptr<Dictionary> online;
    bool cut = false;
    if (!Wait(StartValueList(view, fieldName, mode, sorted, [&](std::shared_ptr<Dictionary> values, bool wasCut) {
            online = std::move(values);
            cut = wasCut;
        })))
        return nullptr;
    m_valueListCut = cut;
    return online;
}

std::shared_ptr<DataJob> DataViewDataServices::StartValueList(
    const std::shared_ptr<config::DataView> &view, const QString &fieldName, qint32 mode, bool sorted,
    std::function<void(std::shared_ptr<Dictionary>, bool)> take)
{
    RequireView(view);
    Q_ASSERT(take);
    const std::shared_ptr<config::Field> field = view->Fields.Item(fieldName);
    RowsRequest request = RequestOf(*view, mode != 0);
    const DataField target{fieldName, field && field->AdoType ? field->AdoType : ado::adVarWChar, kTextSize};
    const qsizetype limit = m_valueListLimit;
    struct Answer
    {
        std::shared_ptr<Dictionary> list = std::make_shared<Dictionary>();
        bool cut = false;
    };
    auto answer = std::make_shared<Answer>();
    // The list is built on the worker too: a raised limit makes a long one,
    // and the caller's thread must stay free to see a Cancel.
    return DataJob::Start(
        [request, target, sorted, limit, answer](WorkControl &control) mutable {
            ResolveItem(request);
            for (const Variant &v : DistinctValues(request, target, sorted, limit, answer->cut, control)) {
                if (control.CancelRequested)
                    return;
                if (!answer->list->Exists(v))
                    answer->list->Add(v, v);
            }
        },
        [answer, take = std::move(take)] { take(answer->list, answer->cut); });
}

QString DataViewDataServices::GetHtml(const std::shared_ptr<config::DataView> &view, bool contextual)
{
    RequireView(view);
    if (view->Source.Kind != SourceHtml)
        return {};
    if (contextual) {
        const QString path = FileOfConnectionText(SourceHtml, view->Source.ConnectionText);
        QFile page(path);
        if (!page.open(QIODevice::ReadOnly))
            RaiseUnreadable(path, page.errorString());
        const QByteArray bytes = page.readAll();
        const QByteArray encoding = HtmlEncoding(bytes);
        return encoding.isEmpty() || encoding.compare("utf-8", Qt::CaseInsensitive) == 0
                   ? QString::fromUtf8(bytes)
                   : QString::fromLatin1(bytes);
    }
    QString html;
    Wait(StartTableHtml(view, [&html](QString page) { html = std::move(page); }));
    return html;
}

std::shared_ptr<DataJob> DataViewDataServices::StartTableHtml(const std::shared_ptr<config::DataView> &view,
                                                              std::function<void(QString)> take)
{
    RequireView(view);
    RowsRequest request = RequestOf(*view, true);
    const QString title = view->Name;
    auto html = std::make_shared<QString>();
    return DataJob::Start(
        [request, title, html](WorkControl &control) mutable {
            ResolveItem(request);
            const OpenedRows rows = OpenRows(request, control);
            QList<ado::RowSource::Row> all;
            for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();)
                all << page;
            *html = TableHtml(title, rows.Fields, all);
        },
        [html, take = std::move(take)] { take(*html); });
}

} // namespace qv::data
