// Inputs made to break a reader: nesting far deeper than any real file,
// folding that once made reading quadratic. Each must be read in bounded
// time, or refused with a message, never crash.
#include "Sanitizers.h"
#include "DataTestFiles.h"

#include "data/backends/PimTables.h"
#include "data/backends/VCardReader.h"
#include "data/backends/XlsxSheetParser.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace qv::data::test {
namespace {

QByteArray Repeat(const QByteArray &piece, int times)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        bytes += piece;
    return bytes;
}

QByteArray Nested(const QByteArray &open, const QByteArray &inner, const QByteArray &close, int depth)
{
    return Repeat(open, depth) + inner + Repeat(close, depth);
}

template<typename Parse>
auto ParseXml(QByteArray xml, Parse parse)
{
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    return parse(QStringLiteral("deep.xlsx"), &buffer);
}

// Far deeper than the stack of a worker thread allows one frame a level.
constexpr int kDeep = 300000;

// libical scans its buffer with the C string functions, which the
// sanitizers' strict string checks make quadratic; there a shallower
// calendar still nests far past what a recursive walk survives with the
// sanitizers' larger frames.
constexpr int kDeepCalendar = qv::test::kUnderSanitizers ? 20000 : kDeep;

TEST(HostileInput, DeepRichTextIsReadWithoutRecursion)
{
    const QByteArray strings = "<sst><si>" + Nested("<r>", "<t>deep</t>", "</r>", kDeep) + "</si><si><t>next</t></si></sst>";
    EXPECT_EQ(ParseXml(strings, ParseXlsxSharedStrings), QStringList({"deep", "next"}));

    const QByteArray sheet = "<worksheet><sheetData><row><c t=\"inlineStr\"><is>" +
                             Nested("<r>", "<t>in</t><rPh><t>hint</t></rPh>", "</r>", kDeep) +
                             "</is></c><c><v>2</v></c></row></sheetData></worksheet>";
    const CellGrid grid = ParseXml(sheet, [](const QString &path, QIODevice *device) {
        return ParseXlsxSheet(path, device, {});
    });
    ASSERT_EQ(grid.size(), 1);
    EXPECT_EQ(grid[0], QList<Variant>({"in", 2.0}));

    // Deep and never closed: an error naming the damage, not a crash.
    const QByteArray open = "<sst><si>" + Repeat("<r>", kDeep);
    EXPECT_TRUE(ErrorOf([&] { ParseXml(open, ParseXlsxSharedStrings); }).contains(u"not well-formed"));
}

TEST(HostileInput, DeepCalendarIsWalkedAndFreedWithoutRecursion)
{
    const QByteArray ics = "BEGIN:VCALENDAR\r\n" +
                           Nested("BEGIN:VEVENT\r\n", "BEGIN:VTODO\r\nSUMMARY:at the bottom\r\nEND:VTODO\r\n",
                                  "END:VEVENT\r\n", kDeepCalendar) +
                           "BEGIN:VTODO\r\nSUMMARY:after\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
    const QList<DataRow> rows = ReadTaskRows(ics);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0], Variant("at the bottom"));
    EXPECT_EQ(rows[1][0], Variant("after"));
    // A task nested in a task is part of the outer one, as before.
    const QByteArray tasks = "BEGIN:VCALENDAR\r\n" + Nested("BEGIN:VTODO\r\nSUMMARY:t\r\n", "", "END:VTODO\r\n", kDeepCalendar) +
                             "END:VCALENDAR\r\n";
    EXPECT_EQ(ReadTaskRows(tasks).size(), 1);
}

struct FoldingCase
{
    const char *name;
    QByteArray head, line;
};

class FoldingTest : public ::testing::TestWithParam<FoldingCase>
{
};

// 100,000 continuation lines once took 22 s; linear reading takes well under one.
TEST_P(FoldingTest, LongFoldedLinesAreReadInLinearTime)
{
    constexpr int kLines = 100000;
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:2.1\r\n" + GetParam().head + Repeat(GetParam().line, kLines) +
                            "\r\nFN:after\r\nEND:VCARD\r\n";
    QElapsedTimer timer;
    timer.start();
    const QList<VCard> cards = ParseVCards(card);
    EXPECT_LT(timer.elapsed(), 2000) << GetParam().name;
    ASSERT_EQ(cards.size(), 1);
    ASSERT_NE(cards[0].First(QStringLiteral("FN")), nullptr);
    EXPECT_EQ(cards[0].First(QStringLiteral("FN"))->Value, QStringLiteral("after"));
}

INSTANTIATE_TEST_SUITE_P(
    HostileInput, FoldingTest,
    ::testing::Values(
        FoldingCase{"quoteInHead", "NOTE;X=\"open:", "=\r\n x"},
        FoldingCase{"quoteInValue", "NOTE;ENCODING=QUOTED-PRINTABLE:\"", "x=\r\n"},
        FoldingCase{"blankFolds", "NOTE:", "\r\n x="},
        FoldingCase{"noColonAtAll", "NOTE;X=\"", "\r\n =\"\""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(HostileInput, SoftBreaksStillJoinQuotedPrintableValues)
{
    const QList<VCard> cards =
        ParseVCards("BEGIN:VCARD\r\nNOTE;ENCODING=QUOTED-PRINTABLE;X=\"a:b\":one=\r\ntwo=3D=\r\n\r\nEND:VCARD\r\n");
    ASSERT_EQ(cards.size(), 1);
    ASSERT_NE(cards[0].First(QStringLiteral("NOTE")), nullptr);
    EXPECT_EQ(cards[0].First(QStringLiteral("NOTE"))->Value, QStringLiteral("onetwo="));
}

TEST(HostileInput, PipesAndDevicesAreRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.xlsx"));
    const QString zero = dir.filePath(QStringLiteral("zero.html"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString &path : {fifo, zero}) {
        QElapsedTimer timer;
        timer.start();
        const QString message = ErrorOf([&] { OpenSource(path)->DataItems(); });
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_TRUE(message.contains(u"cannot be read: it is not a regular file but a device or a pipe"))
            << message.toStdString();
    }
}

} // namespace
} // namespace qv::data::test
