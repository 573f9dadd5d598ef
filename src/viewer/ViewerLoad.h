#pragma once

#include "DataViewerModel.h"
#include "ViewerRules.h"

#include <memory>
#include <vector>

namespace qv::ado {
class Recordset;
}
namespace qv::config {
class DataView;
}

namespace qv::viewer {

// The shown columns of a data view over its recordset: for each field of the
// recordset whose data view field is displayed, the source field it reads
// and the setting made for it, in the recordset's field order.
struct DisplayColumns
{
    std::vector<int> colSourceFields;
    std::vector<std::shared_ptr<biz::ColumnSetting>> colSettings;
    std::shared_ptr<biz::ColumnSettings> oSettings; // the same settings, keyed by caption
};

// Matches the recordset's fields to the data view's field definitions: by
// name, else by the field's base column name, else by the name without its
// first character. Raises 0x80040001 when no field is shown.
DisplayColumns BuildDisplayColumns(const config::DataView &oDataView, ado::Recordset *oSource);

struct CopyResult
{
    std::vector<DataViewerModel::Row> colRows;
    bool bLimitReached = false;
};

// Copies at most lMaxRows rows from the source's first row, every non-empty
// cell formatted once with its column's format and kind; Null gives "".
// Stops early when *pCancel becomes true.
CopyResult CopyRows(ado::Recordset &oSource, const DisplayColumns &oColumns, int lMaxRows,
                    const bool *pCancel = nullptr);

// The row limit as the viewer applies it: 0 or above 2000 is 2000.
int ClampMaxRows(int lMaxRows);

// The keys of the rows a selected-rows XML names, formed from the fields
// named by colLinkedCaptions. Unreadable XML gives no keys.
PreselectionKeys ReadPreselection(const QString &sXml, const QStringList &colLinkedCaptions);

// A row's key: its texts in the linked columns, concatenated.
QString RowKey(const DataViewerModel::Row &oRow, const std::vector<int> &colLinkedColumns);

} // namespace qv::viewer
