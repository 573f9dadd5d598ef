// Any text as a Filter criteria over a recordset of every kind of field:
// the filter is refused with ComError or shows rows that can be walked.
#include "ado/Recordset.h"
#include "automation/ComError.h"

#include <cstdint>
#include <cstdlib>

namespace {

qv::ado::Recordset &Sample()
{
    static qv::ado::Recordset *rs = [] {
        using namespace qv;
        using namespace qv::ado;
        auto *r = new Recordset;
        r->Fields().Append(QStringLiteral("ID"), adInteger);
        r->Fields().Append(QStringLiteral("Name"), adVarWChar, 50);
        r->Fields().Append(QStringLiteral("Born"), adDate);
        r->Fields().Append(QStringLiteral("Paid"), adCurrency);
        r->Fields().Append(QStringLiteral("Active"), adBoolean);
        r->Fields().Append(QStringLiteral("Home Town"), adVarWChar, 50);
        r->Open();
        const QList<Variant> names = {"ID", "Name", "Born", "Paid", "Active", "Home Town"};
        r->AddNew(names, {qint32(1), "O'Brien", DateValue{29372.0}, Currency{125000}, true, "Cork"});
        r->AddNew(names, {qint32(2), "", DateValue{-5.5}, Currency{-1}, false, "50%"});
        r->AddNew(names, {qint32(3), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), "*"});
        return r;
    }();
    return *rs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString criteria = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    qv::ado::Recordset &rs = Sample();
    try {
        rs.SetFilter(criteria);
    } catch (const qv::ComError &) {
        return 0;
    }
    qint64 walked = 0;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        ++walked;
    if (walked != rs.RecordCount() || walked > 3)
        std::abort();
    rs.SetFilter(qv::ado::adFilterNone);
    return 0;
}
