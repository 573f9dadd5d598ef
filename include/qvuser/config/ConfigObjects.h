#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace qv::ado {
class Recordset;
}

namespace qv::config {

class ConfigStore;

// What a reader did not know: attributes and whole child elements, kept as
// they were so that a file written by a newer version survives a save here.
struct XmlExtraAttribute
{
    QString name; // qualified, "x:flag"
    QString value;
    QString namespaceUri; // what the prefix stood for, declared again on save
};

struct XmlExtras
{
    QList<XmlExtraAttribute> attributes;
    QStringList elements; // each a complete element in XML text, declaring every prefix it uses
};

// Hands out the identifiers of one store; they never change for its life.
class IdSource
{
public:
    qint32 Next() { return m_next++; }
    qint32 Peek() const { return m_next; }
    // Keeps the next identifier above one read from a file.
    void Saw(qint32 id) { m_next = std::max(m_next, id + 1); }

private:
    qint32 m_next = 1;
};

struct DataSource
{
    qint32 Kind = 0; // 1 Outlook, 2/3 ODBC, 4 Excel, 5 ODBC text, 6 Access, 7 file DSN, 8 HTML
    QString TypeName;
    QString ConnectionText;
    XmlExtras Extras;
};

// One filter condition of a field. The identifier lets a caller find a
// condition it added (a custom filter) again among all of a view's fields.
struct Condition
{
    QString Value;
    QString Conjunction = QStringLiteral("AND");
    QString Operator;
    qint32 Id = 0;
};

class Field
{
public:
    Field(qint32 id, std::shared_ptr<IdSource> ids) : m_id(id), m_ids(std::move(ids)) {}
    qint32 Id() const { return m_id; }

    QString Name;
    QString DisplayName;
    bool Displayed = true;
    QString ViewFormat;
    qint32 DataKind = 0; // the field kind of the value formatting
    int AdoType = 0;
    std::vector<Condition> Conditions;
    XmlExtras Extras;

