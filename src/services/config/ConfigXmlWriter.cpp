#include "ConfigStore.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace qv::config {
namespace {

constexpr int kFormatVersion = 1;

class Writer
{
public:
    explicit Writer(QByteArray &out) : m_xml(&out) { m_xml.setAutoFormatting(true); }

    void Store(const ConfigStore &store, const XmlExtras &extras)
    {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("qvconfig"));
        m_xml.writeAttribute(QStringLiteral("version"), QString::number(kFormatVersion));
        m_xml.writeAttribute(QStringLiteral("nextId"), QString::number(store.Ids()->Peek()));
        m_xml.writeAttribute(QStringLiteral("name"), store.Name);
        m_xml.writeAttribute(QStringLiteral("description"), store.Description);
        m_xml.writeAttribute(QStringLiteral("namespace"), store.SmartTagNamespace);
        ExtraAttributes(extras);
        for (const auto &view : store.DataViewCollection())
            View(*view);
        for (const auto &set : store.SmartTagSets())
            Set(*set);
        ExtraElements(extras);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void Attr(const char *name, const QString &value) { m_xml.writeAttribute(QLatin1String(name), value); }
    void Attr(const char *name, qint32 value) { Attr(name, QString::number(value)); }
    void Flag(const char *name, bool value) { Attr(name, value ? QStringLiteral("1") : QStringLiteral("0")); }

    void ExtraAttributes(const XmlExtras &extras)
    {
        for (const auto &[name, value] : extras.attributes)
            m_xml.writeAttribute(name, value);
    }

    // Replays each kept element token by token, so it is written as it was read.
    void ExtraElements(const XmlExtras &extras)
    {
        for (const QString &element : extras.elements) {
            QXmlStreamReader reader(element);
            while (!reader.atEnd()) {
                reader.readNext();
                if (reader.isStartDocument() || reader.isEndDocument() || reader.hasError())
                    continue;
                m_xml.writeCurrentToken(reader);
            }
        }
    }

    void View(const DataView &view)
    {
        m_xml.writeStartElement(QStringLiteral("dataView"));
        Attr("id", view.Id());
        Attr("key", view.TextKey());
        Attr("name", view.Name);
        Attr("description", view.Description);
        Attr("dataItem", view.DataItemName);
        Attr("dataItemKind", view.DataItemKind);
        ExtraAttributes(view.Extras);
        m_xml.writeStartElement(QStringLiteral("dataSource"));
        Attr("kind", view.Source.Kind);
        Attr("typeName", view.Source.TypeName);
        Attr("connection", view.Source.ConnectionText);
        ExtraAttributes(view.Source.Extras);
        ExtraElements(view.Source.Extras);
        m_xml.writeEndElement();
        for (const auto &field : view.Fields)
            FieldElement(*field);
        ExtraElements(view.Extras);
        m_xml.writeEndElement();
    }

    void FieldElement(const Field &field)
    {
        m_xml.writeStartElement(QStringLiteral("field"));
        Attr("id", field.Id());
        Attr("name", field.Name);
        Attr("displayName", field.DisplayName);
        Flag("displayed", field.Displayed);
        Attr("format", field.ViewFormat);
        Attr("kind", field.DataKind);
        Attr("adoType", field.AdoType);
        ExtraAttributes(field.Extras);
        for (const Condition &c : field.Conditions) {
            m_xml.writeEmptyElement(QStringLiteral("condition"));
            Attr("id", c.Id);
            Attr("value", c.Value);
            Attr("conjunction", c.Conjunction);
            Attr("operator", c.Operator);
        }
        ExtraElements(field.Extras);
        m_xml.writeEndElement();
    }

    void Set(const SmartTagSet &set)
    {
        m_xml.writeStartElement(QStringLiteral("smartTagSet"));
        Attr("id", set.Id());
        Attr("name", set.Name);
        ExtraAttributes(set.Extras);
        for (const auto &tag : set)
            Tag(*tag);
        ExtraElements(set.Extras);
        m_xml.writeEndElement();
    }

    void Tag(const SmartTag &tag)
    {
        m_xml.writeStartElement(QStringLiteral("smartTag"));
        Attr("id", tag.Id());
        Attr("key", tag.Key);
        Attr("name", tag.Name);
        Attr("description", tag.Description);
        Flag("enabled", tag.Enabled);
        Attr("warnings", tag.Warnings);
        ExtraAttributes(tag.Extras);
        const Recognizer &r = tag.Recognizer;
        m_xml.writeStartElement(QStringLiteral("recognizer"));
        Attr("dataView", r.DataViewId);
        Attr("field", r.FieldName);
        Attr("fieldRef", r.FieldReference);
        ExtraAttributes(r.Extras);
        for (const QString &term : r.Included.Terms())
            m_xml.writeTextElement(QStringLiteral("include"), term);
        for (const QString &term : r.Excluded.Terms())
            m_xml.writeTextElement(QStringLiteral("exclude"), term);
        ExtraElements(r.Extras);
        m_xml.writeEndElement();
        for (const auto &action : tag.Actions)
            ActionElement(*action);
        ExtraElements(tag.Extras);
        m_xml.writeEndElement();
    }

    void ActionElement(const Action &a)
    {
        m_xml.writeStartElement(QStringLiteral("action"));
        Attr("id", a.Id());
        Attr("name", a.Name);
        Attr("displayText", a.DisplayText);
        Attr("dataView", a.DataViewId);
        Attr("kind", a.ActionKind);
        Attr("layout", a.LayoutType);
        Attr("style", a.StyleName);
        ExtraAttributes(a.Extras);
        ExtraElements(a.Extras);
        m_xml.writeEndElement();
    }

    QXmlStreamWriter m_xml;
};

} // namespace

QByteArray ConfigStore::ToXml() const
{
    QByteArray out;
    Writer(out).Store(*this, m_extras);
    return out;
}

} // namespace qv::config
