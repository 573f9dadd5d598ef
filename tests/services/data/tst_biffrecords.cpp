#include "BiffBytes.h"
#include "DataTestFiles.h"

#include "data/backends/BiffWorkbook.h"

namespace qv::data::test {
namespace {

CellGrid ReadOnly(const QByteArray &stream)
{
    BiffWorkbook book(QStringLiteral("t.xls"), stream);
    EXPECT_EQ(book.SheetNames().size(), 1);
    return book.ReadSheet(0);
}

QString TextOf(const CellGrid &grid, qsizetype row, qsizetype column)
{
    if (row >= grid.size() || column >= grid[row].size())
        return QStringLiteral("<none>");
    return grid[row][column].IsEmpty() ? QStringLiteral("<empty>") : CellText(grid[row][column]);
}

struct Expected
{
    qsizetype row;
    qsizetype column;
    const char *text;
};

void ExpectCells(const CellGrid &grid, std::initializer_list<Expected> cells)
{
    for (const Expected &cell : cells)
        EXPECT_EQ(TextOf(grid, cell.row, cell.column), QString::fromUtf8(cell.text)) << cell.row << "," << cell.column;
}

TEST(BiffRecords, FormulasGiveTheResultSavedWithThem)
{
    const QByteArray cells = Formula(0, 0, Double(2.5)) + Formula(0, 1, SpecialResult(0, 0)) +
                             Rec(0x04BC, QByteArray(10, '\0')) + // a shared formula stands before the text
                             Rec(0x0207, Le16(5) + '\0' + "total") + Formula(0, 2, SpecialResult(1, 1)) +
                             Formula(0, 3, SpecialResult(2, 0x07)) + Formula(0, 4, SpecialResult(3, 0)) +
                             Formula(0, 5, SpecialResult(0, 0)) + Rec(0x0207, Le16(2) + '\1' + QByteArray("\xB1\x03\xB2\x03", 4));
    const CellGrid grid = ReadOnly(Workbook({}, cells));
    ExpectCells(grid, {
                          {0, 0, "2.5"},
                          {0, 1, "total"},
                          {0, 2, "TRUE"},
                          {0, 3, "#DIV/0!"},
                          {0, 4, "<empty>"},
                          {0, 5, "αβ"},
                      });
}

TEST(BiffRecords, NumbersDatesTextsAndSharedStrings)
{
    // One shared string runs on into a CONTINUE record, which starts with
    // its own width flag: 8-bit "ab", then 16-bit "Ωc".
    const QByteArray sst = Rec(0x00FC, Le32(2) + Le32(2) + Le16(2) + '\0' + "xy" + Le16(4) + '\0' + "ab") +
                           Rec(0x003C, QByteArray("\x01\xA9\x03\x63\x00", 5));
    const QByteArray globals = Rec(0x0022, Le16(1)) + Rec(0x041E, Le16(164) + Le16(10) + '\0' + "yyyy-mm-dd") +
                               Rec(0x00E0, Le16(0) + Le16(0)) + Rec(0x00E0, Le16(0) + Le16(164)) + sst;
    const QByteArray cells = Rec(0x0203, Cell(0, 0) + Double(0.05)) + Rec(0x0203, Cell(0, 1, 1) + Double(0)) +
                             Rec(0x027E, Cell(1, 0) + Le32((12345u << 2) | 2 | 1)) +
                             Rec(0x00BD, Le16(2) + Le16(0) + Le16(0) + Le32((7u << 2) | 2) + Le16(0) + Le32(0x3FF00000u) + Le16(1)) +
                             Rec(0x00FD, Cell(3, 0) + Le32(0)) + Rec(0x00FD, Cell(3, 1) + Le32(1)) +
                             Rec(0x0204, Cell(4, 0) + Le16(3) + '\0' + "lbl") + Rec(0x0205, Cell(4, 1) + '\0' + '\0') +
                             Rec(0x0205, Cell(4, 2) + '\x2A' + '\1');
    const CellGrid grid = ReadOnly(Workbook(globals, cells));
    ExpectCells(grid, {
                          {0, 0, "0.05"},
                          {0, 1, "1904-01-01"}, // the 1904 date system
                          {1, 0, "123.45"},
                          {2, 0, "7"},
                          {2, 1, "1"},
                          {3, 0, "xy"},
                          {3, 1, "abΩc"},
                          {4, 0, "lbl"},
                          {4, 1, "FALSE"},
                          {4, 2, "#N/A"},
                      });
}

TEST(BiffRecords, AChartOnTheSheetDoesNotEndIt)
{
    const QByteArray chart = Bof(0x0020) + Rec(0x0203, Cell(9, 9) + Double(99)) + Rec(0x000A, {});
    const CellGrid grid = ReadOnly(Workbook({}, Rec(0x0203, Cell(0, 0) + Double(1)) + chart + Rec(0x0203, Cell(1, 0) + Double(2))));
    EXPECT_EQ(grid.size(), 2);
    EXPECT_EQ(TextOf(grid, 1, 0), u"2");
}

TEST(BiffRecords, DamagedStreamsAreNamedNeverRead)
{
    struct Case
    {
        QByteArray stream;
        const char *says;
    };
    const QByteArray good = Workbook({}, Rec(0x0203, Cell(0, 0) + Double(1)));
    const QList<Case> globals{
        {QByteArray(), "does not start as an Excel workbook does"},
        {QByteArray("PK\x03\x04 not a stream"), "does not start as an Excel workbook does"},
        {Rec(0x0809, Le16(0x0300) + Le16(5)), "other than 5.0 to 2003"},
        {Workbook(Rec(0x002F, Le16(1)), {}), "protected by a password"},
    };
    for (const Case &c : globals)
        EXPECT_TRUE(ErrorOf([&] { BiffWorkbook(QStringLiteral("t.xls"), c.stream); }).contains(QString::fromUtf8(c.says)))
            << c.says;

    const QList<Case> sheets{
        {Workbook({}, Rec(0x0203, Cell(0, 0))), "damaged cell record"},
        {Workbook({}, Rec(0x00FD, Cell(0, 0) + Le32(5))), "refers to shared string 5"},
        {good.left(good.size() - 30), "is not where the workbook says it is"},
    };
    for (const Case &c : sheets) {
        const QString message = ErrorOf([&] { ReadOnly(c.stream); });
        EXPECT_TRUE(message.contains(u"t.xls") && message.contains(QString::fromUtf8(c.says))) << message.toStdString();
    }
    // Cut anywhere, a stream gives an error or what it holds, never a crash.
    for (qsizetype size = 0; size < good.size(); ++size) {
        try {
            BiffWorkbook book(QStringLiteral("t.xls"), good.left(size));
            for (qsizetype i = 0; i < book.SheetNames().size(); ++i)
                book.ReadSheet(i);
        } catch (const ComError &) {
        }
    }
}

} // namespace
} // namespace qv::data::test
