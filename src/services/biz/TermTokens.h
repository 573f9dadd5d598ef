#pragma once

#include <QChar>
#include <QStringView>

#include <cstdint>

namespace qv::biz {

// One token of a text: a word, a run of blanks, or one other character.
// Its hash stands for its text as the recognizer compares it: words without
// regard to case and with accented letters taken apart (so that "é" is the
// "e" and combining accent some keyboards and files write), every run of
// blanks alike, every apostrophe alike.
struct TermToken
{
    quint64 Hash = 0;
    qsizetype Start = 0;
    qsizetype End = 0;
    bool Word = false;
};

// Mixes into `hash` the letters a word character other than ASCII is
// compared as: case folded, taken apart as canonical decomposition takes it
// ("é" is "e" and a combining accent), with the foldings that make several
// letters of one, which Qt's own folding leaves alone ("ß" is "ss", "ﬁ" is
// "fi").
quint64 MixFoldedLetter(quint64 hash, char32_t c);

// Walks a text token by token without copying it; cheap to copy, so that a
// match can look ahead from where the walk stands.
class TermTokenCursor
{
public:
    explicit TermTokenCursor(QStringView text, qsizetype from = 0) : m_text(text), m_at(from) {}

    // The next token; false at the end of the text.
    bool Next(TermToken &token);
    qsizetype Position() const { return m_at; }

private:
    enum class Kind : quint8 { Word, Blank, Apostrophe, Other };

    char32_t CodePointAt(qsizetype at, qsizetype &next) const;
    static Kind KindOf(char32_t c);
    static quint64 MixWordChar(quint64 hash, char32_t c);

    QStringView m_text;
    qsizetype m_at = 0;
};

// FNV-1a over 32-bit units: cheap per character and good enough spread for
// the open-addressed table the recognizer keeps.
constexpr quint64 kTermHashSeed = 0xcbf29ce484222325ULL;
constexpr quint64 kTermHashPrime = 0x100000001b3ULL;

inline quint64 MixTermHash(quint64 hash, char32_t c)
{
    return (hash ^ quint64(c)) * kTermHashPrime;
}

inline char32_t TermTokenCursor::CodePointAt(qsizetype at, qsizetype &next) const
{
    const char16_t u = m_text[at].unicode();
    next = at + 1;
    if (QChar::isHighSurrogate(u) && next < m_text.size() && m_text[next].isLowSurrogate())
        return QChar::surrogateToUcs4(u, m_text[next++].unicode());
    return u;
}

inline TermTokenCursor::Kind TermTokenCursor::KindOf(char32_t c)
{
    if (c < 0x80) {
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')
            return Kind::Word;
        if (c >= '0' && c <= '9')
            return Kind::Word;
        if (c == ' ' || (c >= '\t' && c <= '\r'))
            return Kind::Blank;
        return c == '\'' ? Kind::Apostrophe : Kind::Other;
    }
    if (c == 0x2019 || c == 0x02BC || c == 0xFF07)
        return Kind::Apostrophe;
    if (QChar::isLetterOrNumber(c) || QChar::isMark(c))
        return Kind::Word;
    return QChar::isSpace(c) ? Kind::Blank : Kind::Other;
}

inline quint64 TermTokenCursor::MixWordChar(quint64 hash, char32_t c)
{
    if (c < 0x80)
        return MixTermHash(hash, c >= 'A' && c <= 'Z' ? c | 0x20 : c);
    return MixFoldedLetter(hash, c);
}

inline bool TermTokenCursor::Next(TermToken &token)
{
    if (m_at >= m_text.size())
        return false;
    token.Start = m_at;
    qsizetype next = 0;
    const char32_t first = CodePointAt(m_at, next);
    const Kind kind = KindOf(first);
    m_at = next;
    switch (kind) {
    case Kind::Word: {
        quint64 hash = MixWordChar(kTermHashSeed, first);
        while (m_at < m_text.size()) {
            const char32_t c = CodePointAt(m_at, next);
            if (KindOf(c) != Kind::Word)
                break;
            hash = MixWordChar(hash, c);
            m_at = next;
        }
        token.Hash = hash;
        token.Word = true;
        break;
    }
    case Kind::Blank:
        while (m_at < m_text.size() && KindOf(CodePointAt(m_at, next)) == Kind::Blank)
            m_at = next;
        token.Hash = MixTermHash(kTermHashSeed, U' ');
        token.Word = false;
        break;
    case Kind::Apostrophe:
        token.Hash = MixTermHash(kTermHashSeed, U'\'');
        token.Word = false;
        break;
    case Kind::Other:
        token.Hash = MixTermHash(kTermHashSeed, first);
        token.Word = false;
        break;
    }
    token.End = m_at;
    return true;
}

} // namespace qv::biz
