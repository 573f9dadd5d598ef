#include "TermRecognizer.h"


#include <algorithm>

namespace qv::biz {
namespace {

constexpr qsizetype kFirstSlots = 1024;

// Spreads a word's hash and its parent node over the table; the high bits of
// a multiplicative hash are the well mixed ones.
quint64 SlotKey(quint32 parent, quint64 hash)
{
    return (hash ^ (quint64(parent) * 0x9E3779B97F4A7C15ULL)) * 0xD6E8FEB86659FD93ULL;
}

QList<qint32> Without(const QList<qint32> &tags, const QList<qint32> &excluded)
{
    QList<qint32> kept;
    for (const qint32 tag : tags) {
        if (!excluded.contains(tag))
            kept << tag;
    }
    return kept;
}

// A word and the marks and blanks before it since the word before: the tree
// steps from word to word.
quint64 Combine(quint64 a, quint64 b)
{
    return (a ^ b) * kTermHashPrime;
}

quint64 StepKey(quint64 gap, quint64 word)
{
    return gap == kTermHashSeed ? word : Combine(gap, word);
}

} // namespace

TermRecognizer::TermRecognizer() : m_edges(kFirstSlots), m_filter(kFirstSlots / 16), m_entryOfNode(1, -1) {}

inline bool TermRecognizer::MayHave(quint64 key) const
{
    const quint64 bit = key & (quint64(m_filter.size()) * 64 - 1);
    return (m_filter[size_t(bit >> 6)] >> (bit & 63)) & 1;
}

void TermRecognizer::Remember(quint64 key)
{
    const quint64 bit = key & (quint64(m_filter.size()) * 64 - 1);
    m_filter[size_t(bit >> 6)] |= quint64(1) << (bit & 63);
}

inline qsizetype TermRecognizer::SlotOf(quint32 parent, quint64 hash) const
{
    const qsizetype mask = qsizetype(m_edges.size()) - 1;
    qsizetype slot = qsizetype(SlotKey(parent, hash) >> 32) & mask;
    while (m_edges[size_t(slot)].Child != 0
           && (m_edges[size_t(slot)].Hash != hash || m_edges[size_t(slot)].Parent != parent))
        slot = (slot + 1) & mask;
    return slot;
}

inline quint32 TermRecognizer::Child(quint32 parent, quint64 hash) const
{
    if (!MayHave(SlotKey(parent, hash)))
        return 0;
    return m_edges[size_t(SlotOf(parent, hash))].Child;
}

quint32 TermRecognizer::ChildOrNew(quint32 parent, quint64 hash)
{
    qsizetype slot = SlotOf(parent, hash);
    if (m_edges[size_t(slot)].Child != 0)
        return m_edges[size_t(slot)].Child;
    // Kept at most half full, so that a miss ends after a probe or two.
    if (2 * (m_edgeCount + 1) > qsizetype(m_edges.size())) {
        Grow();
        slot = SlotOf(parent, hash);
    }
    const auto child = quint32(m_entryOfNode.size());
    m_entryOfNode.push_back(-1);
    m_edges[size_t(slot)] = Edge{hash, parent, child};
    Remember(SlotKey(parent, hash));
    ++m_edgeCount;
    return child;
}

void TermRecognizer::Grow()
{
    std::vector<Edge> old(m_edges.size() * 2);
    old.swap(m_edges);
    m_filter.assign(m_edges.size() / 16, 0);
    for (const Edge &edge : old) {
        if (edge.Child == 0)
            continue;
        m_edges[size_t(SlotOf(edge.Parent, edge.Hash))] = edge;
        Remember(SlotKey(edge.Parent, edge.Hash));
    }
}

void TermRecognizer::Reserve(qsizetype terms)
{
    // About two steps a term, and the table at most half full.
    qsizetype capacity = kFirstSlots;
    while (capacity < 2 * (m_edgeCount + 2 * terms))
        capacity *= 2;
    if (m_edgeCount == 0 && qsizetype(m_edges.size()) < capacity) {
        m_edges.assign(size_t(capacity), Edge{});
        m_filter.assign(size_t(capacity / 16), 0);
    }
    while (qsizetype(m_edges.size()) < capacity)
        Grow();
    m_entries.reserve(m_entries.size() + size_t(terms));
    m_entryOfNode.reserve(m_entryOfNode.size() + size_t(2 * terms));
}

bool TermRecognizer::Add(QStringView term, qint32 tag, bool excluded)
{
    // Composed letters, as documents hold them: "é" as one character. Below
    // the combining marks every text is composed already.
    const bool composed = std::all_of(term.begin(), term.end(), [](QChar c) { return c.unicode() < 0x300; });
    const QString normalized = composed ? QString() : term.toString().normalized(QString::NormalizationForm_C);
    // A term begins and ends with a word: blanks and marks around it are no part of it.
    quint32 node = 0;
    quint64 gap = kTermHashSeed;
    TermTokenCursor cursor(composed ? term : QStringView(normalized));
    for (TermToken token; cursor.Next(token);) {
        if (!token.Word) {
            if (node != 0)
                gap = Combine(gap, token.Hash);
            continue;
        }
        node = ChildOrNew(node, StepKey(gap, token.Hash));
        gap = kTermHashSeed;
    }
    if (node == 0)
        return false;
    qint32 &entryIndex = m_entryOfNode[node];
    if (entryIndex < 0) {
        entryIndex = qint32(m_entries.size());
        m_entries.emplace_back();
        ++m_terms;
    }
    Entry &entry = m_entries[size_t(entryIndex)];
    QList<qint32> &list = excluded ? entry.Excluded : entry.Tags;
    if (!list.contains(tag))
        list << tag;
    return true;
}

TermRecognizer::Walk TermRecognizer::Longest(quint32 node, const TermToken &first, const TermTokenCursor &after) const
{
    Walk walk{m_entryOfNode[node], first.End, after, {}, false};
    TermTokenCursor ahead = after;
    quint64 gap = kTermHashSeed;
    bool firstStep = true;
    for (TermToken next; ahead.Next(next);) {
        if (!next.Word) {
            gap = Combine(gap, next.Hash);
            continue;
        }
        node = Child(node, StepKey(gap, next.Hash));
        gap = kTermHashSeed;
        if (node == 0) {
            // The word that ends a one-word walk is the next place to try: no
            // need to read it again.
            if (firstStep) {
                walk.Following = next;
                walk.FollowingKnown = true;
                walk.Resume = ahead;
            }
            return walk;
        }
        firstStep = false;
        if (m_entryOfNode[node] >= 0) {
            walk.Entry = m_entryOfNode[node];
            walk.End = next.End;
            walk.Resume = ahead;
        }
    }
    if (firstStep)
        walk.Resume = ahead;
    return walk;
}

QList<TermRecognizer::Match> TermRecognizer::Recognize(QStringView text) const
{
    QList<Match> matches;
    TermTokenCursor cursor(text);
    TermToken token;
    bool known = false;
    while (known || cursor.Next(token)) {
        known = false;
        if (!token.Word)
            continue;
        const quint32 node = Child(0, token.Hash);
        if (node == 0)
            continue;
        // The longest term that starts here; the search goes on after it.
        const Walk walk = Longest(node, token, cursor);
        if (walk.Entry >= 0) {
            const Entry &entry = m_entries[size_t(walk.Entry)];
            const QList<qint32> tags = entry.Excluded.isEmpty() ? entry.Tags : Without(entry.Tags, entry.Excluded);
            if (!tags.isEmpty())
                matches.append(Match{token.Start, walk.End - token.Start, tags});
        }
        cursor = walk.Resume;
        if (walk.FollowingKnown) {
            token = walk.Following;
            known = true;
        }
    }
    return matches;
}

} // namespace qv::biz
