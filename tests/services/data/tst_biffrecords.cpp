#include "DataTestFiles.h"

#include "data/backends/BiffWorkbook.h"

#include <QtEndian>

#include <cstring>

namespace qv::data::test {
namespace {

// Workbook streams made record by record, as the published BIFF8 layout has them.
QByteArray Le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Rec(quint16 type, const QByteArray &data)
{
    return Le16(type) + Le16(quint16(data.size())) + data;
}

QByteArray Cell(quint16 row, quint16 column, quint16 xf = 0)
{
    return Le16(row) + Le16(column) + Le16(xf);
}

QByteArray Double(double value)
{
    QByteArray bytes(8, '\0');
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

QByteArray Bof(quint16 kind)
{
    return Rec(0x0809, Le16(0x0600) + Le16(kind) + QByteArray(12, '\0'));
}

// A formula cell whose saved result is `result` (8 bytes), with an empty formula.
QByteArray Formula(quint16 row, quint16 column, const QByteArray &result)
{
    return Rec(0x0006, Cell(row, column) + result + Le16(0) + Le32(0) + Le16(0));
}

QByteArray SpecialResult(quint8 kind, quint8 value)
{
    return QByteArray(1, char(kind)) + '\0' + char(value) + QByteArray(3, '\0') + "\xFF\xFF";
}

// Globals with one worksheet at the end, then the sheet's own records.
QByteArray Workbook(const QByteArray &globals, const QByteArray &cells, const QByteArray &sheetName = "Data")
{
    const QByteArray sheet = Bof(0x0010) + cells + Rec(0x000A, {});
    QByteArray head = Bof(0x0005) + globals;
    const QByteArray bound = QByteArray(2, '\0') + char(sheetName.size()) + '\0' + sheetName; // visible worksheet, 8-bit name
    const qsizetype sheetOffset = head.size() + 4 + 4 + bound.size() + 4;
    head += Rec(0x0085, Le32(quint32(sheetOffset)) + bound) + Rec(0x000A, {});
    return head + sheet;
}

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
