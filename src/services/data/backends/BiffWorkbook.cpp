#include "BiffWorkbook.h"

#include "BiffRecords.h"
#include "SheetBuilder.h"
#include "SheetStream.h"
#include "XlsxSheetParser.h"

#include <QHash>
#include <QStringDecoder>

namespace qv::data {

namespace {

// The records that give a cell, each starting with its row and column.
bool IsCellRecord(quint16 type)
{
    switch (type) {
    case kNumber:
    case kRk:
    case kMulRk:
    case kLabelSst:
    case kLabel:
    case kRichLabel:
    case kBoolErr:
    case kFormula:
        return true;
    default:
        return false;
    }
}

} // namespace

BiffWorkbook::BiffWorkbook(const QString &sourcePath, QByteArray stream) : m_path(sourcePath), m_stream(std::move(stream))
{
    ReadGlobals();
}

void BiffWorkbook::ReadGlobals()
{
    BiffRecords records(m_stream, 0);
    BiffRecord record;
    if (!records.Next(record) || record.Type != kBof)
        RaiseUnreadable(m_path, QStringLiteral("its workbook stream does not start as an Excel workbook does; "
                                               "open it in Excel and save it again"));
    BiffFields bof(record.Data);
    const quint16 version = bof.U16();
    if ((version != kBiff8 && version != kBiff5) || bof.U16() != kGlobals)
        RaiseUnreadable(m_path, QStringLiteral("it is written in an Excel format other than 5.0 to 2003; "
                                               "open it in Excel and save it as an .xlsx workbook"));
    m_biff8 = version == kBiff8;
    QHash<int, QString> formats;
    QList<quint16> xfFormats;
    while (records.Next(record) && record.Type != kEof) {
        BiffFields fields(record.Data, record.Breaks);
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

template<typename Cells>
void BiffWorkbook::WalkSheet(qsizetype index, const QString &words, Cells &sheet) const
{
    BiffRecords records(m_stream, m_offsets[index]);
    BiffRecord record;
    if (!records.Next(record) || record.Type != kBof)
        RaiseUnreadable(m_path, QStringLiteral("%1 is not where the workbook says it is; the file is damaged. "
                                               "Open it in Excel and save it again").arg(words));
    // A formula whose result is text gives it in the STRING record after it.
    qsizetype pendingRow = -1;
    qsizetype pendingColumn = -1;
    // A chart drawn on the sheet is a substream of its own, BOF to EOF, inside the sheet's.
    int depth = 1;
    while (depth > 0 && records.Next(record)) {
        if constexpr (requires { sheet.Stopped(); }) {
            if (sheet.Stopped())
                return;
        }
        if (record.Type == kBof || record.Type == kEof) {
            depth += record.Type == kBof ? 1 : -1;
            continue;
        }
        if (depth > 1)
            continue;
        BiffFields fields(record.Data, record.Breaks);
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
            set(Number(BiffRkValue(fields.U32()), xf));
            break;
        }
        case kMulRk:
            for (qsizetype c = column; fields.Left() >= 8; ++c) {
                const quint16 xf = fields.U16();
                const double value = BiffRkValue(fields.U32());
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
            set(fields.U8() ? Variant(BiffErrorText(value)) : Variant(value != 0));
            break;
        }
        case kFormula: {
            // A text result's STRING record follows its own formula, no other.
            pendingRow = -1;
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
                set(BiffErrorText(quint8(result[2])));
            }
            continue;
        }
        case kString: {
            if (pendingRow < 0)
                continue;
            BiffFields text(record.Data, record.Breaks);
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
}

CellGrid BiffWorkbook::ReadSheet(qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < m_names.size());
    const QString words = SheetWords(index);
    SheetBuilder sheet(m_path, words);
    WalkSheet(index, words, sheet);
    return sheet.Take();
}

void BiffWorkbook::StreamSheet(qsizetype index, TableSink &sink) const
{
    Q_ASSERT(index >= 0 && index < m_names.size());
    if (!RowsGoForward(index)) {
        // A stream takes rows in order only: such a sheet is read whole first.
        DataTable table = TableFromGrid(m_path, m_names[index], ReadSheet(index));
        sink.Fields(table.Fields);
        for (DataRow &row : table.Rows) {
            if (!sink.Row(std::move(row)))
                return;
        }
        return;
    }
    const QString words = SheetWords(index);
    SheetStream sheet(m_path, m_names[index], words, sink);
    WalkSheet(index, words, sheet);
    if (!sheet.Stopped())
        sheet.Finish();
}

bool BiffWorkbook::RowsGoForward(qsizetype index) const
{
    // Headers and row numbers only, straight from the stream: no record is
    // copied and no value made, so the look costs a pass over the bytes.
    const char *bytes = m_stream.constData();
    qsizetype pos = m_offsets[index];
    int depth = 0;
    qsizetype last = -1;
    while (pos >= 0 && pos <= m_stream.size() - 4) {
        const quint16 type = qFromLittleEndian<quint16>(bytes + pos);
        const quint16 length = qFromLittleEndian<quint16>(bytes + pos + 2);
        if (pos + 4 + length > m_stream.size())
            return true; // the walk ends at a record cut short too
        if (type == kBof || type == kEof) {
            depth += type == kBof ? 1 : -1;
            if (depth <= 0)
                return true;
        } else if (depth == 1 && IsCellRecord(type) && length >= 2) {
            const qsizetype row = qFromLittleEndian<quint16>(bytes + pos + 4);
            if (row < last)
                return false;
            last = row;
        }
        pos += 4 + length;
    }
    return true;
}

QString BiffWorkbook::SheetWords(qsizetype index) const
{
    return QStringLiteral("the sheet '%1'").arg(m_names[index]);
}

} // namespace qv::data
