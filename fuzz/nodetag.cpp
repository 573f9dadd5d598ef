// Any text as a manager node tag and as a data source's connection text: a
// tag either parses into numbers that make the same tag again or is refused
// with the tag error; the details' text helpers never fail, and cleaned
// warnings hold no line end.
#include "automation/ComError.h"
#include "manager/ManagerDetails.h"
#include "manager/ManagerNodes.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const auto [type, id] = qv::manager::ParseNodeTag(text);
        if (qv::manager::ParseNodeTag(qv::manager::MakeNodeTag(type, id)) != std::make_pair(type, id))
            std::abort();
    } catch (const qv::ComError &error) {
        if (error.Number() != qv::manager::kErrorNodeTag)
            std::abort();
    }
    for (qint32 kind = 0; kind <= 9; ++kind)
        qv::manager::GetSourceLocation(text, kind);
    const QString cleaned = qv::manager::CleanWarnings(text);
    if (cleaned.contains(QLatin1Char('\r')) || cleaned.contains(QLatin1Char('\n')))
        std::abort();
    return 0;
}
