#include "HtmlTableReader.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <libxml/HTMLparser.h>

#include <memory>

namespace qv::data {

namespace {

constexpr int kMaxSpan = 1000;
constexpr int kMaxRowSpan = 65534;
constexpr qsizetype kMaxColumns = 16384;
// libxml2 stops reading an HTML page at this depth unless told to read huge
// documents; what lies deeper never reaches the tree.
constexpr int kParserMaxDepth = 256;

// The number of levels below and including `root`, found without recursion.
int DeepestLevel(const xmlNode *root)
{
    const xmlNode *node = root;
    int depth = 1, deepest = 1;
    for (;;) {
        if (node->children) {
            node = node->children;
            deepest = std::max(deepest, ++depth);
            continue;
        }
        while (node != root && !node->next) {
            node = node->parent;
            --depth;
        }
        if (node == root)
            return deepest;
        node = node->next;
    }
}

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};

bool IsElement(const xmlNode *node, const char *name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, BAD_CAST name) == 0;
}

QString Attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, BAD_CAST name);
    const QString text = value ? QString::fromUtf8(reinterpret_cast<const char *>(value)) : QString();
    xmlFree(value);
    return text.trimmed();
}

// Text of a cell: nested tables, scripts and styles are left out.
void AppendText(const xmlNode *node, QString &text)
{
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            text += QString::fromUtf8(reinterpret_cast<const char *>(child->content));
        else if (IsElement(child, "br"))
            text += u'\n';
        else if (child->type == XML_ELEMENT_NODE && !IsElement(child, "table") && !IsElement(child, "script") &&
                 !IsElement(child, "style"))
            AppendText(child, text);
    }
}

QString CellText(const xmlNode *cell)
{
    QString raw;
    AppendText(cell, raw);
    QStringList lines;
    for (const QString &line : raw.split(u'\n'))
        lines << line.simplified();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    return lines.join(u'\n');
}

Variant CellValue(const QString &text)
{
    // Only a number that reads back as written becomes one; "007" or "1,5" stay text.
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]{0,14})(\\.[0-9]{1,15})?$"));
    if (number.match(text).hasMatch())
        return text.toDouble();
    return text;
}

// An attribute read as a browser reads a non-negative integer: leading
// white space and a sign skipped, then the digits up to anything else, so
// that colspan='3"' spans 3; -1 when it holds no such number.
int HtmlInteger(const QString &text, int limit)
{
    qsizetype i = 0;
    while (i < text.size() && QStringView(u" \t\n\f\r").contains(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    const qsizetype digits = i;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<qint64>(value * 10 + (text[i].unicode() - u'0'), limit);
    if (i == digits || (negative && value != 0))
        return -1;
    return int(value);
}

// colspan: 1 when missing, unreadable or 0, at most 1000.
int ColumnSpan(const xmlNode *cell)
{
    const int span = HtmlInteger(Attribute(cell, "colspan"), kMaxSpan);
    return span < 1 ? 1 : span;
}

// rowspan: 1 when missing or unreadable; 0 runs to the end of the cell's
// row group (its thead, tbody or tfoot), `rowsInGroup` rows from its own.
qsizetype RowSpan(const xmlNode *cell, qsizetype rowsInGroup)
{
    const int span = HtmlInteger(Attribute(cell, "rowspan"), kMaxRowSpan);
    if (span < 0)
        return 1;
    return span == 0 ? rowsInGroup : std::min<qsizetype>(span, rowsInGroup);
}

// For each row, how many rows from it on share its row group.
QList<qsizetype> RowsLeftInGroups(const QList<const xmlNode *> &rows)
{
    QList<qsizetype> left(rows.size(), 1);
    for (qsizetype r = rows.size() - 2; r >= 0; --r) {
        if (rows[r + 1]->parent == rows[r]->parent)
            left[r] = left[r + 1] + 1;
    }
    return left;
}

// The rows of a table: those of its own thead, tbody and tfoot, not of a nested table.
void CollectRows(const xmlNode *node, QList<const xmlNode *> &rows)
{
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (IsElement(child, "tr"))
            rows << child;
        else if (child->type == XML_ELEMENT_NODE && !IsElement(child, "table"))
            CollectRows(child, rows);
    }
}

// How many places a page's spanning cells may fill beyond their own: each
// place is a copy of the cell, so a few bytes of colspan and rowspan could
// otherwise claim gigabytes (100 cells of 1000 by 1000).
constexpr qsizetype kMaxSpannedPlaces = 4 * 1024 * 1024;

struct SpanBudget
{
    const QString &path;
    qsizetype left = kMaxSpannedPlaces;

    void Spend(qsizetype places)
    {
        left -= places;
        if (left < 0)
            RaiseUnreadable(path, QStringLiteral("its cells span more than %1 places, more than can be read at once")
                                      .arg(kMaxSpannedPlaces), Remedy::Smaller);
    }
};

CellGrid GridOf(const xmlNode *table, SpanBudget &budget)
{
    QList<const xmlNode *> rows;
    CollectRows(table, rows);
    const QList<qsizetype> rowsInGroup = RowsLeftInGroups(rows);
    CellGrid grid(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        qsizetype column = 0;
        for (const xmlNode *cell = rows[r]->children; cell; cell = cell->next) {
            if (!IsElement(cell, "td") && !IsElement(cell, "th"))
                continue;
            while (column < grid[r].size() && !grid[r][column].IsEmpty())
                ++column; // taken by a cell spanning down from a row above
            const Variant value = CellValue(CellText(cell));
            if (column >= kMaxColumns)
                break;
            const int across = int(std::min<qsizetype>(ColumnSpan(cell), kMaxColumns - column));
            const qsizetype down = RowSpan(cell, rowsInGroup[r]);
            budget.Spend(down * across - 1);
            for (qsizetype dr = 0; dr < down; ++dr) {
                auto &cells = grid[r + dr];
                if (cells.size() < column + across)
                    cells.resize(column + across);
                for (int dc = 0; dc < across; ++dc)
                    cells[column + dc] = value;
            }
            column += across;
        }
    }
    return grid;
}

QString TableName(const xmlNode *table, int position)
{
    for (const xmlNode *child = table->children; child; child = child->next) {
        if (IsElement(child, "caption")) {
            const QString caption = CellText(child).simplified();
            if (!caption.isEmpty())
                return caption;
        }
    }
    const QString id = Attribute(table, "id");
    return id.isEmpty() ? QStringLiteral("Table%1").arg(position) : id;
}

void CollectTables(const xmlNode *node, QList<NamedGrid> &tables, SpanBudget &budget)
{
    for (const xmlNode *child = node; child; child = child->next) {
        if (IsElement(child, "table")) {
            CellGrid grid = GridOf(child, budget);
            if (!grid.isEmpty()) // a table without rows is markup, not data
                tables << NamedGrid{TableName(child, int(tables.size()) + 1), std::move(grid)};
        }
        if (child->children)
            CollectTables(child->children, tables, budget);
    }
}

void MakeNamesUnique(QList<NamedGrid> &tables)
{
    QSet<QString> taken;
    for (NamedGrid &table : tables) {
        const QString base = table.Name;
        for (int n = 2; taken.contains(table.Name.toLower()); ++n)
            table.Name = QStringLiteral("%1 (%2)").arg(base).arg(n);
        taken.insert(table.Name.toLower());
    }
}

} // namespace

