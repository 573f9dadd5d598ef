// .xls sheets and contacts and tasks folders streamed: the rows a stream
// gives are those read whole, the first page comes while most of a large
// item is unread, and a fault past the first rows comes after them, by name.
#include "BiffBytes.h"
#include "DataTestFiles.h"

#include "data/BackgroundWork.h"
#include "data/ConnectionText.h"
#include "data/SourceAccess.h"
#include "data/backends/BiffWorkbook.h"
#include "data/backends/FileRowSource.h"
#include "data/backends/PimFolderReader.h"
#include "data/backends/SheetStream.h"
#include "data/backends/XlsReader.h"

#include <QDir>


#include <thread>

namespace qv::data::test {
namespace {


// Takes a streamed item whole.
class Collected : public TableSink
{
public:
    void Fields(const QList<DataField> &fields) override { Table.Fields = fields; }
    bool Row(DataRow row) override
    {
        Table.Rows << std::move(row);
        return true;
    }

    DataTable Table;
};

DataTable StreamedWhole(SourceReader &reader, const QString &item)
{
    Collected sink;
    reader.StreamItem(item, sink);
    return sink.Table;
}

FileRowSource &Streamed(const OpenedRows &rows)
{
    auto *source = dynamic_cast<FileRowSource *>(rows.Source.get());
    Q_ASSERT(source);
    return *source;
}

// Reads every page; the rows and the first value of the last.
std::pair<qint64, QString> ReadAll(ado::RowSource &source)
{
    qint64 rows = 0;
    QString last;
    for (QList<ado::RowSource::Row> page; !(page = source.FetchNextPage()).isEmpty();) {
        rows += page.size();
        last = page.last().value(0).ToText();
    }
    return {rows, last};
}

// Reads a streamed item through a row source until it fails: the rows it
// gave before, and the failure's description.
std::pair<qint64, QString> RowsBeforeFault(const std::shared_ptr<SourceReader> &reader, const QString &item, const QString &path)
{
    FileRowSource source([reader, item](TableSink &sink) { reader->StreamItem(item, sink); }, RowChoice{{}, {}, -1, path});
    qint64 rows = 0;
    const QString error = ErrorOf([&] {
        for (QList<ado::RowSource::Row> page; !(page = source.FetchNextPage()).isEmpty();)
            rows += page.size();
    });
    return {rows, error};
}

struct XlsCase
{
    const char *name;
    QByteArray cells;
    bool forward;
    qsizetype rows;
};

TEST(XlsStreaming, StreamedSheetsHoldTheRowsReadWhole)
{
    const QByteArray header = Label(0, 0, "Id") + Label(0, 1, "Value") + Label(0, 2, "When");
    const QList<XlsCase> cases{
        {"blank rows between records and after them", header + Number(1, 0, 1) + Number(4, 0, 4) + Label(4, 1, "x") + Label(9, 2, ""), true, 4},
        {"formula results, numbers, Booleans, errors and texts",
         header + Formula(1, 0, Double(2.5)) + Formula(1, 1, SpecialResult(0, 0)) + Rec(0x0207, Le16(3) + '\0' + "abc") +
             Formula(2, 0, SpecialResult(1, 1)) + Formula(2, 1, SpecialResult(2, 0x07)) + Formula(3, 0, SpecialResult(0, 0)),
         true, 2}, // a text result without its text leaves the cell empty
        {"dates and shared strings", header + Number(1, 2, 45000, 1) + Rec(0x00FD, Cell(1, 1) + Le32(1)) + Number(2, 2, 45001.5, 1),
         true, 2},
        {"cells of a row out of column order", header + Number(1, 2, 3) + Number(1, 0, 1) + Number(1, 1, 2), true, 1},
        {"rows written backwards", header + Number(3, 0, 3) + Number(1, 0, 1) + Label(2, 1, "two") + Number(2, 0, 2), false, 3},
        {"a backwards row hidden in a chart is no row of the sheet",
         header + Number(2, 0, 2) + Bof(0x0020) + Number(0, 0, 9) + Rec(0x000A, {}) + Number(3, 0, 3), true, 3},
        {"an empty sheet", {}, true, 0},
    };
    QTemporaryDir dir;
    for (const XlsCase &c : cases) {
        const QString path = dir.filePath(QStringLiteral("case.xls"));
        QFile::remove(path);
        ASSERT_TRUE(WriteXls(path, Workbook(Globals(), c.cells, "Data"))) << c.name;
        XlsReader reader(path);
        EXPECT_EQ(BiffWorkbook(path, Workbook(Globals(), c.cells, "Data")).RowsGoForward(0), c.forward) << c.name;
        const DataTable whole = reader.ReadItem(QStringLiteral("Data"));
        const DataTable streamed = StreamedWhole(reader, QStringLiteral("data"));
        EXPECT_EQ(whole.Rows.size(), c.rows) << c.name;
        EXPECT_EQ(streamed.Fields, whole.Fields) << c.name;
        EXPECT_EQ(streamed.Rows, whole.Rows) << c.name;
    }
    Collected none;
    EXPECT_TRUE(ErrorOf([&] { XlsReader(dir.filePath(QStringLiteral("case.xls"))).StreamItem(QStringLiteral("Nope"), none); })
                    .contains(u"has no sheet named 'Nope'"));
}

// A workbook past the first rows holds a cell record cut short: the pages
// before it come, then the error names the file and what to do.
TEST(XlsStreaming, ADamagedRecordPastTheFirstRowsFailsAfterThem)
{
    QByteArray cells = Label(0, 0, "Id");
    for (quint16 r = 1; r <= 5000; ++r)
        cells += Number(r, 0, r);
    cells += Rec(0x0203, Cell(5001, 0)); // no value
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.xls"));
    ASSERT_TRUE(WriteXls(path, Workbook({}, cells)));
    const auto [rows, error] = RowsBeforeFault(std::make_shared<XlsReader>(path), QStringLiteral("Data"), path);
    // Pages go whole: at most the page under way when the fault came is missing.
    EXPECT_GE(rows, 4500) << "pages before the fault were lost";
    EXPECT_LE(rows, 5000);
    EXPECT_TRUE(error.contains(path) && error.contains(u"damaged cell record") && error.contains(u"save it again"))
        << error.toStdString();
}

constexpr int kSheetRows = 65000;

// A full-height BIFF8 sheet: an id, a name and a date a row.
const QString &LargeXls()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QByteArray cells = Label(0, 0, "Id") + Label(0, 1, "Name") + Label(0, 2, "When");
        for (int r = 1; r <= kSheetRows; ++r)
            cells += Number(quint16(r), 0, r) + Label(quint16(r), 1, "Name " + QByteArray::number(r)) + Number(quint16(r), 2, 40000 + r % 365, 1);
        const QString file = dir.filePath(QStringLiteral("large.xls"));
        return WriteXls(file, Workbook(Globals(), cells, "Orders")) ? file : QString();
    }();
    return path;
}

