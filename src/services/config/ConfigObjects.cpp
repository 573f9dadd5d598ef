#include "ConfigObjects.h"

#include "ConfigStore.h"

#include "automation/ComError.h"

#include <QUuid>

#include <algorithm>

namespace qv::config {
namespace {

template<typename Items, typename Pred>
auto FindIn(const Items &items, Pred pred) -> typename Items::value_type
{
    const auto it = std::find_if(items.begin(), items.end(), pred);
    return it == items.end() ? nullptr : *it;
}

bool SameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

QString NewKeyText()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

const Condition &Field::AddCondition(const QString &value, const QString &conjunction, const QString &operatorText)
{
    Conditions.push_back({value, conjunction, operatorText, m_ids->Next()});
    return Conditions.back();
}

const Condition *Field::ConditionById(qint32 id) const
{
    const auto it = std::find_if(Conditions.begin(), Conditions.end(), [&](const auto &c) { return c.Id == id; });
    return it == Conditions.end() ? nullptr : &*it;
}

bool Field::RemoveCondition(qint32 id)
{
    return std::erase_if(Conditions, [&](const auto &c) { return c.Id == id; }) > 0;
}

std::shared_ptr<Field> Fields::Item(const QString &name) const
{
    return FindIn(m_items, [&](const auto &f) { return SameName(f->Name, name); });
}

std::shared_ptr<Field> Fields::ItemById(qint32 id) const
{
    return FindIn(m_items, [&](const auto &f) { return f->Id() == id; });
}

std::shared_ptr<Field> Fields::ItemByReference(qint32 dataViewId, qint32 reference) const
{
    return dataViewId == m_viewId ? ItemById(reference) : nullptr;
}

std::shared_ptr<Field> Fields::FieldOfCondition(qint32 conditionId) const
{
    return FindIn(m_items, [&](const auto &f) { return f->ConditionById(conditionId) != nullptr; });
}

std::shared_ptr<Field> Fields::At(int position) const
{
    return position >= 1 && position <= Count() ? m_items[size_t(position - 1)] : nullptr;
}

std::shared_ptr<Field> Fields::Add(const QString &name)
{
    auto field = std::make_shared<Field>(m_ids->Next(), m_ids);
    field->Name = name;
    field->DisplayName = name;
    m_items.push_back(field);
    return field;
}

void Fields::Remove(const QString &name)
{
    std::erase_if(m_items, [&](const auto &f) { return SameName(f->Name, name); });
}

void Fields::Move(int from, int to)
{
    if (from < 1 || from > Count() || to < 1 || to > Count() || from == to)
        return;
    auto field = m_items[size_t(from - 1)];
    m_items.erase(m_items.begin() + (from - 1));
    m_items.insert(m_items.begin() + (to - 1), field);
}

bool DataView::InUse() const
{
    const auto store = m_store.lock();
    return store && store->DataViewInUse(m_id);
}

std::shared_ptr<DataView> DataView::CopyInto(const std::shared_ptr<IdSource> &ids,
                                             std::weak_ptr<ConfigStore> store) const
{
    auto copy = std::make_shared<DataView>(ids->Next(), ids, std::move(store));
    copy->Name = Name;
    copy->Description = Description;
    copy->DataItemName = DataItemName;
    copy->DataItemKind = DataItemKind;
    copy->Source = Source;
    copy->Extras = Extras;
    for (const auto &field : Fields) {
        auto f = copy->Fields.Add(field->Name);
        const qint32 id = f->Id();
        *f = *field;
        f->m_id = id;
        f->m_ids = ids;
        for (Condition &c : f->Conditions)
            c.Id = ids->Next();
    }
    return copy;
}

std::shared_ptr<DataView> DataViews::Item(qint32 id) const
{
    return FindIn(m_items, [&](const auto &v) { return v->Id() == id; });
}

std::shared_ptr<DataView> DataViews::ItemByName(const QString &name) const
{
    return FindIn(m_items, [&](const auto &v) { return SameName(v->Name, name); });
}

std::shared_ptr<DataView> DataViews::AddBlank()
{
    auto view = std::make_shared<DataView>(m_ids->Next(), m_ids, m_store);
    m_items.push_back(view);
    return view;
}

std::shared_ptr<DataView> DataViews::Copy(qint32 sourceId, const QString &newName)
{
    const auto source = Item(sourceId);
    if (!source)
        return nullptr;
    auto copy = source->CopyInto(m_ids, m_store);
    copy->Name = newName;
    m_items.push_back(copy);
    return copy;
}

std::shared_ptr<DataView> DataViews::AddFrom(const DataView &other)
{
    if (ItemByName(other.Name))
        throw ComError(kErrorNotAccepted, QString::fromLatin1(kConfigSource),
                       QStringLiteral("A data view named \"%1\" is already in this configuration.").arg(other.Name));
    auto copy = other.CopyInto(m_ids, m_store);
    m_items.push_back(copy);
    return copy;
}

void DataViews::Remove(qint32 id)
{
    std::erase_if(m_items, [&](const auto &v) { return v->Id() == id; });
}

QString TermList::Item(int position) const
{
    return position >= 1 && position <= Count() ? m_terms[position - 1] : QString();
}

void TermList::Remove(int position)
{
    if (position >= 1 && position <= Count())
        m_terms.removeAt(position - 1);
}

std::shared_ptr<Action> SmartTag::ActionAt(int position) const
{
    return position >= 1 && position <= int(Actions.size()) ? Actions[size_t(position - 1)] : nullptr;
}

std::shared_ptr<Action> SmartTag::ActionByKey(const QString &key) const
{
    return FindIn(Actions, [&](const auto &a) { return a->Key() == key; });
}

std::shared_ptr<DataView> Recognizer::DataView() const
{
    const auto store = m_store.lock();
    return store && DataViewId != 0 ? store->DataViewCollection().Item(DataViewId) : nullptr;
}

void Recognizer::SetDataView(const std::shared_ptr<class DataView> &view)
{
    const qint32 id = view ? view->Id() : 0;
    if (id == DataViewId)
        return;
    DataViewId = id;
    FieldName.clear();
    FieldReference = 0;
}

void Recognizer::SetFieldName(const QString &name)
{
    FieldName = name;
    const auto view = DataView();
    const auto field = view ? view->Fields.Item(name) : nullptr;
    FieldReference = field ? field->Id() : 0;
}

std::shared_ptr<Field> Recognizer::Field() const
{
    const auto view = DataView();
    if (!view)
        return nullptr;
    if (auto field = view->Fields.ItemByReference(DataViewId, FieldReference))
        return field;
    return FieldName.isEmpty() ? nullptr : view->Fields.Item(FieldName);
}

std::shared_ptr<Action> SmartTag::AddAction()
{
    auto action = std::make_shared<Action>(m_ids->Next());
    Actions.push_back(action);
    return action;
}

void SmartTag::RemoveAction(int position)
{
    if (position >= 1 && position <= int(Actions.size()))
        Actions.erase(Actions.begin() + (position - 1));
}

std::shared_ptr<SmartTag> SmartTagSet::Item(qint32 id) const
{
    return FindIn(m_tags, [&](const auto &t) { return t->Id() == id; });
}

std::shared_ptr<SmartTag> SmartTagSet::ItemByName(const QString &name) const
{
    return FindIn(m_tags, [&](const auto &t) { return SameName(t->Name, name); });
}

std::shared_ptr<SmartTag> SmartTagSet::AddNew(const QString &key, int /*flags*/)
{
    auto tag = std::make_shared<SmartTag>(m_ids->Next(), m_ids, m_store);
    tag->Key = key.isEmpty() ? NewKeyText() : key;
    m_tags.push_back(tag);
    return tag;
}

void SmartTagSet::Remove(qint32 id)
{
    std::erase_if(m_tags, [&](const auto &t) { return t->Id() == id; });
}

} // namespace qv::config
