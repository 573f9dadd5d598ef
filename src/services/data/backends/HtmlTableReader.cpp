#include "HtmlTableReader.h"

#include "HtmlPageText.h"
#include "HtmlTablePass.h"
#include "SheetStream.h"

#include <QBuffer>

#include <functional>

namespace qv::data {

namespace {

const auto kTableWords = QStringLiteral("a table");

// Names every table and asks for none.
class TableNames final : public HtmlTableVisitor
{
public:
    bool Named(int, const QString &name) override
    {
        Names << name;
        return !StopAtFirst;
    }
    void Row(int, const QList<Variant> &) override {}
    void Ended(int) override {}
    bool Done() const override { return StopAtFirst && !Names.isEmpty(); }

    QStringList Names;
    bool StopAtFirst = false;
};

// Gives each row of a grid to cells that take them as a sheet's: a
// SheetBuilder or a SheetStream.
template<typename Cells>
void GiveRow(Cells &cells, const QList<Variant> &row)
{
    cells.StartRow();
    const qsizetype r = cells.CurrentRow();
    for (qsizetype c = 0; c < row.size(); ++c) {
        if (!row[c].IsEmpty())
            cells.Set(r, c, row[c]);
    }
}

// The one table of a name, compared without regard to case, given to the
// cells `make` sets up once the table is found.
template<typename Cells>
class TableByName final : public HtmlTableVisitor
{
public:
    using Make = std::function<void(std::optional<Cells> &, const QString &name)>;
    TableByName(const QString &name, Make make) : m_name(name), m_make(std::move(make)) {}

    bool Named(int, const QString &name) override
    {
        if (Found || name.compare(m_name, Qt::CaseInsensitive) != 0)
            return false;
        Found = name;
        m_make(Sheet, name);
        return true;
    }
    void Row(int, const QList<Variant> &row) override { GiveRow(*Sheet, row); }
    void Ended(int) override { m_ended = true; }
    bool Done() const override
    {
        if constexpr (requires { Sheet->Stopped(); })
            return m_ended || (Sheet && Sheet->Stopped());
        return m_ended;
    }

    std::optional<QString> Found;
    std::optional<Cells> Sheet;

private:
    const QString &m_name;
    Make m_make;
    bool m_ended = false;
};

// Every table, each made a grid when it ends.
class AllTables final : public HtmlTableVisitor
{
public:
    explicit AllTables(const QString &sourcePath) : m_path(sourcePath) {}

    bool Named(int, const QString &name) override
    {
        Tables << NamedGrid{name, {}};
        m_open.push_back(std::make_unique<SheetBuilder>(m_path, kTableWords));
        return true;
    }
    void Row(int table, const QList<Variant> &row) override { GiveRow(*m_open[table], row); }
    void Ended(int table) override
    {
        Tables[table].Cells = m_open[table]->Take();
        m_open[table].reset();
    }
    bool Done() const override { return false; }
    // Grids for tables the page left open, had the parser not closed them.
    void Finish()
    {
        for (size_t t = 0; t < m_open.size(); ++t) {
            if (m_open[t])
                Ended(int(t));
        }
    }

    QList<NamedGrid> Tables;

private:
    const QString &m_path;
    std::vector<std::unique_ptr<SheetBuilder>> m_open;
};

void PassOverFile(const QString &path, HtmlTableVisitor &visitor)
{
    QFile file(path);
    OpenSourceFile(file);
    PassOverHtml(path, file, visitor);
}

} // namespace

QByteArray HtmlEncoding(const QByteArray &page)
{
    if (const auto declared = DeclaredHtmlEncoding(page))
        return declared->MarkLength > 0 ? QByteArray() : declared->Name;
    bool cut = false;
    return ValidUtf8Length(page, cut) == page.size() ? QByteArray("UTF-8") : QByteArray("windows-1252");
}

QList<NamedGrid> ParseHtmlTables(const QByteArray &page, const QString &sourcePath)
{
    QBuffer buffer;
    buffer.setData(page);
    buffer.open(QIODevice::ReadOnly);
    AllTables tables(sourcePath);
    PassOverHtml(sourcePath, buffer, tables);
    tables.Finish();
    return tables.Tables;
}

void StreamHtmlTable(const QString &sourcePath, QIODevice &page, const QString &name, TableSink &sink)
{
    TableByName<SheetStream> table(name, [&](std::optional<SheetStream> &cells, const QString &found) {
        cells.emplace(sourcePath, found, kTableWords, sink);
    });
    PassOverHtml(sourcePath, page, table);
    if (!table.Found)
        RaiseNoSuchItem(sourcePath, QStringLiteral("table"), name);
    table.Sheet->Finish();
}

HtmlTableReader::HtmlTableReader(const QString &path) : m_path(path)
{
    TableNames first;
    first.StopAtFirst = true;
    PassOverFile(m_path, first);
    if (first.Names.isEmpty())
        RaiseUnreadable(path, QStringLiteral("the page holds no table; choose a page that shows its data in a table"));
}

QStringList HtmlTableReader::DataItems()
{
    TableNames names;
    PassOverFile(m_path, names);
    return names.Names;
}

DataTable HtmlTableReader::ReadItem(const QString &name)
{
    TableByName<SheetBuilder> table(name, [this](std::optional<SheetBuilder> &cells, const QString &) {
        cells.emplace(m_path, kTableWords);
    });
    PassOverFile(m_path, table);
    if (!table.Found)
        RaiseNoSuchItem(m_path, QStringLiteral("table"), name);
    return TableFromGrid(m_path, *table.Found, table.Sheet->Take());
}

void HtmlTableReader::StreamItem(const QString &name, TableSink &sink)
{
    // Each call reads the page through a file of its own: two workers stream at once.
    QFile file(m_path);
    OpenSourceFile(file);
    StreamHtmlTable(m_path, file, name, sink);
}

} // namespace qv::data
