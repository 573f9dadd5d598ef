// Any bytes as an HTML page: every table it yields makes a whole table.
#include "automation/ComError.h"
#include "data/backends/HtmlTableReader.h"
#include "tablecheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
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
    return 0;
}
