#pragma once

#include "automation/Variant.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringDecoder>

#include <optional>

namespace qv::data {

// What a page says its bytes are: a byte-order mark (the encoding it marks
// and its length), or the charset a <meta> in its first 4096 bytes declares.
struct DeclaredEncoding
{
    QByteArray Name;
    int MarkLength = 0;
};

// The encoding `start`, the first bytes of a page, declares; none when it
// has no mark and no <meta> charset.
std::optional<DeclaredEncoding> DeclaredHtmlEncoding(const QByteArray &start);

// The length of the longest start of `bytes` that is valid UTF-8. `cut` tells
// whether what follows it is the start of a sequence that more bytes could end.
qsizetype ValidUtf8Length(QByteArrayView bytes, bool &cut);

// A page that declares no encoding, made UTF-8 one block at a time: its
// bytes are UTF-8 while they are valid UTF-8, and windows-1252 from the first
// byte that is not. A page read whole could decide once for all its bytes;
// a page read in blocks must decide before its end is read.
class Utf8OrWindows1252
{
public:
    // The next block, valid UTF-8; `last` when no block follows it.
    QByteArray Next(QByteArray bytes, bool last);

private:
    QByteArray m_held; // the start of a sequence cut at the end of a block
    bool m_windows1252 = false;
    QStringDecoder m_decoder{"windows-1252"};
};

// A cell's text: runs of blanks made one within each line, lines (a <br> or a
// line end in the page) kept, empty lines at the start and end left out.
QString HtmlCellText(const QString &raw);

// A cell's value: a number when its text is a plain decimal number that
// reads back as written ("007" and "1,5" stay text), else its text.
Variant HtmlCellValue(const QString &text);

// An attribute read as a browser reads a non-negative integer: leading
// white space and a sign skipped, then the digits up to anything else, so
// that colspan='3"' spans 3; at most `limit`; -1 when it holds no such number.
int HtmlInteger(const QString &text, int limit);

} // namespace qv::data
