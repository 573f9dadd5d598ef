#include "HtmlPageInput.h"

#include "DataTable.h"

#include <libxml/encoding.h>

namespace qv::data {

namespace {

constexpr qint64 kBlockSize = 64 * 1024;

} // namespace

PageInput::PageInput(const QString &sourcePath, QIODevice &page, std::function<bool()> stopped)
    : m_path(sourcePath), m_page(page), m_stopped(std::move(stopped))
{
}

QByteArray PageInput::First()
{
    Next();
    return m_block;
}

void PageInput::Start(qsizetype markLength, bool asUtf8)
{
    m_block.remove(0, markLength);
    if (asUtf8) {
        m_utf8.emplace();
        m_block = m_utf8->Next(std::move(m_block), m_page.atEnd());
    }
}

void PageInput::Check()
{
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

void PageInput::Next()
{
    m_block = m_page.read(kBlockSize);
    m_offset = 0;
    if (m_block.isEmpty() && !m_page.atEnd())
        RaiseUnreadable(m_path, QStringLiteral("the file cannot be read (%1)").arg(m_page.errorString()), Remedy::Resave);
}

int PageInput::Read(void *self, char *buffer, int length)
{
    auto *input = static_cast<PageInput *>(self);
    try {
        // Once the pass is done, the page ends here: the parser stops at once.
        while (input->m_offset == input->m_block.size() && !input->m_page.atEnd() && !input->m_stopped()) {
            input->Next();
            if (input->m_utf8)
                input->m_block = input->m_utf8->Next(std::move(input->m_block), input->m_page.atEnd());
        }
        if (input->m_stopped())
            return 0;
        const int given = int(std::min<qsizetype>(length, input->m_block.size() - input->m_offset));
        std::copy_n(input->m_block.constData() + input->m_offset, given, buffer);
        input->m_offset += given;
        return given;
    } catch (...) {
        input->m_error = std::current_exception();
        return -1;
    }
}

std::optional<QByteArray> EncodingToRead(const std::optional<DeclaredEncoding> &declared)
{
    if (declared && declared->MarkLength > 0 && declared->Name != "UTF-8")
        return QByteArray();
    if (!declared || declared->Name.compare("UTF-8", Qt::CaseInsensitive) == 0)
        return std::nullopt;
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(declared->Name.constData());
    if (!handler)
        return std::nullopt;
    xmlCharEncCloseFunc(handler);
    return declared->Name;
}

} // namespace qv::data
