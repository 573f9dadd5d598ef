#include "BiffWorkbook.h"

#include "SheetBuilder.h"
#include "XlsxSheetParser.h"

#include <QHash>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace qv::data {

namespace {

// Record types of the workbook stream.
enum : quint16 {
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

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kBiff5 = 0x0500;
constexpr quint16 kGlobals = 0x0005;

QString ErrorText(quint8 code)
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

// An RK number: 30 bits of an integer or of a double's high half, perhaps
// to be divided by 100.
double RkValue(quint32 rk)
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

} // namespace

// A record with the CONTINUE records that follow it joined to its data.
struct BiffWorkbook::Record
{
    quint16 Type = 0;
    qsizetype Offset = 0;
    QByteArray Data;
    QList<qsizetype> Breaks; // where each CONTINUE's bytes begin in Data
};

// Reads records one after another from a stream offset; a record cut short
// by the end of the stream ends it.
class BiffWorkbook::Records
{
public:
    Records(const QByteArray &stream, qsizetype offset) : m_stream(stream), m_pos(offset) {}

    bool Next(Record &record)
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

namespace {

// The fields of one record, read in order. Reading past its end marks the
// record damaged and gives zeros.
class Fields
{
public:
    explicit Fields(const QByteArray &data, const QList<qsizetype> &breaks = {}) : m_data(data), m_breaks(breaks) {}

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
    QString Chars(qsizetype count, bool wide)
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

} // namespace

BiffWorkbook::BiffWorkbook(const QString &sourcePath, QByteArray stream) : m_path(sourcePath), m_stream(std::move(stream))
{
    ReadGlobals();
}

void BiffWorkbook::ReadGlobals()
{
    Records records(m_stream, 0);
    Record record;
    if (!records.Next(record) || record.Type != kBof)
        RaiseUnreadable(m_path, QStringLiteral("its workbook stream does not start as an Excel workbook does; "
                                               "open it in Excel and save it again"));
    Fields bof(record.Data);
    const quint16 version = bof.U16();
    if ((version != kBiff8 && version != kBiff5) || bof.U16() != kGlobals)
        RaiseUnreadable(m_path, QStringLiteral("it is written in an Excel format other than 5.0 to 2003; "
                                               "open it in Excel and save it as an .xlsx workbook"));
    m_biff8 = version == kBiff8;
    QHash<int, QString> formats;
    QList<quint16> xfFormats;
    while (records.Next(record) && record.Type != kEof) {
        Fields fields(record.Data, record.Breaks);
        switch (record.Type) {
        case kFilePass:
            RaiseUnreadable(m_path, QStringLiteral("it is protected by a password; open it in Excel, remove the "
                                                   "password and save it again"));
        case kCodePage:
            m_codePage = fields.U16();
            break;
        case kDateMode:
            m_date1904 = fields.U16() == 1;
            break;
        case kFormat: {
            const quint16 id = fields.U16();
            formats.insert(id, m_biff8 ? fields.UnicodeString() : Text8(fields.Bytes(fields.U8())));
            break;
        }
        case kXf:
            fields.U16();
            xfFormats << fields.U16();
            break;
        case kBoundSheet: {
            const quint32 offset = fields.U32();
            fields.U8();
            const quint8 kind = fields.U8();
            const quint8 count = fields.U8();
            const QString name = m_biff8 ? fields.Chars(count, fields.U8() & 1) : Text8(fields.Bytes(count));
            if (kind == 0 && !fields.Damaged()) { // charts, macro sheets and modules hold no table
                m_names << name;
                m_offsets << offset;
            }
            break;
        }
        case kSst: {
            fields.U32();
            const quint32 unique = fields.U32();
            // No string takes fewer than three bytes, so the count cannot claim more.
            m_strings.reserve(std::min<qsizetype>(unique, fields.Left() / 3));
            for (quint32 i = 0; i < unique && !fields.Damaged() && fields.Left() > 0; ++i)
                m_strings << fields.RichString();
            break;
        }
        default:
            break;
        }
    }
    m_dateXfs.reserve(xfFormats.size());
    for (const quint16 format : xfFormats)
        m_dateXfs << IsDateFormat(format, formats.value(format));
}

QString BiffWorkbook::Text8(const QByteArray &bytes) const
{
    // Excel for the Macintosh wrote 10000 or 32768; 32769 is Windows Latin 1.
    const QByteArray name = (m_codePage == 10000 || m_codePage == 32768) ? QByteArray("macintosh")
                            : m_codePage == 32769                        ? QByteArray("windows-1252")
                                                                         : "windows-" + QByteArray::number(m_codePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Latin1);
    return decoder.decode(bytes);
}

Variant BiffWorkbook::Number(double value, quint16 xf) const
{
    if (xf < m_dateXfs.size() && m_dateXfs[xf])
        return DateValue{m_date1904 ? value + k1904Offset : value};
    return value;
}

CellGrid BiffWorkbook::ReadSheet(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < m_names.size());
    const QString words = QStringLiteral("the sheet '%1'").arg(m_names[index]);
    Records records(m_stream, m_offsets[index]);
    Record record;
    if (!records.Next(record) || record.Type != kBof)
        RaiseUnreadable(m_path, QStringLiteral("%1 is not where the workbook says it is; the file is damaged. "
                                               "Open it in Excel and save it again").arg(words));
    SheetBuilder sheet(m_path, words);
    // A formula whose result is text gives it in the STRING record after it.
    qsizetype pendingRow = -1;
    qsizetype pendingColumn = -1;
    // A chart drawn on the sheet is a substream of its own, BOF to EOF, inside the sheet's.
    int depth = 1;
    while (depth > 0 && records.Next(record)) {
        if (record.Type == kBof || record.Type == kEof) {
            depth += record.Type == kBof ? 1 : -1;
            continue;
        }
        if (depth > 1)
            continue;
        Fields fields(record.Data, record.Breaks);
        const quint16 row = fields.U16();
        const quint16 column = fields.U16();
        const auto set = [&](Variant value) {
            if (!fields.Damaged())
                sheet.Set(row, column, std::move(value));
        };
        switch (record.Type) {
        case kNumber: {
            const quint16 xf = fields.U16();
            set(Number(fields.F64(), xf));
            break;
        }
        case kRk: {
            const quint16 xf = fields.U16();
            set(Number(RkValue(fields.U32()), xf));
            break;
        }
        case kMulRk:
            for (qsizetype c = column; fields.Left() >= 8; ++c) {
                const quint16 xf = fields.U16();
                const double value = RkValue(fields.U32());
                sheet.Set(row, c, Number(value, xf));
            }
            break;
        case kLabelSst: {
            fields.U16();
            const quint32 string = fields.U32();
            if (string < quint32(m_strings.size()))
                set(m_strings[string]);
            else if (!fields.Damaged())
                RaiseUnreadable(m_path, QStringLiteral("%1 refers to shared string %2, which the workbook does not hold")
                                            .arg(words).arg(string), Remedy::Resave);
            break;
        }
        case kLabel:
        case kRichLabel:
            fields.U16();
            set(m_biff8 ? fields.UnicodeString() : Text8(fields.Bytes(fields.U16())));
            break;
        case kBoolErr: {
            fields.U16();
            const quint8 value = fields.U8();
            set(fields.U8() ? Variant(ErrorText(value)) : Variant(value != 0));
            break;
        }
        case kFormula: {
            const quint16 xf = fields.U16();
            const QByteArray result = fields.Bytes(8);
            if (fields.Damaged())
                break;
            if (quint8(result[6]) != 0xFF || quint8(result[7]) != 0xFF) {
                double value = 0;
                std::memcpy(&value, result.constData(), sizeof value);
                set(Number(value, xf));
            } else if (result[0] == 0) {
                pendingRow = row;
                pendingColumn = column;
            } else if (result[0] == 1) {
                set(result[2] != 0);
            } else if (result[0] == 2) {
                set(ErrorText(quint8(result[2])));
            }
            continue;
        }
        case kString: {
            if (pendingRow < 0)
                continue;
            Fields text(record.Data, record.Breaks);
            const QString value = m_biff8 ? text.UnicodeString() : Text8(text.Bytes(text.U16()));
            if (!text.Damaged())
                sheet.Set(pendingRow, pendingColumn, value);
            pendingRow = -1;
            continue;
        }
        default:
            continue; // shared and array formulas stand between a formula and its text
        }
        if (fields.Damaged())
            RaiseUnreadable(m_path, QStringLiteral("%1 holds a damaged cell record at byte %2 of the workbook; "
                                                   "open it in Excel and save it again").arg(words).arg(record.Offset));
        pendingRow = -1;
    }
    return sheet.Take();
}

} // namespace qv::data