TEST(XlsStreaming, FirstPageOfAFullSheetComesBeforeItIsRead)
{
    ASSERT_FALSE(LargeXls().isEmpty());
    RowsRequest request{SourceExcel, BuildConnectionText(SourceExcel, LargeXls(), {}, {}), QStringLiteral("Orders$"), {}, {}, -1};
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    ASSERT_EQ(rows.Fields.size(), 3);
    EXPECT_EQ(rows.Fields[2].Type, ado::adDate);
    const QList<ado::RowSource::Row> first = rows.Source->FetchNextPage();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first[0].value(1).ToText(), QStringLiteral("Name 1"));
    EXPECT_LT(Streamed(rows).RowsRead(), 10000);
    const auto [rest, last] = ReadAll(*rows.Source);
    EXPECT_EQ(first.size() + rest, kSheetRows);
    EXPECT_EQ(last, QString::number(kSheetRows));
    EXPECT_EQ(rows.Source->TotalCount(), kSheetRows);
}

constexpr int kCards = 5000;
// Card 3 needs long text in the typing rows, card kLateLong only after them.
constexpr int kLateLong = 4500;

QByteArray CardFile(int n)
{
    QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Person " + QByteArray::number(n) + "\r\nORG:Firm " +
                      QByteArray::number(n % 7) + "\r\n";
    if (n == 3)
        card += "TITLE:" + QByteArray(300, 't') + "\r\n";
    if (n == kLateLong)
        card += "NICKNAME:" + QByteArray(400, 'n') + "\r\n";
    return card + "END:VCARD\r\n";
}

QByteArray TaskFile(int n)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nSUMMARY:Task " + QByteArray::number(n) +
           "\r\nPRIORITY:" + QByteArray::number(n % 9 + 1) + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

