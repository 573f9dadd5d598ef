// Any text as a connection text: splitting never fails, and what it split
// joins into a text that splits into the same parts.
#include "data/ConnectionText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<qv::data::ConnectionPart> parts = qv::data::ParseConnectionText(text);
    if (qv::data::ParseConnectionText(qv::data::JoinConnectionText(parts)) != parts)
        std::abort();
    qv::data::OdbcDriverText(text);
    return 0;
}
