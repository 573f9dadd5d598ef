// Feeds arbitrary bytes to the string table reader, then loads every string
// it found through LoadResString with parameters cut from the same bytes, so
// that markers, escapes and replacement texts that contain markers are all
// exercised.
#include "common/basUtility.h"

#include "resources/StringTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList problems;
    auto table = std::make_shared<const qv::StringTable>(qv::StringTable::Parse(bytes, &problems));
    qv::SetResourceLibrary(table);

    // Parameters: the input's last 64 bytes, split at NULs.
    const QByteArrayView tail = bytes.last(qMin<qsizetype>(64, bytes.size()));
    QStringList params;
    for (const QByteArray &part : tail.toByteArray().split('\0'))
        params << QString::fromUtf8(part);

    for (quint32 number : table->Numbers()) {
        const QString plain = qv::LoadResString(number);
        const QString filled = qv::LoadResString(number, params);
        // Without parameters a string comes back as stored, up to the buffer.
        if (plain != table->Text(number).left(1023))
            __builtin_trap();
        (void)filled;
    }
    qv::SetResourceLibrary(nullptr);
    return 0;
}
