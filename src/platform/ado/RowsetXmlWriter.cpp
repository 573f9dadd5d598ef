// Writes rowset XML by hand rather than through QXmlStreamWriter: the files
// must look as ADO's do (single-quoted attributes, tabs, CR LF, no
// declaration) and the writer cannot quote that way.
#include "RowsetXml.h"

#include "AdoError.h"
#include "RowStore.h"
#include "ValueText.h"

namespace qv::ado {

namespace {

constexpr qsizetype kWrapColumn = 200;

bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

[[noreturn]] void Unwritable(const QString &field, char32_t c)
{
    throw AdoError(adErrInvalidArgument,
                   QStringLiteral("The field \"%1\" holds the character U+%2, which XML cannot carry.")
                       .arg(field)
                       .arg(quint32(c), 4, 16, QLatin1Char('0')));
}

// Appends an attribute value: markup escaped, and line breaks and tabs as
// character references so that attribute normalisation keeps them.
void AppendEscaped(QString &out, QStringView value, const QString &field)
{
    qsizetype plainFrom = 0;
    auto flush = [&](qsizetype upTo) { out.append(value.mid(plainFrom, upTo - plainFrom)); };
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        const char *entity = nullptr;
        switch (c) {
        case u'&': entity = "&amp;"; break;
        case u'<': entity = "&lt;"; break;
        case u'>': entity = "&gt;"; break;
        case u'\'': entity = "&apos;"; break;
        case u'"': entity = "&quot;"; break;
        case u'\n': entity = "&#xa;"; break;
        case u'\r': entity = "&#xd;"; break;
        case u'\t': entity = "&#x9;"; break;
        default:
            if (QChar::isHighSurrogate(c) && i + 1 < value.size() && QChar::isLowSurrogate(value[i + 1].unicode())) {
                ++i;
                continue;
            }
            if (c < 0x20 || QChar::isSurrogate(c) || !IsXmlChar(c))
                Unwritable(field, c);
            continue;
        }
        flush(i);
        out.append(QLatin1StringView(entity));
        plainFrom = i + 1;
    }
    flush(value.size());
}

void AppendAttribute(QString &out, QLatin1StringView name, const QString &value, qsizetype lineStart = -1)
{
    // Long attribute lists are wrapped, as ADO wraps them.
    if (lineStart >= 0 && out.size() - lineStart > kWrapColumn)
        out.append(QLatin1StringView("\r\n\t\t"));
    out.append(u' ').append(name).append(QLatin1StringView("='"));
    AppendEscaped(out, value, QString());
    out.append(u'\'');
}

void AppendSchemaField(QString &out, const FieldInfo &field, const QString &xmlName, qint32 number)
{
    const qsizetype lineStart = out.size();
    out.append(QLatin1StringView("\t\t<s:AttributeType"));
    AppendAttribute(out, QLatin1StringView("name"), xmlName);
    if (xmlName != field.Name)
        AppendAttribute(out, QLatin1StringView("rs:name"), field.Name, lineStart);
    AppendAttribute(out, QLatin1StringView("rs:number"), QString::number(number), lineStart);
    if (field.AcceptsNull())
        AppendAttribute(out, QLatin1StringView("rs:nullable"), QStringLiteral("true"), lineStart);
    static const std::pair<const char *, const char *> bases[] = {
        {"BASECATALOGNAME", "rs:basecatalog"}, {"BASETABLENAME", "rs:basetable"}, {"BASECOLUMNNAME", "rs:basecolumn"}};
    for (const auto &[property, attribute] : bases) {
        for (const auto &[key, value] : field.Properties) {
            if (key.compare(QLatin1StringView(property), Qt::CaseInsensitive) == 0 && !value.IsNull() && !value.IsEmpty())
                AppendAttribute(out, QLatin1StringView(attribute), value.ToText(), lineStart);
        }
    }
    for (const auto &[key, value] : field.Properties) {
        const bool set = value.Get<bool>() && *value.Get<bool>();
        if (set && key.compare(u"KEYCOLUMN", Qt::CaseInsensitive) == 0)
            AppendAttribute(out, QLatin1StringView("rs:keycolumn"), QStringLiteral("true"), lineStart);
        if (set && key.compare(u"ISAUTOINCREMENT", Qt::CaseInsensitive) == 0)
            AppendAttribute(out, QLatin1StringView("rs:autoincrement"), QStringLiteral("true"), lineStart);
    }
    if (field.Attributes == adFldUnspecified || (field.Attributes & adFldUnknownUpdatable))
        AppendAttribute(out, QLatin1StringView("rs:writeunknown"), QStringLiteral("true"), lineStart);
    out.append(QLatin1StringView(">\r\n\t\t\t<s:datatype"));

    const XmlDataType type = XmlTypeOf(field.Type);
    AppendAttribute(out, QLatin1StringView("dt:type"), type.Type);
    if (!type.DbType.isEmpty())
        AppendAttribute(out, QLatin1StringView("rs:dbtype"), type.DbType);
    const bool isLong = type.Long || (field.Attributes != adFldUnspecified && (field.Attributes & adFldLong));
    const qint32 size = field.DefinedSize > 0 ? field.DefinedSize : (isLong ? 2147483647 : 0);
    if (size > 0)
        AppendAttribute(out, QLatin1StringView("dt:maxLength"), QString::number(size));
    if (field.NumericScale > 0)
        AppendAttribute(out, QLatin1StringView("rs:scale"), QString::number(field.NumericScale));
    if (field.Precision > 0)
        AppendAttribute(out, QLatin1StringView("rs:precision"), QString::number(field.Precision));
    if (type.Fixed || (field.Attributes != adFldUnspecified && (field.Attributes & adFldFixed)))
        AppendAttribute(out, QLatin1StringView("rs:fixedlength"), QStringLiteral("true"));
    if (isLong)
        AppendAttribute(out, QLatin1StringView("rs:long"), QStringLiteral("true"));
    if (!field.AcceptsNull())
        AppendAttribute(out, QLatin1StringView("rs:maybenull"), QStringLiteral("false"));
    out.append(QLatin1StringView("/>\r\n\t\t</s:AttributeType>\r\n"));
}

void AppendRow(QString &out, const RowStore &store, qint32 row, const QList<QString> &names)
{
    qsizetype lineStart = out.size();
    out.append(QLatin1StringView("\t<z:row"));
    for (qint32 f = 0; f < store.FieldCount(); ++f) {
        const Variant &value = store.Cell(row, f);
        if (value.IsNull() || value.IsEmpty())
            continue; // Null is an attribute left out
        if (out.size() - lineStart > kWrapColumn) {
            out.append(QLatin1StringView("\r\n\t\t"));
            lineStart = out.size();
        }
        const FieldInfo &field = store.FieldList[f];
        out.append(u' ').append(names[f]).append(QLatin1StringView("='"));
        if (const QString *text = value.Get<QString>()) {
            const bool binary = field.Type == adBinary || field.Type == adVarBinary || field.Type == adLongVarBinary;
            AppendEscaped(out, binary ? text->toLower() : *text, field.Name);
        } else {
            AppendEscaped(out, ValueToXmlText(value, field.Type), field.Name);
        }
        out.append(u'\'');
    }
    out.append(QLatin1StringView("/>\r\n"));
}

} // namespace

QString WriteRowsetXml(const RowStore &store, const std::vector<qint32> &rows)
{
    const QList<QString> names = XmlNamesOf(store.FieldList);
    QString out;
    out.reserve(1024 + store.FieldCount() * 200 + qsizetype(rows.size()) * (16 + store.FieldCount() * 24));
    out.append(QLatin1StringView("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
                                 "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
                                 "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
                                 "\txmlns:z='#RowsetSchema'>\r\n"
                                 "<s:Schema id='RowsetSchema'>\r\n"
                                 "\t<s:ElementType name='row' content='eltOnly' rs:updatable='true'>\r\n"));
    for (qint32 f = 0; f < store.FieldCount(); ++f)
        AppendSchemaField(out, store.FieldList[f], names[f], f + 1);
    out.append(QLatin1StringView("\t\t<s:extends type='rs:rowbase'/>\r\n\t</s:ElementType>\r\n</s:Schema>\r\n"
                                 "<rs:data>\r\n"));
    for (qint32 row : rows)
        AppendRow(out, store, row, names);
    out.append(QLatin1StringView("</rs:data>\r\n</xml>"));
    return out;
}

} // namespace qv::ado
