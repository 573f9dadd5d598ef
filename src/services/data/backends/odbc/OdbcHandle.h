#pragma once

#include <QString>

#include <sql.h>
#include <sqlext.h>

namespace qv::data::odbc {

// One ODBC handle, freed with its owner. Environment, connection and statement
// handles nest: a statement must go before its connection.
class Handle
{
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE parent);
    ~Handle();
    Handle(Handle &&other) noexcept;
    Handle &operator=(Handle &&other) noexcept;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    SQLHANDLE get() const { return m_handle; }
    SQLSMALLINT type() const { return m_type; }
    explicit operator bool() const { return m_handle != SQL_NULL_HANDLE; }

private:
    SQLSMALLINT m_type = 0;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

// The driver's diagnostic records of the last call on `handle`, as
// "message (SQLSTATE xxxxx)" lines; "" when there are none.
QString Diagnostics(const Handle &handle);

// Raises kErrorSourceUnreadable naming `what` failed for `source` with the
// driver's diagnostics, unless `result` is a success.
void Check(SQLRETURN result, const Handle &handle, const QString &source, const char *what);

// Text to and from the driver's UTF-16 SQLWCHAR.
inline SQLWCHAR *Wide(const QString &text)
{
    return reinterpret_cast<SQLWCHAR *>(const_cast<QChar *>(text.constData()));
}
// The text of a name buffer up to its first NUL, never past `capacity` units:
// some drivers give a name's length in bytes of UTF-8, which runs past its
// end when it holds other letters than ASCII ("ünï" came back with NULs).
inline qsizetype NameUnits(const SQLWCHAR *text, qsizetype capacity)
{
    qsizetype units = 0;
    while (units < capacity && text[units] != 0)
        ++units;
    return units;
}

inline QString FromWide(const SQLWCHAR *text, qsizetype units)
{
    return QString(reinterpret_cast<const QChar *>(text), units);
}

static_assert(sizeof(SQLWCHAR) == sizeof(QChar), "unixODBC's SQLWCHAR is UTF-16");

} // namespace qv::data::odbc
