#include "XlsReader.h"

#include "ColumnTypes.h"

#include "automation/OleDate.h"

#include <QFile>

#include <freexl.h>

namespace qv::data {

namespace {

Variant DateCell(const char *text, const char *format)
{
    const QString value = QString::fromUtf8(text);
    const QDateTime when = QDateTime::fromString(value, QString::fromLatin1(format));
    if (!when.isValid())
        return value;
    return DateValue{DateTimeToOleDate(when.date(), when.time())};
}

Variant CellOf(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return double(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return cell.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return QString::fromUtf8(cell.value.text_value);
    case FREEXL_CELL_DATE:
        return DateCell(cell.value.text_value, "yyyy-MM-dd");
    case FREEXL_CELL_DATETIME:
        return DateCell(cell.value.text_value, "yyyy-MM-dd HH:mm:ss");
    case FREEXL_CELL_TIME: {
        const QTime time = QTime::fromString(QString::fromLatin1(cell.value.text_value), u"HH:mm:ss");
        if (!time.isValid())
            return QString::fromUtf8(cell.value.text_value);
        return DateValue{time.msecsSinceStartOfDay() / 86400000.0};
    }
    default:
        return {};
    }
}

} // namespace

XlsReader::XlsReader(const QString &path) : m_path(path)
{
    QFile file(path);
    OpenSourceFile(file);
    const QByteArray start = file.read(2);
    // Excel 2.x to 4.0 wrote a bare BIFF stream that starts with its BOF record.
    if (start.size() == 2 && start[0] == '\x09' && (start[1] == '\x00' || start[1] == '\x02' || start[1] == '\x04'))
        RaiseUnreadable(path, QStringLiteral("it is a worksheet of Excel 4.0 or older, which cannot be read here; "
                                             "open it in Excel and save it as an .xlsx workbook"));
    const int status = freexl_open(QFile::encodeName(path).constData(), &m_handle);
    if (status != FREEXL_OK || !m_handle) {
        m_handle = nullptr;
        RaiseUnreadable(path, QStringLiteral("it is not an Excel 97-2003 workbook, or its structure is damaged or "
                                             "password protected (reader code %1); open it in Excel and save it again")
                                  .arg(status));
    }
    unsigned int count = 0;
    freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count);
    for (unsigned short i = 0; i < count; ++i) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(m_handle, i, &name) == FREEXL_OK && name)
            m_sheets << QString::fromUtf8(name);
        else
            m_sheets << QStringLiteral("Sheet%1").arg(i + 1);
    }
    if (m_sheets.isEmpty()) {
        freexl_close(m_handle);
        m_handle = nullptr;
        RaiseUnreadable(path, QStringLiteral("the workbook holds no worksheets"));
    }
}

XlsReader::~XlsReader()
{
    if (m_handle)
        freexl_close(m_handle);
}

QStringList XlsReader::DataItems()
{
    return m_sheets;
}

DataTable XlsReader::ReadItem(const QString &name)
{
    const qsizetype index = IndexOfName(m_sheets, name);
    if (index < 0)
        RaiseNoSuchItem(m_path, QStringLiteral("sheet"), name);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(index)) != FREEXL_OK ||
        freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK)
        RaiseUnreadable(m_path, QStringLiteral("the sheet '%1' cannot be read; the file is damaged").arg(name));
    if (qsizetype(rows) * columns > kMaxTableCells)
        RaiseUnreadable(m_path, QStringLiteral("the sheet '%1' is too large to read at once").arg(name));
    CellGrid grid(rows);
    for (unsigned int r = 0; r < rows; ++r) {
        grid[r].resize(columns);
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(m_handle, r, c, &cell) == FREEXL_OK)
                grid[r][c] = CellOf(cell);
        }
    }
    return TableFromGrid(m_path, m_sheets[index], std::move(grid));
}

} // namespace qv::data
