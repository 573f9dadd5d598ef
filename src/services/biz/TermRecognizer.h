#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include "TermTokens.h"

#include <vector>

namespace qv::biz {

// Finds the terms of smart tags in a text.
//
// A term is recognized as whole words (a term "York" is not found in
// "Yorkshire"), without regard to case in any script, with every run of
// blanks alike ("New York" is found across a line break) and every kind of
// apostrophe alike ("O'Brien" is "O’Brien"). Terms that differ only so are
// one term. A smart tag's excluded terms are spans it never recognizes: an
// excluded "Paris Hilton" keeps its "Paris" from being recognized there.
//
// The terms form a tree of words, so that the time of Recognize follows the
// length of the text, not the number of terms; at each place the longest
// term wins and the search goes on after it. Built once, then only read:
// Recognize may run on several threads at once.
class TermRecognizer
{
public:
    // A recognized span of the text and the smart tags whose term it is.
    struct Match
    {
        qsizetype Start = 0;
        qsizetype Length = 0;
        QList<qint32> Tags;

        bool operator==(const Match &) const = default;
    };

    TermRecognizer();

    // Makes room for this many more terms, so that adding them does not
    // rebuild the tables as they grow.
    void Reserve(qsizetype terms);
    // Adds a term of the smart tag `tag`, or one it must not recognize.
    // Returns false for a text without a word, which can match nothing.
    bool Add(QStringView term, qint32 tag, bool excluded = false);
    // The distinct terms added (excluded ones included).
    qsizetype TermCount() const { return m_terms; }

    // Every recognized span of the text, in order, none overlapping.
    QList<Match> Recognize(QStringView text) const;

private:
    struct Edge
    {
        quint64 Hash = 0;
        quint32 Parent = 0;
        quint32 Child = 0; // 0: the slot is free (the root is nobody's child)
    };
    struct Entry
    {
        QList<qint32> Tags;
        QList<qint32> Excluded;
    };

    // The longest term from a word on, and where the search goes on.
    struct Walk
    {
        qint32 Entry = -1;
        qsizetype End = 0;
        TermTokenCursor Resume;
        TermToken Following;
        bool FollowingKnown = false;
    };
    Walk Longest(quint32 node, const TermToken &first, const TermTokenCursor &after) const;

    quint32 Child(quint32 parent, quint64 hash) const;
    quint32 ChildOrNew(quint32 parent, quint64 hash);
    void Grow();
    qsizetype SlotOf(quint32 parent, quint64 hash) const;
    bool MayHave(quint64 key) const;
    void Remember(quint64 key);

    std::vector<Edge> m_edges; // open addressing, a power of two long
    qsizetype m_edgeCount = 0;
    // A bit per few edges, small enough to stay in the cache: most words of a
    // text follow no word of a term, and a clear bit says so without a
    // visit to the far larger table.
    std::vector<quint64> m_filter;
    std::vector<qint32> m_entryOfNode; // -1: no term ends at the node
    std::vector<Entry> m_entries;
    qsizetype m_terms = 0;
};

} // namespace qv::biz
