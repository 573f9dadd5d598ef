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

// Rows streamed come after their fields, which come once, and hold one value a field.
class CheckedRows : public qv::data::TableSink
{
public:
    void Fields(const QList<qv::data::DataField> &fields) override
    {
        if (fields.isEmpty() || m_width >= 0)
            std::abort();
        m_width = fields.size();
    }
    bool Row(qv::data::DataRow row) override
    {
        if (row.size() != m_width)
            std::abort();
        return true;
    }

private:
    qsizetype m_width = -1;
};
