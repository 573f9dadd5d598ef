#include "AccessReader.h"

#include "automation/OleDate.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QLocale>

#include <algorithm>

// mdbtools declares its own C API without extern "C" guards for C++.
extern "C" {
#include <mdbtools.h>
}

namespace qv::data {

namespace {

// Values longer than this (memo text) are cut by the library's row binding.
constexpr size_t kBindSize = 256 * 1024;

struct TableFree
{
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};

DataField FieldOf(const MdbColumn &column, bool jet3)
{
    const QString name = QString::fromUtf8(column.name);
    switch (column.col_type) {
    case MDB_BOOL: return {name, ado::adBoolean, 2};
    case MDB_BYTE: return {name, ado::adUnsignedTinyInt, 1};
    case MDB_INT: return {name, ado::adSmallInt, 2};
    case MDB_LONGINT: return {name, ado::adInteger, 4};
    case MDB_COMPLEX: return {name, ado::adInteger, 4};
    case MDB_MONEY: return {name, ado::adCurrency, 8};
    case MDB_FLOAT: return {name, ado::adSingle, 4};
    case MDB_DOUBLE: return {name, ado::adDouble, 8};
    case MDB_DATETIME: return {name, ado::adDate, 8};
    case MDB_NUMERIC: return {name, ado::adNumeric, 19};
    case MDB_REPID: return {name, ado::adGUID, 16};
    case MDB_MEMO: return {name, ado::adLongVarWChar, kLongTextSize};
    case MDB_OLE: return {name, ado::adLongVarBinary, 1073741823};
    case MDB_BINARY: return {name, ado::adVarBinary, column.col_size};
    default:
        // Text sizes are in bytes, two a character from JET 4 on.
        return {name, ado::adVarWChar, jet3 ? column.col_size : column.col_size / 2};
    }
}

// "-123.4500" -> Currency -1234500, without a detour through binary floating point.
Variant CurrencyOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    const bool negative = trimmed.startsWith(u'-');
    const QStringList parts = trimmed.mid(negative ? 1 : 0).split(u'.');
    bool ok = false;
    qint64 scaled = parts.value(0).toLongLong(&ok) * 10000;
    if (!ok)
        return text;
    const QString fraction = (parts.value(1) + QStringLiteral("0000")).left(4);
    scaled += fraction.toLongLong();
    return Currency{negative ? -scaled : scaled};
}

Variant DecimalOf(const QString &text)
{
    QString digits = text.trimmed();
    Decimal value;
    value.Negative = digits.startsWith(u'-');
    if (value.Negative)
        digits.remove(0, 1);
    const qsizetype point = digits.indexOf(u'.');
    if (point >= 0) {
        value.Scale = quint8(std::min<qsizetype>(digits.size() - point - 1, 28));
        digits.remove(point, 1);
    }
    __extension__ using Mantissa = unsigned __int128; // 96 bits need more than 64
    Mantissa mantissa = 0;
    for (const QChar c : std::as_const(digits)) {
        if (!c.isDigit() || mantissa > (~Mantissa(0)) / 10)
            return text;
        mantissa = mantissa * 10 + unsigned(c.digitValue());
    }
    if (mantissa >> 96)
        return text;
    value.Lo = quint64(mantissa);
    value.Hi = quint32(mantissa >> 64);
    return value;
}

Variant ValueOf(int type, const QString &text)
{
    bool ok = false;
    switch (type) {
    case MDB_BOOL:
        return text != u"0";
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX: {
        const qint32 number = text.toInt(&ok);
        return ok ? Variant(number) : Variant(text);
    }
    case MDB_FLOAT:
    case MDB_DOUBLE: {
        const double number = QLocale::c().toDouble(text, &ok);
        return ok ? Variant(number) : Variant(text);
    }
    case MDB_MONEY:
        return CurrencyOf(text);
    case MDB_NUMERIC:
        return DecimalOf(text);
    default:
        return text;
    }
}

// A long binary (OLE Object) value: the row holds a 12-byte reference whose
// first four bytes are the length and storage flags; the library follows
// the pages it names a chunk at a time into the column's bound buffer. The
// length read is capped by the declared one and the file's size, so that a
// damaged page chain cannot make the read go on for ever.
QByteArray LongBinaryOf(MdbHandle *mdb, MdbColumn *column, const char *bound, qint64 fileSize)
{
    char reference[MDB_MEMO_OVERHEAD];
    std::copy_n(bound, MDB_MEMO_OVERHEAD, reference);
    const qint64 declared = qFromLittleEndian<quint32>(reference) & 0x3FFFFFFFu;
    const qint64 limit = std::min(declared, fileSize);
    QByteArray bytes;
    size_t chunk = mdb_ole_read(mdb, column, reference, kBindSize);
    while (chunk > 0 && chunk <= kBindSize && bytes.size() < limit) {
        bytes.append(static_cast<const char *>(column->bind_ptr), qsizetype(chunk));
        chunk = mdb_ole_read_next(mdb, column, reference);
    }
    bytes.truncate(limit);
    return bytes;
}

// A short binary value stands in the row itself.
QByteArray BinaryOf(const MdbHandle *mdb, const MdbColumn &column)
{
    const int start = column.cur_value_start;
    const int length = column.cur_value_len;
    if (start < 0 || length <= 0 || size_t(start) + size_t(length) > sizeof mdb->pg_buf)
        return {};
    return QByteArray(reinterpret_cast<const char *>(mdb->pg_buf) + start, length);
}

} // namespace

