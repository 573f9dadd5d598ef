#include "XlsReader.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>

#include <memory>
#include <mutex>

namespace qv::data {

namespace {

struct GObjectRelease
{
    void operator()(void *object) const { g_object_unref(object); }
};
template<typename T>
using GObjectPtr = std::unique_ptr<T, GObjectRelease>;

// The stream that holds the workbook: "Workbook" from Excel 97 on, "Book"
// before; writers differ in case.
QByteArray WorkbookStream(const QString &path, const QByteArray &file)
{
    static std::once_flag started;
    std::call_once(started, [] { gsf_init(); });
    GObjectPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8 *>(file.constData()), file.size(), FALSE));
    GError *error = nullptr;
    GObjectPtr<GsfInfile> container(gsf_infile_msole_new(input.get(), &error));
    if (error)
        g_error_free(error);
    if (!container)
        RaiseUnreadable(path, QStringLiteral("it is not an Excel 97-2003 workbook, or its structure is damaged; "
                                             "open it in Excel and save it again"));
    for (const char *wanted : {"Workbook", "Book"}) {
        for (int i = 0; i < gsf_infile_num_children(container.get()); ++i) {
            const char *name = gsf_infile_name_by_index(container.get(), i);
            if (!name || qstricmp(name, wanted) != 0)
                continue;
            GObjectPtr<GsfInput> stream(gsf_infile_child_by_index(container.get(), i));
            const gsf_off_t size = stream ? gsf_input_size(stream.get()) : -1;
            QByteArray bytes(qsizetype(std::max<gsf_off_t>(size, 0)), Qt::Uninitialized);
            if (size < 0 || (size > 0 && !gsf_input_read(stream.get(), size_t(size), reinterpret_cast<guint8 *>(bytes.data()))))
                RaiseUnreadable(path, QStringLiteral("its workbook stream cannot be read; the file is damaged. "
                                                     "Open it in Excel and save it again"));
            return bytes;
        }
    }
    RaiseUnreadable(path, QStringLiteral("it is an Office document but holds no workbook; open it in the program "
                                         "that made it, or choose the workbook itself"));
}

} // namespace

XlsReader::XlsReader(const QString &path) : m_path(path)
{
    const QByteArray file = ReadSourceFile(path, qint64(1) << 31);
    // Excel 2.x to 4.0 wrote a bare BIFF stream that starts with its BOF record.
    if (file.size() >= 2 && file[0] == '\x09' && (file[1] == '\x00' || file[1] == '\x02' || file[1] == '\x04'))
        RaiseUnreadable(path, QStringLiteral("it is a worksheet of Excel 4.0 or older, which cannot be read here; "
                                             "open it in Excel and save it as an .xlsx workbook"));
    ReadWithinMemory(path, [&] { m_book.emplace(path, WorkbookStream(path, file)); });
    if (m_book->SheetNames().isEmpty())
        RaiseUnreadable(path, QStringLiteral("the workbook holds no worksheets; add one in Excel and save it again"));
}

QStringList XlsReader::DataItems()
{
    return m_book->SheetNames();
}

qsizetype XlsReader::SheetIndex(const QString &name) const
{
    const qsizetype index = IndexOfName(m_book->SheetNames(), name);
    if (index < 0)
        RaiseNoSuchItem(m_path, QStringLiteral("sheet"), name);
    return index;
}

DataTable XlsReader::ReadItem(const QString &name)
{
    const qsizetype index = SheetIndex(name);
    return ReadWithinMemory(m_path, [&] { return TableFromGrid(m_path, m_book->SheetNames()[index], m_book->ReadSheet(index)); });
}

void XlsReader::StreamItem(const QString &name, TableSink &sink)
{
    const qsizetype index = SheetIndex(name);
    ReadWithinMemory(m_path, [&] { m_book->StreamSheet(index, sink); });
}

} // namespace qv::data
