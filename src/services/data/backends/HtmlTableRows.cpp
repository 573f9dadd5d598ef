#include "HtmlTableRows.h"

#include "DataTable.h"
#include "HtmlPageText.h"

namespace qv::data {

void SpanBudget::Spend(qsizetype places)
{
    m_left -= places;
    if (m_left < 0)
        RaiseUnreadable(m_path, QStringLiteral("its cells span more than %1 places, more than can be read at once")
                                    .arg(kMaxSpannedPlaces), Remedy::Smaller);
}

void HtmlTableRows::StartRow(quint64 group)
{
    if (group != m_group) {
        End();
        m_group = group;
    }
    m_row.clear();
    m_column = 0;
    for (auto span = m_spans.begin(); span != m_spans.end();) {
        if (span->RowsLeft < 0)
            m_budget->Spend(span->Across);
        Fill(span->Column, span->Across, span->Value);
        if (span->RowsLeft > 0 && --span->RowsLeft == 0)
            span = m_spans.erase(span);
        else
            ++span;
    }
}

void HtmlTableRows::AddCell(Variant value, const QString &columnSpan, const QString &rowSpan)
{
    // The spans browsers read at the most, and a sheet's columns.
    constexpr int kMaxSpan = 1000, kMaxRowSpan = 65534;
    constexpr qsizetype kMaxColumns = 16384;
    while (m_column < m_row.size() && !m_row[m_column].IsEmpty())
        ++m_column; // taken by a cell spanning down from a row above
    if (m_column >= kMaxColumns)
        return;
    // colspan 0 or unreadable is 1; rowspan 0 runs to the end of the row group.
    const qsizetype across = std::min<qsizetype>(std::max(HtmlInteger(columnSpan, kMaxSpan), 1), kMaxColumns - m_column);
    const int down = HtmlInteger(rowSpan, kMaxRowSpan);
    // A span of known length is paid for at once, as the page claims it, so
    // that a page claiming too much is refused before filling anything; what
    // its row group leaves unused is given back.
    m_budget->Spend(across - 1 + (down > 1 ? (down - 1) * across : 0));
    Fill(m_column, across, value);
    if (down == 0 || down > 1)
        m_spans.append(Span{m_column, across, std::move(value), down == 0 ? -1 : down - 1});
    m_column += across;
}

void HtmlTableRows::End()
{
    for (const Span &span : std::as_const(m_spans))
        m_budget->Refund(std::max<qsizetype>(span.RowsLeft, 0) * span.Across);
    m_spans.clear();
}

void HtmlTableRows::Fill(qsizetype column, qsizetype across, const Variant &value)
{
    if (m_row.size() < column + across)
        m_row.resize(column + across);
    std::fill_n(m_row.begin() + column, across, value);
}

} // namespace qv::data
