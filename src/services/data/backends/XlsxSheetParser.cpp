#include "XlsxSheetParser.h"

#include "SheetBuilder.h"
#include "SheetStream.h"
#include "XmlChecks.h"

#include "automation/OleDate.h"

#include <QDateTime>
#include <QLocale>

#include <charconv>

namespace qv::data {

namespace {

constexpr qsizetype kMaxRows = kSheetMaxRows;
constexpr qsizetype kMaxColumns = kSheetMaxColumns;

// "AB12" -> column 27 (0-based: 27) and row 11; false when the text is no reference.
bool ParseCellReference(QStringView ref, qsizetype &column, qsizetype &row)
{
    qsizetype i = 0, col = 0, line = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        const char16_t c = ref[i].toUpper().unicode();
        if (c < u'A' || c > u'Z' || col > kMaxColumns)
            return false;
        col = col * 26 + (c - u'A' + 1);
    }
    if (i == 0)
        return false;
    for (; i < ref.size() && ref[i].isDigit(); ++i) {
        line = line * 10 + ref[i].digitValue();
        if (line > kMaxRows)
            return false;
    }
    if (i != ref.size() || line == 0)
        return false;
    column = col - 1;
    row = line - 1;
    return true;
}

// <si> or <is>: a plain <t>, or runs <r><t/></r>; <rPh> holds phonetic hints,
// not the value.
void AppendRichText(QXmlStreamReader &xml, const QString &path, const QString &part, QString &text)
{
    WalkElement(xml, path, part, [&] {
        if (xml.name() == u"t")
            text += ElementText(xml, path, part);
        else if (xml.name() == u"rPh")
            ElementText(xml, path, part);
        else
            return Walk::Into;
        return Walk::Read;
    });
}

QString ReadRichText(QXmlStreamReader &xml, const QString &path, const QString &part)
{
    QString text;
    AppendRichText(xml, path, part, text);
    return text;
}

// Numbers as workbooks write them ("12", "-3.5E-2") are plain ASCII, read
// here without the locale machinery, which costs several times as much; false
// for anything else, which the locale then reads.
bool ReadPlainNumber(QStringView text, double &number)
{
    char ascii[64];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof ascii))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7f)
            return false;
        ascii[i] = char(c);
    }
    const auto [end, error] = std::from_chars(ascii, ascii + text.size(), number);
    return error == std::errc() && end == ascii + text.size();
}

Variant CellValue(QStringView type, const QString &raw, int style, const XlsxContext &context,
                  const QString &path)
{
    if (type == u"s") {
        bool ok = false;
        const qsizetype index = raw.trimmed().toLongLong(&ok);
        if (!ok || index < 0 || index >= context.SharedStrings.size())
            RaiseUnreadable(path, QStringLiteral("a cell refers to shared string %1, which the workbook does not hold").arg(raw), Remedy::Resave);
        return context.SharedStrings[index];
    }
    if (type == u"str" || type == u"e" || type == u"inlineStr")
        return raw;
    if (type == u"b")
        return raw.trimmed() == u"1" || raw.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
    if (type == u"d") {
        QDate date;
        QTime time;
        if (!ReadIsoDateTime(raw, date, time))
            return raw;
        return DateValue{DateTimeToOleDate(date, time)};
    }
    double number = 0;
    bool ok = ReadPlainNumber(raw, number);
    if (!ok)
        number = QLocale::c().toDouble(QStringView(raw).trimmed(), &ok);
    if (!ok)
        return raw; // keep what the cell says rather than lose it
    if (style >= 0 && style < context.DateFormats.size() && context.DateFormats[style])
        return DateValue{context.Date1904 ? number + k1904Offset : number};
    return number;
}

// Fills a SheetBuilder or a SheetStream, which take cells alike; a stream
// may want no more of them.
template<typename Cells>
class SheetParser
{
public:
    SheetParser(const QString &path, QIODevice *device, const XlsxContext &context, Cells &sheet)
        : m_path(path), m_part(QStringLiteral("A worksheet")), m_xml(device), m_context(context), m_sheet(sheet)
    {
    }

    void Parse()
    {
        while (!m_xml.atEnd()) {
            if constexpr (requires { m_sheet.Stopped(); }) {
                if (m_sheet.Stopped())
                    return;
            }
            const auto token = NextXmlToken(m_xml, m_path, m_part);
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (m_xml.name() == u"row")
                StartRow();
            else if (m_xml.name() == u"c")
                ReadCell();
        }
    }

private:
    void StartRow()
    {
        const auto r = m_xml.attributes().value(QLatin1String("r"));
        qsizetype row = -1;
        if (!r.isEmpty()) {
            bool ok = false;
            row = r.toLongLong(&ok) - 1;
            if (!ok || row < 0 || row >= kMaxRows)
                RaiseUnreadable(m_path, QStringLiteral("a worksheet has a row numbered '%1'").arg(r), Remedy::Resave);
        }
        m_sheet.StartRow(row);
        m_column = 0;
    }

