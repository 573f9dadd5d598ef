#pragma once

#include "qvuser/automation/ComError.h"
#include "qvuser/automation/Variant.h"

#include <QHash>
#include <QList>
#include <QString>

namespace qv {

// The language's Collection: items counted from 1, each with an optional key
// that is found without regard to case. Positions given to Add, Item and
// Remove are either a 1-based index (a number) or a key (a text).
template<typename T>
class BasicCollection
{
public:
    using const_iterator = typename QList<T>::const_iterator;

    // Adds the item at the end, or before / after the given position (not
    // both). Raises 457 for a key that is present already, 5 for a bad
    // position or for both positions given.
    void Add(const T &item, const QString &key = {}, const Variant &before = {},
             const Variant &after = {})
    {
        if (!before.IsEmpty() && !after.IsEmpty())
            throw RuntimeError(vberr::InvalidCall);
        const QString folded = key.toCaseFolded();
        if (!key.isEmpty() && Index().contains(folded))
            throw RuntimeError(vberr::DuplicateKey);
        qsizetype at = m_items.size();
        if (!before.IsEmpty())
            at = Position(before);
        else if (!after.IsEmpty())
            at = Position(after) + 1;
        m_items.insert(at, item);
        m_keys.insert(at, folded);
        if (at == m_items.size() - 1 && !m_indexDirty) {
            if (!folded.isEmpty())
                m_index.insert(folded, at);
        } else {
            m_indexDirty = true;
        }
    }

    const T &Item(const Variant &position) const { return m_items[Position(position)]; }
    const T &Item(int index) const { return Item(Variant(qint32(index))); }
    const T &Item(const QString &key) const { return Item(Variant(key)); }
    bool Contains(const QString &key) const { return Index().contains(key.toCaseFolded()); }

    void Remove(const Variant &position)
    {
        const qsizetype at = Position(position);
        m_items.removeAt(at);
        m_keys.removeAt(at);
        m_indexDirty = true;
    }

    int Count() const { return int(m_items.size()); }
    const_iterator begin() const { return m_items.cbegin(); }
    const_iterator end() const { return m_items.cend(); }

private:
    // The 0-based place of a 1-based index or of a key; raises 5 when there is none.
    qsizetype Position(const Variant &position) const
    {
        if (const QString *key = position.Get<QString>()) {
            const auto it = Index().constFind(key->toCaseFolded());
            if (key->isEmpty() || it == Index().cend())
                throw RuntimeError(vberr::InvalidCall);
            return *it;
        }
        if (!position.IsNumeric())
            throw RuntimeError(vberr::InvalidCall);
        const qint32 index = position.ToLong();
        if (index < 1 || index > m_items.size())
            throw RuntimeError(vberr::InvalidCall);
        return index - 1;
    }

    const QHash<QString, qsizetype> &Index() const
    {
        if (m_indexDirty) {
            m_index.clear();
            for (qsizetype i = 0; i < m_keys.size(); ++i) {
                if (!m_keys[i].isEmpty())
                    m_index.insert(m_keys[i], i);
            }
            m_indexDirty = false;
        }
        return m_index;
    }

    QList<T> m_items;
    QList<QString> m_keys;
    mutable QHash<QString, qsizetype> m_index;
    mutable bool m_indexDirty = false;
};

using Collection = BasicCollection<Variant>;

} // namespace qv
