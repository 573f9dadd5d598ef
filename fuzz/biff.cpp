// Any bytes as the workbook stream of an .xls file: the globals and every
// sheet raise ComError or read whole, and streamed, give rows as wide as
// their fields.
#include "automation/ComError.h"
#include "data/backends/BiffWorkbook.h"
#include "tablecheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const qv::data::BiffWorkbook book(QStringLiteral("fuzz.xls"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        for (qsizetype i = 0; i < book.SheetNames().size(); ++i) {
            try {
                CheckTable({book.SheetNames()[i], book.ReadSheet(i)});
            } catch (const qv::ComError &) {
            }
            try {
                CheckedRows rows;
                book.StreamSheet(i, rows);
            } catch (const qv::ComError &) {
            }
        }
    } catch (const qv::ComError &) {
    }
    return 0;
}
