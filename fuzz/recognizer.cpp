// Any text as terms and as a document: the lines before the first empty line
// are the terms (a line starting with "-" an excluded one), the rest is the
// text. Every match lies within the text, in order, without overlap, and is
// found again when the matched span alone is recognized.
#include "biz/TermRecognizer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QLatin1String("\n\n"));
    const QStringView terms = split < 0 ? QStringView() : QStringView(input).left(split);
    const QStringView text = split < 0 ? QStringView(input) : QStringView(input).mid(split + 2);
    qv::biz::TermRecognizer recognizer;
    qint32 tag = 0;
    for (const QStringView line : terms.split(u'\n')) {
        const bool excluded = line.startsWith(u'-');
        recognizer.Add(excluded ? line.mid(1) : line, ++tag % 3, excluded);
    }
    qsizetype end = 0;
    for (const auto &match : recognizer.Recognize(text)) {
        if (match.Start < end || match.Length <= 0 || match.Start + match.Length > text.size() || match.Tags.isEmpty())
            std::abort();
        end = match.Start + match.Length;
        const auto alone = recognizer.Recognize(text.mid(match.Start, match.Length));
        if (alone.isEmpty() || alone.first().Start != 0 || alone.first().Length != match.Length)
            std::abort();
    }
    return 0;
}
