#pragma once

#include "data/backends/ColumnTypes.h"

#include <cstdlib>

// The table made of a grid has as many values in every row as it has fields.
inline void CheckTable(const qv::data::NamedGrid &grid)
{
    // A small cell limit keeps a few bytes claiming a huge sheet from filling memory.
    const qv::data::DataTable table = qv::data::TableFromGrid(QStringLiteral("fuzz"), grid.Name, grid.Cells, 1 << 20);
    for (const qv::data::DataRow &row : table.Rows) {
        if (row.size() != table.Fields.size())
            std::abort();
    }
}
