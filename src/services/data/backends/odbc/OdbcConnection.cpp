#include "OdbcConnection.h"

#include "data/ConnectionText.h"
#include "automation/OleDate.h"

#include <QDateTime>
#include <QScopeGuard>


namespace qv::data::odbc {
namespace {

QString MaskedText(const QString &connectionText)
{
    QList<ConnectionPart> parts = ParseConnectionText(connectionText);
    for (ConnectionPart &part : parts) {
        if (part.Key.compare(QLatin1String("PWD"), Qt::CaseInsensitive) == 0
            || part.Key.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0)
            part.Value = QStringLiteral("***");
    }
    return JoinConnectionText(parts);
}

bool IsSystemSchema(const QString &schema)
{
    return schema.compare(QLatin1String("information_schema"), Qt::CaseInsensitive) == 0
           || schema.startsWith(QLatin1String("pg_"), Qt::CaseInsensitive)
           || schema.compare(QLatin1String("sys"), Qt::CaseInsensitive) == 0;
}

bool IsDefaultSchema(const QString &schema)
{
    return schema.isEmpty() || schema.compare(QLatin1String("public"), Qt::CaseInsensitive) == 0
           || schema.compare(QLatin1String("main"), Qt::CaseInsensitive) == 0
           || schema.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0;
}

// A column of a catalog result set as text.
QString CatalogText(const Handle &statement, SQLUSMALLINT column)
{
    // Read in pieces: a name longer than the buffer continues in the next call.
    QString text;
    for (;;) {
        SQLWCHAR buffer[512] = {};
        SQLLEN indicator = 0;
        const SQLRETURN r = SQLGetData(statement.get(), column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
        if (!SQL_SUCCEEDED(r) || indicator == SQL_NULL_DATA)
            return text;
        text += FromWide(buffer, NameUnits(buffer, qsizetype(std::size(buffer)) - 1));
        if (r != SQL_SUCCESS_WITH_INFO || (indicator >= 0 && indicator < SQLLEN(sizeof buffer)))
            return text;
    }
}

void BindParameters(const Handle &statement, const QList<Variant> &parameters, QList<QByteArray> &storage,
                    QList<SQLLEN> &indicators, const QString &source)
{
    // The driver reads the buffers at execution: they live in `storage`.
    storage.resize(parameters.size());
    indicators.resize(parameters.size());
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const Variant &p = parameters[i];
        const auto number = SQLUSMALLINT(i + 1);
        SQLRETURN r = SQL_ERROR;
        if (const double *d = p.Get<double>()) {
            storage[i] = QByteArray(reinterpret_cast<const char *>(d), sizeof(double));
            indicators[i] = 0;
            r = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                 storage[i].data(), 0, &indicators[i]);
        } else if (const DateValue *date = p.Get<DateValue>()) {
            const QDateTime moment = OleDateToDateTime(date->Days);
            SQL_TIMESTAMP_STRUCT ts{SQLSMALLINT(moment.date().year()), SQLUSMALLINT(moment.date().month()),
                                    SQLUSMALLINT(moment.date().day()), SQLUSMALLINT(moment.time().hour()),
                                    SQLUSMALLINT(moment.time().minute()), SQLUSMALLINT(moment.time().second()), 0};
            storage[i] = QByteArray(reinterpret_cast<const char *>(&ts), sizeof ts);
            indicators[i] = 0;
            r = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                                 19, 0, storage[i].data(), 0, &indicators[i]);
        } else if (const bool *b = p.Get<bool>()) {
            storage[i] = QByteArray(1, *b ? 1 : 0);
            indicators[i] = 0;
            r = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 1, 0,
                                 storage[i].data(), 0, &indicators[i]);
        } else {
            const QString text = p.ToText();
            storage[i] = QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2 + 2);
            indicators[i] = SQLLEN(text.size() * 2);
            r = SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                 SQLULEN(std::max<qsizetype>(text.size(), 1)), 0, storage[i].data(),
                                 SQLLEN(storage[i].size()), &indicators[i]);
        }
        Check(r, statement, source, "Binding a filter value");
    }
}

} // namespace

int AdoTypeOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_CHAR: return 129;           // adChar
    case SQL_VARCHAR: return 200;        // adVarChar
    case SQL_LONGVARCHAR: return 201;    // adLongVarChar
    case SQL_WCHAR: return 130;          // adWChar
    case SQL_WVARCHAR: return ado::adVarWChar;
    case SQL_WLONGVARCHAR: return ado::adLongVarWChar;
    case SQL_BIT: return ado::adBoolean;
    case SQL_TINYINT: return 16;         // adTinyInt
    case SQL_SMALLINT: return ado::adSmallInt;
    case SQL_INTEGER: return ado::adInteger;
    case SQL_BIGINT: return 20;          // adBigInt
    case SQL_REAL: return ado::adSingle;
    case SQL_FLOAT: case SQL_DOUBLE: return ado::adDouble;
    case SQL_DECIMAL: case SQL_NUMERIC: return ado::adNumeric;
    case SQL_TYPE_DATE: case SQL_DATE: return 133;         // adDBDate
    case SQL_TYPE_TIME: case SQL_TIME: return 134;         // adDBTime
    case SQL_TYPE_TIMESTAMP: case SQL_TIMESTAMP: return 135; // adDBTimeStamp
    case SQL_GUID: return ado::adGUID;
    case SQL_BINARY: return 128;         // adBinary
    case SQL_VARBINARY: return ado::adVarBinary;
    case SQL_LONGVARBINARY: return ado::adLongVarBinary;
    default: return ado::adVarWChar;
    }
}

int DefinedSizeOf(SQLSMALLINT sqlType, SQLULEN columnSize)
{
    switch (sqlType) {
    case SQL_CHAR: case SQL_VARCHAR: case SQL_WCHAR: case SQL_WVARCHAR: case SQL_BINARY: case SQL_VARBINARY:
        return columnSize > 0 && columnSize < SQLULEN(kLongTextSize) ? int(columnSize) : kTextSize;
    case SQL_LONGVARCHAR: case SQL_WLONGVARCHAR: case SQL_LONGVARBINARY:
        return kLongTextSize;
    case SQL_BIT: case SQL_TINYINT: return 1;
    case SQL_SMALLINT: return 2;
    case SQL_INTEGER: case SQL_REAL: return 4;
    case SQL_GUID: return 16;
    default: return 8;
    }
}

Connection::Connection(const QString &connectionText)
    : m_source(MaskedText(connectionText))
{
    const QString driverText = OdbcDriverText(connectionText);
    if (driverText.isEmpty())
        RaiseUnreadable(m_source, QStringLiteral("it is not an ODBC connection text"));
    m_environment = Handle(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    if (!m_environment)
        RaiseUnreadable(m_source, QStringLiteral("the ODBC driver manager could not be started"));
    SQLSetEnvAttr(m_environment.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    m_connection = Handle(SQL_HANDLE_DBC, m_environment.get());
    SQLSetConnectAttr(m_connection.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(kLoginTimeoutSeconds)), 0);
    Connect(driverText);
    SQLWCHAR quote[4] = {};
    SQLSMALLINT quoteLength = 0;
    if (SQL_SUCCEEDED(SQLGetInfoW(m_connection.get(), SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &quoteLength)))
        m_dialect.Quote = quoteLength > 0 ? QChar(quote[0]) : QChar(u' ');
    // SQLite reads a double-quoted name that names no column as a text
    // literal, so a field it cannot find would show its own name in every
    // row; a backquoted name is only ever a name, and a missing one an error.
    if (m_dbms.startsWith(u"SQLite", Qt::CaseInsensitive)) {
        m_dialect.Quote = u'`';
        m_dialect.FoldsAsciiOnly = true;
        m_dialect.CutsTextAtNul = true;
    }
    SQLUINTEGER schemaUsage = 0;
    if (SQL_SUCCEEDED(SQLGetInfoW(m_connection.get(), SQL_SCHEMA_USAGE, &schemaUsage, sizeof schemaUsage, nullptr)))
        m_dialect.Schemas = schemaUsage != 0;
}

QStringList Connection::Tables()
{
    Handle statement(SQL_HANDLE_STMT, m_connection.get());
    QString types = QStringLiteral("TABLE,VIEW");
    Check(SQLTablesW(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, Wide(types), SQLSMALLINT(types.size())),
          statement, m_source, "Listing the tables");
    QStringList names;
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) {
        // A source without schemas has no schema column worth a call per name.
        const QString schema = m_dialect.Schemas ? CatalogText(statement, 2) : QString();
        const QString name = CatalogText(statement, 3);
        if (name.isEmpty() || IsSystemSchema(schema))
            continue;
        // A name with a dot of its own is qualified even in the default
        // schema, so that the item splits at the schema's dot, not at its own.
        const bool qualify = m_dialect.Schemas && (!IsDefaultSchema(schema) || name.contains(u'.'));
        names << (qualify && !schema.isEmpty() ? schema + u'.' + name : name);
    }
    return names;
}

