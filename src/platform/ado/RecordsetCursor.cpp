// The cursor half of Recordset: the rows a filter shows, moves, positions and
// bookmarks.
#include "Recordset.h"

#include "AdoError.h"
#include "Criteria.h"
#include "RowStore.h"

#include <cmath>

namespace qv::ado {

void Recordset::ResetView()
{
    m_viewKind = ViewKind::All;
    m_viewRows.clear();
    m_scanned = 0;
    m_criteria.reset();
    m_positionOfRow.clear();
    m_positionsMapped = 0;
    m_deletionsSeen = 0;
    m_position = 0;
}

bool Recordset::Shows(qint32 row) const
{
    return !Store().IsDeleted(row) && (!m_criteria || m_criteria->Matches(Store(), row));
}

void Recordset::SyncDeletions()
{
    if (m_deletionsSeen == Store().DeletedCount())
        return;
    m_deletionsSeen = Store().DeletedCount();
    if (m_viewKind == ViewKind::All) {
        // Positions no longer equal rows: the view scans past deleted rows
        // as a filter without criteria does.
        m_viewKind = ViewKind::Criteria;
        m_viewRows.clear();
        m_scanned = 0;
    }
    std::erase_if(m_viewRows, [this](qint32 row) { return Store().IsDeleted(row); });
    m_positionOfRow.clear();
    m_positionsMapped = 0;
}

// Tests further store rows against the criteria until `wanted` rows are
// shown (-1: all of them), fetching source pages as the scan needs them.
void Recordset::ExtendCriteria(qint64 wanted)
{
    while (wanted < 0 || qint64(m_viewRows.size()) < wanted) {
        if (!Store().HasRow(m_scanned))
            return;
        if (Shows(m_scanned))
            m_viewRows.push_back(m_scanned);
        ++m_scanned;
    }
}

bool Recordset::ViewHas(qint64 position)
{
    SyncDeletions();
    if (position < 0)
        return false;
    switch (m_viewKind) {
    case ViewKind::All:
        return Store().HasRow(position);
    case ViewKind::Criteria:
        ExtendCriteria(position + 1);
        break;
    case ViewKind::Rows:
        break;
    }
    return position < qint64(m_viewRows.size());
}

qint32 Recordset::ViewRow(qint64 position) const
{
    return m_viewKind == ViewKind::All ? qint32(position) : m_viewRows[size_t(position)];
}

qint64 Recordset::ViewSize()
{
    SyncDeletions();
    if (m_viewKind == ViewKind::All) {
        Store().FetchAll();
        return Store().Materialized();
    }
    if (m_viewKind == ViewKind::Criteria)
        ExtendCriteria(-1);
    return qint64(m_viewRows.size());
}

// The shown position of a held row, -1 when the filter does not show it.
qint64 Recordset::ViewPositionOf(qint32 row)
{
    SyncDeletions();
    if (row < 0 || row >= Store().Materialized())
        return -1;
    if (m_viewKind == ViewKind::All)
        return row;
    if (m_viewKind == ViewKind::Criteria) {
        for (; m_scanned <= row; ++m_scanned) {
            if (Shows(m_scanned))
                m_viewRows.push_back(m_scanned);
        }
    }
    for (; m_positionsMapped < qsizetype(m_viewRows.size()); ++m_positionsMapped)
        m_positionOfRow.insert(m_viewRows[size_t(m_positionsMapped)], qint32(m_positionsMapped));
    return m_positionOfRow.value(row, -1);
}

bool Recordset::HasCurrentRow()
{
    return m_position >= 0 && ViewHas(m_position);
}

bool Recordset::IsBOF()
{
    RequireOpen();
    return m_position < 0 || !ViewHas(0);
}

bool Recordset::IsEOF()
{
    RequireOpen();
    return !ViewHas(qMax<qint64>(m_position, 0));
}

void Recordset::MoveFirst()
{
    RequireOpen();
    CommitEdit();
    m_position = 0;
}

void Recordset::MoveNext()
{
    RequireOpen();
    const bool onGap = m_currentDeleted; // the row after the deleted one is current already
    CommitEdit();
    if (onGap)
        return;
    if (IsEOF())
        throw AdoError(adErrNoCurrentRecord, QStringLiteral("MoveNext: the recordset is at its end (EOF)."));
    ++m_position;
}

void Recordset::MovePrevious()
{
    RequireOpen();
    CommitEdit();
    if (IsBOF())
        throw AdoError(adErrNoCurrentRecord, QStringLiteral("MovePrevious: the recordset is at its start (BOF)."));
    if (!ViewHas(m_position))
        m_position = ViewSize(); // from EOF to the last row
    --m_position;
}

void Recordset::MoveLast()
{
    RequireOpen();
    CommitEdit();
    m_position = qMax<qint64>(ViewSize() - 1, 0);
}

void Recordset::Move(qint64 rows)
{
    RequireOpen();
    const bool onGap = m_currentDeleted;
    CommitEdit();
    if (rows == 0)
        return;
    if (!onGap && !HasCurrentRow())
        throw AdoError(adErrNoCurrentRecord, QStringLiteral("Move needs a current row."));
    // From a deleted row, the next row (at the cursor already) is one ahead.
    const qint64 target = m_position + rows - (onGap && rows > 0 ? 1 : 0);
    if (target < 0) {
        m_position = -1;
        return;
    }
    m_position = ViewHas(target) ? target : ViewSize();
}

qint64 Recordset::RecordCount()
{
    RequireOpen();
    SyncDeletions();
    if (m_viewKind == ViewKind::All)
        return Store().Count();
    return ViewSize();
}

bool Recordset::RecordCountKnown() const
{
    return m_viewKind != ViewKind::All || !m_store || Store().CountReady();
}

qint64 Recordset::AbsolutePosition()
{
    RequireOpen();
    if (m_position < 0)
        return adPosBOF;
    if (!ViewHas(m_position))
        return adPosEOF;
    return m_position + 1;
}

void Recordset::SetAbsolutePosition(qint64 position)
{
    RequireOpen();
    CommitEdit();
    if (position < 1 || !ViewHas(position - 1))
        throw AdoError(adErrInvalidArgument, QStringLiteral("There is no row at position %1.").arg(position));
    m_position = position - 1;
}

Variant Recordset::Bookmark()
{
    RequireOpen();
    if (m_editMode == adEditAdd || m_currentDeleted || !HasCurrentRow())
        throw AdoError(adErrNoCurrentRecord, QStringLiteral("There is no current row to take a bookmark of."));
    return Variant(double(ViewRow(m_position)) + 1.0);
}

namespace {

// The row of a bookmark (any number or numeric text), -1 for anything else.
qint32 RowOfBookmark(const Variant &bookmark, qint32 rows)
{
    double value = 0.0;
    try {
        value = bookmark.ToDouble();
    } catch (const ComError &) {
        return -1;
    }
    if (!(value >= 1.0 && value <= double(rows)) || std::floor(value) != value)
        return -1;
    return qint32(value) - 1;
}

} // namespace

void Recordset::SetBookmark(const Variant &bookmark)
{
    RequireOpen();
    CommitEdit();
    const qint64 position = ViewPositionOf(RowOfBookmark(bookmark, Store().Materialized()));
    if (position < 0)
        throw AdoError(adErrInvalidArgument,
                       QStringLiteral("The bookmark \"%1\" names no row this recordset shows.").arg(bookmark.ToText()));
    m_position = position;
}

void Recordset::SetFilter(const ado::Filter &filter)
{
    RequireOpen();
    CommitEdit();
    std::shared_ptr<const Criteria> criteria;
    if (filter.IsCriteria())
        criteria = Criteria::Parse(filter.Criteria(), Store()); // before anything changes
    ResetView();
    m_filter = filter;
    if (filter.IsCriteria()) {
        m_viewKind = ViewKind::Criteria;
        m_criteria = std::move(criteria);
    } else if (filter.IsBookmarks()) {
        m_viewKind = ViewKind::Rows;
        const qint32 rows = Store().Materialized();
        std::vector<bool> taken(size_t(rows), false);
        m_viewRows.reserve(size_t(filter.BookmarkList().size()));
        for (const Variant &bookmark : filter.BookmarkList()) {
            const qint32 row = RowOfBookmark(bookmark, rows);
            if (row < 0 || taken[size_t(row)] || Store().IsDeleted(row))
                continue;
            taken[size_t(row)] = true;
            m_viewRows.push_back(row);
        }
    }
}

} // namespace qv::ado
