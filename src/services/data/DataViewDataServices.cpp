#include "DataViewDataServices.h"
#include "qvuser/HostSettings.h"

#include "DataJob.h"
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

// The source kinds as a data view's source names its type.
QString TypeNameOf(int kind)
{
    switch (kind) {
    case SourceFolder: return QStringLiteral("OutlookDataSource");
    case SourceExcel: return QStringLiteral("ExcelDataSource");
    case SourceAccess: return QStringLiteral("AccessDataSource");
    case SourceHtml: return QStringLiteral("HtmlDataSource");
    default: return QStringLiteral("ODBCDataSource");
    }
}

void RequireView(const std::shared_ptr<config::DataView> &view)
{
    if (!view)
        throw RuntimeError(vberr::ObjectRequired);
}

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

std::shared_ptr<Dictionary> DataViewDataServices::GetDataSources(qint32 kind, const QString &fileDsnFolder) const
{
    auto list = std::make_shared<Dictionary>();
    if (kind == 3) {
        // Without a folder, the one unixODBC keeps file data sources in.
        const QString folder = fileDsnFolder.isEmpty() ? OdbcFileDsnFolder() : fileDsnFolder;
        if (folder.isEmpty())
            return list;
        for (const QString &path : odbc::FileDataSources(folder))
            list->Add(Variant(path), Variant(QFileInfo(path).completeBaseName()));
        return list;
    }
    for (const auto &[name, description] : odbc::DataSourceNames(kind == 2))
        list->Add(Variant(name), Variant(description));
    return list;
}

QString DataViewDataServices::PimRoot() const
{
    const QString fromEnvironment = qEnvironmentVariable("QV_PIM_ROOT");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return m_pimRoot.isEmpty() ? CurrentHostSettings().PimRoot : m_pimRoot;
}

bool DataViewDataServices::OutlookAvailable() const
{
    const QString root = PimRoot();
    return !root.isEmpty() && QFileInfo(root).isDir();
}

std::shared_ptr<Dictionary> DataViewDataServices::GetDataItems(const std::shared_ptr<config::DataView> &view)
{
    RequireView(view);
    const int kind = view->Source.Kind;
    const QString text = view->Source.ConnectionText;
    auto items = std::make_shared<QStringList>();
    if (!RunWork([kind, text, items](WorkControl &) { *items = ListDataItems(kind, text); }))
        return nullptr;
    auto list = std::make_shared<Dictionary>();
    for (const QString &name : *items) {
        if (!list->Exists(Variant(name)))
            list->Add(Variant(name), Variant(QString()));
    }
    return list;
}

QString DataViewDataServices::GetConnectionString(qint32 kind, const QString &location, const QString &user,
                                                  const QString &password) const
{
    return BuildConnectionText(kind, location, user, password);
}

void DataViewDataServices::TestConnectionString(qint32 kind, const QString &connectionText)
{
    RunWork([kind, connectionText](WorkControl &) { TestSource(kind, connectionText); });
}

QString DataViewDataServices::SetDataSource(const std::shared_ptr<config::DataView> &view, qint32 kind,
                                            const QString &location, const QString &user, const QString &password,
                                            bool reset)
{
    RequireView(view);
    view->Source.Kind = kind;
    view->Source.TypeName = TypeNameOf(kind);
    view->Source.ConnectionText = kind == SourceFolder ? location : BuildConnectionText(kind, location, user, password);
    if (kind == SourceFolder)
        view->DataItemKind = 4;
    if (reset)
        view->DropRows();
    return view->Source.ConnectionText;
}

void DataViewDataServices::LoadFields(const std::shared_ptr<config::DataView> &view)
{
    RequireView(view);
    const int kind = view->Source.Kind;
    const QString text = view->Source.ConnectionText;
    QString item = view->DataItemName;
    auto fields = std::make_shared<QList<DataField>>();
    if (!RunWork([kind, text, item, fields](WorkControl &) {
            const QString name = kind == SourceFolder ? ListDataItems(kind, text).value(0) : item;
            *fields = ListFields(kind, text, name);
        }))
        return;
    const bool hadFields = view->Fields.Count() > 0;
    QStringList names;
    for (const DataField &f : *fields) {
        names << f.Name;
        std::shared_ptr<config::Field> existing = view->Fields.Item(f.Name);
        if (!existing) {
            existing = view->Fields.Add(f.Name);
            existing->DisplayName = f.Name;
            existing->Displayed = !hadFields;
        }
        existing->AdoType = f.Type;
        biz::GiveFieldKind(*existing);
    }
    QStringList gone;
    for (const auto &field : view->Fields) {
        if (!names.contains(field->Name, Qt::CaseInsensitive))
            gone << field->Name;
    }
    for (const QString &name : gone)
        view->Fields.Remove(name);
}

QList<PimFolderInfo> DataViewDataServices::GetFolders()
{
    const QString root = PimRoot();
    if (root.isEmpty())
        RaiseUnreadable(QStringLiteral("(contacts and tasks)"), QStringLiteral("no root folder is configured"), Remedy::CheckPath);
    if (!QFileInfo(root).isDir())
        RaiseUnreadable(root, QStringLiteral("no folder of that name exists"), Remedy::CheckPath);
    auto folders = std::make_shared<QList<PimFolderInfo>>();
    const bool done = RunWork([root, folders](WorkControl &control) {
        QStringList paths{QDir(root).absolutePath()};
        QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDirIterator::Subdirectories);
        while (it.hasNext())
            paths << it.next();
        std::sort(paths.begin() + 1, paths.end());
        for (qsizetype i = 0; i < paths.size() && !control.CancelRequested; ++i) {
            control.Progress = int(100 * i / paths.size());
            try {
                PimFolderReader reader(paths[i]);
                const QString type = reader.FolderType();
                if (type.isEmpty())
                    continue;
                const QString relative = QDir(root).relativeFilePath(paths[i]);
                const QString name = i == 0 ? QDir(paths[i]).dirName() : relative;
                folders->append({paths[i], name, type, qint32(reader.ReadItem(reader.DataItems().value(0)).Rows.size())});
            } catch (const ComError &) {
                // One unreadable folder must not hide the others from the chooser.
            }
        }
    });
    return done ? *folders : QList<PimFolderInfo>();
}

QString DataViewDataServices::GetFolderPath(const QString &folder, qint32) const
{
    const QFileInfo info(folder);
    if (!info.isDir())
        RaiseUnreadable(folder, QStringLiteral("no folder of that name exists"), Remedy::CheckPath);
    const QString type = PimFolderReader(info.absoluteFilePath()).FolderType();
    const QString root = PimRoot();
    return FolderSourceText(type, info.absoluteFilePath(), root.isEmpty() ? info.absolutePath() : root);
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
