#include "SpreadsheetMlReader.h"

#include "SheetBuilder.h"
#include "SheetStream.h"
#include "SpreadsheetMlDevice.h"
#include "XmlChecks.h"

#include "automation/OleDate.h"

#include <QBuffer>
#include <QLocale>

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
        QDate date;
        QTime time;
        if (!ReadIsoDateTime(text, date, time))
            return text;
        return DateValue{DateTimeToOleDate(date, time)};
    }
    if (type == u"Boolean")
        return text.trimmed() == u"1" || text.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
    return text;
}

// One pass over a workbook's XML, from worksheet to worksheet: the cells of
// a sheet are read into whatever takes them (a SheetBuilder or a
// SheetStream), or passed over.
class Pass
{
public:
    Pass(const QString &path, QIODevice *xml) : m_path(path), m_part(QStringLiteral("The workbook")), m_xml(xml)
    {
        if (xml->peek(1).isEmpty())
            RaiseUnreadable(m_path, QStringLiteral("the file is empty"), Remedy::Resave);
    }

    // Moves to the start of the next worksheet and gives its name; false at
    // the workbook's end.
    bool NextSheet(QString &name)
    {
        while (!m_xml.atEnd()) {
            if (NextXmlToken(m_xml, m_path, m_part) != QXmlStreamReader::StartElement)
                continue;
            if (!m_sawRoot && m_xml.name() != u"Workbook")
                RaiseUnreadable(m_path, QStringLiteral("it is not an Excel XML workbook (its root element is <%1>)")
                                            .arg(m_xml.name()), Remedy::Resave);
            m_sawRoot = true;
            if (m_xml.name() == u"Worksheet") {
                name = Attribute(m_xml.attributes(), u"Name").toString();
                return true;
            }
        }
        if (!m_sawRoot)
            RaiseUnreadable(m_path, QStringLiteral("the file is empty"), Remedy::Resave);
        return false;
    }

    // Passes over the cells of the worksheet just started.
    void SkipSheet()
    {
        m_xml.skipCurrentElement();
        if (m_xml.hasError())
            NextXmlToken(m_xml, m_path, m_part); // raises, naming the fault
    }

    // Reads the cells of the worksheet just started up to its end, or until
    // a stream wants no more rows.
    template<typename Cells>
    void ReadSheet(Cells &cells)
    {
        m_nextRow = 0;
        qsizetype column = 0;
        WalkElement(m_xml, m_path, m_part, [&] {
            if (m_xml.name() == u"Cell") {
                column = ReadCell(cells, column);
                return Walk::Read;
            }
            if (m_xml.name() != u"Row")
                return Walk::Into;
            StartRow(cells);
            column = 0;
            if constexpr (requires { cells.Stopped(); }) {
                if (cells.Stopped())
                    return Walk::Stop;
            }
            return Walk::Into;
        });
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

    template<typename Cells>
    void StartRow(Cells &cells)
    {
        const qsizetype row = Index("row", m_nextRow, kMaxRows);
        if (row < m_nextRow)
            RaiseRowBackwards(m_path, QStringLiteral("a sheet"), row);
        cells.StartRow(row);
        m_nextRow = row + 1;
    }

    // Reads a cell, at `next` unless it gives its own index; gives the
    // column after it and the cells it merges.
    template<typename Cells>
    qsizetype ReadCell(Cells &cells, qsizetype next)
    {
        const qsizetype row = cells.CurrentRow();
        const qsizetype column = Index("cell", next, kMaxColumns);
        if (column >= kMaxColumns) // reached by merged cells rather than by an index
            RaiseUnreadable(m_path, QStringLiteral("a sheet has more than %1 columns").arg(kMaxColumns), Remedy::Resave);
        bool ok = false;
        const qsizetype across = Attribute(m_xml.attributes(), u"MergeAcross").toLongLong(&ok);
        ReadChildren(m_xml, m_path, m_part, [&] {
            if (m_xml.name() != u"Data") {
                ElementText(m_xml, m_path, m_part); // comments, named cells: not the value
                return;
            }
            const QString type = Attribute(m_xml.attributes(), u"Type").toString();
            cells.Set(row, column, TypedValue(type, ElementText(m_xml, m_path, m_part)));
        });
        return column + 1 + (ok && across > 0 ? std::min(across, kMaxColumns) : 0);
    }

    const QString &m_path;
    QString m_part;
    QXmlStreamReader m_xml;
    bool m_sawRoot = false;
    qsizetype m_nextRow = 0;
};

// Runs `read` on a pass over the file.
template<typename Read>
auto ReadFile(const QString &path, Read read)
{
    QFile file(path);
    OpenSourceFile(file);
    SpreadsheetMlDevice device(&file);
    Pass pass(path, &device);
    return read(pass);
}

// Moves `pass` to the start of the first sheet named `name` (compared
// without regard to case) and gives its name as the file writes it.
QString SeekSheet(Pass &pass, const QString &path, const QString &name)
{
    for (QString found; pass.NextSheet(found); pass.SkipSheet()) {
        if (found.compare(name, Qt::CaseInsensitive) == 0)
            return found;
    }
    RaiseNoSuchItem(path, QStringLiteral("sheet"), name);
}

} // namespace

QList<NamedGrid> ParseSpreadsheetMl(const QString &sourcePath, const QByteArray &xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    SpreadsheetMlDevice device(&buffer);
    Pass pass(sourcePath, &device);
    QList<NamedGrid> sheets;
    for (QString name; pass.NextSheet(name);) {
        SheetBuilder cells(sourcePath, QStringLiteral("a sheet"));
        pass.ReadSheet(cells);
        sheets << NamedGrid{name, cells.Take()};
    }
    return sheets;
}

SpreadsheetMlReader::SpreadsheetMlReader(const QString &path) : m_path(path)
{
    ReadFile(path, [&](Pass &pass) {
        if (QString name; !pass.NextSheet(name))
            RaiseUnreadable(path, QStringLiteral("the workbook holds no worksheets"), Remedy::Resave);
    });
}

QStringList SpreadsheetMlReader::DataItems()
{
    std::call_once(m_listed, [this] {
        m_names = ReadFile(m_path, [&](Pass &pass) {
            QStringList names;
            for (QString name; pass.NextSheet(name); pass.SkipSheet())
                names << name;
            return names;
        });
    });
    return m_names;
}

DataTable SpreadsheetMlReader::ReadItem(const QString &name)
{
    return ReadFile(m_path, [&](Pass &pass) {
        const QString sheet = SeekSheet(pass, m_path, name);
        SheetBuilder cells(m_path, QStringLiteral("a sheet"));
        pass.ReadSheet(cells);
        return TableFromGrid(m_path, sheet, cells.Take());
    });
}

void SpreadsheetMlReader::StreamItem(const QString &name, TableSink &sink)
{
    QFile file(m_path);
    OpenSourceFile(file);
    StreamSpreadsheetMl(m_path, &file, name, sink);
}

void StreamSpreadsheetMl(const QString &sourcePath, QIODevice *xml, const QString &name, TableSink &sink)
{
    SpreadsheetMlDevice device(xml);
    Pass pass(sourcePath, &device);
    SheetStream rows(sourcePath, SeekSheet(pass, sourcePath, name), QStringLiteral("a sheet"), sink);
    pass.ReadSheet(rows);
    if (!rows.Stopped())
        rows.Finish();
}

} // namespace qv::data
