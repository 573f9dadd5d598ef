#include "OdbcConnection.h"

#include "automation/NumberDigits.h"
#include "automation/OleDate.h"

namespace qv::data::odbc {
namespace {

// "-123.4500" as a driver writes a NUMERIC: exact digits, '.' point.
bool PlainDigits(const QString &text, NumberDigits &out)
{
    out = {};
    qsizetype i = 0;
    const QString t = text.trimmed();
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        out.Negative = t[i++] == u'-';
    int point = -1;
    int digits = 0;
    for (; i < t.size(); ++i) {
        if (t[i] == u'.' && point < 0) {
            point = digits;
            continue;
        }
        if (!t[i].isDigit() || t[i].unicode() > 127)
            return false;
        out.Digits += char(t[i].unicode());
        ++digits;
    }
    if (digits == 0)
        return false;
    out.Point = point < 0 ? digits : point;
    out.Normalize();
    return true;
}

double OleDays(const SQL_TIMESTAMP_STRUCT &ts)
{
    const QDate date(ts.year, ts.month, ts.day);
    const int seconds = ts.hour * 3600 + ts.minute * 60 + ts.second;
    return date.isValid() ? MakeOleDate(date, seconds) : seconds / 86400.0;
}

} // namespace

Cursor::Cursor(Handle statement, QString source, std::function<void()> interrupt)
    : m_statement(std::move(statement)), m_source(std::move(source)), m_interrupt(std::move(interrupt))
{
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(m_statement.get(), &columns), m_statement, m_source, "Reading the fields");
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columns); ++c) {
        // A name longer than the buffer is described again into one that holds it.
        QList<SQLWCHAR> name(256, 0);
        SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        for (;;) {
            Check(SQLDescribeColW(m_statement.get(), c, name.data(), SQLSMALLINT(name.size()), &nameLength, &sqlType, &size,
                                  &digits, &nullable),
                  m_statement, m_source, "Reading the fields");
            if (nameLength < name.size() || name.size() >= 0x4000)
                break;
            name.fill(0, nameLength + 1);
        }
        m_fields.append({FromWide(name.data(), NameUnits(name.data(), name.size() - 1)), AdoTypeOf(sqlType),
                         DefinedSizeOf(sqlType, size)});
        m_sqlTypes.append(sqlType);
    }
}

void Cursor::Cancel()
{
    m_cancelled = true;
    // Never the driver's cancel of this statement: a fetch may be running on
    // it, and a driver may close the result under it. Without a way to
    // interrupt, the fetch stops at the next row.
    if (m_interrupt)
        m_interrupt();
}

QList<DataRow> Cursor::Fetch(qsizetype count)
{
    QList<DataRow> rows;
    while (!m_done && !m_cancelled && rows.size() < count) {
        const SQLRETURN r = SQLFetch(m_statement.get());
        if (r == SQL_NO_DATA) {
            m_done = true;
            break;
        }
        if (m_cancelled)
            break;
        Check(r, m_statement, m_source, "Reading the rows");
        DataRow row;
        row.reserve(m_fields.size());
        for (qsizetype c = 0; c < m_fields.size(); ++c) {
            if (m_asBytes.value(c)) {
                bool isNull = false;
                const QByteArray bytes = ReadBytes(SQLUSMALLINT(c + 1), isNull);
                row.append(isNull ? Variant::Null() : Variant(QString::fromUtf8(bytes)));
                continue;
            }
            row.append(ReadValue(SQLUSMALLINT(c + 1), m_sqlTypes[c]));
        }
        rows.append(std::move(row));
    }
    return rows;
}

void Cursor::ReadAsBytes(const QList<qsizetype> &columns)
{
    m_asBytes = QList<bool>(m_fields.size(), false);
    for (qsizetype c : columns) {
        if (c >= 0 && c < m_asBytes.size())
            m_asBytes[c] = true;
    }
}

