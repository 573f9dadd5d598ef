// The resource string half of basUtility: the thread's string table and the
// loader with its parameter markers.
#include "basUtility.h"

#include "resources/PathText.h"
#include "resources/StringTable.h"

namespace qv {
namespace {

constexpr qsizetype kLoadBufferChars = 1023;

std::shared_ptr<const StringTable> &ThreadLibrary()
{
    thread_local std::shared_ptr<const StringTable> library;
    return library;
}

} // namespace

std::shared_ptr<const StringTable> LoadResourceLibrary(const QString &sPath)
{
    return StringTable::Load(FileSystemPath(sPath));
}

void SetResourceLibrary(std::shared_ptr<const StringTable> oLibrary)
{
    ThreadLibrary() = std::move(oLibrary);
}

std::shared_ptr<const StringTable> ResourceLibrary()
{
    return ThreadLibrary();
}

QString SubstituteParams(QString sText, const QStringList &params)
{
    if (params.isEmpty())
        return sText;
    sText.replace(QLatin1String("%s"), params.first());
    for (qsizetype i = 0; i < params.size(); ++i)
        sText.replace(QLatin1Char('%') + QString::number(i + 1), params[i]);
    return sText;
}

QString LoadResString(quint32 lNumber, const QStringList &params)
{
    const auto &library = ThreadLibrary();
    if (!library)
        return {};
    return SubstituteParams(library->Text(lNumber).left(kLoadBufferChars), params);
}

} // namespace qv