    void ClearConditions() { Conditions.clear(); }
    // Adds a condition under a new identifier of the store and answers it.
    const Condition &AddCondition(const QString &value, const QString &conjunction, const QString &operatorText);
    // nullptr when no condition of this field has the identifier.
    const Condition *ConditionById(qint32 id) const;
    // False when no condition of this field has the identifier.
    bool RemoveCondition(qint32 id);

private:
    friend class ConfigReader;
    friend class DataView;
    qint32 m_id;
    std::shared_ptr<IdSource> m_ids;
};

// The fields of a data view, in display order.
class Fields
{
public:
    Fields(std::shared_ptr<IdSource> ids, qint32 viewId) : m_ids(std::move(ids)), m_viewId(viewId) {}
    int Count() const { return int(m_items.size()); }
    // By name without regard to case; nullptr when absent.
    std::shared_ptr<Field> Item(const QString &name) const;
    std::shared_ptr<Field> ItemById(qint32 id) const;
    // The field a recognizer refers to: its data view and field reference;
    // nullptr when the reference names no field of this data view.
    std::shared_ptr<Field> ItemByReference(qint32 dataViewId, qint32 reference) const;
    // The field holding the condition `conditionId`, or nullptr.
    std::shared_ptr<Field> FieldOfCondition(qint32 conditionId) const;
    // 1-based position.
    std::shared_ptr<Field> At(int position) const;
    std::shared_ptr<Field> Add(const QString &name);
    void Remove(const QString &name);
    // Moves the field at `from` to `to` (1-based positions).
    void Move(int from, int to);
    void Clear() { m_items.clear(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class ConfigReader;
    friend class DataView;
    std::shared_ptr<IdSource> m_ids;
    qint32 m_viewId;
    std::vector<std::shared_ptr<Field>> m_items;
};

// A new unique text for keys that must outlive one store (data views, smart tags).
QString NewKeyText();

class DataView
{
public:
    // `textKey` empty: a new one.
    DataView(qint32 id, std::shared_ptr<IdSource> ids, std::weak_ptr<ConfigStore> store, QString textKey = {})
        : Fields(std::move(ids), id), m_id(id), m_textKey(textKey.isEmpty() ? NewKeyText() : std::move(textKey)),
          m_store(std::move(store)) {}
    qint32 Id() const { return m_id; }
    // Names this data view among those of every store (saved settings are
    // kept under it); saved with the file, new for a copy.
    const QString &TextKey() const { return m_textKey; }

    QString Name;
    QString Description;
    QString DataItemName;
    qint32 DataItemKind = 2; // 2 a table, query or view; 4 an Outlook folder
    class Fields Fields;
    DataSource Source;
    XmlExtras Extras;

    // The rows fetched last (nullptr until fetched); never saved.
    std::shared_ptr<ado::Recordset> Recordset;
    void DropRows() { Recordset.reset(); }

    // True when a smart tag of the store recognizes from it or acts on it.
    bool InUse() const;

    // A copy of everything but the identifiers, which come from `ids`.
    std::shared_ptr<DataView> CopyInto(const std::shared_ptr<IdSource> &ids, std::weak_ptr<ConfigStore> store) const;

private:
    friend class ConfigReader;
    qint32 m_id;
    QString m_textKey;
    std::weak_ptr<ConfigStore> m_store;
};

class DataViews
{
public:
    DataViews(std::shared_ptr<IdSource> ids, std::weak_ptr<ConfigStore> store)
        : m_ids(std::move(ids)), m_store(std::move(store)) {}
    int Count() const { return int(m_items.size()); }
    std::shared_ptr<DataView> Item(qint32 id) const;
    // By name without regard to case; nullptr when absent.
    std::shared_ptr<DataView> ItemByName(const QString &name) const;
    std::shared_ptr<DataView> AddBlank();
    // A copy of the data view `sourceId` named `newName`; nullptr when there is no such view.
    std::shared_ptr<DataView> Copy(qint32 sourceId, const QString &newName);
    // A copy of a data view of another store. Raises 0x80040206 when a data
    // view of that name is here already.
    std::shared_ptr<DataView> AddFrom(const DataView &other);
    void Remove(qint32 id);
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class ConfigReader;
    std::shared_ptr<IdSource> m_ids;
    std::weak_ptr<ConfigStore> m_store;
    std::vector<std::shared_ptr<DataView>> m_items;
};

// A list of recognizer terms, 1-based.
class TermList
{
public:
    int Count() const { return int(m_terms.size()); }
    QString Item(int position) const;
    void Add(const QString &term) { m_terms << term; }
    void Remove(int position);
    const QStringList &Terms() const { return m_terms; }

private:
    QStringList m_terms;
};

class Recognizer
{
public:
    explicit Recognizer(std::weak_ptr<ConfigStore> store = {}) : m_store(std::move(store)) {}

    qint32 DataViewId = 0; // 0: the terms alone
    QString FieldName;
    qint32 FieldReference = 0; // the identifier of the field in that data view
    TermList Included;
    TermList Excluded;
    XmlExtras Extras;

    // The data view of the store it recognizes from; nullptr for none.
    std::shared_ptr<class DataView> DataView() const;
    // nullptr recognizes from the terms alone and forgets the field.
    void SetDataView(const std::shared_ptr<class DataView> &view);
    // Names the field of the data view; the reference follows the name (0 when the view lacks it).
    void SetFieldName(const QString &name);
    // The field referred to (by reference, else by name); nullptr when the view lacks it.
    std::shared_ptr<class Field> Field() const;

private:
    std::weak_ptr<ConfigStore> m_store;
};

class Action
{
public:
    explicit Action(qint32 id) : m_id(id) {}
    qint32 Id() const { return m_id; }
    QString Key() const { return QString::number(m_id); }

    QString Name;
    QString DisplayText;
    qint32 DataViewId = 0;
    qint32 ActionKind = 2; // 1 insert the data, 2 view it
    qint32 LayoutType = 0;
    QString StyleName;
    XmlExtras Extras;

private:
    friend class ConfigReader;
    qint32 m_id;
};

class SmartTag
{
public:
    SmartTag(qint32 id, std::shared_ptr<IdSource> ids, std::weak_ptr<ConfigStore> store)
        : Recognizer(store), m_id(id), m_ids(std::move(ids)) {}
    qint32 Id() const { return m_id; }

    QString Key; // the unique text it was added under
    QString Name;
    QString Description;
    bool Enabled = true;
    QString Warnings;
    class Recognizer Recognizer;
    std::vector<std::shared_ptr<Action>> Actions;
    XmlExtras Extras;

    // Actions by 1-based position or by key; nullptr when absent.
    std::shared_ptr<Action> ActionAt(int position) const;
    std::shared_ptr<Action> ActionByKey(const QString &key) const;
    std::shared_ptr<Action> AddAction();
    void RemoveAction(int position);

private:
    friend class ConfigReader;
    qint32 m_id;
    std::shared_ptr<IdSource> m_ids;
};

class SmartTagSet
{
public:
    SmartTagSet(qint32 id, std::shared_ptr<IdSource> ids, std::weak_ptr<ConfigStore> store)
        : m_id(id), m_ids(std::move(ids)), m_store(std::move(store)) {}
    qint32 Id() const { return m_id; }

    QString Name;
    XmlExtras Extras;

    int Count() const { return int(m_tags.size()); }
    std::shared_ptr<SmartTag> Item(qint32 id) const;
    std::shared_ptr<SmartTag> ItemByName(const QString &name) const;
    // A new smart tag under the unique text `key` (a new one when empty).
    std::shared_ptr<SmartTag> AddNew(const QString &key = {}, int flags = 0);
    void Remove(qint32 id);
    // In display order.
    auto begin() const { return m_tags.begin(); }
    auto end() const { return m_tags.end(); }

private:
    friend class ConfigReader;
    qint32 m_id;
    std::shared_ptr<IdSource> m_ids;
    std::weak_ptr<ConfigStore> m_store;
    std::vector<std::shared_ptr<SmartTag>> m_tags;
};

} // namespace qv::config
