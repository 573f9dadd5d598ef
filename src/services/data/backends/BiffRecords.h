#pragma once

// The record layer of the .xls workbook stream: record types, records with
// their CONTINUE parts joined, and the fields read out of a record.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace qv::data {

// Record types of the workbook stream.
enum BiffRecordType : quint16 {
    kBof = 0x0809,
    kEof = 0x000A,
    kContinue = 0x003C,
    kFilePass = 0x002F,
    kCodePage = 0x0042,
    kDateMode = 0x0022,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kFormat = 0x041E,
    kXf = 0x00E0,
    kNumber = 0x0203,
    kRk = 0x027E,
    kMulRk = 0x00BD,
    kLabelSst = 0x00FD,
    kLabel = 0x0204,
    kRichLabel = 0x00D6,
    kBoolErr = 0x0205,
    kFormula = 0x0006,
    kString = 0x0207,
};

inline constexpr quint16 kBiff8 = 0x0600;
inline constexpr quint16 kBiff5 = 0x0500;
inline constexpr quint16 kGlobals = 0x0005;

// The text Excel shows for an error code ("#DIV/0!").
QString BiffErrorText(quint8 code);
// An RK number: 30 bits of an integer or of a double's high half, perhaps
// to be divided by 100.
double BiffRkValue(quint32 rk);

// A record with the CONTINUE records that follow it joined to its data.
struct BiffRecord
{
    quint16 Type = 0;
    qsizetype Offset = 0;
    QByteArray Data;
    QList<qsizetype> Breaks; // where each CONTINUE's bytes begin in Data
};

// Reads records one after another from a stream offset; a record cut short
// by the end of the stream ends it.
class BiffRecords
{
public:
    BiffRecords(const QByteArray &stream, qsizetype offset) : m_stream(stream), m_pos(offset) {}

    bool Next(BiffRecord &record);

private:
    bool Header(qsizetype pos, quint16 &type, quint16 &length) const
    {
        if (pos < 0 || pos > m_stream.size() - 4)
            return false;
        type = qFromLittleEndian<quint16>(m_stream.constData() + pos);
        length = qFromLittleEndian<quint16>(m_stream.constData() + pos + 2);
        return pos + 4 + length <= m_stream.size();
    }

    const QByteArray &m_stream;
    qsizetype m_pos;
};

// The fields of one record, read in order. Reading past its end marks the
// record damaged and gives zeros.
class BiffFields
{
public:
    explicit BiffFields(const QByteArray &data, const QList<qsizetype> &breaks = {}) : m_data(data), m_breaks(breaks) {}

    bool Damaged() const { return m_damaged; }
    qsizetype Left() const { return m_data.size() - m_pos; }
    quint8 U8() { return Take(1) ? quint8(m_data[m_pos - 1]) : 0; }
    quint16 U16() { return Take(2) ? qFromLittleEndian<quint16>(m_data.constData() + m_pos - 2) : 0; }
    quint32 U32() { return Take(4) ? qFromLittleEndian<quint32>(m_data.constData() + m_pos - 4) : 0; }
    double F64()
    {
        double value = 0;
        if (Take(8))
            std::memcpy(&value, m_data.constData() + m_pos - 8, sizeof value);
        return value;
    }
    QByteArray Bytes(qsizetype count) { return Take(count) ? m_data.mid(m_pos - count, count) : QByteArray(); }
    void Skip(qsizetype count) { Take(count); }

    // BIFF8 characters, one or two bytes each. Where they run on into a
    // CONTINUE record, that record starts with their width again.
    QString Chars(qsizetype count, bool wide);

    // A string with a 16-bit length and a flags byte (XLUnicodeString).
    QString UnicodeString()
    {
        const quint16 count = U16();
        return Chars(count, U8() & 1);
    }

    // A shared string: rich-text runs and phonetic data are skipped.
    QString RichString()
    {
        const quint16 count = U16();
        const quint8 flags = U8();
        const quint16 runs = (flags & 0x08) ? U16() : 0;
        const quint32 extra = (flags & 0x04) ? U32() : 0;
        QString text = Chars(count, flags & 1);
        Skip(4 * qsizetype(runs));
        Skip(qsizetype(extra));
        return text;
    }

private:
    bool Take(qsizetype count)
    {
        if (m_damaged || count < 0 || count > Left()) {
            m_damaged = true;
            return false;
        }
        m_pos += count;
        return true;
    }

    const QByteArray &m_data;
    const QList<qsizetype> &m_breaks;
    qsizetype m_pos = 0;
    bool m_damaged = false;
};

} // namespace qv::data
