// Any bytes as a .vcf file: the reader gives the cards it can read, and each
// card makes a row with one value a contact field.
#include "data/backends/PimTables.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype fields = qv::data::ContactFields().size();
    for (const qv::data::VCard &card : qv::data::ParseVCards(bytes)) {
        if (qv::data::ContactRow(card).size() != fields)
            std::abort();
    }
    return 0;
}
