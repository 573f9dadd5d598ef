#include "ColumnSettings.h"

#include "automation/ComError.h"

namespace qv::biz {
namespace {

enum class Prop { Width, Visible, Sorted, Totalled, Linked, Type, Index, Caption, Format, None };

Prop Find(const QString &name)
{
    const QStringList &names = ColumnSetting::PropertyNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return Prop(i);
    }
    throw RuntimeError(vberr::NotSupported);
}

bool BoolOf(const Variant &value)
{
    if (value.IsNull() || value.IsEmpty())
        throw RuntimeError(vberr::TypeMismatch);
    return value.ToBool();
}

} // namespace

const QStringList &ColumnSetting::PropertyNames()
{
    static const QStringList names{
        QStringLiteral("ColumnWidth"), QStringLiteral("Visible"),     QStringLiteral("Sorted"),
        QStringLiteral("Totalled"),    QStringLiteral("Linked"),      QStringLiteral("ColumnType"),
        QStringLiteral("ColumnIndex"), QStringLiteral("Caption"),     QStringLiteral("ViewFormat")};
    return names;
}

Variant ColumnSetting::Property(const QString &name) const
{
    switch (Find(name)) {
    case Prop::Width: return Variant(double(ColumnWidth));
    case Prop::Visible: return Variant(Visible);
    case Prop::Sorted: return Variant(Sorted);
    case Prop::Totalled: return Variant(Totalled);
    case Prop::Linked: return Variant(Linked);
    case Prop::Type: return Variant(ColumnType);
    case Prop::Index: return Variant(ColumnIndex);
    case Prop::Caption: return Variant(Caption);
    case Prop::Format: return Variant(ViewFormat);
    case Prop::None: break;
    }
    throw RuntimeError(vberr::NotSupported);
}

void ColumnSetting::SetProperty(const QString &name, const Variant &value)
{
    switch (Find(name)) {
    case Prop::Width: ColumnWidth = float(value.ToDouble()); return;
    case Prop::Visible: Visible = BoolOf(value); return;
    case Prop::Sorted: Sorted = value.ToLong(); return;
    case Prop::Totalled: Totalled = value.ToLong(); return;
    case Prop::Linked: Linked = BoolOf(value); return;
    case Prop::Type: ColumnType = value.ToLong(); return;
    case Prop::Index: ColumnIndex = value.ToLong(); return;
    case Prop::Caption: Caption = value.CStr(); return;
    case Prop::Format: ViewFormat = value.CStr(); return;
    case Prop::None: break;
    }
}

void ColumnSettings::Add(const std::shared_ptr<ColumnSetting> &setting, const QString &key)
{
    m_items.Add(setting, key);
}

std::shared_ptr<ColumnSetting> ColumnSettings::Item(const QString &key) const
{
    return !key.isEmpty() && m_items.Contains(key) ? m_items.Item(key) : nullptr;
}

std::shared_ptr<ColumnSetting> ColumnSettings::At(int index) const
{
    return index >= 1 && index <= Count() ? m_items.Item(index) : nullptr;
}

DVCSCollection::Store DVCSCollection::Add(const Store &store)
{
    m_items.Add(store);
    return store;
}

} // namespace qv::biz
