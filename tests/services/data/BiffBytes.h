#pragma once

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstring>

namespace qv::data::test {

// Workbook streams made record by record, as the published BIFF8 layout has them.
inline QByteArray Le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray Le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray Rec(quint16 type, const QByteArray &data)
{
    return Le16(type) + Le16(quint16(data.size())) + data;
}

inline QByteArray Cell(quint16 row, quint16 column, quint16 xf = 0)
{
    return Le16(row) + Le16(column) + Le16(xf);
}

inline QByteArray Double(double value)
{
    QByteArray bytes(8, '\0');
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

inline QByteArray Bof(quint16 kind)
{
    return Rec(0x0809, Le16(0x0600) + Le16(kind) + QByteArray(12, '\0'));
}

// A formula cell whose saved result is `result` (8 bytes), with an empty formula.
inline QByteArray Formula(quint16 row, quint16 column, const QByteArray &result)
{
    return Rec(0x0006, Cell(row, column) + result + Le16(0) + Le32(0) + Le16(0));
}

inline QByteArray SpecialResult(quint8 kind, quint8 value)
{
    return QByteArray(1, char(kind)) + '\0' + char(value) + QByteArray(3, '\0') + "\xFF\xFF";
}

// Globals with one worksheet at the end, then the sheet's own records.
inline QByteArray Workbook(const QByteArray &globals, const QByteArray &cells, const QByteArray &sheetName = "Data")
{
    const QByteArray sheet = Bof(0x0010) + cells + Rec(0x000A, {});
    QByteArray head = Bof(0x0005) + globals;
    const QByteArray bound = QByteArray(2, '\0') + char(sheetName.size()) + '\0' + sheetName; // visible worksheet, 8-bit name
    const qsizetype sheetOffset = head.size() + 4 + 4 + bound.size() + 4;
    head += Rec(0x0085, Le32(quint32(sheetOffset)) + bound) + Rec(0x000A, {});
    return head + sheet;
}

// An .xls file: the workbook stream in a compound document, as Excel saves it.
inline bool WriteXls(const QString &path, const QByteArray &stream)
{
    gsf_init();
    GsfOutput *file = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    if (!file)
        return false;
    GsfOutfile *container = gsf_outfile_msole_new(file);
    GsfOutput *book = gsf_outfile_new_child(container, "Workbook", FALSE);
    const bool written = gsf_output_write(book, size_t(stream.size()), reinterpret_cast<const guint8 *>(stream.constData()));
    gsf_output_close(book);
    g_object_unref(book);
    gsf_output_close(GSF_OUTPUT(container));
    g_object_unref(container);
    g_object_unref(file);
    return written;
}

inline QByteArray Label(quint16 row, quint16 column, const QByteArray &text)
{
    return Rec(0x0204, Cell(row, column) + Le16(quint16(text.size())) + '\0' + text);
}

inline QByteArray Number(quint16 row, quint16 column, double value, quint16 xf = 0)
{
    return Rec(0x0203, Cell(row, column, xf) + Double(value));
}

// Cell format 1 shows a date; two shared strings.
inline QByteArray Globals()
{
    return Rec(0x041E, Le16(164) + Le16(10) + '\0' + "yyyy-mm-dd") + Rec(0x00E0, Le16(0) + Le16(0)) +
           Rec(0x00E0, Le16(0) + Le16(164)) + Rec(0x00FC, Le32(2) + Le32(2) + Le16(3) + '\0' + "one" + Le16(3) + '\0' + "two");
}

} // namespace qv::data::test
