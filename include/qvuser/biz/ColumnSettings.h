#pragma once

#include "qvuser/automation/Variant.h"
#include "qvuser/scripting/Collection.h"

#include <QString>

#include <memory>

namespace qv::config {
class ConfigStore;
}

namespace qv::biz {

// How the user arranged one column of the data viewer. The viewer and the
// settings file reach the properties by name as well (Property/SetProperty).
class ColumnSetting
{
public:
    float ColumnWidth = 0;
    bool Visible = true;
    qint32 Sorted = -1;   // -1 not sorted, 0 ascending, 1 descending
    qint32 Totalled = 0;  // 0 cannot be totalled, 1 can be, 2 is
    bool Linked = false;  // part of the key that finds chosen rows again
    qint32 ColumnType = 0;
    qint32 ColumnIndex = 0;
    QString Caption;
    QString ViewFormat;

    // The names Property and SetProperty know, in the order they are saved.
    static const QStringList &PropertyNames();
    // Raises 438 for a name that is no property (compared without regard to case).
    Variant Property(const QString &name) const;
    // Raises 438 for an unknown name and 13 for a value of the wrong kind.
    void SetProperty(const QString &name, const Variant &value);
};

// The column settings of a viewer, keyed by the column's caption, in the
// order the user sees the columns.
class ColumnSettings
{
public:
    // Raises 457 when the key is taken.
    void Add(const std::shared_ptr<ColumnSetting> &setting, const QString &key);
    // nullptr when no setting has the key (compared without regard to case).
    std::shared_ptr<ColumnSetting> Item(const QString &key) const;
    // 1-based; nullptr outside 1..Count.
    std::shared_ptr<ColumnSetting> At(int index) const;
    int Count() const { return m_items.Count(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    BasicCollection<std::shared_ptr<ColumnSetting>> m_items;
};

// A typed list of configuration stores, counted from 1 with 16-bit indexes.
class DVCSCollection
{
public:
    using Store = std::shared_ptr<config::ConfigStore>;

    // Appends the store without a key and hands it back.
    Store Add(const Store &store);
    qint16 Count() const { return qint16(m_items.Count()); }
    // Raise 5 for an index outside 1..Count.
    Store Item(qint16 index) const { return m_items.Item(int(index)); }
    void Remove(qint16 index) { m_items.Remove(Variant(qint32(index))); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    BasicCollection<Store> m_items;
};

} // namespace qv::biz
