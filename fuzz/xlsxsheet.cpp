// Any bytes as the parts of an .xlsx package that hold cells: a worksheet
// (read whole and row by row), the shared strings and the styles each raise
// ComError or read whole.
#include "automation/ComError.h"
#include "data/backends/SheetStream.h"
#include "data/backends/XlsxSheetParser.h"
#include "tablecheck.h"

#include <QBuffer>

#include <cstdint>

namespace {

template<typename Parse>
void Guarded(QByteArray &bytes, Parse parse)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        parse(&buffer);
    } catch (const qv::ComError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = QStringLiteral("fuzz.xlsx");
    qv::data::XlsxContext context;
    context.SharedStrings = {QStringLiteral("a"), QStringLiteral("b")};
    context.DateFormats = {false, true};
    Guarded(bytes, [&](QIODevice *device) { CheckTable({QStringLiteral("S"), qv::data::ParseXlsxSheet(path, device, context)}); });
    Guarded(bytes, [&](QIODevice *device) {
        CheckedRows rows;
        qv::data::SheetStream sheet(path, QStringLiteral("S"), QStringLiteral("a worksheet"), rows);
        qv::data::StreamXlsxSheet(path, device, context, sheet);
    });
    Guarded(bytes, [&](QIODevice *device) { qv::data::ParseXlsxSharedStrings(path, device); });
    Guarded(bytes, [&](QIODevice *device) { qv::data::ParseXlsxDateFormats(path, device); });
    return 0;
}
