#pragma once

#include "DataTable.h"
#include "ado/RowSource.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>

namespace qv::data {

// What a streaming row source shares with its workers: the fields, the pages
// a reader hands over a few ahead of the recordset, the reader's failure and
// the count a second worker finds. The workers call the first group, the
// source (on the recordset's thread) the second; Cancel comes from anywhere.
class RowPages
{
public:
    using Row = ado::RowSource::Row;

    explicit RowPages(size_t pagesAhead) : m_ahead(std::max<size_t>(pagesAhead, 1)) {}

    // Workers.
    void Describe(QList<DataField> fields);
    // Waits while enough pages are ahead, then hands `page` over; false, the
    // page dropped, once cancelled.
    bool Push(QList<Row> page);
    // The reader's failure: raised by Fields before the fields are known,
    // otherwise by Next after the pages read before it.
    void Fail(std::exception_ptr failure);
    void Finish();
    void SetTotal(qint64 total);
    bool Cancelled() const { return m_cancelled; }
    // The counter's work: once the reader rests, sets the total `count`
    // gives; -1 when the source is cancelled first or `count` raises.
    void CountOnceRested(const std::function<qint64()> &count);
    // Waits until the reader rests: enough pages ahead of the recordset, or
    // its end. False once cancelled.
    bool WaitForRestingReader();

    // The source.
    QList<DataField> Fields();
    QList<Row> Next();
    qint64 Total();
    bool TotalReady();
    // Stops the workers at their next row; `underLock` runs first, while the
    // workers cannot install or forget what it stops.
    void Cancel(const std::function<void()> &underLock = {});

    // Guards what a source adds to the state (a statement's cancel, say);
    // waiters on Changed are woken by every change here.
    std::mutex Mutex;
    std::condition_variable Changed;

private:
    const size_t m_ahead;
    // Set under Mutex, read without it by workers at each row.
    std::atomic<bool> m_cancelled{false};
    bool m_described = false;
    bool m_finished = false;
    QList<DataField> m_fields;
    std::deque<QList<Row>> m_pages;
    std::exception_ptr m_failure;
    std::optional<qint64> m_total;
};

// Runs a streaming source's reader or counter on the streaming sources' own
// pool, not the data services' job pool: a reader rests, however long, while
// its pages wait for the recordset, and must not hold a thread that other
// work waits for. `work` owns what it uses: the source may go before it ends.
void StartWorker(std::function<void()> work);

// A row source whose fields, pages and count come from its workers through
// the RowPages it shares with them.
class PagedRowSource : public ado::RowSource
{
public:
    // The fields of the rows, once the reader knows them; raises what the
    // reader raised before.
    QList<DataField> Fields() { return Pages().Fields(); }

    QList<Row> FetchNextPage() override { return Pages().Next(); }
    qint64 TotalCount() override { return Pages().Total(); }
    bool TotalCountReady() override { return Pages().TotalReady(); }
    void Cancel() override { Pages().Cancel(); }

protected:
    virtual RowPages &Pages() = 0;
};

} // namespace qv::data
