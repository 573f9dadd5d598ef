#include "FormattedTextCache.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qv {

namespace {

// A column hands over the same format text for each cell: shared data is
// the same text without comparing it.
bool SameText(const QString &a, const QString &b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// A quick mix of the text's UTF-16 units, eight bytes at a time; never 0,
// which marks a free place. Cell texts are short.
size_t HashOf(const QString &text)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.constData());
    const size_t length = size_t(text.size()) * sizeof(QChar);
    quint64 h = 0x9E3779B97F4A7C15ull ^ length;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        quint64 word;
        memcpy(&word, bytes + i, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    quint64 tail = 0;
    memcpy(&tail, bytes + i, length - i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 29;
    return size_t(h) | 1;
}

} // namespace

FormattedTextCache::Slot *FormattedTextCache::SlotFor(const QString &format, qint32 kind) const
{
    // Cells are asked for column by column or row by row; the last slot is the likely one.
    if (m_last < m_slots.size() && m_slots[m_last].kind == kind && SameText(m_slots[m_last].format, format))
        return &m_slots[m_last];
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].kind == kind && SameText(m_slots[i].format, format)) {
            m_last = i;
            return &m_slots[i];
        }
    }
    return nullptr;
}

const FormattedTextCache::Entry *FormattedTextCache::Lookup(const Slot &slot, const QString &data, size_t hash)
{
    if (slot.entries.empty())
        return nullptr;
    const size_t mask = slot.entries.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Entry &entry = slot.entries[i];
        if (entry.hash == 0)
            return &entry;
        if (entry.hash == hash && entry.data == data)
            return &entry;
    }
}

const QString *FormattedTextCache::Find(const QString &format, qint32 kind, const QString &data) const
{
    const Slot *slot = SlotFor(format, kind);
    if (!slot)
        return nullptr;
    const Entry *entry = Lookup(*slot, data, HashOf(data));
    return entry && entry->hash != 0 ? &entry->text : nullptr;
}

void FormattedTextCache::Insert(const QString &format, qint32 kind, const QString &data, const QString &text)
{
    Slot *slot = SlotFor(format, kind);
    if (!slot) {
        if (m_slots.size() < kMaxSlots) {
            m_slots.emplace_back();
            m_next = m_slots.size() - 1;
        }
        slot = &m_slots[m_next];
        slot->format = format;
        slot->kind = kind;
        slot->entries.clear();
        slot->used = 0;
        m_last = m_next;
        m_next = (m_next + 1) % kMaxSlots;
    }
    if (slot->used >= kMaxTexts) {
        slot->entries.clear();
        slot->used = 0;
    }
    if (qsizetype(slot->entries.size()) < 2 * (slot->used + 1))
        Grow(*slot);
    const size_t hash = HashOf(data);
    Entry &entry = const_cast<Entry &>(*Lookup(*slot, data, hash));
    if (entry.hash == 0)
        ++slot->used;
    entry = {hash, data, text};
}

void FormattedTextCache::Grow(Slot &slot)
{
    std::vector<Entry> old = std::exchange(slot.entries, std::vector<Entry>(std::max<size_t>(64, 2 * slot.entries.size())));
    for (Entry &entry : old) {
        if (entry.hash != 0)
            const_cast<Entry &>(*Lookup(slot, entry.data, entry.hash)) = std::move(entry);
    }
}

void FormattedTextCache::Clear()
{
    m_slots.clear();
    m_last = 0;
    m_next = 0;
}

} // namespace qv
