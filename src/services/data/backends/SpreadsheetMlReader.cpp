#include "SpreadsheetMlReader.h"

#include "SheetBuilder.h"
#include "XmlChecks.h"

#include "automation/OleDate.h"

#include <QLocale>

#include <optional>

#include <libxml/HTMLparser.h>

namespace qv::data {

namespace {

constexpr qsizetype kMaxRows = kSheetMaxRows;
constexpr qsizetype kMaxColumns = kSheetMaxColumns;

// Attributes are matched by local name: files write them as ss:Index or, in
// the default namespace, as Index.
QStringView Attribute(const QXmlStreamAttributes &attributes, QStringView name)
{
    for (const auto &attribute : attributes) {
        if (attribute.name() == name)
            return attribute.value();
    }
    return {};
}

Variant TypedValue(QStringView type, const QString &text)
{
    if (type == u"Number") {
        bool ok = false;
        const double number = QLocale::c().toDouble(QStringView(text).trimmed(), &ok);
        return ok ? Variant(number) : Variant(text);
    }
    if (type == u"DateTime") {
        const QDateTime when = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
        if (!when.isValid())
            return text;
        return DateValue{DateTimeToOleDate(when.date(), when.time())};
    }
    if (type == u"Boolean")
        return text.trimmed() == u"1" || text.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
    return text;
}

// Some writers put HTML's named characters (&Tau;) into the XML, which no XML
// reader accepts; they become numeric references. The five XML names stay.
QByteArray NumberHtmlEntities(const QByteArray &xml)
{
    if (!xml.contains('&'))
        return xml;
    QByteArray out;
    out.reserve(xml.size());
    qsizetype done = 0;
    for (qsizetype amp = xml.indexOf('&'); amp >= 0; amp = xml.indexOf('&', amp + 1)) {
        qsizetype end = amp + 1;
        while (end < xml.size() && end - amp <= 32 && std::isalnum(static_cast<unsigned char>(xml[end])))
            ++end;
        if (end >= xml.size() || xml[end] != ';' || end == amp + 1)
            continue;
        const QByteArray name = xml.mid(amp + 1, end - amp - 1);
        if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos")
            continue;
        const htmlEntityDesc *entity = htmlEntityLookup(reinterpret_cast<const xmlChar *>(name.constData()));
        if (!entity)
            continue;
        out += xml.mid(done, amp - done) + "&#" + QByteArray::number(entity->value) + ';';
        done = end + 1;
    }
    return done == 0 ? xml : out + xml.mid(done);
}

class Parser
{
public:
    Parser(const QString &path, const QByteArray &xml)
        : m_path(path), m_part(QStringLiteral("The workbook")), m_xml(xml)
    {
    }

    QList<NamedGrid> Parse()
    {
        bool sawRoot = false;
        while (!m_xml.atEnd()) {
            if (NextXmlToken(m_xml, m_path, m_part) != QXmlStreamReader::StartElement)
                continue;
            if (!sawRoot && m_xml.name() != u"Workbook")
                RaiseUnreadable(m_path, QStringLiteral("it is not an Excel XML workbook (its root element is <%1>)")
                                            .arg(m_xml.name()), Remedy::Resave);
            sawRoot = true;
            if (m_xml.name() == u"Worksheet")
                StartSheet();
            else if (m_xml.name() == u"Row" && !m_sheets.isEmpty())
                StartRow();
            else if (m_xml.name() == u"Cell" && !m_sheets.isEmpty())
                ReadCell();
        }
        if (!sawRoot)
            RaiseUnreadable(m_path, QStringLiteral("the file is empty"), Remedy::Resave);
        FinishSheet();
        return std::move(m_sheets);
    }

private:
    // The 1-based ss:Index of a row or cell as a position, or `next` when it has none.
    qsizetype Index(const char *what, qsizetype next, qsizetype limit)
    {
        const QStringView text = Attribute(m_xml.attributes(), u"Index");
        if (text.isEmpty())
            return next;
        bool ok = false;
        const qsizetype index = text.toLongLong(&ok) - 1;
        if (!ok || index < 0 || index >= limit)
            RaiseUnreadable(m_path, QStringLiteral("a sheet has a %1 index of '%2'").arg(QLatin1String(what), text.toString()), Remedy::Resave);
        return index;
    }

    void StartSheet()
    {
        FinishSheet();
        m_sheets << NamedGrid{Attribute(m_xml.attributes(), u"Name").toString(), {}};
        m_sheet.emplace(m_path, QStringLiteral("a sheet"));
    }

    void FinishSheet()
    {
        if (m_sheet)
            m_sheets.last().Cells = m_sheet->Take();
        m_sheet.reset();
    }

    void StartRow()
    {
        const qsizetype row = Index("row", m_sheet->RowCount(), kMaxRows);
        if (row < m_sheet->RowCount())
            RaiseUnreadable(m_path, QStringLiteral("a sheet lists row %1 after a later row").arg(row + 1), Remedy::Resave);
        m_sheet->StartRow(row);
        m_column = 0;
    }

    void ReadCell()
    {
        const qsizetype row = m_sheet->CurrentRow();
        const qsizetype column = Index("cell", m_column, kMaxColumns);
        if (column >= kMaxColumns) // reached by merged cells rather than by an index
            RaiseUnreadable(m_path, QStringLiteral("a sheet has more than %1 columns").arg(kMaxColumns), Remedy::Resave);
        bool ok = false;
        const qsizetype across = Attribute(m_xml.attributes(), u"MergeAcross").toLongLong(&ok);
        m_column = column + 1 + (ok && across > 0 ? std::min(across, kMaxColumns) : 0);
        ReadChildren(m_xml, m_path, m_part, [&] {
            if (m_xml.name() != u"Data") {
                ElementText(m_xml, m_path, m_part); // comments, named cells: not the value
                return;
            }
            const QString type = Attribute(m_xml.attributes(), u"Type").toString();
            m_sheet->Set(row, column, TypedValue(type, ElementText(m_xml, m_path, m_part)));
        });
    }

    const QString &m_path;
    QString m_part;
    QXmlStreamReader m_xml;
    QList<NamedGrid> m_sheets;
    std::optional<SheetBuilder> m_sheet; // the cells of the last sheet in m_sheets
    qsizetype m_column = 0;
};

} // namespace

QList<NamedGrid> ParseSpreadsheetMl(const QString &sourcePath, const QByteArray &xml)
{
    qsizetype start = 0;
    while (start < xml.size() && QByteArrayView(" \t\r\n").contains(xml[start]))
        ++start;
    if (start == xml.size())
        RaiseUnreadable(sourcePath, QStringLiteral("the file is empty"), Remedy::Resave);
    return Parser(sourcePath, NumberHtmlEntities(start ? xml.mid(start) : xml)).Parse();
}

SpreadsheetMlReader::SpreadsheetMlReader(const QString &path) : GridSource(path, QStringLiteral("sheet"))
{
    m_grids = ParseSpreadsheetMl(path, ReadSourceFile(path, qint64(1) << 31));
    if (m_grids.isEmpty())
        RaiseUnreadable(path, QStringLiteral("the workbook holds no worksheets"), Remedy::Resave);
}

} // namespace qv::data
