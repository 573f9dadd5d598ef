// Any bytes as an XML Spreadsheet 2003 file: the reader raises ComError or
// gives sheets whose tables are whole, read whole and row by row.
#include "automation/ComError.h"
#include "data/backends/SpreadsheetMlReader.h"
#include "tablecheck.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = QStringLiteral("fuzz.xml");
    try {
        for (const qv::data::NamedGrid &sheet : qv::data::ParseSpreadsheetMl(path, bytes))
            CheckTable(sheet);
    } catch (const qv::ComError &) {
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        CheckedRows rows;
        qv::data::StreamSpreadsheetMl(path, &buffer, QStringLiteral("a"), rows);
    } catch (const qv::ComError &) {
    }
    return 0;
}