struct AccessReader::Database
{
    QString Path;
    MdbHandle *Handle = nullptr;
    QStringList Tables;
    QStringList Queries;

    ~Database()
    {
        if (Handle)
            mdb_close(Handle);
    }
};

AccessReader::AccessReader(const QString &path) : m_database(std::make_unique<Database>())
{
    m_database->Path = path;
    QFile file(path);
    OpenSourceFile(file);
    m_database->Handle = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    MdbHandle *mdb = m_database->Handle;
    if (!mdb)
        RaiseUnreadable(path, QStringLiteral("it is not an Access database, or it is damaged"), Remedy::Resave);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb);
    mdb_set_bind_size(mdb, kBindSize);
    if (!mdb_read_catalog(mdb, MDB_ANY))
        RaiseUnreadable(path, QStringLiteral("its list of tables cannot be read; the database is damaged"), Remedy::Resave);
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        const QString name = QString::fromUtf8(entry->object_name);
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            m_database->Tables << name;
        else if (entry->object_type == MDB_QUERY)
            m_database->Queries << name;
    }
    // Every database holds at least one table; none means the catalog was cut short.
    if (m_database->Tables.isEmpty())
        RaiseUnreadable(path, QStringLiteral("no table of it can be read; the file is damaged or cut short"), Remedy::Resave);
}

AccessReader::~AccessReader() = default;

QStringList AccessReader::DataItems()
{
    return m_database->Tables;
}

DataTable AccessReader::ReadItem(const QString &name)
{
    const QString &path = m_database->Path;
    const qsizetype index = IndexOfName(m_database->Tables, name);
    if (index < 0 && IndexOfName(m_database->Queries, name) >= 0)
        RaiseUnreadable(path, QStringLiteral("'%1' is a saved query, and saved queries cannot be run here; "
                                             "choose one of the database's tables").arg(name));
    if (index < 0)
        RaiseNoSuchItem(path, QStringLiteral("table"), name);

    const QByteArray tableName = m_database->Tables[index].toUtf8();
    std::unique_ptr<MdbTableDef, TableFree> table(
        mdb_read_table_by_name(m_database->Handle, const_cast<gchar *>(tableName.constData()), MDB_TABLE));
    if (!table || !mdb_read_columns(table.get()))
        RaiseUnreadable(path, QStringLiteral("the table '%1' cannot be read; the database is damaged").arg(name), Remedy::Resave);

    DataTable result;
    result.Name = m_database->Tables[index];
    const bool jet3 = m_database->Handle->f->jet_version == MDB_VER_JET3;
    const int columns = int(table->num_cols);
    std::vector<QByteArray> buffers(size_t(columns), QByteArray(qsizetype(kBindSize), '\0'));
    std::vector<int> lengths(size_t(columns), 0);
    std::vector<int> types(size_t(columns), 0);
    std::vector<MdbColumn *> columnDefs(size_t(columns), nullptr);
    for (int c = 0; c < columns; ++c) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(c)));
        columnDefs[size_t(c)] = column;
        result.Fields << FieldOf(*column, jet3);
        types[size_t(c)] = column->col_type;
        mdb_bind_column(table.get(), c + 1, buffers[size_t(c)].data(), &lengths[size_t(c)]);
    }
    const qint64 fileSize = QFileInfo(path).size();
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        DataRow row;
        row.reserve(columns);
        for (size_t c = 0; c < size_t(columns); ++c) {
            if (types[c] == MDB_BINARY) {
                // Bound as text, bytes come back cut at their first zero: they are taken from the row.
                const QByteArray bytes = BinaryOf(m_database->Handle, *columnDefs[c]);
                row << (bytes.isEmpty() ? Variant::Null() : Variant(bytes));
                continue;
            }
            // The library leaves no way to tell a null from an empty text: both come back empty.
            if (lengths[c] <= 0 && types[c] != MDB_BOOL) {
                row << Variant::Null();
                continue;
            }
            if (types[c] == MDB_OLE) {
                row << Variant(LongBinaryOf(m_database->Handle, columnDefs[c], buffers[c].constData(), fileSize));
                continue;
            }
            if (types[c] == MDB_DATETIME && columnDefs[c]->cur_value_len == 8) {
                // The stored value is already an OLE date; the library's own
                // formatting of it fails before 1900, so it is taken as stored.
                row << DateValue{mdb_get_double(m_database->Handle->pg_buf, columnDefs[c]->cur_value_start)};
                continue;
            }
            const QString text = QString::fromUtf8(buffers[c].constData(), std::min<qsizetype>(lengths[c], kBindSize));
            row << ValueOf(types[c], text);
        }
        result.Rows << std::move(row);
    }
    return result;
}

} // namespace qv::data
