#include "TermTokens.h"

#include <QString>

#include <array>
#include <vector>

namespace qv::biz {
namespace {

struct FoldedLetters
{
    std::array<char32_t, 6> Letters{};
    quint8 Count = 0;
};

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

// The foldings below kTableEnd, a word each: a letter that folds to one
// letter is that letter; one that folds to several has kSeveral set, its
// count in bits 16 to 23 and its place in the pool below. A table of words
// rather than of FoldedLetters keeps it small enough to stay in the cache
// beside the text.
constexpr quint32 kSeveral = 0x80000000u;

struct FoldTable
{
    std::vector<quint32> Words;
    std::vector<char32_t> Pool;
};

const FoldTable &Table()
{
    static const FoldTable table = [] {
        FoldTable t;
        t.Words.resize(kTableEnd);
        for (char32_t c = 0x80; c < kTableEnd; ++c) {
            const FoldedLetters folded = Fold(c);
            if (folded.Count == 1) {
                t.Words[c] = folded.Letters[0];
                continue;
            }
            t.Words[c] = kSeveral | (quint32(folded.Count) << 16) | quint32(t.Pool.size());
            t.Pool.insert(t.Pool.end(), folded.Letters.begin(), folded.Letters.begin() + folded.Count);
        }
        return t;
    }();
    return table;
}

} // namespace

quint64 MixFoldedLetter(quint64 hash, char32_t c)
{
    if (c >= kTableEnd) {
        const FoldedLetters folded = Fold(c);
        for (quint8 i = 0; i < folded.Count; ++i)
            hash = MixTermHash(hash, folded.Letters[i]);
        return hash;
    }
    const FoldTable &table = Table();
    const quint32 word = table.Words[c];
    if (!(word & kSeveral))
        return MixTermHash(hash, word);
    const char32_t *letters = table.Pool.data() + (word & 0xFFFF);
    for (quint32 i = 0, count = (word >> 16) & 0xFF; i < count; ++i)
        hash = MixTermHash(hash, letters[i]);
    return hash;
}

} // namespace qv::biz
