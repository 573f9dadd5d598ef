#include "FileRowSource.h"


namespace qv::data {
namespace {

// Pages read ahead of the recordset: enough to keep the worker busy while
// the viewer formats a page, few enough that memory does not follow the item.
constexpr size_t kPagesAhead = 2;

} // namespace

RowPicker::RowPicker(const QList<DataField> &all, const RowChoice &choice)
{
    if (!choice.Conditions.isEmpty())
        m_matcher.emplace(all, choice.Conditions);
    if (choice.Fields.isEmpty()) {
        m_shown = all;
        return;
    }
    for (const QString &name : choice.Fields) {
        const auto it = std::find_if(all.cbegin(), all.cend(),
                                     [&](const DataField &f) { return f.Name.compare(name, Qt::CaseInsensitive) == 0; });
        if (it == all.cend())
            RaiseNoSuchItem(choice.Source, QStringLiteral("field"), name);
        m_columns << (it - all.cbegin());
        m_shown << *it;
    }
}

DataRow RowPicker::Pick(DataRow row) const
{
    if (m_columns.isEmpty())
        return row;
    DataRow picked;
    picked.reserve(m_columns.size());
    for (qsizetype c : m_columns)
        picked << row.value(c);
    return picked;
}

struct FileRowSource::State
{
    Read read;
    RowChoice choice;
    qsizetype pageSize = 500;
    RowPages pages{kPagesAhead};
    std::atomic<qint64> rowsRead{0};
};

// Keeps the chosen rows, a page at a time; waits while the recordset has
// enough pages ahead of it.
class FileRowSource::PageSink : public TableSink
{
public:
    explicit PageSink(State &state) : m_state(state) {}

    void Fields(const QList<DataField> &fields) override
    {
        m_picker.emplace(fields, m_state.choice);
        m_state.pages.Describe(m_picker->Shown());
    }

    bool Row(DataRow row) override
    {
        ++m_state.rowsRead;
        if (m_state.pages.Cancelled())
            return false;
        if (!m_picker->Keeps(row))
            return true;
        m_page.append(m_picker->Pick(std::move(row)));
        const qint64 max = m_state.choice.MaxRows;
        const bool enough = max >= 0 && ++m_kept >= max;
        if (m_page.size() >= m_state.pageSize || enough)
            return Push() && !enough;
        return true;
    }

    // Hands the page over; false when the source was cancelled meanwhile.
    bool Push() { return m_page.isEmpty() || m_state.pages.Push(std::exchange(m_page, {})); }

private:
    State &m_state;
    std::optional<RowPicker> m_picker;
    QList<DataRow> m_page;
    qint64 m_kept = 0;
};

class FileRowSource::CountSink : public TableSink
{
public:
    explicit CountSink(State &state) : m_state(state) {}

    void Fields(const QList<DataField> &fields) override { m_picker.emplace(fields, m_state.choice); }
    bool Row(DataRow row) override
    {
        if (m_state.pages.Cancelled())
            return false;
        if (m_picker->Keeps(row))
            ++Count;
        return true;
    }

    qint64 Count = 0;

private:
    State &m_state;
    std::optional<RowPicker> m_picker;
};

FileRowSource::FileRowSource(Read read, RowChoice choice, qsizetype pageSize) : m_state(std::make_shared<State>())
{
    Q_ASSERT(read);
    m_state->read = std::move(read);
    m_state->choice = std::move(choice);
    m_state->pageSize = std::max<qsizetype>(pageSize, 1);
    StartWorker([state = m_state] { ReadRows(state); });
    // A preview reads its few rows only; counting the whole item would
    // compete with them for nothing.
    if (m_state->choice.MaxRows < 0)
        StartWorker([state = m_state] { CountRows(state); });
    else
        m_state->pages.SetTotal(-1);
}

FileRowSource::~FileRowSource()
{
    Cancel();
}

void FileRowSource::ReadRows(const std::shared_ptr<State> &s)
{
    PageSink sink(*s);
    try {
        ReadWithinMemory(s->choice.Source, [&] { s->read(sink); });
        sink.Push();
    } catch (...) {
        // The rows read before the fault are shown before it is told.
        sink.Push();
        s->pages.Fail(std::current_exception());
    }
    s->pages.Finish();
}

void FileRowSource::CountRows(const std::shared_ptr<State> &s)
{
    s->pages.CountOnceRested([&s] {
        CountSink sink(*s);
        ReadWithinMemory(s->choice.Source, [&] { s->read(sink); });
        return sink.Count;
    });
}

qint64 FileRowSource::RowsRead() const
{
    return m_state->rowsRead;
}

RowPages &FileRowSource::Pages()
{
    return m_state->pages;
}

} // namespace qv::data