QByteArray HtmlEncoding(const QByteArray &page)
{
    if (page.startsWith("\xEF\xBB\xBF") || page.startsWith("\xFF\xFE") || page.startsWith("\xFE\xFF"))
        return {};
    static const QRegularExpression declared(QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const auto match = declared.match(QString::fromLatin1(page.left(4096)));
    if (match.hasMatch())
        return match.captured(1).toLatin1();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(page); // decoding happens on conversion, and sets the error flag
    Q_UNUSED(decoded);
    return utf8.hasError() ? QByteArray("windows-1252") : QByteArray("UTF-8");
}

QList<NamedGrid> ParseHtmlTables(const QByteArray &page, const QString &sourcePath)
{
    if (page.isEmpty())
        return {};
    // libxml2 sets up its globals once, before any thread parses.
    static const bool initialised = (xmlInitParser(), true);
    Q_UNUSED(initialised);
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING;
    QByteArray encoding = HtmlEncoding(page);
    std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(page.constData(), int(page.size()), nullptr, encoding.isEmpty() ? nullptr : encoding.constData(), options));
    if (!doc && !encoding.isEmpty()) // a charset libxml2 does not know: read the bytes as UTF-8
        doc.reset(htmlReadMemory(page.constData(), int(page.size()), nullptr, "UTF-8", options));
    QList<NamedGrid> tables;
    const xmlNode *root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root)
        return tables;
    if (DeepestLevel(root) >= kParserMaxDepth)
        RaiseUnreadable(sourcePath, QStringLiteral("the page nests its elements %1 or more deep, deeper than can be "
                                                   "read, and the tables inside would be lost")
                                        .arg(kParserMaxDepth));
    SpanBudget budget{sourcePath};
    CollectTables(root, tables, budget);
    MakeNamesUnique(tables);
    return tables;
}

HtmlTableReader::HtmlTableReader(const QString &path) : GridSource(path, QStringLiteral("table"))
{
    m_grids = ParseHtmlTables(ReadSourceFile(path, qint64(1) << 30), path);
    if (m_grids.isEmpty())
        RaiseUnreadable(path, QStringLiteral("the page holds no table; choose a page that shows its data in a table"));
}

} // namespace qv::data