// Reads a value in pieces of `buffer`, handing each piece's indicator to
// `append`; false (and nothing appended) for Null.
template<typename Buffer, typename Append>
bool Cursor::ReadPieces(SQLUSMALLINT column, SQLSMALLINT cType, Buffer &buffer, Append append)
{
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN r = SQLGetData(m_statement.get(), column, cType, buffer, sizeof buffer, &indicator);
        if (r == SQL_NO_DATA)
            return true;
        Check(r, m_statement, m_source, "Reading a value");
        if (indicator == SQL_NULL_DATA)
            return false;
        append(indicator);
        if (r == SQL_SUCCESS)
            return true;
    }
}

QByteArray Cursor::ReadBytes(SQLUSMALLINT column, bool &isNull)
{
    QByteArray bytes;
    char buffer[4096];
    // Each piece but the last fills the buffer; binary data has no terminator.
    isNull = !ReadPieces(column, SQL_C_BINARY, buffer, [&](SQLLEN indicator) {
        const qsizetype room = qsizetype(sizeof buffer);
        bytes.append(buffer, indicator == SQL_NO_TOTAL || indicator > room ? room : qsizetype(indicator));
    });
    return isNull ? QByteArray() : bytes;
}

QString Cursor::ReadText(SQLUSMALLINT column, bool &isNull)
{
    QString text;
    SQLWCHAR buffer[1024];
    // A long value comes in pieces; each but the last fills the buffer less
    // its terminator.
    isNull = !ReadPieces(column, SQL_C_WCHAR, buffer, [&](SQLLEN indicator) {
        const qsizetype room = qsizetype(std::size(buffer)) - 1;
        text += FromWide(buffer, indicator == SQL_NO_TOTAL || indicator / 2 > room ? room : indicator / 2);
    });
    return isNull ? QString() : text;
}

Variant Cursor::ReadValue(SQLUSMALLINT column, SQLSMALLINT sqlType)
{
    SQLLEN indicator = 0;
    const auto get = [&](SQLSMALLINT cType, void *target, SQLLEN size) {
        Check(SQLGetData(m_statement.get(), column, cType, target, size, &indicator), m_statement, m_source,
              "Reading a value");
        return indicator != SQL_NULL_DATA;
    };
    switch (sqlType) {
    case SQL_BIT: {
        unsigned char b = 0;
        return get(SQL_C_BIT, &b, 1) ? Variant(b != 0) : Variant::Null();
    }
    case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: {
        SQLINTEGER n = 0;
        return get(SQL_C_SLONG, &n, sizeof n) ? Variant(qint32(n)) : Variant::Null();
    }
    case SQL_BIGINT: {
        SQLBIGINT n = 0;
        return get(SQL_C_SBIGINT, &n, sizeof n) ? Variant(qint64(n)) : Variant::Null();
    }
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: {
        double d = 0;
        return get(SQL_C_DOUBLE, &d, sizeof d) ? Variant(d) : Variant::Null();
    }
    case SQL_TYPE_DATE: case SQL_DATE: case SQL_TYPE_TIMESTAMP: case SQL_TIMESTAMP:
    case SQL_TYPE_TIME: case SQL_TIME: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (sqlType == SQL_TYPE_TIME || sqlType == SQL_TIME) {
            SQL_TIME_STRUCT t{};
            if (!get(SQL_C_TYPE_TIME, &t, sizeof t))
                return Variant::Null();
            return Variant(DateValue{(t.hour * 3600 + t.minute * 60 + t.second) / 86400.0});
        }
        return get(SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts) ? Variant(DateValue{OleDays(ts)}) : Variant::Null();
    }
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: {
        bool isNull = false;
        QByteArray bytes = ReadBytes(column, isNull);
        return isNull ? Variant::Null() : Variant(std::move(bytes));
    }
    default:
        break;
    }
    bool isNull = false;
    const QString text = ReadText(column, isNull);
    if (isNull)
        return Variant::Null();
    if (sqlType == SQL_DECIMAL || sqlType == SQL_NUMERIC) {
        NumberDigits digits;
        Decimal d;
        if (PlainDigits(text, digits) && digits.ToDecimal(d))
            return Variant(d);
    }
    return Variant(text);
}

} // namespace qv::data::odbc
