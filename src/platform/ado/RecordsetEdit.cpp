// The editing half of Recordset: adding, changing and deleting rows. In a
// recordset read from a document each change stays pending against it, so
// that saving writes it as an update with the original values, an insert or
// a delete.
#include "Recordset.h"

#include "AdoError.h"
#include "RowStore.h"

namespace qv::ado {

void Recordset::RequireUpdatable() const
{
    if (!Store().Updatable)
        throw AdoError(adErrFeatureNotAvailable,
                       QStringLiteral("The recordset is read-only: the document it was read from does not let its "
                                      "rows be changed."));
}

void Recordset::RequireCurrentRow()
{
    if (m_currentDeleted)
        throw AdoError(adErrNoCurrentRecord, QStringLiteral("The current row was deleted; move to another row."));
    if (!HasCurrentRow())
        throw AdoError(adErrNoCurrentRecord);
}

void Recordset::AddNew()
{
    RequireOpen();
    RequireUpdatable();
    CommitEdit();
    // Pending source rows are fetched first so that the new row is the last.
    Store().FetchAll();
    m_positionBeforeAdd = m_position;
    m_buffer = QList<Variant>(Store().FieldCount(), Variant::Null());
    m_editMode = adEditAdd;
}

void Recordset::AddNew(const QList<Variant> &fieldList, const QList<Variant> &values)
{
    if (fieldList.size() != values.size())
        throw AdoError(adErrInvalidArgument, QStringLiteral("AddNew needs as many values as fields."));
    AddNew();
    try {
        for (qsizetype i = 0; i < fieldList.size(); ++i)
            Fields().Item(fieldList[i]).SetValue(values[i]);
    } catch (const ComError &) {
        CancelUpdate();
        throw;
    }
    Update();
}

void Recordset::Update()
{
    RequireOpen();
    if (m_editMode == adEditInProgress) {
        Store().UpdateRow(ViewRow(m_position), m_buffer);
    } else if (m_editMode == adEditAdd) {
        if (m_viewKind == ViewKind::Criteria)
            ExtendCriteria(-1);
        const qint32 row = Store().AppendRow(m_buffer);
        Store().NoteInserted(row);
        if (m_viewKind != ViewKind::All) {
            m_viewRows.push_back(row);
            m_scanned = Store().Materialized();
        }
        m_position = ViewPositionOf(row);
    }
    m_editMode = adEditNone;
    m_buffer.clear();
}

void Recordset::CancelUpdate()
{
    RequireOpen();
    if (m_editMode == adEditAdd)
        m_position = m_positionBeforeAdd;
    m_editMode = adEditNone;
    m_buffer.clear();
}

void Recordset::CommitEdit()
{
    m_currentDeleted = false;
    if (m_editMode != adEditNone)
        Update();
}

void Recordset::Delete()
{
    RequireOpen();
    RequireUpdatable();
    if (m_editMode == adEditAdd) {
        CancelUpdate(); // the row being added is the one dropped
        return;
    }
    m_editMode = adEditNone;
    m_buffer.clear();
    RequireCurrentRow();
    Store().DeleteRow(ViewRow(m_position));
    SyncDeletions();
    // The shown rows closed up over the deleted one, so the cursor already
    // stands on the next; MoveNext knows that by this mark.
    m_currentDeleted = true;
}

Variant Recordset::FieldValue(qint32 field)
{
    RequireOpen();
    if (m_editMode != adEditNone)
        return m_buffer[field];
    RequireCurrentRow();
    return Store().Cell(ViewRow(m_position), field);
}

void Recordset::SetFieldValue(qint32 field, const Variant &value)
{
    RequireOpen();
    RequireUpdatable();
    const Variant typed = CoerceToField(Store().FieldList[field], value);
    if (m_editMode == adEditNone) {
        RequireCurrentRow();
        m_buffer = Store().RowValues(ViewRow(m_position));
        m_editMode = adEditInProgress;
    }
    m_buffer[field] = typed;
}

} // namespace qv::ado
