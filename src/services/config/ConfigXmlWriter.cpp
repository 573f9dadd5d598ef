#include "ConfigStore.h"
#include "ConfigXmlCopy.h"

#include "automation/ComError.h"

#include <QSet>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace qv::config {
namespace {

constexpr int kFormatVersion = 1;

// XML 1.0 holds no control character but tab and line breaks, neither as
// itself nor as a reference, and no half of a surrogate pair: a text with one
// would be written into a file that no longer opens, or lose the character.
bool Unwritable(const QString &text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c))
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i == 0 || !text[i - 1].isHighSurrogate();
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

const QString &Writable(const QString &text)
{
    qsizetype bad = 0;
    while (bad < text.size() && !Unwritable(text, bad))
        ++bad;
    if (bad == text.size())
        return text;
    QString shown = text.left(40);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (Unwritable(text, i))
            shown[i] = QChar::ReplacementCharacter;
    }
    throw ComError(kErrorCannotWrite, QString::fromLatin1(kConfigSource),
                   QStringLiteral("The configuration cannot be saved: the text \"%1\" holds the character U+%2, which a "
                                  "configuration file cannot hold (a control character, or half of a character cut "
                                  "in two). Change that text and save again.")
                       .arg(shown, QString::number(text[bad].unicode(), 16).toUpper().rightJustified(4, u'0')));
}

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
        Attr("name", store.Name);
        Attr("description", store.Description);
        Attr("namespace", store.SmartTagNamespace);
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
    void Attr(const char *name, const QString &value) { m_xml.writeAttribute(QLatin1String(name), Writable(value)); }
    void Attr(const char *name, qint32 value) { Attr(name, QString::number(value)); }
    void Flag(const char *name, bool value) { Attr(name, value ? QStringLiteral("1") : QStringLiteral("0")); }

    void TextElement(const char *name, const QString &text)
    {
        m_xml.writeStartElement(QLatin1String(name));
        WriteXmlText(m_xml, Writable(text));
        m_xml.writeEndElement();
    }

    void ExtraAttributes(const XmlExtras &extras)
    {
        // Names are written as they were read, each prefix declared on the element once.
        QSet<QString> declared;
        for (const XmlExtraAttribute &a : extras.attributes) {
            const QString prefix = a.name.section(u':', 0, 0);
            if (a.namespaceUri.isEmpty() || prefix == u"xml" || declared.contains(prefix))
                continue;
            m_xml.writeAttribute(NamespaceDeclarationName(prefix), a.namespaceUri);
            declared.insert(prefix);
        }
        for (const XmlExtraAttribute &a : extras.attributes)
            m_xml.writeAttribute(a.name, a.value);
    }

    // Replays each kept element token by token, so it is written as it was
    // read: without indenting, which would add to its text on every save.
    void ExtraElements(const XmlExtras &extras)
    {
        for (const QString &element : extras.elements) {
            m_xml.setAutoFormatting(false);
            QXmlStreamReader reader(element);
            XmlCopier copier(m_xml);
            while (!reader.atEnd()) {
                reader.readNext();
                if (!reader.hasError())
                    copier.CopyToken(reader);
            }
            m_xml.setAutoFormatting(true);
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
            TextElement("include", term);
        for (const QString &term : r.Excluded.Terms())
            TextElement("exclude", term);
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
