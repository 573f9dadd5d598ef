// The data services' catalogue: the data sources of the machine, the data
// items and fields of a source, connection texts, and the contacts and tasks
// folders.
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

#include <algorithm>
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

// Sorted by each name's case folding, made once per name.
void SortWithoutCase(QStringList &names)
{
    QList<std::pair<QString, QString>> keyed;
    keyed.reserve(names.size());
    for (QString &name : names)
        keyed.append({name.toCaseFolded(), std::move(name)});
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto &[key, name] : keyed)
        names.append(std::move(name));
}

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

// Brings a view's field list in line with the fields its data item has:
// fields the view has keep their settings and place, new ones are added (not
// displayed unless the view had no fields), vanished ones go.
void MergeFields(config::DataView &view, const QList<DataField> &fields)
{
    const bool hadFields = view.Fields.Count() > 0;
    QStringList names;
    for (const DataField &f : fields) {
        names << f.Name;
        std::shared_ptr<config::Field> existing = view.Fields.Item(f.Name);
        if (!existing) {
            existing = view.Fields.Add(f.Name);
            existing->DisplayName = f.Name;
            existing->Displayed = !hadFields;
        }
        existing->AdoType = f.Type;
        biz::GiveFieldKind(*existing);
    }
    QStringList gone;
    for (const auto &field : view.Fields) {
        if (!names.contains(field->Name, Qt::CaseInsensitive))
            gone << field->Name;
    }
    for (const QString &name : gone)
        view.Fields.Remove(name);
}

} // namespace

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
    // Each with what its author wrote of it; the driver's name tells a user nothing.
    for (const auto &[name, driver] : odbc::DataSourceNames(kind == 2))
        list->Add(Variant(name), Variant(odbc::DataSourceDescription(name, kind == 2)));
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
    QStringList names;
    if (!Wait(StartDataItems(view, [&names](QStringList items) { names = std::move(items); })))
        return nullptr;
    auto list = std::make_shared<Dictionary>();
    for (const QString &name : std::as_const(names)) {
        if (!list->Exists(Variant(name)))
            list->Add(Variant(name), Variant(QString()));
    }
    return list;
}

std::shared_ptr<DataJob> DataViewDataServices::StartDataItems(const std::shared_ptr<config::DataView> &view,
                                                              std::function<void(QStringList)> take, ItemOrder order)
{
    RequireView(view);
    const int kind = view->Source.Kind;
    const QString text = view->Source.ConnectionText;
    auto items = std::make_shared<QStringList>();
    return DataJob::Start(
        [kind, text, items, order](WorkControl &) {
            *items = ListDataItems(kind, text);
            items->removeDuplicates();
            if (order == ItemOrder::ByName)
                SortWithoutCase(*items);
        },
        [items, take = std::move(take)] { take(std::move(*items)); });
}

QString DataViewDataServices::GetConnectionString(qint32 kind, const QString &location, const QString &user,
                                                  const QString &password) const
{
    return BuildConnectionText(kind, location, user, password);
}

void DataViewDataServices::TestConnectionString(qint32 kind, const QString &connectionText)
{
    Wait(StartTestConnection(kind, connectionText));
}

std::shared_ptr<DataJob> DataViewDataServices::StartTestConnection(qint32 kind, const QString &connectionText)
{
    return DataJob::Start([kind, connectionText](WorkControl &) { TestSource(kind, connectionText); });
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
    Wait(StartLoadFields(view));
}

std::shared_ptr<DataJob> DataViewDataServices::StartLoadFields(const std::shared_ptr<config::DataView> &view)
{
    RequireView(view);
    const int kind = view->Source.Kind;
    const QString text = view->Source.ConnectionText;
    QString item = view->DataItemName;
    auto fields = std::make_shared<QList<DataField>>();
    return DataJob::Start(
        [kind, text, item, fields](WorkControl &) {
            const QString name = kind == SourceFolder ? ListDataItems(kind, text).value(0) : item;
            *fields = ListFields(kind, text, name);
        },
        [view, fields] { MergeFields(*view, *fields); });
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
                // The type comes from the files' names; a folder of them
                // holding no card or to-do is no contacts or tasks folder.
                const qint32 items = qint32(reader.ReadItem(reader.DataItems().value(0)).Rows.size());
                if (items == 0)
                    continue;
                const QString relative = QDir(root).relativeFilePath(paths[i]);
                const QString name = i == 0 ? QDir(paths[i]).dirName() : relative;
                folders->append({paths[i], name, type, items});
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

} // namespace qv::data
