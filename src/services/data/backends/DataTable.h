#pragma once

#include "ado/AdoEnums.h"
#include "automation/Variant.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <new>

namespace qv::data {

// Field types are ADO's own numbers (ado::DataTypeEnum).

// The defined size ADO reports for a text field and for a long text field.
inline constexpr int kTextSize = 255;
inline constexpr int kLongTextSize = 536870910;

// A source that cannot be opened or read: a missing, locked or corrupt file.
inline constexpr qint32 kErrorSourceUnreadable = qint32(0x80004005);
// A data item that the source does not hold.
inline constexpr qint32 kErrorNoSuchItem = qint32(0x800A0CC1);
inline constexpr auto kDataSource = "QVDATA.DataViewDataServices";

struct DataField
{
    QString Name;
    int Type = ado::adVarWChar;
    int DefinedSize = kTextSize;
    friend bool operator==(const DataField &, const DataField &) = default;
};

using DataRow = QList<Variant>;

// One data item read whole: its fields and its rows, each row holding one
// value a field (Null where the source has none).
struct DataTable
{
    QString Name;
    QList<DataField> Fields;
    QList<DataRow> Rows;

    // The position of a field by name, compared without regard to case; -1 if none.
    int FieldIndex(const QString &name) const;
};

// The position of a data item's name in a list, compared without regard to case; -1 if none.
qsizetype IndexOfName(const QStringList &names, const QString &name);

// What the user can do about a source that cannot be read, said after the reason.
enum class Remedy {
    None,      // the reason says it already
    Resave,    // a damaged or foreign file
    CheckPath, // a file or folder that is not there
    Smaller,   // more than can be read at once
};

// Raises kErrorSourceUnreadable naming the source, what is wrong with it and
// what the user can do.
[[noreturn]] void RaiseUnreadable(const QString &sourcePath, const QString &reason, Remedy remedy = Remedy::None);
// Opens a source file for reading: raises kErrorSourceUnreadable when it is
// missing, is a folder, cannot be opened (with the system's reason) or is
// larger than `maxSize` bytes. Readers whose library opens the file itself
// call it first, so that every reader words these failures alike.
void OpenSourceFile(QFile &file, qint64 maxSize = qint64(1) << 40);
// The whole of a source file, opened as OpenSourceFile does.
QByteArray ReadSourceFile(const QString &path, qint64 maxSize);

// Runs `read`, turning running out of memory into kErrorSourceUnreadable:
// no other exception than ComError leaves a reader.
template<typename Read>
auto ReadWithinMemory(const QString &sourcePath, Read read)
{
    try {
        return read();
    } catch (const std::bad_alloc &) {
        RaiseUnreadable(sourcePath, QStringLiteral("there is not enough memory to read it; close other programs, "
                                                   "or read a smaller part of it"));
    }
}

// Raises kErrorNoSuchItem: the source holds no data item of that name.
[[noreturn]] void RaiseNoSuchItem(const QString &sourcePath, const QString &kind, const QString &item);

// Receives a data item while a reader reads it: its fields once, before any
// row, then its rows in order, each holding one value a field.
class TableSink
{
public:
    virtual ~TableSink() = default;
    virtual void Fields(const QList<DataField> &fields) = 0;
    // False asks the reader to stop: no more rows are wanted.
    virtual bool Row(DataRow row) = 0;
};

// A reader of one kind of source: the names of its data items, in the
// source's order, and one item read whole or row by row.
class SourceReader
{
public:
    virtual ~SourceReader() = default;
    virtual QStringList DataItems() = 0;
    // Raises kErrorNoSuchItem for a name DataItems() does not list.
    virtual DataTable ReadItem(const QString &name) = 0;

    // Whether StreamItem gives the first rows before the item is read whole.
    virtual bool Streams() const { return false; }
    // Gives the item to `sink` as it is read, stopping when the sink wants no
    // more rows. A reader that Streams() takes calls from several threads at
    // once; the others read the item whole first.
    virtual void StreamItem(const QString &name, TableSink &sink);
};

// Opens a file source by its extension (.mdb, .accdb, .xlsx, .xls, .xml,
// .htm, .html, .xhtml) or a contacts or tasks folder; raises kErrorSourceUnreadable when
// the path is missing or of no kind known here.
std::unique_ptr<SourceReader> OpenSource(const QString &path);

} // namespace qv::data
