#include "TermTokens.h"

#include <QString>

#include <vector>

namespace qv::biz {
namespace {

// Letters below this are folded once, into a table: Latin, Greek, Cyrillic
// and the other alphabets of the first pages, where accented letters are many.
constexpr char32_t kTableEnd = 0x3000;

void Append(FoldedLetters &folded, char32_t letter)
{
    if (folded.Count < folded.Letters.size())
        folded.Letters[folded.Count++] = letter;
}

void AppendFolded(FoldedLetters &folded, char32_t c)
{
    switch (c) {
    case 0x00DF:
    case 0x1E9E: Append(folded, U's'); Append(folded, U's'); return;
    case 0xFB00: Append(folded, U'f'); Append(folded, U'f'); return;
    case 0xFB01: Append(folded, U'f'); Append(folded, U'i'); return;
    case 0xFB02: Append(folded, U'f'); Append(folded, U'l'); return;
    case 0xFB03: Append(folded, U'f'); Append(folded, U'f'); Append(folded, U'i'); return;
    case 0xFB04: Append(folded, U'f'); Append(folded, U'f'); Append(folded, U'l'); return;
    case 0xFB05:
    case 0xFB06: Append(folded, U's'); Append(folded, U't'); return;
    default: Append(folded, QChar::toCaseFolded(c));
    }
}

// Each part that decomposes again is replaced by its parts, in place; the
// Unicode data keeps this a few steps deep, and the length is capped anyway.
FoldedLetters Fold(char32_t c)
{
    FoldedLetters folded;
    if (QChar::decompositionTag(c) != QChar::Canonical) {
        AppendFolded(folded, c);
        return folded;
    }
    QString parts = QChar::decomposition(c);
    for (qsizetype i = 0; i < parts.size();) {
        qsizetype next = i + 1;
        char32_t part = parts[i].unicode();
        if (parts[i].isHighSurrogate() && next < parts.size())
            part = QChar::surrogateToUcs4(parts[i], parts[next++]);
        const QString more = QChar::decomposition(part);
        if (QChar::decompositionTag(part) == QChar::Canonical && !more.isEmpty() &&
            more != QStringView(parts).sliced(i, next - i) && parts.size() < 32) {
            parts.replace(i, next - i, more);
            continue;
        }
        AppendFolded(folded, part);
        i = next;
    }
    return folded;
}

} // namespace

const FoldedLetters &FoldLetter(char32_t c, FoldedLetters &scratch)
{
    static const std::vector<FoldedLetters> table = [] {
        std::vector<FoldedLetters> letters(kTableEnd);
        for (char32_t l = 0x80; l < kTableEnd; ++l)
            letters[l] = Fold(l);
        return letters;
    }();
    if (c < kTableEnd)
        return table[c];
    scratch = Fold(c);
    return scratch;
}

} // namespace qv::biz
