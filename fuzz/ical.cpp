// Any bytes as an .ics file: libical parses what it can, and every to-do item
// found makes a row with one value a task field.
#include "data/backends/PimTables.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype fields = qv::data::TaskFields().size();
    for (const qv::data::DataRow &row : qv::data::ReadTaskRows(bytes)) {
        if (row.size() != fields)
            std::abort();
    }
    return 0;
}
