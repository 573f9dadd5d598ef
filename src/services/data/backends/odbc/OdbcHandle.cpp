#include "OdbcHandle.h"

#include "data/backends/DataTable.h"

#include <QStringList>

#include <utility>

namespace qv::data::odbc {

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : m_type(type)
{
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &m_handle)))
        m_handle = SQL_NULL_HANDLE;
}

namespace {

void Free(SQLSMALLINT type, SQLHANDLE handle)
{
    if (handle == SQL_NULL_HANDLE)
        return;
    // A connection still open is not freed: the driver would keep it, and a
    // server its session, until the process ends.
    if (type == SQL_HANDLE_DBC)
        SQLDisconnect(handle);
    SQLFreeHandle(type, handle);
}

} // namespace

Handle::~Handle()
{
    Free(m_type, m_handle);
}

Handle::Handle(Handle &&other) noexcept
    : m_type(other.m_type), m_handle(std::exchange(other.m_handle, nullptr))
{
}

Handle &Handle::operator=(Handle &&other) noexcept
{
    if (this != &other) {
        Free(m_type, m_handle);
        m_type = other.m_type;
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

QString Diagnostics(const Handle &handle)
{
    if (!handle)
        return {};
    QStringList lines;
    for (SQLSMALLINT record = 1; record <= 10; ++record) {
        SQLWCHAR state[6] = {};
        SQLWCHAR message[1024] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN r = SQLGetDiagRecW(handle.type(), handle.get(), record, state, &native, message,
                                           SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(r))
            break;
        const qsizetype units = std::min<qsizetype>(length, qsizetype(std::size(message)) - 1);
        lines << QStringLiteral("%1 (SQLSTATE %2)").arg(FromWide(message, units).trimmed(), FromWide(state, 5));
    }
    return lines.join(QLatin1Char('\n'));
}

void Check(SQLRETURN result, const Handle &handle, const QString &source, const char *what)
{
    if (SQL_SUCCEEDED(result))
        return;
    const QString details = Diagnostics(handle);
    RaiseUnreadable(source, details.isEmpty() ? QString::fromLatin1(what) + QStringLiteral(" failed")
                                              : QString::fromLatin1(what) + QStringLiteral(" failed: ") + details);
}

} // namespace qv::data::odbc
