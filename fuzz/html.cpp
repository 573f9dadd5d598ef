// Any bytes as an HTML page: every table it yields makes a whole table, and
// its first table streamed gives the rows that table gives read whole.
#include "automation/ComError.h"
#include "data/backends/HtmlTableReader.h"
#include "data/backends/SheetStream.h"
#include "tablecheck.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

// The rows of a streamed table, each as wide as its fields.
class StreamedTable : public qv::data::TableSink
{
public:
    void Fields(const QList<qv::data::DataField> &fields) override { Table.Fields = fields; }
    bool Row(qv::data::DataRow row) override
    {
        if (row.size() != Table.Fields.size())
            std::abort();
        Table.Rows << std::move(row);
        return true;
    }

    qv::data::DataTable Table;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<qv::data::NamedGrid> tables;
    try {
        tables = qv::data::ParseHtmlTables(bytes);
    } catch (const qv::ComError &) { // nested too deep, or spans past the cell limit
        return 0;
    }
    for (const qv::data::NamedGrid &table : tables) {
        try {
            CheckTable(table);
        } catch (const qv::ComError &) { // more cells than the limit
        }
    }
    if (tables.isEmpty())
        return 0;
    qv::data::DataTable whole;
    StreamedTable streamed;
    try {
        whole = qv::data::TableFromGrid(QStringLiteral("fuzz"), tables[0].Name, tables[0].Cells, 1 << 20);
        QBuffer page(&bytes);
        page.open(QIODevice::ReadOnly);
        qv::data::StreamHtmlTable(QStringLiteral("fuzz"), page, tables[0].Name, streamed);
    } catch (const qv::ComError &) {
        return 0;
    }
    // Within the rows that type a streamed table, streaming changes nothing.
    if (tables[0].Cells.size() <= qv::data::kTypeSampleRows &&
        (streamed.Table.Fields != whole.Fields || streamed.Table.Rows != whole.Rows))
        std::abort();
    return 0;
}