// A folder of `count` files, one item each, named in the order they are made.
QString MakeFolder(QTemporaryDir &dir, const char *name, int count, QByteArray (*item)(int), const char *suffix)
{
    const QString folder = dir.filePath(QString::fromLatin1(name));
    QDir().mkpath(folder);
    for (int n = 1; n <= count; ++n) {
        QFile file(QStringLiteral("%1/%2.%3").arg(folder).arg(n, 5, 10, QChar(u'0')).arg(QLatin1String(suffix)));
        if (!file.open(QIODevice::WriteOnly) || file.write(item(n)) < 0)
            return {};
    }
    return folder;
}

const QString &Contacts()
{
    static QTemporaryDir dir;
    static const QString path = MakeFolder(dir, "Contacts", kCards, CardFile, "vcf");
    return path;
}

RowsRequest FolderRequest(const QString &folder, const char *type)
{
    const QString text = FolderSourceText(QString::fromLatin1(type), folder, QFileInfo(folder).absolutePath());
    return {SourceFolder, text, QFileInfo(folder).fileName(), {}, {}, -1};
}

TEST(FolderStreaming, FirstPageOfALargeFolderComesBeforeItIsRead)
{
    ASSERT_FALSE(Contacts().isEmpty());
    WorkControl control;
    const OpenedRows rows = OpenRows(FolderRequest(Contacts(), "Contact"), control);
    const QList<ado::RowSource::Row> first = rows.Source->FetchNextPage();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first[0].value(0).ToText(), QStringLiteral("Person 1"));
    EXPECT_LT(Streamed(rows).RowsRead(), kCards);
    const auto [rest, last] = ReadAll(*rows.Source);
    EXPECT_EQ(first.size() + rest, kCards);
    EXPECT_EQ(last, QStringLiteral("Person %1").arg(kCards));
    EXPECT_EQ(rows.Source->TotalCount(), kCards);

    QTemporaryDir dir;
    const QString tasks = MakeFolder(dir, "Tasks", 3000, TaskFile, "ics");
    const OpenedRows todo = OpenRows(FolderRequest(tasks, "Task"), control);
    ASSERT_EQ(todo.Fields.value(0).Name, QStringLiteral("Subject"));
    const QList<ado::RowSource::Row> firstTasks = todo.Source->FetchNextPage();
    ASSERT_FALSE(firstTasks.isEmpty());
    EXPECT_EQ(firstTasks[0].value(0).ToText(), QStringLiteral("Task 1"));
    EXPECT_LT(Streamed(todo).RowsRead(), 3000);
    EXPECT_EQ(firstTasks.size() + ReadAll(*todo.Source).first, 3000);
    EXPECT_EQ(todo.Source->TotalCount(), 3000);
}

// Text sizes come from the first rows streamed; from every row read whole.
// A later longer text is kept whole either way.
TEST(FolderStreaming, TextSizesComeFromTheFirstRows)
{
    PimFolderReader reader(Contacts());
    EXPECT_EQ(reader.FolderType(), QStringLiteral("Contact"));
    const DataTable whole = reader.ReadItem(QStringLiteral("Contacts"));
    const DataTable streamed = StreamedWhole(reader, QStringLiteral("Contacts"));
    ASSERT_EQ(streamed.Rows, whole.Rows);
    const int title = whole.FieldIndex(QStringLiteral("Job Title"));
    const int nickname = whole.FieldIndex(QStringLiteral("Nickname"));
    EXPECT_EQ(whole.Fields[title].Type, ado::adLongVarWChar);
    EXPECT_EQ(streamed.Fields[title].Type, ado::adLongVarWChar);
    EXPECT_EQ(whole.Fields[nickname].Type, ado::adLongVarWChar);
    EXPECT_EQ(streamed.Fields[nickname].Type, ado::adVarWChar);
    EXPECT_EQ(streamed.Rows[kLateLong - 1][nickname].ToText().size(), 400);
}

TEST(FolderStreaming, FiltersWhileStreaming)
{
    RowsRequest request = FolderRequest(Contacts(), "Contact");
    request.Fields = {QStringLiteral("Full Name")};
    const QList<DataField> all = ListFields(request.Kind, request.ConnectionText, request.Item);
    const auto company = std::find_if(all.cbegin(), all.cend(), [](const DataField &f) { return f.Name == u"Company"; });
    ASSERT_NE(company, all.cend());
    request.Conditions = {Condition{*company, 1, QStringLiteral("firm 3")}};
    WorkControl control;
    const OpenedRows rows = OpenRows(request, control);
    qint64 kept = 0;
    for (QList<ado::RowSource::Row> page; !(page = rows.Source->FetchNextPage()).isEmpty();) {
        for (const auto &row : page) {
            ASSERT_EQ(row.size(), 1);
            EXPECT_EQ(row[0].ToText().mid(7).toInt() % 7, 3) << row[0].ToText().toStdString();
            ++kept;
        }
    }
    EXPECT_EQ(kept, (kCards + 4) / 7);
    EXPECT_EQ(rows.Source->TotalCount(), kept);
}

