// Any bytes as an XML Spreadsheet 2003 file: the reader raises ComError or
// gives sheets whose tables are whole.
#include "automation/ComError.h"
#include "data/backends/SpreadsheetMlReader.h"
#include "tablecheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        for (const qv::data::NamedGrid &sheet : qv::data::ParseSpreadsheetMl(QStringLiteral("fuzz.xml"), bytes))
            CheckTable(sheet);
    } catch (const qv::ComError &) {
    }
    return 0;
}
