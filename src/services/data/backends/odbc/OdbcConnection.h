#pragma once

#include "OdbcHandle.h"
#include "SqlSelect.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace qv::data::odbc {

// The rows of one executed statement, read a page at a time. Cancel may be
// called from another thread while Fetch waits on the driver.
class Cursor
{
public:
    Cursor(Handle statement, QString source);
    const QList<DataField> &Fields() const { return m_fields; }
    // Up to `count` further rows; fewer, or none, at the end or once cancelled.
    QList<DataRow> Fetch(qsizetype count);
    void Cancel();
    bool Cancelled() const { return m_cancelled; }

private:
    Variant ReadValue(SQLUSMALLINT column, SQLSMALLINT sqlType);
    QString ReadText(SQLUSMALLINT column, bool &isNull);

    Handle m_statement;
    QString m_source;
    QList<DataField> m_fields;
    QList<SQLSMALLINT> m_sqlTypes;
    std::atomic<bool> m_cancelled{false};
    bool m_done = false;
};

// How long a connection may take to open and a statement to run before the
// driver gives up, where the driver supports the time-outs.
inline constexpr int kLoginTimeoutSeconds = 15;
inline constexpr int kQueryTimeoutSeconds = 300;

// A connection to an ODBC data source through unixODBC. Each worker thread
// opens its own: a connection is used by one thread at a time.
class Connection
{
public:
    // Opens the source of an ODBC connection text (a data view's, see
    // OdbcDriverText); raises kErrorSourceUnreadable with the driver's
    // diagnostics when it cannot be opened.
    explicit Connection(const QString &connectionText);

    // The tables and views, in the driver's order; names outside the default
    // schema are qualified ("sales.orders").
    QStringList Tables();
    // The fields of a table or view, with their ADO types.
    QList<DataField> Columns(const QString &item);
    // Executes a statement; the rows are then read through the cursor. With
    // `maxRows` > 0 the driver is told that no more rows are wanted, so that
    // a driver that reads a whole result up front reads only those.
    // `onCancel`, when given, receives a way to stop the statement before it
    // runs, so that a query that computes its whole result in the execute
    // call (a sorted DISTINCT) can be stopped there too; the caller must
    // forget it before the statement goes (when Execute throws, at once).
    std::unique_ptr<Cursor> Execute(const SqlStatement &statement, qint64 maxRows = 0,
                                    const std::function<void(std::function<void()>)> &onCancel = {});
    // The single number a COUNT statement answers; `onCancel` as for Execute.
    qint64 Count(const SqlStatement &statement, const std::function<void(std::function<void()>)> &onCancel = {});

    const SqlDialect &Dialect() const { return m_dialect; }
    // The connection text with any password masked, for messages.
    const QString &Source() const { return m_source; }

private:
    // The column names the catalog lists for a table or view, in its order.
    QStringList CatalogColumns(const QString &item);

    Handle m_environment;
    Handle m_connection;
    SqlDialect m_dialect;
    QString m_source;
};

// The ADO type number for an ODBC SQL type, and the defined size ADO reports.
int AdoTypeOf(SQLSMALLINT sqlType);
int DefinedSizeOf(SQLSMALLINT sqlType, SQLULEN columnSize);

} // namespace qv::data::odbc
