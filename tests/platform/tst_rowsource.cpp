#include "AdoTestSupport.h"

#include "ado/RowSource.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace qv;
using namespace qv::ado;
using qv::ado::test::ErrorOf;
using qv::ado::test::Walk;

namespace {

// Makes pages of rows (ID, Name "Row N") on demand and counts what is asked.
class PagedSource : public RowSource
{
public:
    PagedSource(qint32 rows, qint32 pageSize, qint64 reportedCount = -2)
        : m_rows(rows), m_pageSize(pageSize), m_reported(reportedCount == -2 ? rows : reportedCount)
    {
    }

    QList<Row> FetchNextPage() override
    {
        ++Pages;
        if (m_cancelled || m_next >= m_rows)
            return {};
        if (FailAtRow >= 0 && m_next >= FailAtRow)
            throw ComError(-2147467259, QStringLiteral("TestSource"), QStringLiteral("the cursor broke"));
        QList<Row> page;
        for (qint32 i = 0; i < m_pageSize && m_next < m_rows; ++i, ++m_next)
            page.append({Variant(m_next + 1), Variant(QStringLiteral("Row %1").arg(m_next + 1))});
        if (ShortRowAt >= 0 && ShortRowAt < m_next)
            page.last().removeLast();
        return page;
    }
    qint64 TotalCount() override
    {
        ++CountAsked;
        return m_reported;
    }
    void Cancel() override { m_cancelled = true; }

    int Pages = 0;
    int CountAsked = 0;
    qint32 FailAtRow = -1;
    qint32 ShortRowAt = -1;

private:
    qint32 m_rows, m_pageSize;
    qint64 m_reported;
    qint32 m_next = 0;
    std::atomic<bool> m_cancelled = false;
};

std::shared_ptr<Recordset> OpenOver(const std::shared_ptr<PagedSource> &source)
{
    auto rs = Recordset::Create();
    rs->Fields().Append(QStringLiteral("ID"), adInteger);
    rs->Fields().Append(QStringLiteral("Name"), adVarWChar, 50);
    rs->Open(source);
    return rs;
}

} // namespace

TEST(RowSource, CountsWithoutFetchingAndCrossesPages)
{
    auto source = std::make_shared<PagedSource>(25, 10);
    auto rs = OpenOver(source);
    EXPECT_EQ(source->Pages, 0); // nothing is read before someone looks
    EXPECT_EQ(rs->RecordCount(), 25);
    EXPECT_EQ(source->Pages, 0);
    EXPECT_FALSE(rs->IsEOF());
    EXPECT_EQ(source->Pages, 1);
    QStringList expected;
    for (int i = 1; i <= 25; ++i)
        expected << QString::number(i);
    EXPECT_EQ(Walk(*rs, QStringLiteral("ID")), expected); // across both page boundaries
    EXPECT_EQ(source->Pages, 4); // three pages and the empty one that ends the rows
    rs->SetBookmark(Variant(11.0));
    EXPECT_EQ(rs->Fields().Item(1).Value().ToText(), QStringLiteral("Row 11"));
}

TEST(RowSource, CancelledHalfWayKeepsTheFetchedRows)
{
    auto source = std::make_shared<PagedSource>(1000, 10);
    auto rs = OpenOver(source);
    rs->SetAbsolutePosition(15);
    EXPECT_EQ(rs->RecordCount(), 1000);
    rs->Cancel();
    EXPECT_EQ(rs->RecordCount(), 20); // the two pages it had
    rs->MoveLast();
    EXPECT_EQ(rs->Fields().Item(0).Value().ToLong(), 20);
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    rs->AddNew({Variant("ID")}, {Variant(qint32(21))}); // still a working recordset
    EXPECT_EQ(rs->RecordCount(), 21);
}

TEST(RowSource, FiltersAndClonesOverPartlyFetchedRows)
{
    auto source = std::make_shared<PagedSource>(100, 10);
    auto rs = OpenOver(source);
    rs->SetAbsolutePosition(5); // one page held
    auto clone = rs->Clone();
    clone->SetFilter(QStringLiteral("Name LIKE '*7'"));
    EXPECT_EQ(clone->Fields().Item(0).Value().ToLong(), 7);
    EXPECT_EQ(source->Pages, 1); // the first match needed no further page
    clone->MoveNext();
    EXPECT_EQ(clone->Fields().Item(0).Value().ToLong(), 17);
    EXPECT_EQ(clone->RecordCount(), 10); // counting under a filter reads every row
    EXPECT_EQ(rs->RecordCount(), 100);
    rs->SetBookmark(Variant(77.0)); // rows the clone fetched are the original's too

    rs->SetFilter(QList<Variant>{Variant(90.0), Variant(3.0), Variant(500.0)});
    EXPECT_EQ(Walk(*rs, QStringLiteral("ID")), QStringList({"90", "3"}));
}

TEST(RowSource, UnknownCountBrokenRowsAndFailures)
{
    auto unknown = std::make_shared<PagedSource>(12, 5, -1);
    EXPECT_EQ(OpenOver(unknown)->RecordCount(), 12); // counted by fetching

    auto shortRows = std::make_shared<PagedSource>(30, 10);
    shortRows->ShortRowAt = 15;
    auto rs = OpenOver(shortRows);
    rs->SetAbsolutePosition(10);
    EXPECT_EQ(ErrorOf([&] { rs->MoveLast(); }), adErrInvalidArgument);
    EXPECT_EQ(rs->RecordCount(), 10); // the good page stays; the source is dropped

    auto failing = std::make_shared<PagedSource>(30, 10);
    failing->FailAtRow = 10;
    rs = OpenOver(failing);
    EXPECT_EQ(ErrorOf([&] { rs->MoveLast(); }), -2147467259);
    rs->SetAbsolutePosition(10);
    EXPECT_EQ(rs->Fields().Item(0).Value().ToLong(), 10);
}
