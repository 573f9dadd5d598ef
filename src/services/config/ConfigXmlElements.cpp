// The configuration file's elements: data views with their sources, fields
// and conditions, and smart tag sets with their tags, recognizers and actions.
#include "ConfigXmlReader.h"

namespace qv::config {

void ConfigReader::ReadRoot()
{
    Attributes(m_extras, [&](QStringView name, QStringView value) {
        if (name == u"version")
            return Number(name, value), true;
        if (name == u"name")
            return m_name = value.toString(), true;
        if (name == u"description")
            return m_description = value.toString(), true;
        if (name == u"namespace")
            return m_namespace = value.toString(), true;
        return name == u"nextId";
    });
    while (NextElement()) {
        if (m_xml.name() == u"dataView")
            ReadDataView();
        else if (m_xml.name() == u"smartTagSet")
            ReadSmartTagSet();
        else
            Keep(m_extras);
    }
}

void ConfigReader::ReadDataView()
{
    std::shared_ptr<DataView> view;
    XmlExtras extras;
    QString name, description, item, key;
    qint32 itemKind = 2;
    qint32 id = 0;
    Attributes(extras, [&](QStringView n, QStringView v) {
        if (n == u"id") return id = Identifier(v), true;
        if (n == u"name") return name = v.toString(), true;
        if (n == u"key") return key = v.toString(), true;
        if (n == u"description") return description = v.toString(), true;
        if (n == u"dataItem") return item = v.toString(), true;
        if (n == u"dataItemKind") return itemKind = Number(n, v), true;
        return false;
    });
    if (id == 0)
        Fail(QStringLiteral("a data view has no identifier"));
    view = std::make_shared<DataView>(id, m_ids, m_store.weak_from_this(), key);
    view->Name = name;
    view->Description = description;
    view->DataItemName = item;
    view->DataItemKind = itemKind;
    view->Extras = std::move(extras);
    while (NextElement()) {
        if (m_xml.name() == u"dataSource")
            ReadDataSource(view->Source);
        else if (m_xml.name() == u"field")
            ReadField(*view);
        else
            Keep(view->Extras);
    }
    m_views->m_items.push_back(view);
}

void ConfigReader::ReadDataSource(DataSource &source)
{
    Attributes(source.Extras, [&](QStringView n, QStringView v) {
        if (n == u"kind") return source.Kind = Number(n, v), true;
        if (n == u"typeName") return source.TypeName = v.toString(), true;
        if (n == u"connection") return source.ConnectionText = v.toString(), true;
        return false;
    });
    while (NextElement())
        Keep(source.Extras);
}

void ConfigReader::ReadField(DataView &view)
{
    auto field = std::make_shared<Field>(0, m_ids);
    Attributes(field->Extras, [&](QStringView n, QStringView v) {
        if (n == u"id") return field->m_id = Identifier(v), true;
        if (n == u"name") return field->Name = v.toString(), true;
        if (n == u"displayName") return field->DisplayName = v.toString(), true;
        if (n == u"displayed") return field->Displayed = Flag(v), true;
        if (n == u"format") return field->ViewFormat = v.toString(), true;
        if (n == u"kind") return field->DataKind = Number(n, v), true;
        if (n == u"adoType") return field->AdoType = Number(n, v), true;
        return false;
    });
    if (field->m_id == 0)
        Fail(QStringLiteral("a field has no identifier"));
    while (NextElement()) {
        if (m_xml.name() != u"condition") {
            Keep(field->Extras);
            continue;
        }
        Condition c;
        XmlExtras ignored;
        Attributes(ignored, [&](QStringView n, QStringView v) {
            if (n == u"value") return c.Value = v.toString(), true;
            if (n == u"conjunction") return c.Conjunction = v.toString(), true;
            if (n == u"operator") return c.Operator = v.toString(), true;
            if (n == u"id") return c.Id = Identifier(v), true;
            return false;
        });
        if (c.Id == 0)
            m_unnumbered.emplace_back(field, field->Conditions.size());
        field->Conditions.push_back(c);
        while (NextElement())
            Keep(ignored);
    }
    view.Fields.m_items.push_back(field);
}

void ConfigReader::ReadSmartTagSet()
{
    qint32 id = 0;
    QString name;
    XmlExtras extras;
    Attributes(extras, [&](QStringView n, QStringView v) {
        if (n == u"id") return id = Identifier(v), true;
        if (n == u"name") return name = v.toString(), true;
        return false;
    });
    if (id == 0)
        Fail(QStringLiteral("a smart tag set has no identifier"));
    auto set = std::make_shared<SmartTagSet>(id, m_ids, m_store.weak_from_this());
    set->Name = name;
    set->Extras = std::move(extras);
    while (NextElement()) {
        if (m_xml.name() == u"smartTag")
            ReadSmartTag(*set);
        else
            Keep(set->Extras);
    }
    m_sets.m_sets.push_back(set);
}

void ConfigReader::ReadSmartTag(SmartTagSet &set)
{
    auto tag = std::make_shared<SmartTag>(0, m_ids, m_store.weak_from_this());
    Attributes(tag->Extras, [&](QStringView n, QStringView v) {
        if (n == u"id") return tag->m_id = Identifier(v), true;
        if (n == u"key") return tag->Key = v.toString(), true;
        if (n == u"name") return tag->Name = v.toString(), true;
        if (n == u"description") return tag->Description = v.toString(), true;
        if (n == u"enabled") return tag->Enabled = Flag(v), true;
        if (n == u"warnings") return tag->Warnings = v.toString(), true;
        return false;
    });
    if (tag->m_id == 0)
        Fail(QStringLiteral("a smart tag has no identifier"));
    if (tag->Key.isEmpty())
        tag->Key = NewKeyText();
    while (NextElement()) {
        if (m_xml.name() == u"recognizer")
            ReadRecognizer(tag->Recognizer);
        else if (m_xml.name() == u"action")
            ReadAction(*tag);
        else
            Keep(tag->Extras);
    }
    set.m_tags.push_back(tag);
}

void ConfigReader::ReadRecognizer(Recognizer &r)
{
    Attributes(r.Extras, [&](QStringView n, QStringView v) {
        if (n == u"dataView") return r.DataViewId = Number(n, v), true;
        if (n == u"field") return r.FieldName = v.toString(), true;
        if (n == u"fieldRef") return r.FieldReference = Number(n, v), true;
        return false;
    });
    while (NextElement()) {
        const bool include = m_xml.name() == u"include";
        if (!include && m_xml.name() != u"exclude") {
            Keep(r.Extras);
            continue;
        }
        const QString term = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        --m_depth;
        if (m_xml.hasError())
            Fail(m_xml.errorString());
        (include ? r.Included : r.Excluded).Add(term);
    }
}

void ConfigReader::ReadAction(SmartTag &tag)
{
    auto action = std::make_shared<Action>(0);
    Attributes(action->Extras, [&](QStringView n, QStringView v) {
        if (n == u"id") return action->m_id = Identifier(v), true;
        if (n == u"name") return action->Name = v.toString(), true;
        if (n == u"displayText") return action->DisplayText = v.toString(), true;
        if (n == u"dataView") return action->DataViewId = Number(n, v), true;
        if (n == u"kind") return action->ActionKind = Number(n, v), true;
        if (n == u"layout") return action->LayoutType = Number(n, v), true;
        if (n == u"style") return action->StyleName = v.toString(), true;
        return false;
    });
    if (action->m_id == 0)
        Fail(QStringLiteral("an action has no identifier"));
    while (NextElement())
        Keep(action->Extras);
    tag.Actions.push_back(action);
}

} // namespace qv::config
