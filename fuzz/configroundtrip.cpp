// Any bytes as a configuration file, and a name set on what was read. A file
// that reads must save, and its saved form read back to the same store; a name
// is either refused at the save with the store's error or read back as set.
// The input's first line is the name as raw UTF-16 (so lone surrogates and
// control characters come up), the rest is the file.
#include "automation/ComError.h"
#include "config/ConfigStore.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray SavedForm(qv::config::ConfigStore &store)
{
    try {
        return store.ToXml();
    } catch (const qv::ComError &) {
        return {};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const QByteArray nameBytes = newline < 0 ? QByteArray() : input.left(newline);
    const QByteArray file = newline < 0 ? input : input.mid(newline + 1);
    auto store = qv::config::ConfigStore::Create();
    try {
        store->ReadXml(file, QStringLiteral("fuzz.cfg"));
    } catch (const qv::ComError &) {
        return 0; // refused whole
    }
    const QByteArray saved = SavedForm(*store);
    if (saved.isEmpty())
        std::abort(); // what was read could not be written
    auto again = qv::config::ConfigStore::Create();
    again->ReadXml(saved, QStringLiteral("saved.cfg")); // throws, and so fails, if the saved file does not read
    if (again->ToXml() != saved)
        std::abort();

    const QString name(reinterpret_cast<const QChar *>(nameBytes.constData()), nameBytes.size() / 2);
    again->Name = name;
    if (auto view = again->DataViewCollection().begin(); view != again->DataViewCollection().end())
        (*view)->Name = name;
    const QByteArray renamed = SavedForm(*again);
    if (renamed.isEmpty())
        return 0; // refused at the save
    auto third = qv::config::ConfigStore::Create();
    third->ReadXml(renamed, QStringLiteral("renamed.cfg"));
    if (third->Name != name || third->ToXml() != renamed)
        std::abort();
    return 0;
}
