#include "PimFolderReader.h"

#include "PimTables.h"
#include "SheetStream.h"

#include <QByteArrayMatcher>
#include <QDir>
#include <QDirIterator>

namespace qv::data {

namespace {

// Files past this size are refused rather than read.
constexpr qint64 kMaxFileSize = qint64(1) << 28;

bool IsCalendar(const QString &file)
{
    return file.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive);
}

// A listed file's bytes. One its owner keeps from the user holds nothing the
// user may see, so it reads as empty; one gone since the listing raises.
QByteArray ReadListed(const QString &file)
{
    if (const QFileInfo info(file); info.exists() && !info.isReadable())
        return {};
    return ReadSourceFile(file, kMaxFileSize);
}

// How many lines of a card or calendar file start with `begin` (lower
// case), in any case: the cards or to-dos it holds, told without parsing.
qsizetype CountStarts(const QByteArray &bytes, const QByteArray &begin)
{
    const QByteArray text = CardFileAsUtf8(bytes).toLower();
    const QByteArrayMatcher matcher(begin);
    qsizetype count = 0;
    for (qsizetype at = matcher.indexIn(text); at >= 0; at = matcher.indexIn(text, at + 1)) {
        if (at == 0 || text[at - 1] == '\n')
            ++count;
    }
    return count;
}

// Holds a folder's first rows until they fix its text fields' sizes, then
// gives every row to the sink as it comes.
class SizedRows
{
public:
    SizedRows(QList<DataField> fields, TableSink &sink) : m_fields(std::move(fields)), m_sink(sink) {}

    // False once the sink wants no more rows.
    bool Add(DataRow row)
    {
        if (m_described)
            return Give(std::move(row));
        m_sample << std::move(row);
        return m_sample.size() < kTypeSampleRows || Describe();
    }

    // The folder is read: gives the rows still held, the fields at least.
    void Finish()
    {
        if (!m_described)
            Describe();
    }

private:
    bool Describe()
    {
        m_described = true;
        FitTextSizes(m_fields, m_sample);
        m_sink.Fields(m_fields);
        for (DataRow &row : std::exchange(m_sample, {})) {
            if (!Give(std::move(row)))
                return false;
        }
        return true;
    }

    bool Give(DataRow row) { return m_sink.Row(std::move(row)); }

    QList<DataField> m_fields;
    TableSink &m_sink;
    QList<DataRow> m_sample;
    bool m_described = false;
};

} // namespace

PimFolderReader::PimFolderReader(const QString &path) : m_path(path)
{
    const QDir folder(path);
    if (!folder.exists())
        RaiseUnreadable(path, QStringLiteral("the folder does not exist"), Remedy::CheckPath);
    m_name = folder.dirName();
    // Names only: asking each file whether it may be read would cost a large
    // folder more than its first rows; that is asked as each is read.
    QStringList names;
    QDirIterator found(path, {QStringLiteral("*.vcf"), QStringLiteral("*.vcard"), QStringLiteral("*.ics")}, QDir::Files | QDir::Hidden);
    while (found.hasNext()) {
        found.next();
        names << found.fileName();
    }
    std::sort(names.begin(), names.end());
    QStringList cards, calendars;
    for (const QString &name : std::as_const(names))
        (IsCalendar(name) ? calendars : cards) << folder.filePath(name);
    if (cards.isEmpty() || calendars.isEmpty()) {
        m_type = !calendars.isEmpty() ? QStringLiteral("Task") : !cards.isEmpty() ? QStringLiteral("Contact") : QString();
        m_files = cards + calendars;
        return;
    }
    // Both kinds side by side, which is rare: counted, not parsed.
    qsizetype contacts = 0, tasks = 0;
    for (const QString &file : std::as_const(cards))
        contacts += CountStarts(ReadListed(file), "begin:vcard");
    for (const QString &file : std::as_const(calendars))
        tasks += CountStarts(ReadListed(file), "begin:vtodo");
    if (contacts == 0 && tasks == 0)
        return;
    m_type = tasks > contacts ? QStringLiteral("Task") : QStringLiteral("Contact");
    m_files = tasks > contacts ? calendars : cards;
}

QString PimFolderReader::FolderType() const
{
    return m_type;
}

QStringList PimFolderReader::DataItems()
{
    return {m_name};
}

void PimFolderReader::CheckName(const QString &name) const
{
    if (name.compare(m_name, Qt::CaseInsensitive) != 0)
        RaiseNoSuchItem(m_path, QStringLiteral("folder"), name);
}

QList<DataField> PimFolderReader::Fields() const
{
    return HoldsTasks() ? TaskFields() : ContactFields();
}

QList<DataRow> PimFolderReader::RowsOf(const QString &file) const
{
    const QByteArray bytes = ReadListed(file);
    if (HoldsTasks())
        return ReadTaskRows(bytes);
    QList<DataRow> rows;
    for (const VCard &card : ParseVCards(bytes))
        rows << ContactRow(card);
    return rows;
}

DataTable PimFolderReader::ReadItem(const QString &name)
{
    CheckName(name);
    DataTable table;
    table.Name = m_name;
    table.Fields = Fields();
    for (const QString &file : std::as_const(m_files))
        table.Rows << RowsOf(file);
    FitTextSizes(table.Fields, table.Rows);
    return table;
}

void PimFolderReader::StreamItem(const QString &name, TableSink &sink)
{
    CheckName(name);
    SizedRows rows(Fields(), sink);
    for (const QString &file : std::as_const(m_files)) {
        for (DataRow &row : RowsOf(file)) {
            if (!rows.Add(std::move(row)))
                return;
        }
    }
    rows.Finish();
}

} // namespace qv::data
