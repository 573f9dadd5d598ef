// Format texts, value texts and field kinds through every entry of
// DataFormat and the format language: nothing may crash or raise past them.
#include "automation/ComError.h"
#include "automation/Format.h"
#include "format/DataFormat.h"

#include <QLocale>

#include <cstdint>
#include <cstring>

namespace {

const char *const kLocales[] = {"en_US", "en_GB", "de_DE"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int kind = data[0] % 12;
    QLocale::setDefault(QLocale(QString::fromLatin1(kLocales[data[1] % 3])));
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const QString format = input.section(QLatin1Char('\n'), 0, 0);
    const QString value = input.section(QLatin1Char('\n'), 1);

    qv::DataFormat f;
    f.SetSupressDateResolve(data[1] & 4);
    f.GetFormattedData(value, format, kind);
    f.GetFormattedData(value, format, kind); // the remembered text
    f.GetFormattedDataForEdit(value, kind, format);
    f.ResolveDateString(value);
    f.ResolveTimeString(value);
    f.GetRawValue(qv::Variant(value), kind);
    f.GetDataFormatExample(format, kind, data[1] & 8);
    // The platform routine itself may raise ComError, and nothing else.
    const qv::Variant values[] = {qv::Variant(value), qv::Variant(double(value.size()) * -1.5e7),
                                  qv::Variant(qv::DateValue{double(value.size()) * 997.25}), qv::Variant::Null()};
    for (const qv::Variant &v : values) {
        try {
            qv::VarFormat(v, format, data[1] % 8, data[1] % 4);
        } catch (const qv::ComError &) {
        }
    }
    return 0;
}
