#pragma once

#include "AdoEnums.h"
#include "Field.h"
#include "RowSource.h"
#include "qvuser/automation/Variant.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace qv::ado {

class Criteria;
class RowStore;
class Stream;

// The value of a recordset's Filter: none, a criteria text or an array of
// bookmarks. Criteria are comparisons `Field op value` (op one of = <> < >
// <= >= LIKE) joined by AND and OR and grouped with parentheses; [Field
// Name] for names with spaces; values are 'texts', #dates#, numbers, True,
// False and Null; LIKE takes * or % at either end.
class Filter
{
public:
    Filter() = default;
    Filter(FilterGroupEnum) {}
    Filter(QString criteria) : m_kind(criteria.isEmpty() ? None : Text), m_criteria(std::move(criteria)) {}
    Filter(const char *criteria) : Filter(QString::fromUtf8(criteria)) {}
    Filter(QList<Variant> bookmarks) : m_kind(Bookmarks), m_bookmarks(std::move(bookmarks)) {}

    bool IsNone() const { return m_kind == None; }
    bool IsCriteria() const { return m_kind == Text; }
    bool IsBookmarks() const { return m_kind == Bookmarks; }
    const QString &Criteria() const { return m_criteria; }
    const QList<Variant> &BookmarkList() const { return m_bookmarks; }

private:
    enum Kind { None, Text, Bookmarks } m_kind = None;
    QString m_criteria;
    QList<Variant> m_bookmarks;
};

// A client-side recordset in ADO's object model: rows of typed fields in
// memory (or fetched on demand from a RowSource), a cursor, bookmarks,
// filters, clones, and ADO's rowset XML as its persisted form.
//
// Life: append fields while closed, then Open (empty and disconnected, over
// a row source, or from persisted XML); Close drops the rows and keeps the
// field definitions. Outside objects hold recordsets as std::shared_ptr, as
// Clone hands them out. A recordset belongs to the thread that uses it; only
// a row source's Cancel may come from elsewhere.
//
// Rows: every row keeps one bookmark (a Double, 1 for the first row added)
// for its whole life, through filters and in every clone. A clone shares the
// rows and the fields and has its own cursor and filter; rows added through
// one are seen by the others (by a filtered clone only when its criteria
// take them).
//
// Changes: in a recordset read from rowset XML, rows changed, added or
// deleted stay pending against the document, as its own pending changes do,
// and Save writes them so (an update with the row's original values, an
// insert, a delete). A document whose schema does not say its rows are
// updatable raises adErrFeatureNotAvailable on any change.
//
// Errors are ComError with ADO's numbers (AdoEnums.h): adErrObjectClosed on
// a closed recordset, adErrNoCurrentRecord at BOF or EOF, adErrInvalidArgument
// for a bad filter or bookmark, kErrBadPersistedRecordset for unreadable XML.
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    static std::shared_ptr<Recordset> Create() { return std::make_shared<Recordset>(); }

    ado::Fields &Fields();

    // Opens a disconnected recordset without rows over the appended fields.
    void Open();
    // Opens over a row source: its rows arrive page by page as the cursor
    // needs them, while RecordCount asks the source for its full count.
    void Open(std::shared_ptr<RowSource> source);
    // Opens persisted rowset XML read from the stream's current position to
    // its end; the fields come from the XML's schema.
    void Open(Stream &stream);
    // Opens a file of persisted rowset XML (UTF-8 with or without a
    // byte-order mark, or UTF-16 with one).
    void Open(const QString &fileName);
    // Writes the rows the filter shows as rowset XML (the only format; ADTG
    // raises adErrFeatureNotAvailable), into the stream at its position,
    // leaving the position at the end, or into a file as UTF-8.
    void Save(Stream &stream, PersistFormatEnum format = adPersistXML);
    void Save(const QString &fileName, PersistFormatEnum format = adPersistXML);
    void Close();
    ObjectStateEnum State() const { return m_state; }
    // Stops a row source: the rows fetched so far become all the rows.
    void Cancel();

    // Adds a row at the end and makes it current; its values are set
    // through Fields and kept by Update. The list form sets the named (or
    // numbered) fields and updates at once.
    void AddNew();
    void AddNew(const QList<Variant> &fieldList, const QList<Variant> &values);
    // Keeps the values of the row being added or edited; moving away from
    // the row does the same.
    void Update();
    void CancelUpdate();
    EditModeEnum EditMode() const { return m_editMode; }
    // Deletes the current row: no view shows it from now on, and the cursor
    // stays on the gap until it moves (MoveNext goes to the row after it).
    // During AddNew it drops the row being added.
    void Delete();

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // Moves by `rows` from the current row, stopping at BOF or EOF.
    void Move(qint64 rows);
    // ADO's BOF and EOF (a C macro owns the name EOF): before the first or
    // after the last row the filter shows; both when it shows none.
    bool IsBOF();
    bool IsEOF();

    // The rows the filter shows. Without a filter and over a row source that
    // is still delivering, the source's own count.
    qint64 RecordCount();
    // True when RecordCount answers at once; false while the source still
    // counts, so that a window can say "2,000+" meanwhile.
    bool RecordCountKnown() const;
    // 1-based place of the current row among the shown rows, adPosBOF or
    // adPosEOF outside them.
    qint64 AbsolutePosition();
    void SetAbsolutePosition(qint64 position);

    Variant Bookmark();
    // Makes the row of that bookmark current; adErrInvalidArgument when no
    // shown row has it.
    void SetBookmark(const Variant &bookmark);

    const ado::Filter &Filter() const { return m_filter; }
    // Shows only the rows the filter takes, in row order for criteria and in
    // list order for bookmarks (bookmarks of no row are skipped, a repeated
    // one counts once), and moves to the first of them.
    void SetFilter(const ado::Filter &filter);

    // A recordset over the same rows with its own cursor and no filter.
    std::shared_ptr<Recordset> Clone();

private:
    friend class Field;
    friend class ado::Fields;

    enum class ViewKind { All, Rows, Criteria };

    void RequireOpen() const;
    void RequireUpdatable() const;
    void RequireCurrentRow();
    RowStore &Store() const { return *m_store; }
    void ResetView();
    bool ViewHas(qint64 position);
    qint32 ViewRow(qint64 position) const;
    qint64 ViewSize();
    qint64 ViewPositionOf(qint32 row);
    void ExtendCriteria(qint64 wanted);
    bool Shows(qint32 row) const;
    // Takes rows deleted since the last look (through any clone) out of the view.
    void SyncDeletions();
    std::vector<qint32> ShownRows();
    void ReadXml(const QString &text);

    bool HasCurrentRow();
    Variant FieldValue(qint32 field);
    void SetFieldValue(qint32 field, const Variant &value);
    void CommitEdit();

    std::shared_ptr<RowStore> m_store;
    std::unique_ptr<ado::Fields> m_fields;
    ObjectStateEnum m_state = adStateClosed;

    ado::Filter m_filter;
    ViewKind m_viewKind = ViewKind::All;
    std::vector<qint32> m_viewRows;
    qint32 m_scanned = 0;
    std::shared_ptr<const Criteria> m_criteria;
    QHash<qint32, qint32> m_positionOfRow;
    qsizetype m_positionsMapped = 0;
    qint32 m_deletionsSeen = 0;
    bool m_currentDeleted = false;

    qint64 m_position = 0; // -1 is BOF; past the shown rows is EOF
    EditModeEnum m_editMode = adEditNone;
    QList<Variant> m_buffer;
    qint64 m_positionBeforeAdd = 0;
};

} // namespace qv::ado
