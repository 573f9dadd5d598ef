#include "FormattedTextCache.h"

namespace qv {

FormattedTextCache::Slot *FormattedTextCache::SlotFor(const QString &format, qint32 kind) const
{
    // Cells are asked for column by column or row by row; the last slot is the likely one.
    if (m_last < m_slots.size() && m_slots[m_last].kind == kind && m_slots[m_last].format == format)
        return &m_slots[m_last];
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].kind == kind && m_slots[i].format == format) {
            m_last = i;
            return &m_slots[i];
        }
    }
    return nullptr;
}

const QString *FormattedTextCache::Find(const QString &format, qint32 kind, const QString &data) const
{
    const Slot *slot = SlotFor(format, kind);
    if (!slot)
        return nullptr;
    const auto it = slot->texts.constFind(data);
    return it == slot->texts.constEnd() ? nullptr : &it.value();
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
        slot->texts.clear();
        m_last = m_next;
        m_next = (m_next + 1) % kMaxSlots;
    }
    if (slot->texts.size() >= kMaxTexts)
        slot->texts.clear();
    slot->texts.insert(data, text);
}

void FormattedTextCache::Clear()
{
    m_slots.clear();
    m_last = 0;
    m_next = 0;
}

} // namespace qv
