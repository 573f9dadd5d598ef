#pragma once

#include "automation/Variant.h"

#include <QList>
#include <QString>

namespace qv::data {

// How many places spanning cells may fill beyond their own in one read of a
// page: each place is a copy of the cell, so a few bytes of colspan and
// rowspan could otherwise claim gigabytes (100 cells of 1000 by 1000).
inline constexpr qsizetype kMaxSpannedPlaces = 4 * 1024 * 1024;

class SpanBudget
{
public:
    explicit SpanBudget(const QString &sourcePath) : m_path(sourcePath) {}
    // Raises kErrorSourceUnreadable through the source once the places spent
    // pass kMaxSpannedPlaces.
    void Spend(qsizetype places);
    void Refund(qsizetype places) { m_left += places; }

private:
    const QString &m_path;
    qsizetype m_left = kMaxSpannedPlaces;
};

// The rows of one table laid out as the page lays them out, as its cells
// come: a cell goes to the first place of its row that no cell spanning down
// from above took, and fills every place its colspan and rowspan cover.
// Spans stop at the end of their row group (a thead, tbody or tfoot).
class HtmlTableRows
{
public:
    explicit HtmlTableRows(SpanBudget &budget) : m_budget(&budget) {}

    // A row starts; `group` is the element holding it, the same for each
    // row of one row group.
    void StartRow(quint64 group);
    // The open row's next cell: its value, colspan and rowspan as the page writes them.
    void AddCell(Variant value, const QString &columnSpan, const QString &rowSpan);
    // The open row: a value in each place, Empty where no cell is.
    const QList<Variant> &Row() const { return m_row; }
    // The table ends: the places its spans claimed and did not fill are given back.
    void End();

private:
    // A cell spanning down from a row above into the rows below it.
    struct Span
    {
        qsizetype Column = 0;
        qsizetype Across = 1;
        Variant Value;
        qsizetype RowsLeft = -1; // -1: to the end of its row group, so paid for row by row
    };

    void Fill(qsizetype column, qsizetype across, const Variant &value);

    SpanBudget *m_budget;
    quint64 m_group = 0;
    QList<Variant> m_row;
    qsizetype m_column = 0;
    QList<Span> m_spans;
};

} // namespace qv::data