    void ReadCell()
    {
        const auto attributes = m_xml.attributes();
        const auto ref = attributes.value(QLatin1String("r"));
        // A view into `attributes`, which outlive the cell's reading.
        const QStringView type = attributes.value(QLatin1String("t"));
        const int style = attributes.hasAttribute(QLatin1String("s")) ? attributes.value(QLatin1String("s")).toInt() : -1;
        qsizetype column = m_column, row = m_sheet.CurrentRow();
        if (!ref.isEmpty() && !ParseCellReference(ref, column, row))
            RaiseUnreadable(m_path, QStringLiteral("a worksheet has a cell at '%1'").arg(ref), Remedy::Resave);
        if (column >= kMaxColumns)
            RaiseUnreadable(m_path, QStringLiteral("a worksheet has more than %1 columns").arg(kMaxColumns), Remedy::Resave);

        QString raw;
        bool hasValue = false;
        ReadChildren(m_xml, m_path, m_part, [&] {
            if (m_xml.name() == u"v") {
                raw = ElementText(m_xml, m_path, m_part);
                hasValue = true;
            } else if (m_xml.name() == u"is") {
                raw = ReadRichText(m_xml, m_path, m_part);
                hasValue = true;
            } else {
                ElementText(m_xml, m_path, m_part); // a formula's text is not the value
            }
        });
        m_column = column + 1;
        if (!hasValue)
            return;
        m_sheet.Set(row, column, CellValue(type, raw, style, m_context, m_path));
    }

    const QString &m_path;
    QString m_part;
    QXmlStreamReader m_xml;
    const XlsxContext &m_context;
    Cells &m_sheet;
    qsizetype m_column = 0;
};

} // namespace

QStringList ParseXlsxSharedStrings(const QString &sourcePath, QIODevice *device)
{
    const QString part = QStringLiteral("The shared string table");
    QStringList strings;
    QXmlStreamReader xml(device);
    while (!xml.atEnd()) {
        if (NextXmlToken(xml, sourcePath, part) == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings << ReadRichText(xml, sourcePath, part);
    }
    return strings;
}

QList<bool> ParseXlsxDateFormats(const QString &sourcePath, QIODevice *device)
{
    const QString part = QStringLiteral("The styles part");
    QHash<int, QString> custom;
    QList<bool> dates;
    bool inCellFormats = false;
    QXmlStreamReader xml(device);
    while (!xml.atEnd()) {
        const auto token = NextXmlToken(xml, sourcePath, part);
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            inCellFormats = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = xml.attributes();
        if (xml.name() == u"numFmt") {
            custom.insert(attributes.value(QLatin1String("numFmtId")).toInt(), attributes.value(QLatin1String("formatCode")).toString());
        } else if (xml.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (xml.name() == u"xf" && inCellFormats) {
            const int id = attributes.value(QLatin1String("numFmtId")).toInt();
            dates << IsDateFormat(id, custom.value(id));
        }
    }
    return dates;
}

bool IsDateFormat(int numFmtId, const QString &formatCode)
{
    // The built-in date and time formats, East Asian ones included.
    if ((numFmtId >= 14 && numFmtId <= 22) || (numFmtId >= 27 && numFmtId <= 36) ||
        (numFmtId >= 45 && numFmtId <= 47) || (numFmtId >= 50 && numFmtId <= 58))
        return true;
    if (formatCode.isEmpty())
        return false;
    // Only the first section decides; quoted text, escaped characters and
    // bracketed colours or conditions are no date parts, elapsed [h] [m] [s] are.
    bool quoted = false;
    for (qsizetype i = 0; i < formatCode.size(); ++i) {
        const QChar c = formatCode[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u';') {
            return false;
        } else if (c == u'[') {
            const qsizetype close = formatCode.indexOf(u']', i);
            const QString inside = formatCode.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (!inside.isEmpty() && (inside.count(inside[0]) == inside.size()) &&
                QStringLiteral("hms").contains(inside[0]))
                return true;
            if (close < 0)
                return false;
            i = close;
        } else if (QStringLiteral("dmyhsDMYHS").contains(c)) {
            return true;
        }
    }
    return false;
}

CellGrid ParseXlsxSheet(const QString &sourcePath, QIODevice *xml, const XlsxContext &context)
{
    SheetBuilder sheet(sourcePath, QStringLiteral("a worksheet"));
    SheetParser(sourcePath, xml, context, sheet).Parse();
    return sheet.Take();
}

void StreamXlsxSheet(const QString &sourcePath, QIODevice *xml, const XlsxContext &context, SheetStream &sheet)
{
    SheetParser(sourcePath, xml, context, sheet).Parse();
    if (!sheet.Stopped())
        sheet.Finish();
}

} // namespace qv::data
