#pragma once

#include "DataViewerModel.h"

#include <QString>

#include <memory>
#include <vector>

namespace qv::ado {
class Recordset;
}

namespace qv::viewer {

// A column of an output recordset: the model column it takes its texts from
// and its setting (caption, totals, format).
struct OutputColumn
{
    int lModelColumn = 0;
    std::shared_ptr<biz::ColumnSetting> oSetting;
};

// A new disconnected recordset with one text field per output column (named by
// its caption) holding the texts of the given model rows, in that order; when
// rows were copied and a column is totalled, a totals row follows.
std::shared_ptr<ado::Recordset> BuildOutputRecordset(const DataViewerModel &oModel, const std::vector<int> &colRows,
                                                     const std::vector<OutputColumn> &colColumns);

// The unlabelled totals row of the given model rows: a totalled column's
// values summed to the last digit and formatted with the column's format and
// kind, the other cells empty.
QList<Variant> TotalsRow(const DataViewerModel &oModel, const std::vector<int> &colRows,
                         const std::vector<OutputColumn> &colColumns);

// Rows "Sample Row 1" .. "Sample Row N" in the first field, the rest empty.
void AddSampleRows(ado::Recordset &oRecordset, int lCount);

// The rows the recordset's filter shows, as ADO rowset XML.
QString RecordsetXml(ado::Recordset &oRecordset);

} // namespace qv::viewer
