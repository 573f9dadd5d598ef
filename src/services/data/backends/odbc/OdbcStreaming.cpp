// How a connection gets rows as the driver reads them, and how its work is
// stopped from another thread without racing the driver.
#include "OdbcConnection.h"

#include "data/ConnectionText.h"

#include <QHash>

#include <optional>

namespace qv::data::odbc {
namespace {

// The option with which a driver hands rows over as it reads them instead
// of reading the whole result first, by the database name it reports.
struct StreamingDriver
{
    const char *dbms;
    const char *key;
    const char *value;
    // A further option to add with it, unless the text sets it.
    const char *extraKey;
    const char *extraValue;
};

constexpr StreamingDriver kStreamingDrivers[] = {
    {"SQLite", "StepAPI", "1", nullptr, nullptr},
    // The server keeps the result; the driver fetches a page of it at a time.
    {"PostgreSQL", "UseDeclareFetch", "1", "Fetch", "500"},
};

const StreamingDriver *StreamingDriverOf(const QString &dbms)
{
    for (const StreamingDriver &d : kStreamingDrivers) {
        if (dbms.startsWith(QLatin1String(d.dbms), Qt::CaseInsensitive))
            return &d;
    }
    return nullptr;
}

// The options added to each connection text, found on its first connection:
// later ones connect once, with them.
std::mutex g_chosenMutex;
QHash<QString, QList<ConnectionPart>> g_chosen;

QString WithParts(const QString &text, const QList<ConnectionPart> &added)
{
    if (added.isEmpty())
        return text;
    QList<ConnectionPart> parts = ParseConnectionText(text);
    parts.append(added);
    return JoinConnectionText(parts);
}

} // namespace

void Connection::Connect(const QString &driverText)
{
    std::optional<QList<ConnectionPart>> chosen;
    {
        std::lock_guard lock(g_chosenMutex);
        if (const auto it = g_chosen.constFind(driverText); it != g_chosen.cend())
            chosen = *it;
    }
    const auto connect = [this](const QString &text) {
        // The narrow call, in UTF-8: unixODBC's wide one does not open file
        // data sources ("FILEDSN=").
        QByteArray bytes = text.toUtf8();
        SQLCHAR out[1024];
        SQLSMALLINT outLength = 0;
        Check(SQLDriverConnect(m_connection.get(), nullptr, reinterpret_cast<SQLCHAR *>(bytes.data()),
                               SQLSMALLINT(bytes.size()), out, SQLSMALLINT(sizeof out), &outLength, SQL_DRIVER_NOPROMPT),
              m_connection, m_source, "Connecting");
        SQLWCHAR dbms[64] = {};
        SQLSMALLINT dbmsLength = 0;
        SQLGetInfoW(m_connection.get(), SQL_DBMS_NAME, dbms, sizeof dbms, &dbmsLength);
        m_dbms = FromWide(dbms, NameUnits(dbms, qsizetype(std::size(dbms)) - 1));
    };
    connect(WithParts(driverText, chosen.value_or(QList<ConnectionPart>())));
    const StreamingDriver *driver = StreamingDriverOf(m_dbms);
    const QList<ConnectionPart> given = ParseConnectionText(driverText);
    if (!chosen) {
        // Only the driver the text reaches tells which options it takes; an
        // option the author set is the author's.
        QList<ConnectionPart> added;
        bool set = false;
        if (driver && (ConnectionValue(given, QLatin1String(driver->key), &set), !set)) {
            added.append({QLatin1String(driver->key), QLatin1String(driver->value)});
            if (driver->extraKey && (ConnectionValue(given, QLatin1String(driver->extraKey), &set), !set))
                added.append({QLatin1String(driver->extraKey), QLatin1String(driver->extraValue)});
        }
        {
            std::lock_guard lock(g_chosenMutex);
            g_chosen.insert(driverText, added);
        }
        if (!added.isEmpty()) {
            SQLDisconnect(m_connection.get());
            connect(WithParts(driverText, added));
        }
        chosen = added;
    }
    const QList<ConnectionPart> effective = given + *chosen;
    m_streams = driver && ConnectionValue(effective, QLatin1String(driver->key)).trimmed() == QLatin1String("1");
    if (m_dbms.startsWith(u"SQLite", Qt::CaseInsensitive))
        m_interrupter = Handle(SQL_HANDLE_STMT, m_connection.get());
}

std::function<void()> Connection::Interrupt() const
{
    if (!m_interrupter)
        return {};
    // SQLite's driver answers a cancel by interrupting its whole connection
    // and then closing the statement it was given. Given a running one, that
    // frees the result a fetch is writing; given this idle one, it stops the
    // running statement and closes nothing in use.
    return [raw = m_interrupter.get()] { SQLCancel(raw); };
}

std::function<void()> Connection::StopFor(const Handle &statement, const std::shared_ptr<ExecuteGate> &gate) const
{
    if (std::function<void()> interrupt = Interrupt())
        return interrupt;
    // Other drivers cancel a statement on the server while it executes; once
    // it fetches, a cancel would close the result under the fetch, so the
    // fetch is stopped between rows instead.
    return [raw = statement.get(), gate] {
        std::lock_guard lock(gate->Mutex);
        if (gate->Executing)
            SQLCancel(raw);
    };
}

} // namespace qv::data::odbc