// A cancel from another thread races with the pages being fetched, in
// every round at another place; the folder's workers stop and the source
// goes cleanly, even while they may still run. The sanitizer build runs it.
TEST(FolderStreaming, CancelDuringAStreamedReadIsSafe)
{
    for (int round = 0; round < 40; ++round) {
        WorkControl control;
        OpenedRows rows = OpenRows(FolderRequest(Contacts(), "Contact"), control);
        std::thread cancel([&control] { control.Cancel(); });
        for (int page = 0; page < round % 5; ++page)
            rows.Source->FetchNextPage();
        cancel.join();
        EXPECT_TRUE(rows.Source->FetchNextPage().isEmpty()) << "round " << round;
        if (round % 3 == 0)
            rows.Source.reset();
    }
}

// A file gone unreadable after the folder was listed: the rows of the files
// before it come first, then the error names it.
TEST(FolderStreaming, AnUnreadableFilePastTheFirstRowsFailsAfterThem)
{
    QTemporaryDir dir;
    const QString folder = MakeFolder(dir, "Broken", 3000, CardFile, "vcf");
    auto reader = std::make_shared<PimFolderReader>(folder);
    const QString broken = folder + QStringLiteral("/02900.vcf");
    ASSERT_TRUE(QFile::remove(broken) && QDir().mkdir(broken));
    const auto [rows, error] = RowsBeforeFault(reader, QStringLiteral("Broken"), folder);
    EXPECT_GE(rows, 2500) << "pages before the fault were lost";
    EXPECT_LE(rows, 2899);
    EXPECT_TRUE(error.contains(broken)) << error.toStdString();
    EXPECT_TRUE(ErrorOf([&] { reader->ReadItem(QStringLiteral("Broken")); }).contains(broken));
}

struct MixedCase
{
    QList<std::pair<const char *, QByteArray>> files;
    const char *type;
    qsizetype rows;
};

// Cards and to-dos side by side: the kind with more items wins, counted by
// the lines that start them in any case and encoding; a tie is contacts.
TEST(FolderStreaming, AMixedFolderIsTheKindItHoldsMoreOf)
{
    const QByteArray card = "BEGIN:VCARD\nFN:A\nEND:VCARD\n";
    const QString wide = QStringLiteral("begin:vcard\r\nFN:W\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:V\r\nEND:VCARD\r\n");
    const QByteArray utf16 = QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(wide.utf16()), wide.size() * 2);
    const QList<MixedCase> cases{
        {{{"a.vcf", card}, {"t.ics", TaskFile(1)}}, "Contact", 1},
        {{{"a.vcf", card}, {"t.ics", TaskFile(1) + TaskFile(2)}}, "Task", 2},
        {{{"a.vcf", card + card}, {"b.vcf", utf16}, {"t.ics", TaskFile(1) + TaskFile(2) + TaskFile(3)}}, "Contact", 4},
        {{{"a.vcf", "\xEF\xBB\xBF" + card}, {"t.ics", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nEND:VEVENT\nEND:VCALENDAR\n"}}, "Contact", 1},
        {{{"a.vcf", "not a card"}, {"t.ics", "  BEGIN:VTODO folded, no start"}}, "", 0},
    };
    for (qsizetype i = 0; i < cases.size(); ++i) {
        QTemporaryDir dir;
        for (const auto &[name, bytes] : cases[i].files) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        PimFolderReader reader(dir.path());
        EXPECT_EQ(reader.FolderType(), QString::fromLatin1(cases[i].type)) << "case " << i;
        const DataTable whole = reader.ReadItem(QDir(dir.path()).dirName());
        EXPECT_EQ(whole.Rows.size(), cases[i].rows) << "case " << i;
        EXPECT_EQ(StreamedWhole(reader, QDir(dir.path()).dirName()).Rows, whole.Rows) << "case " << i;
    }
}

} // namespace
} // namespace qv::data::test