QList<DataField> Connection::Columns(const QString &item)
{
    // Describing an empty result gives the driver's own view of the types,
    // the same as the rows will come in.
    SqlStatement probe{QStringLiteral("SELECT * FROM ") + QuoteTable(item, m_dialect) + QStringLiteral(" WHERE 1=0"), {}};
    QList<DataField> fields = Execute(probe)->Fields();
    // The names come from the catalog where it lists the same columns: a
    // driver may describe "a.b" as "b", and a select of "b" reads nothing.
    const QStringList names = CatalogColumns(item);
    if (names.size() == fields.size()) {
        for (qsizetype i = 0; i < names.size(); ++i)
            fields[i].Name = names[i];
    }
    return fields;
}

QStringList Connection::CatalogColumns(const QString &item)
{
    const qsizetype dot = m_dialect.Schemas ? item.indexOf(u'.') : -1;
    QString schema = dot > 0 ? item.left(dot) : QString();
    QString table = dot > 0 ? item.mid(dot + 1) : item;
    Handle statement(SQL_HANDLE_STMT, m_connection.get());
    const SQLRETURN r = SQLColumnsW(statement.get(), nullptr, 0, schema.isEmpty() ? nullptr : Wide(schema),
                                    SQLSMALLINT(schema.isEmpty() ? 0 : schema.size()), Wide(table), SQLSMALLINT(table.size()),
                                    nullptr, 0);
    QStringList names;
    if (!SQL_SUCCEEDED(r))
        return names;
    // The names are patterns ('_' and '%' match any letter): only the rows
    // of the table itself count.
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) {
        const QString rowSchema = CatalogText(statement, 2);
        const QString rowTable = CatalogText(statement, 3);
        if (rowTable == table && (schema.isEmpty() || rowSchema == schema))
            names << CatalogText(statement, 4);
    }
    return names;
}

std::unique_ptr<Cursor> Connection::Execute(const SqlStatement &statement, qint64 maxRows,
                                            const std::function<void(std::function<void()>)> &onCancel)
{
    Handle handle(SQL_HANDLE_STMT, m_connection.get());
    if (!handle)
        Check(SQL_ERROR, m_connection, m_source, "Preparing a query");
    if (maxRows > 0)
        SQLSetStmtAttr(handle.get(), SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(SQLULEN(maxRows)), 0);
    // A server that stops answering must not hold the author's window for ever.
    SQLSetStmtAttr(handle.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(kQueryTimeoutSeconds)), 0);
    QList<QByteArray> storage;
    QList<SQLLEN> indicators;
    BindParameters(handle, statement.Parameters, storage, indicators, m_source);
    QString sql = statement.Sql;
    const auto gate = std::make_shared<ExecuteGate>();
    if (onCancel)
        onCancel(StopFor(handle, gate));
    try {
        const SQLRETURN r = SQLExecDirectW(handle.get(), Wide(sql), SQLINTEGER(sql.size()));
        {
            std::lock_guard lock(gate->Mutex);
            gate->Executing = false;
        }
        Check(r, handle, m_source, "Reading the rows");
    } catch (...) {
        // Forgotten while the statement still exists, so that no cancel
        // reaches a freed handle.
        if (onCancel)
            onCancel({});
        throw;
    }
    auto cursor = std::make_unique<Cursor>(std::move(handle), m_source, Interrupt());
    cursor->ReadAsBytes(statement.TextColumnsAsBytes);
    return cursor;
}

qint64 Connection::Count(const SqlStatement &statement, const std::function<void(std::function<void()>)> &onCancel)
{
    std::unique_ptr<Cursor> cursor = Execute(statement, 0, onCancel);
    const auto forget = qScopeGuard([&onCancel] {
        if (onCancel)
            onCancel({});
    });
    const QList<DataRow> rows = cursor->Fetch(1);
    if (rows.isEmpty() || rows.front().isEmpty())
        return 0;
    const Variant &v = rows.front().front();
    if (const qint64 *n = v.Get<qint64>())
        return *n;
    return qint64(v.ToDouble());
}

} // namespace qv::data::odbc
