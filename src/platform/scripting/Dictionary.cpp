#include "Dictionary.h"

#include "automation/ComError.h"

namespace qv {

QString Dictionary::LookupKey(const Variant &key) const
{
    if (const QString *text = key.Get<QString>())
        return QLatin1String("s:") + (m_mode == CompareMode::Text ? text->toCaseFolded() : *text);
    if (key.IsEmpty())
        return QStringLiteral("e:");
    if (key.IsNull())
        return QStringLiteral("n:");
    if (const DateValue *date = key.Get<DateValue>())
        return QLatin1String("d:") + QString::number(date->Days, 'g', 17);
    if (const bool *b = key.Get<bool>())
        return QLatin1String("b:") + QLatin1Char(*b ? '1' : '0');
    return QLatin1String("x:") + QString::number(key.ToDouble(), 'g', 17);
}

void Dictionary::Reindex()
{
    m_index.clear();
    for (qsizetype i = 0; i < m_keys.size(); ++i)
        m_index.insert(LookupKey(m_keys[i]), i);
}

void Dictionary::Add(const Variant &key, const Variant &item)
{
    const QString lookup = LookupKey(key);
    if (m_index.contains(lookup))
        throw RuntimeError(vberr::DuplicateKey);
    m_index.insert(lookup, m_keys.size());
    m_keys.append(key);
    m_items.append(item);
}

bool Dictionary::Exists(const Variant &key) const
{
    return m_index.contains(LookupKey(key));
}

Variant Dictionary::Item(const Variant &key) const
{
    const auto it = m_index.constFind(LookupKey(key));
    return it == m_index.cend() ? Variant() : m_items[*it];
}

void Dictionary::SetItem(const Variant &key, const Variant &item)
{
    const auto it = m_index.constFind(LookupKey(key));
    if (it == m_index.cend()) {
        Add(key, item);
        return;
    }
    m_items[*it] = item;
}

void Dictionary::Remove(const Variant &key)
{
    const auto it = m_index.constFind(LookupKey(key));
    if (it == m_index.cend())
        throw RuntimeError(vberr::ElementNotFound);
    const qsizetype at = *it;
    m_keys.removeAt(at);
    m_items.removeAt(at);
    Reindex();
}

void Dictionary::RemoveAll()
{
    m_keys.clear();
    m_items.clear();
    m_index.clear();
}

void Dictionary::SetCompareMode(CompareMode mode)
{
    if (!m_keys.isEmpty())
        throw RuntimeError(vberr::InvalidCall);
    m_mode = mode;
}

} // namespace qv
