#pragma once

#include "qvuser/scripting/Dictionary.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace qv::config {
class DataView;
}

namespace qv::data {

// A contacts or tasks folder as a folder chooser lists it.
struct PimFolderInfo
{
    QString Path;       // the folder on disk
    QString Name;       // its path below the root ("/" separated); the root's own name for the root
    QString FolderType; // "Contact" or "Task"
    qint32 ItemCount = 0;
};

class DataJob;
class WorkControl;

// The data services: everything the windows ask of a data view's source.
// One object serves a thread (its user-interface thread).
//
// Long work is a DataJob on the services' thread pool. The Start members
// hand the job to the caller, who waits on its Finished signal; the windows
// use these through their fetch helper. The other members are for callers
// that need an answer at once: they run the same job and wait for it in a
// local event loop, so that windows paint; Fetching reports progress (0 to
// 100) at least every 100 ms meanwhile, and Cancel, called from a handler
// during the wait, ends the member within 100 ms with Cancelled() true and
// nothing changed.
//
// Errors are ComError naming the source and what is wrong with it: number
// kErrorSourceUnreadable for a source that cannot be opened or read,
// kErrorNoSuchItem for a data item or field it lacks, kErrorBadFilter for a
// condition that does not suit its field.
class DataViewDataServices : public QObject
{
    Q_OBJECT

public:
    explicit DataViewDataServices(QObject *parent = nullptr);
    ~DataViewDataServices() override;

    // Fetches the data view's rows into its Recordset (refetching when it
    // has one): its displayed fields in display order, under its conditions,
    // at most `previewRows` of them when that is above 0. Over a database
    // the recordset holds the first page and fetches the rest as it is
    // walked, while its RecordCount tells the full count.
    void FillDataView(const std::shared_ptr<config::DataView> &view, qint32 previewRows = 0);
    // The same as a job: the view's Recordset is set just before Finished.
    std::shared_ptr<DataJob> StartFillDataView(const std::shared_ptr<config::DataView> &view, qint32 previewRows = 0);

    // The distinct values of a field, as keys of a dictionary (items are
    // the same values). `mode` 0 takes every row of the data item; any other
    // value only those the data view's conditions let through. `offline`
    // answers from the rows already in the view's Recordset without touching
    // the source (an empty list when there are none). At most ValueListLimit
    // values; ValueListCut tells whether there were more.
    std::shared_ptr<Dictionary> GetValueList(const std::shared_ptr<config::DataView> &view, const QString &fieldName,
                                             qint32 mode, bool offline, bool sorted);
    // The online value list as a job: `take` gets the list (and whether the
    // limit cut it) just before Finished.
    std::shared_ptr<DataJob> StartValueList(const std::shared_ptr<config::DataView> &view, const QString &fieldName,
                                            qint32 mode, bool sorted,
                                            std::function<void(std::shared_ptr<Dictionary>, bool)> take);
    qint32 ValueListLimit() const { return m_valueListLimit; }
    void SetValueListLimit(qint32 limit) { m_valueListLimit = std::max(limit, 1); }
    bool ValueListCut() const { return m_valueListCut; }

    // ODBC data sources of kind 1 (the user's names), 2 (the machine's) or
    // 3 (file data sources in `fileDsnFolder`): key to description.
    std::shared_ptr<Dictionary> GetDataSources(qint32 kind, const QString &fileDsnFolder = QString()) const;
    // True when a contacts and tasks root folder is configured and exists.
    bool OutlookAvailable() const;
    // The contacts and tasks root folder ("" when none is configured): the
    // environment variable QV_PIM_ROOT, else the folder set here, else the
    // host's (HostSettings.h).
    QString PimRoot() const;
    void SetPimRoot(const QString &folder) { m_pimRoot = folder; }

    // The data items of the view's source, keyed by name (items are "").
    std::shared_ptr<Dictionary> GetDataItems(const std::shared_ptr<config::DataView> &view);
    // The order of the names StartDataItems hands over.
    enum class ItemOrder { AsListed, ByName };
    // The data items as a job: `take` gets their names, each once, before
    // Finished: as the source lists them, or sorted without regard to case
    // (sorted on the worker, since a source may have thousands).
    std::shared_ptr<DataJob> StartDataItems(const std::shared_ptr<config::DataView> &view,
                                            std::function<void(QStringList)> take,
                                            ItemOrder order = ItemOrder::AsListed);

    QString GetConnectionString(qint32 kind, const QString &location, const QString &user,
                                const QString &password) const;
    // Opens the source and closes it; raises when it cannot be opened.
    void TestConnectionString(qint32 kind, const QString &connectionText);
    // The same test as a job; it fails as the member raises.
    std::shared_ptr<DataJob> StartTestConnection(qint32 kind, const QString &connectionText);
    // Makes the view's source of that kind at that location; with `reset`
    // its cached rows are dropped. Answers the source's connection text.
    QString SetDataSource(const std::shared_ptr<config::DataView> &view, qint32 kind, const QString &location,
                          const QString &user, const QString &password, bool reset);
    // Reads the view's field list from its data item: fields the view has
    // keep their settings and place, new ones are added (not displayed
    // unless the view had no fields), vanished ones go.
    void LoadFields(const std::shared_ptr<config::DataView> &view);
    // The same as a job: the view's fields change just before Finished.
    std::shared_ptr<DataJob> StartLoadFields(const std::shared_ptr<config::DataView> &view);
    // The contacts and tasks folders at and below PimRoot(), in path order;
    // folders that hold neither, or whose files cannot be read, are left
    // out. Raises kErrorSourceUnreadable when no root is configured or it
    // does not exist; empty when cancelled.
    QList<PimFolderInfo> GetFolders();
    // The text that names a contacts or tasks folder as a source (the
    // second argument is kept for callers that pass 0).
    QString GetFolderPath(const QString &folder, qint32 reserved = 0) const;
    // HTML for a view whose source renders itself (an HTML page): the whole
    // page with `contextual`, else only the view's table; "" for others.
    QString GetHtml(const std::shared_ptr<config::DataView> &view, bool contextual);
    // The view's own table as a job; `take` gets the page before Finished.
    std::shared_ptr<DataJob> StartTableHtml(const std::shared_ptr<config::DataView> &view,
                                            std::function<void(QString)> take);

    // Waits for a job of these services as the members that answer at once
    // do: Fetching follows it, Cancel reaches it, and Cancelled() then tells
    // of it. Raises its failure; false when it was cancelled.
    bool Wait(const std::shared_ptr<DataJob> &job);

    void Cancel();
    bool Cancelled() const { return m_cancelled; }

signals:
    void Fetching(qint32 progress);

private:
    // Runs a job and waits for it as the class comment says; false when cancelled.
    bool RunWork(const std::function<void(WorkControl &)> &work, const std::function<void()> &apply = {});

    std::weak_ptr<DataJob> m_current;
    bool m_cancelled = false;
    qint32 m_valueListLimit = 10000;
    bool m_valueListCut = false;
    QString m_pimRoot;
};

} // namespace qv::data
