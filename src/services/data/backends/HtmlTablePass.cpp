#include "HtmlTablePass.h"

#include "HtmlPageInput.h"
#include "HtmlPageText.h"
#include "HtmlTableRows.h"

#include <QHash>
#include <QSet>

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <exception>
#include <memory>

namespace qv::data {

namespace {

// libxml2 builds no tree deeper than this unless told to read huge documents,
// and a tree of the page (View Data renders one) would lose what lies deeper:
// such a page is refused rather than read differently in different places.
constexpr qsizetype kParserMaxDepth = 256;
enum class Tag { Other, Table, Row, Cell, Caption, Hidden, Break };

Tag TagOf(const xmlChar *name)
{
    static const std::pair<const char *, Tag> tags[] = {
        {"table", Tag::Table}, {"tr", Tag::Row},         {"td", Tag::Cell},     {"th", Tag::Cell},
        {"caption", Tag::Caption}, {"script", Tag::Hidden}, {"style", Tag::Hidden}, {"br", Tag::Break},
    };
    for (const auto &[text, tag] : tags) {
        if (xmlStrcasecmp(name, BAD_CAST text) == 0)
            return tag;
    }
    return Tag::Other;
}

QString AttributeOf(const xmlChar **attributes, const char *name)
{
    for (; attributes && attributes[0]; attributes += 2) {
        if (xmlStrcasecmp(attributes[0], BAD_CAST name) == 0)
            return attributes[1] ? QString::fromUtf8(reinterpret_cast<const char *>(attributes[1])).trimmed() : QString();
    }
    return {};
}

// A table the pass is inside of.
struct OpenTable
{
    QString Id;
    QString Caption;     // its first caption with text, once that caption ends
    QString CaptionText; // the text of its open caption
    int Number = -1;     // -1 until its first row names it
    // Of a table asked for: its rows, and its open cell.
    std::optional<HtmlTableRows> Rows;
    QString CellText, ColumnSpan, RowSpan;
};

enum class TextTo { Nowhere, Cell, Caption };

// An open element, with what its start decided for what lies inside it.
struct Element
{
    quint64 Serial = 0;
    bool IsTable = false;
    qsizetype RowsOf = -1;    // the table whose rows may lie inside: not through a row or a nested table
    qsizetype RowOf = -1;     // a row's table
    qsizetype CellOf = -1;    // a cell's table
    qsizetype CaptionOf = -1; // a caption's table
    TextTo Text = TextTo::Nowhere;
    qsizetype TextOf = -1; // the table whose cell or caption the text inside goes to
};

class TablePass
{
public:
    TablePass(const QString &sourcePath, HtmlTableVisitor &visitor) : m_path(sourcePath), m_visitor(visitor), m_budget(m_path) {}

    static xmlSAXHandler Handler();
    void Attach(htmlParserCtxtPtr parser) { m_parser = parser; }
    bool Stopped() const { return m_stopped; }
    // Raises what a callback raised: nothing may unwind through the parser.
    void Check()
    {
        if (m_error)
            std::rethrow_exception(std::exchange(m_error, nullptr));
    }

private:
    template<typename Step>
    static void Guard(void *self, Step step);
    void CheckDepth() const;
    void Start(const xmlChar *name, const xmlChar **attributes);
    void End();
    void AddText(const Element &where, const QString &text);
    void StartRow(qsizetype t, quint64 parent);
    void EndCell(OpenTable &table);
    void EndCaption(OpenTable &table);
    void Name(OpenTable &table);

