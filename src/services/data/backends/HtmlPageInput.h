#pragma once

#include "HtmlPageText.h"

#include <QIODevice>

#include <exception>
#include <functional>
#include <optional>

namespace qv::data {

// Gives the HTML parser a page a block at a time, made UTF-8 where the page
// declares no encoding libxml2 reads, so that no more of it is held than a
// block. Nothing it raises crosses the parser: Check() raises it after.
class PageInput
{
public:
    // `stopped` tells once nothing more of the page is wanted: the page ends there.
    PageInput(const QString &sourcePath, QIODevice &page, std::function<bool()> stopped);

    // The first block, read to find the encoding the page declares.
    QByteArray First();
    // The bytes from the first block on, past a byte-order mark of
    // `markLength` bytes, made UTF-8 when `asUtf8`.
    void Start(qsizetype markLength, bool asUtf8);
    // libxml2's read callback: up to `length` bytes, 0 at the end, -1 on a fault.
    static int Read(void *self, char *buffer, int length);
    // Raises what reading the page raised.
    void Check();

private:
    void Next();

    const QString &m_path;
    QIODevice &m_page;
    std::function<bool()> m_stopped;
    std::optional<Utf8OrWindows1252> m_utf8;
    QByteArray m_block;
    qsizetype m_offset = 0;
    std::exception_ptr m_error;
};

// The encoding libxml2 is to read a page in, of what the page declares: ""
// where it starts with a UTF-16 byte-order mark (libxml2 follows the mark),
// else the declared encoding when libxml2 knows it, and none where the page
// is to be read as UTF-8 through a PageInput that makes sure of it.
std::optional<QByteArray> EncodingToRead(const std::optional<DeclaredEncoding> &declared);

} // namespace qv::data
