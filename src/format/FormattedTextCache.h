#pragma once

#include <QHash>
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
    struct Slot
    {
        QString format;
        qint32 kind = 0;
        QHash<QString, QString> texts;
    };
    Slot *SlotFor(const QString &format, qint32 kind) const;

    mutable std::vector<Slot> m_slots;
    mutable size_t m_last = 0;
    size_t m_next = 0;
};

} // namespace qv
