#pragma once

#include <QString>

#include <vector>

namespace qv {

// Display texts already worked out, per format and field kind. A data viewer
// asks for the same cells again on every repaint and scroll, and a column's
// values repeat, so a cell is formatted once. Bounded: a slot forgets its
// texts when it grows past kMaxTexts, and the least recently added slot goes
// when a new format comes.
class FormattedTextCache
{
public:
    static constexpr qsizetype kMaxTexts = 8192;
    static constexpr size_t kMaxSlots = 16;

    // The remembered text, or nullptr.
    const QString *Find(const QString &format, qint32 kind, const QString &data) const;
    void Insert(const QString &format, qint32 kind, const QString &data, const QString &text);
    void Clear();

private:
    // One remembered cell; a zero hash marks a free place.
    struct Entry
    {
        size_t hash = 0;
        QString data;
        QString text;
    };
    // An open-addressed table: a lookup is one hash of the cell text and, as
    // a rule, one comparison, which is what makes a repaint cheap.
    struct Slot
    {
        QString format;
        qint32 kind = 0;
        std::vector<Entry> entries; // a power of two in size, at most half full
        qsizetype used = 0;
    };
    Slot *SlotFor(const QString &format, qint32 kind) const;
    // The entry holding `data`, or the free place where it would go.
    static const Entry *Lookup(const Slot &slot, const QString &data, size_t hash);
    static void Grow(Slot &slot);

    mutable std::vector<Slot> m_slots;
    mutable size_t m_last = 0;
    size_t m_next = 0;
};

} // namespace qv
