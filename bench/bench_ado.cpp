// Recordset speed: saving and re-opening rowset XML against bare XML passes
// over the same document, and bookmark filters on a large recordset.
#include "BenchMain.h"

#include "ado/Recordset.h"
#include "ado/Stream.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace qv;
using namespace qv::ado;

namespace {

constexpr int kTextRows = 2000;
constexpr int kTextFields = 10;

QString CellText(int row, int field)
{
    return QStringLiteral("Row %1 field %2 & more").arg(row).arg(field);
}

// 2000 rows of 10 text fields, as the data viewer's display recordset holds.
Recordset &TextRecordset()
{
    static Recordset *rs = [] {
        auto *r = new Recordset;
        QList<Variant> names;
        for (int f = 0; f < kTextFields; ++f) {
            r->Fields().Append(QStringLiteral("Column %1").arg(f), adVarWChar, 500, adFldUnspecified);
            names << Variant(qint32(f));
        }
        r->Open();
        for (int row = 0; row < kTextRows; ++row) {
            QList<Variant> values;
            for (int f = 0; f < kTextFields; ++f)
                values << Variant(CellText(row, f));
            r->AddNew(names, values);
        }
        return r;
    }();
    return *rs;
}

const QString &SavedDocument()
{
    static const QString xml = [] {
        Stream stream;
        stream.Open();
        TextRecordset().Save(stream);
        stream.SetPosition(0);
        return stream.ReadText();
    }();
    return xml;
}

void BM_SaveAndReopen(benchmark::State &state)
{
    Recordset &rs = TextRecordset();
    for (auto _ : state) {
        Stream stream;
        stream.Open();
        rs.Save(stream);
        stream.SetPosition(0);
        Recordset back;
        back.Open(stream);
        benchmark::DoNotOptimize(back.RecordCount());
    }
}
BENCHMARK(BM_SaveAndReopen)->Unit(benchmark::kMillisecond);

// The same document written element by element with QXmlStreamWriter, then
// read token by token, attributes included, with QXmlStreamReader.
void BM_BareWriterAndReader(benchmark::State &state)
{
    const QString &document = SavedDocument();
    // The texts are made beforehand, as the recordset holds them.
    QStringList names;
    QList<QStringList> cells(kTextRows);
    for (int f = 0; f < kTextFields; ++f)
        names << QStringLiteral("c%1").arg(f);
    for (int row = 0; row < kTextRows; ++row) {
        for (int f = 0; f < kTextFields; ++f)
            cells[row] << CellText(row, f);
    }
    for (auto _ : state) {
        QString out;
        QXmlStreamWriter writer(&out);
        writer.writeStartElement(QStringLiteral("xml"));
        writer.writeAttribute(QStringLiteral("xmlns:z"), QStringLiteral("#RowsetSchema"));
        writer.writeStartElement(QStringLiteral("s:Schema"));
        for (int f = 0; f < kTextFields; ++f) {
            writer.writeStartElement(QStringLiteral("s:AttributeType"));
            writer.writeAttribute(QStringLiteral("name"), names[f]);
            writer.writeEmptyElement(QStringLiteral("s:datatype"));
            writer.writeAttribute(QStringLiteral("dt:type"), QStringLiteral("string"));
            writer.writeEndElement();
        }
        writer.writeEndElement();
        writer.writeStartElement(QStringLiteral("rs:data"));
        for (int row = 0; row < kTextRows; ++row) {
            writer.writeEmptyElement(QStringLiteral("z:row"));
            for (int f = 0; f < kTextFields; ++f)
                writer.writeAttribute(names[f], cells[row][f]);
        }
        writer.writeEndDocument();
        benchmark::DoNotOptimize(out);

        QXmlStreamReader reader(document);
        qsizetype attributes = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement)
                attributes += reader.attributes().size();
        }
        benchmark::DoNotOptimize(attributes);
    }
}
BENCHMARK(BM_BareWriterAndReader)->Unit(benchmark::kMillisecond);

Recordset &LargeRecordset()
{
    static Recordset *rs = [] {
        auto *r = new Recordset;
        r->Fields().Append(QStringLiteral("ID"), adInteger);
        r->Fields().Append(QStringLiteral("Name"), adVarWChar, 50);
        r->Open();
        const QList<Variant> names = {Variant(qint32(0)), Variant(qint32(1))};
        for (qint32 i = 0; i < 100000; ++i)
            r->AddNew(names, {Variant(i), Variant(QStringLiteral("Name %1").arg(i))});
        return r;
    }();
    return *rs;
}

// Bookmarks spread over the rows in no particular order, as ticked rows are.
QList<Variant> SpreadBookmarks(int count)
{
    QList<Variant> bookmarks;
    for (int i = 0; i < count; ++i)
        bookmarks << Variant(double((qint64(i) * 7919) % 100000 + 1));
    return bookmarks;
}

// Sets the filter and walks it, reading each row's name, or only its
// bookmark: the bookmark walk shows the cost of the filter itself, which
// must grow with the array alone, while the name reads add the memory
// traffic of rows spread over the whole recordset.
void FilterAndWalk(benchmark::State &state, int count, bool readNames)
{
    Recordset &rs = LargeRecordset();
    const QList<Variant> bookmarks = SpreadBookmarks(count);
    Field &name = rs.Fields().Item(1);
    for (auto _ : state) {
        rs.SetFilter(bookmarks);
        double seen = 0;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
            seen += readNames ? double(name.Value().ToText().size()) : *rs.Bookmark().Get<double>();
        benchmark::DoNotOptimize(seen);
    }
}

void BM_BookmarkFilter2000(benchmark::State &state) { FilterAndWalk(state, 2000, true); }
void BM_BookmarkWalk2000(benchmark::State &state) { FilterAndWalk(state, 2000, false); }
void BM_BookmarkWalk20000(benchmark::State &state) { FilterAndWalk(state, 20000, false); }
BENCHMARK(BM_BookmarkFilter2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BookmarkWalk2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BookmarkWalk20000)->Unit(benchmark::kMicrosecond);

const bool g_goals =
    qv::bench::AddRatioGoal({"save and reopen 2000 x 10 texts vs bare QXmlStreamWriter + QXmlStreamReader",
                             "BM_SaveAndReopen", "BM_BareWriterAndReader", 1.5})
    && qv::bench::AddTimeGoal("filter 2000 bookmarks of 100,000 rows and walk them", "BM_BookmarkFilter2000", 2000.0)
    && qv::bench::AddRatioGoal({"bookmark filter and walk of 20,000 vs 2000 (linear: about 10)",
                                "BM_BookmarkWalk20000", "BM_BookmarkWalk2000", 12.0});

} // namespace
