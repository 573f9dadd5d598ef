#pragma once

#include "qvuser/automation/Variant.h"

#include <QHash>
#include <QList>

namespace qv {

// An insertion-ordered map from keys to values with the scripting runtime's
// rules: keys of different kinds are different keys (1 and "1"), numeric keys
// of equal value are one key, and in text mode texts compare without case.
class Dictionary
{
public:
    enum class CompareMode { Binary = 0, Text = 1 };

    // Raises 457 when the key is present already.
    void Add(const Variant &key, const Variant &item);
    bool Exists(const Variant &key) const;
    // The item of the key; Empty when the key is absent (nothing is added).
    Variant Item(const Variant &key) const;
    // Sets the item of the key, adding the key when it is absent.
    void SetItem(const Variant &key, const Variant &item);
    // Raises 32811 when the key is absent.
    void Remove(const Variant &key);
    void RemoveAll();
    int Count() const { return int(m_keys.size()); }
    QList<Variant> Keys() const { return m_keys; }
    QList<Variant> Items() const { return m_items; }

    CompareMode Compare() const { return m_mode; }
    // Raises 5 unless the dictionary is empty, as the runtime does.
    void SetCompareMode(CompareMode mode);

private:
    QString LookupKey(const Variant &key) const;
    void Reindex();

    CompareMode m_mode = CompareMode::Binary;
    QList<Variant> m_keys;
    QList<Variant> m_items;
    QHash<QString, qsizetype> m_index;
};

} // namespace qv
