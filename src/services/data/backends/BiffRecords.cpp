#include "BiffRecords.h"

namespace qv::data {

QString BiffErrorText(quint8 code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/A");
    default: return QStringLiteral("#ERROR!");
    }
}

double BiffRkValue(quint32 rk)
{
    double value = 0;
    if (rk & 2) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

bool BiffRecords::Next(BiffRecord &record)
{
    quint16 length = 0;
    if (!Header(m_pos, record.Type, length))
        return false;
    record.Offset = m_pos;
    record.Data = m_stream.mid(m_pos + 4, length);
    record.Breaks.clear();
    m_pos += 4 + length;
    quint16 type = 0;
    while (Header(m_pos, type, length) && type == kContinue) {
        record.Breaks << record.Data.size();
        record.Data += m_stream.mid(m_pos + 4, length);
        m_pos += 4 + length;
    }
    return true;
}

QString BiffFields::Chars(qsizetype count, bool wide)
{
    QString text;
    text.reserve(std::min(count, Left()));
    while (count > 0 && !m_damaged) {
        if (std::binary_search(m_breaks.cbegin(), m_breaks.cend(), m_pos))
            wide = U8() & 1;
        const auto next = std::upper_bound(m_breaks.cbegin(), m_breaks.cend(), m_pos);
        const qsizetype limit = next == m_breaks.cend() ? m_data.size() : *next;
        const qsizetype width = wide ? 2 : 1;
        const qsizetype n = std::min(count, (limit - m_pos) / width);
        if (n == 0) {
            m_damaged = true;
            break;
        }
        const char *bytes = m_data.constData() + m_pos;
        if (wide) {
            for (qsizetype i = 0; i < n; ++i)
                text += QChar(qFromLittleEndian<quint16>(bytes + 2 * i));
        } else {
            text += QLatin1StringView(bytes, n);
        }
        m_pos += n * width;
        count -= n;
    }
    return text;
}

} // namespace qv::data
