#include "RowTable.h"

#include "qvuser/ado/Recordset.h"
#include "qvuser/ado/Stream.h"

namespace qvdemo {

RowTable RowsFromRecordset(const std::shared_ptr<qv::ado::Recordset> &recordset)
{
    RowTable table;
    if (!recordset || recordset->State() != qv::ado::adStateOpen)
        return table;
    qv::ado::Fields &fields = recordset->Fields();
    for (qint32 i = 0; i < fields.Count(); ++i)
        table.Headers.append(fields.Item(i).Name());
    if (recordset->RecordCount() == 0)
        return table;
    for (recordset->MoveFirst(); !recordset->IsEOF(); recordset->MoveNext()) {
        QStringList row;
        for (qint32 i = 0; i < fields.Count(); ++i) {
            const qv::Variant value = fields.Item(i).Value();
            row.append(value.IsNull() || value.IsEmpty() ? QString() : value.ToText());
        }
        table.Rows.append(row);
    }
    return table;
}

QString RecordsetXml(const std::shared_ptr<qv::ado::Recordset> &recordset)
{
    if (!recordset)
        return {};
    qv::ado::Stream stream;
    stream.Open();
    recordset->Save(stream, qv::ado::adPersistXML);
    stream.SetPosition(0);
    return stream.ReadText();
}

} // namespace qvdemo
