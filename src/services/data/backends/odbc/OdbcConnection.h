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
    // `interrupt`, when given, stops the driver's work on the statement from
    // another thread without touching the statement (see Connection::Interrupt).
    Cursor(Handle statement, QString source, std::function<void()> interrupt = {});
    const QList<DataField> &Fields() const { return m_fields; }
    // Up to `count` further rows; fewer, or none, at the end or once cancelled.
    QList<DataRow> Fetch(qsizetype count);
    void Cancel();
    bool Cancelled() const { return m_cancelled; }
    // Columns (from 0) whose SQL reads a text as bytes: they are read as
    // bytes and decoded from UTF-8 (see SqlStatement::TextColumnsAsBytes).
    void ReadAsBytes(const QList<qsizetype> &columns);

private:
    Variant ReadValue(SQLUSMALLINT column, SQLSMALLINT sqlType);
    QString ReadText(SQLUSMALLINT column, bool &isNull);
    QByteArray ReadBytes(SQLUSMALLINT column, bool &isNull);
    template<typename Buffer, typename Append>
    bool ReadPieces(SQLUSMALLINT column, SQLSMALLINT cType, Buffer &buffer, Append append);

    Handle m_statement;
    QString m_source;
    QList<DataField> m_fields;
    QList<SQLSMALLINT> m_sqlTypes;
    QList<bool> m_asBytes;
    std::function<void()> m_interrupt;
    std::atomic<bool> m_cancelled{false};
    bool m_done = false;
};

// Whether a statement is still inside its execute call: a cancel may reach
// the statement itself only then.
struct ExecuteGate
{
    std::mutex Mutex;
    bool Executing = true;
};

// How long a connection may take to open and a statement to run before the
// driver gives up, where the driver supports the time-outs.
inline constexpr int kLoginTimeoutSeconds = 15;
inline constexpr int kQueryTimeoutSeconds = 300;

// A connection to an ODBC data source through unixODBC. Each worker thread
// opens its own: a connection is used by one thread at a time.
//
// A connection text that sets no options of its own gets those with which
// the driver it reaches hands rows over as it reads them (SQLite's StepAPI,
// PostgreSQL's UseDeclareFetch), so that a first page never waits for the
// whole result nor holds it in memory.
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
    // Whether the statements hand rows over as the driver reads them.
    bool Streams() const { return m_streams; }
    // The connection text with any password masked, for messages.
    const QString &Source() const { return m_source; }

private:
    // The column names the catalog lists for a table or view, in its order.
    QStringList CatalogColumns(const QString &item);
    void Connect(const QString &driverText);
    // A way to stop whatever the driver runs on this connection that is
    // safe while a fetch runs, or an empty function where the driver has
    // none (see OdbcStreaming.cpp).
    std::function<void()> Interrupt() const;
    // The cancel of a statement that Execute hands out: Interrupt where the
    // driver has one, else the driver's cancel of the statement while `gate`
    // says it executes.
    std::function<void()> StopFor(const Handle &statement, const std::shared_ptr<ExecuteGate> &gate) const;

    Handle m_environment;
    Handle m_connection;
    // An idle statement whose cancel interrupts the connection (SQLite).
    Handle m_interrupter;
    SqlDialect m_dialect;
    QString m_source;
    QString m_dbms;
    bool m_streams = false;
};

// The ADO type number for an ODBC SQL type, and the defined size ADO reports.
int AdoTypeOf(SQLSMALLINT sqlType);
int DefinedSizeOf(SQLSMALLINT sqlType, SQLULEN columnSize);

} // namespace qv::data::odbc
