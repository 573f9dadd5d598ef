// Any bytes as persisted rowset XML: Open raises ComError or reads it, and
// what it read, with changes of its own, saves, opens again and saves to the
// same text.
#include "ado/Recordset.h"
#include "ado/Stream.h"
#include "automation/ComError.h"

#include <cstdint>
#include <cstdlib>

namespace {

QString SaveText(qv::ado::Recordset &rs)
{
    qv::ado::Stream stream;
    stream.Open();
    rs.Save(stream);
    stream.SetPosition(0);
    return stream.ReadText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    qv::ado::Stream stream;
    stream.Open();
    stream.WriteText(text);
    stream.SetPosition(0);
    qv::ado::Recordset rs;
    try {
        rs.Open(stream);
    } catch (const qv::ComError &) {
        return 0;
    }
    // Walk the rows and read every value, as the data viewer does.
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        for (qint32 f = 0; f < rs.Fields().Count(); ++f)
            (void)rs.Fields().Item(f).Value().ToText();
    }
    // Changes of our own stay pending and must round-trip as the file's do:
    // the first row deleted, the next emptied, one row added (a read-only
    // document refuses them all).
    try {
        rs.MoveFirst();
        if (!rs.IsEOF()) {
            rs.Delete();
            rs.MoveNext();
        }
        if (!rs.IsEOF()) {
            rs.Fields().Item(0).SetValue(qv::Variant::Null());
            rs.Update();
        }
        rs.AddNew();
        rs.Update();
    } catch (const qv::ComError &) {
    }
    const QString written = SaveText(rs);
    qv::ado::Stream again;
    again.Open();
    again.WriteText(written);
    again.SetPosition(0);
    qv::ado::Recordset reread;
    reread.Open(again); // our own output must read back
    if (SaveText(reread) != written)
        std::abort();
    return 0;
}
