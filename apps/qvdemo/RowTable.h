#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace qv::ado {
class Recordset;
}

namespace qvdemo {

// Rows as the editor writes them: column captions and the texts of each row.
struct RowTable
{
    QStringList Headers;
    QList<QStringList> Rows;

    bool IsEmpty() const { return Headers.isEmpty() || Rows.isEmpty(); }
};

// The rows the recordset shows (its filter applies), from the first, with
// its field names as captions; Null and Empty become "". A null or closed
// recordset gives an empty table. Leaves the recordset at its end.
RowTable RowsFromRecordset(const std::shared_ptr<qv::ado::Recordset> &recordset);

// The recordset's shown rows as rowset XML, the form in which a selection is
// handed back to re-select the same rows; "" for a null recordset.
QString RecordsetXml(const std::shared_ptr<qv::ado::Recordset> &recordset);

} // namespace qvdemo
