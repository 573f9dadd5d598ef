#pragma once

#include <QByteArray>
#include <QtEndian>

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

} // namespace qv::data::test
