#include "ConfigStore.h"
#include "ConfigXmlCopy.h"

#include "automation/ComError.h"

#include <QDir>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace qv::config {

namespace {

constexpr int kMaxDepth = 64;
constexpr qsizetype kMaxAttribute = 1024 * 1024;

struct ReadFailure
{
    QString message;
};

} // namespace

// Reads the document form into new objects; the store takes them only when
// the whole file was read, so a broken file changes nothing.
class ConfigReader
{
public:
    ConfigReader(ConfigStore &store, const QByteArray &xml) : m_store(store), m_bytes(xml), m_xml(xml)
    {
        m_ids = std::make_shared<IdSource>();
        m_views = std::make_unique<DataViews>(m_ids, store.weak_from_this());
    }

    void Read()
    {
        RefuseZeroBytes();
        if (!NextElement())
            Fail(QStringLiteral("the file holds no configuration (no root element)"));
        if (m_xml.name() != u"qvconfig")
            Fail(QStringLiteral("the root element is <%1>, not <qvconfig>").arg(m_xml.name()));
        ReadRoot();
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            CheckToken();
        }
        if (m_xml.hasError())
            Fail(m_xml.errorString());
        // Conditions of older files have no identifier; they get one above every identifier read.
        for (const auto &[field, index] : m_unnumbered)
            field->Conditions[index].Id = m_ids->Next();
    }

    void Commit()
    {
        m_store.m_ids = m_ids;
        m_store.m_dataViews = std::move(m_views);
        m_store.m_smartTagSets = std::move(m_sets);
        m_store.m_extras = std::move(m_extras);
        m_store.Name = m_name;
        m_store.Description = m_description;
        m_store.SmartTagNamespace = m_namespace;
    }

private:
    // A file in UTF-8 holds no zero byte; a run of them is a damaged disk
    // block, refused here rather than left to the XML reader, which could
    // take it for the end of the text.
    void RefuseZeroBytes() const
    {
        const QByteArray &bytes = m_bytes;
        const bool wide = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.startsWith(QByteArray("<\0", 2)) ||
                          bytes.startsWith(QByteArray("\0<", 2));
        const qsizetype zero = wide ? -1 : bytes.indexOf('\0');
        if (zero >= 0)
            throw ReadFailure{QStringLiteral("line %1: the file holds zero bytes where text should be; it is damaged")
                                  .arg(bytes.left(zero).count('\n') + 1)};
    }

    [[noreturn]] void Fail(const QString &what) const
    {
        throw ReadFailure{QStringLiteral("line %1: %2").arg(m_xml.lineNumber()).arg(what)};
    }

    void CheckToken()
    {
        switch (m_xml.tokenType()) {
        case QXmlStreamReader::DTD:
            Fail(QStringLiteral("document type declarations are not allowed"));
        case QXmlStreamReader::EntityReference:
            Fail(QStringLiteral("unknown entity &%1;").arg(m_xml.name()));
        case QXmlStreamReader::Invalid:
            Fail(m_xml.errorString());
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace() && m_textAllowed == 0)
                Fail(QStringLiteral("unexpected text \"%1\"").arg(m_xml.text().left(40)));
            break;
        default:
            break;
        }
    }

    // Moves to the next start element at this level; false at the end of the parent.
    bool NextElement()
    {
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            CheckToken();
            if (m_xml.isStartElement()) {
                if (++m_depth > kMaxDepth)
                    Fail(QStringLiteral("elements are nested too deeply"));
                return true;
            }
            if (m_xml.isEndElement()) {
                --m_depth;
                return false;
            }
        }
        if (m_xml.hasError())
            Fail(m_xml.errorString());
        return false;
    }

    // Reads the attributes: `known` takes the ones it knows and answers true.
    template<typename Known>
    void Attributes(XmlExtras &extras, Known known)
    {
        for (const QXmlStreamAttribute &a : m_xml.attributes()) {
            if (a.value().size() > kMaxAttribute)
                Fail(QStringLiteral("the attribute %1 is too long").arg(a.qualifiedName()));
            // A prefixed attribute is someone else's, whatever its local name.
            if (!a.namespaceUri().isEmpty() || !known(a.name(), a.value()))
                extras.attributes.append({a.qualifiedName().toString(), a.value().toString(), a.namespaceUri().toString()});
        }
    }

    qint32 Number(QStringView name, QStringView value)
    {
        bool ok = false;
        const qint32 n = value.toInt(&ok);
        if (!ok)
            Fail(QStringLiteral("the attribute %1 is not a number: \"%2\"").arg(name).arg(value.left(40)));
        return n;
    }

    qint32 Identifier(QStringView value)
    {
        const qint32 id = Number(u"id", value);
        if (id <= 0 || m_seen.contains(id))
            Fail(QStringLiteral("the identifier %1 is missing or used twice").arg(id));
        m_seen.insert(id);
        m_ids->Saw(id);
        return id;
    }

    static bool Flag(QStringView value) { return value == u"1" || value == u"true"; }

    // The element at the reader, whole, as XML text, kept for the next save.
    void Keep(XmlExtras &extras)
    {
        QString text;
        QXmlStreamWriter writer(&text);
        XmlCopier copier(writer);
        int depth = 0;
        ++m_textAllowed;
        do {
            CheckToken();
            if (m_xml.isStartElement() && ++depth + m_depth > kMaxDepth)
                Fail(QStringLiteral("elements are nested too deeply"));
            if (m_xml.isEndElement())
                --depth;
            copier.CopyToken(m_xml);
            if (depth == 0)
                break;
            m_xml.readNext();
        } while (!m_xml.atEnd());
        --m_textAllowed;
        --m_depth;
        if (m_xml.hasError())
            Fail(m_xml.errorString());
        extras.elements << text;
    }

    void ReadRoot()
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

    void ReadDataView()
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

    void ReadDataSource(DataSource &source)
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

    void ReadField(DataView &view)
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

    void ReadSmartTagSet()
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

    void ReadSmartTag(SmartTagSet &set)
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

    void ReadRecognizer(Recognizer &r)
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

    void ReadAction(SmartTag &tag)
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

    ConfigStore &m_store;
    const QByteArray &m_bytes;
    QXmlStreamReader m_xml;
    int m_depth = 0;
    int m_textAllowed = 0;
    QSet<qint32> m_seen;
    std::vector<std::pair<std::shared_ptr<Field>, size_t>> m_unnumbered;
    std::shared_ptr<IdSource> m_ids;
    std::unique_ptr<DataViews> m_views;
    SmartTagSets m_sets;
    XmlExtras m_extras;
    QString m_name, m_description, m_namespace;
};

void ConfigStore::ReadXml(const QByteArray &xml, const QString &pathForMessages)
{
    ConfigReader reader(*this, xml);
    try {
        reader.Read();
    } catch (const ReadFailure &failure) {
        QString what = failure.message;
        while (what.endsWith(QLatin1Char('.')))
            what.chop(1);
        throw ComError(kErrorUnreadable, QString::fromLatin1(kConfigSource),
                       QStringLiteral("The configuration file \"%1\" cannot be read: %2.")
                           .arg(QDir::toNativeSeparators(pathForMessages), what));
    }
    reader.Commit();
}

} // namespace qv::config