    const QString &m_path;
    HtmlTableVisitor &m_visitor;
    htmlParserCtxtPtr m_parser = nullptr;
    QList<Element> m_open;
    QList<OpenTable> m_tables;
    quint64 m_serial = 0;
    int m_named = 0;
    QSet<QString> m_taken;             // names given, in lower case
    QHash<QString, int> m_nextSuffix;  // by name: the number to try next for a copy
    SpanBudget m_budget;
    std::exception_ptr m_error;
    bool m_stopped = false;
};

template<typename Step>
void TablePass::Guard(void *self, Step step)
{
    auto *pass = static_cast<TablePass *>(self);
    if (pass->m_stopped)
        return;
    try {
        step(*pass);
        pass->m_stopped = pass->m_visitor.Done();
    } catch (...) {
        pass->m_error = std::current_exception();
        pass->m_stopped = true;
    }
    if (pass->m_stopped)
        xmlStopParser(pass->m_parser);
}

xmlSAXHandler TablePass::Handler()
{
    xmlSAXHandler handler{};
    handler.initialized = 1;
    handler.startElement = [](void *self, const xmlChar *name, const xmlChar **attributes) {
        Guard(self, [&](TablePass &pass) { pass.Start(name, attributes); });
    };
    handler.endElement = [](void *self, const xmlChar *) { Guard(self, [](TablePass &pass) { pass.End(); }); };
    handler.characters = [](void *self, const xmlChar *text, int length) {
        Guard(self, [&](TablePass &pass) {
            pass.CheckDepth();
            if (!pass.m_open.isEmpty() && pass.m_open.last().Text != TextTo::Nowhere)
                pass.AddText(pass.m_open.last(), QString::fromUtf8(reinterpret_cast<const char *>(text), length));
        });
    };
    handler.comment = [](void *self, const xmlChar *) { Guard(self, [](TablePass &pass) { pass.CheckDepth(); }); };
    handler.cdataBlock = handler.characters;
    handler.ignorableWhitespace = handler.characters;
    return handler;
}

// A tree of the page holds its texts and comments as nodes below their
// element: the depth counts them too.
void TablePass::CheckDepth() const
{
    if (m_open.size() + 1 >= kParserMaxDepth)
        RaiseUnreadable(m_path, QStringLiteral("the page nests its elements %1 or more deep, deeper than can be "
                                               "read, and the tables inside would be lost")
                                    .arg(kParserMaxDepth));
}

void TablePass::Start(const xmlChar *name, const xmlChar **attributes)
{
    CheckDepth();
    Element element;
    element.Serial = ++m_serial;
    const Element parent = m_open.isEmpty() ? Element() : m_open.last();
    element.RowsOf = parent.RowsOf;
    element.Text = parent.Text;
    element.TextOf = parent.TextOf;
    switch (TagOf(name)) {
    case Tag::Table:
        m_tables.emplaceBack().Id = AttributeOf(attributes, "id");
        element.IsTable = true;
        element.RowsOf = m_tables.size() - 1;
        element.Text = TextTo::Nowhere; // a nested table's text is its own
        break;
    case Tag::Hidden:
        element.Text = TextTo::Nowhere;
        break;
    case Tag::Break:
        AddText(parent, QStringLiteral("\n"));
        break;
    case Tag::Row:
        element.RowOf = parent.RowsOf;
        element.RowsOf = -1; // a row inside a row is none of the table's
        if (element.RowOf >= 0)
            StartRow(element.RowOf, parent.Serial);
        break;
    case Tag::Cell:
        if (parent.RowOf < 0)
            break;
        element.CellOf = element.TextOf = parent.RowOf;
        element.Text = TextTo::Cell;
        if (OpenTable &table = m_tables[parent.RowOf]; table.Rows) {
            table.CellText.clear();
            table.ColumnSpan = AttributeOf(attributes, "colspan");
            table.RowSpan = AttributeOf(attributes, "rowspan");
        }
        break;
    case Tag::Caption:
        if (!parent.IsTable || m_tables[parent.RowsOf].Number >= 0 || !m_tables[parent.RowsOf].Caption.isEmpty())
            break;
        element.CaptionOf = element.TextOf = parent.RowsOf;
        element.Text = TextTo::Caption;
        m_tables[parent.RowsOf].CaptionText.clear();
        break;
    case Tag::Other:
        break;
    }
    m_open.append(element);
}

void TablePass::End()
{
    if (m_open.isEmpty())
        return;
    const Element element = m_open.takeLast();
    if (element.CellOf >= 0) {
        EndCell(m_tables[element.CellOf]);
    } else if (element.RowOf >= 0) {
        const OpenTable &table = m_tables[element.RowOf];
        if (table.Rows)
            m_visitor.Row(table.Number, table.Rows->Row());
    } else if (element.CaptionOf >= 0) {
        EndCaption(m_tables[element.CaptionOf]);
    } else if (element.IsTable) {
        OpenTable table = m_tables.takeLast();
        if (table.Rows) {
            table.Rows->End();
            m_visitor.Ended(table.Number);
        }
    }
}

void TablePass::AddText(const Element &where, const QString &text)
{
    if (where.Text == TextTo::Caption)
        m_tables[where.TextOf].CaptionText += text;
    else if (where.Text == TextTo::Cell && m_tables[where.TextOf].Rows)
        m_tables[where.TextOf].CellText += text;
}

void TablePass::StartRow(qsizetype t, quint64 parent)
{
    OpenTable &table = m_tables[t];
    if (table.Number < 0)
        Name(table);
    if (table.Rows)
        table.Rows->StartRow(parent);
}

void TablePass::EndCell(OpenTable &table)
{
    if (table.Rows)
        table.Rows->AddCell(HtmlCellValue(HtmlCellText(table.CellText)), table.ColumnSpan, table.RowSpan);
}

void TablePass::EndCaption(OpenTable &table)
{
    table.Caption = HtmlCellText(std::exchange(table.CaptionText, {})).simplified();
}

void TablePass::Name(OpenTable &table)
{
    table.Number = m_named++;
    const QString base = !table.Caption.isEmpty() ? table.Caption
                         : !table.Id.isEmpty()    ? table.Id
                                                  : QStringLiteral("Table%1").arg(table.Number + 1);
    QString name = base;
    if (m_taken.contains(name.toLower())) {
        // Copies already named took every number below the one kept for the next.
        int &next = m_nextSuffix[base.toLower()];
        for (next = std::max(next, 2); m_taken.contains(name.toLower()); ++next)
            name = QStringLiteral("%1 (%2)").arg(base).arg(next);
    }
    m_taken.insert(name.toLower());
    if (m_visitor.Named(table.Number, name))
        table.Rows.emplace(m_budget);
}

struct ParserFree
{
    void operator()(htmlParserCtxtPtr parser) const { htmlFreeParserCtxt(parser); }
};

} // namespace

void PassOverHtml(const QString &sourcePath, QIODevice &page, HtmlTableVisitor &visitor)
{
    // libxml2 sets up its globals once, before any thread parses.
    static const bool initialised = (xmlInitParser(), true);
    Q_UNUSED(initialised);
    TablePass pass(sourcePath, visitor);
    PageInput input(sourcePath, page, [&pass] { return pass.Stopped(); });
    const std::optional<DeclaredEncoding> declared = DeclaredHtmlEncoding(input.First());
    const std::optional<QByteArray> encoding = EncodingToRead(declared);
    // A UTF-16 page keeps its mark for libxml2 to follow; a UTF-8 one goes through the input.
    input.Start(declared && !encoding ? declared->MarkLength : 0, !encoding);

    const std::unique_ptr<htmlParserCtxt, ParserFree> parser(htmlNewParserCtxt());
    if (!parser)
        throw std::bad_alloc();
    *parser->sax = TablePass::Handler();
    parser->userData = &pass;
    // The encoding is decided here: a <meta> further down changes nothing.
    htmlCtxtUseOptions(parser.get(), HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                         HTML_PARSE_IGNORE_ENC);
    xmlParserInputBufferPtr buffer = xmlParserInputBufferCreateIO(PageInput::Read, nullptr, &input, XML_CHAR_ENCODING_NONE);
    xmlParserInputPtr stream = buffer ? xmlNewIOInputStream(parser.get(), buffer, XML_CHAR_ENCODING_NONE) : nullptr;
    if (!stream) {
        xmlFreeParserInputBuffer(buffer);
        throw std::bad_alloc();
    }
    inputPush(parser.get(), stream);
    const QByteArray name = encoding.value_or(QByteArray("UTF-8"));
    if (!name.isEmpty())
        xmlSwitchToEncoding(parser.get(), xmlFindCharEncodingHandler(name.constData()));
    pass.Attach(parser.get());
    htmlParseDocument(parser.get());
    if (parser->myDoc) // none is built, but a handler left unset would make one
        xmlFreeDoc(std::exchange(parser->myDoc, nullptr));
    input.Check();
    pass.Check();
}

} // namespace qv::data
