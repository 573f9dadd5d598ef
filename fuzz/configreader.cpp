// Any bytes as a configuration file: the reader raises ComError or reads it,
// and what it read writes out and reads back the same.
#include "automation/ComError.h"
#include "config/ConfigStore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    auto store = qv::config::ConfigStore::Create();
    try {
        store->ReadXml(bytes, QStringLiteral("fuzz.cfg"));
    } catch (const qv::ComError &) {
        return 0;
    }
    const QByteArray written = store->ToXml();
    auto again = qv::config::ConfigStore::Create();
    again->ReadXml(written, QStringLiteral("again.cfg")); // our own output must read back
    if (again->ToXml() != written)
        std::abort();
    return 0;
}
