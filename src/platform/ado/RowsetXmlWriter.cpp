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

void AppendSchemaField(QString &out, const FieldInfo &field, const QString &xmlName, qint32 number, bool hidden)
{
    const qsizetype lineStart = out.size();
    out.append(QLatin1StringView("\t\t<s:AttributeType"));
    AppendAttribute(out, QLatin1StringView("name"), xmlName);
    if (xmlName != field.Name)
        AppendAttribute(out, QLatin1StringView("rs:name"), field.Name, lineStart);
    AppendAttribute(out, QLatin1StringView("rs:number"), QString::number(number), lineStart);
    if (hidden)
        AppendAttribute(out, QLatin1StringView("rs:hidden"), QStringLiteral("true"), lineStart);
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

// One row element at `indent`, its values given by `valueAt` for every
// field, visible then hidden.
template<typename ValueAt>
void AppendRow(QString &out, const RowStore &store, const QList<QString> &names, QLatin1StringView indent, ValueAt valueAt,
               const QString &forceNull = QString())
{
    qsizetype lineStart = out.size();
    out.append(indent).append(QLatin1StringView("<z:row"));
    if (!forceNull.isEmpty())
        AppendAttribute(out, QLatin1StringView("rs:forcenull"), forceNull);
    const qint32 visible = store.FieldCount();
    for (qint32 f = 0; f < names.size(); ++f) {
        const Variant &value = valueAt(f);
        if (value.IsNull() || value.IsEmpty())
            continue; // Null is an attribute left out
        if (out.size() - lineStart > kWrapColumn) {
            out.append(QLatin1StringView("\r\n\t\t"));
            lineStart = out.size();
        }
        const FieldInfo &field = f < visible ? store.FieldList[f] : store.HiddenFields[f - visible];
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

const Variant &NullValue()
{
    static const Variant null = Variant::Null();
    return null;
}

// A held row's value of a field, visible or hidden.
const Variant &StoreValue(const RowStore &store, qint32 row, qint32 f)
{
    const qint32 visible = store.FieldCount();
    if (f < visible)
        return store.Cell(row, f);
    const auto hidden = store.HiddenValues.constFind(row);
    return hidden == store.HiddenValues.cend() || f - visible >= hidden->size() ? NullValue() : hidden->at(f - visible);
}

void AppendStoreRow(QString &out, const RowStore &store, const QList<QString> &names, qint32 row, QLatin1StringView indent,
                    const QString &forceNull = QString())
{
    AppendRow(out, store, names, indent, [&](qint32 f) -> const Variant & { return StoreValue(store, row, f); }, forceNull);
}

// The fields an update set to Null: the new row read over its original
// would otherwise keep the old values.
QString ForcedNulls(const RowStore &store, const QList<QString> &names, qint32 row, const QList<Variant> &original)
{
    QStringList fields;
    for (qint32 f = 0; f < names.size() && f < original.size(); ++f) {
        if (StoreValue(store, row, f).IsNull() && !original[f].IsNull() && !original[f].IsEmpty())
            fields << names[f];
    }
    return fields.join(u' ');
}

void AppendListRow(QString &out, const RowStore &store, const QList<QString> &names, const QList<Variant> &values,
                   QLatin1StringView indent)
{
    AppendRow(out, store, names, indent,
              [&](qint32 f) -> const Variant & { return f < values.size() ? values[f] : NullValue(); });
}

// The rows with their pending changes as ADO writes them: an update with
// its original row, a run of new rows in one rs:insert, deleted rows last.
void AppendPendingRows(QString &out, const RowStore &store, const QList<QString> &names, const std::vector<qint32> &rows)
{
    const auto &changes = store.Changes;
    bool inInsert = false;
    for (qint32 row : rows) {
        const bool inserted = changes.Inserted.contains(row);
        if (inInsert != inserted) {
            out.append(QLatin1StringView(inserted ? "\t<rs:insert>\r\n" : "\t</rs:insert>\r\n"));
            inInsert = inserted;
        }
        const auto original = changes.Originals.constFind(row);
        if (inserted || original == changes.Originals.cend()) {
            AppendStoreRow(out, store, names, row, QLatin1StringView(inserted ? "\t\t" : "\t"));
            continue;
        }
        out.append(QLatin1StringView("\t<rs:update>\r\n\t\t<rs:original>\r\n"));
        AppendListRow(out, store, names, *original, QLatin1StringView("\t\t\t"));
        out.append(QLatin1StringView("\t\t</rs:original>\r\n"));
        AppendStoreRow(out, store, names, row, QLatin1StringView("\t\t"), ForcedNulls(store, names, row, *original));
        out.append(QLatin1StringView("\t</rs:update>\r\n"));
    }
    if (inInsert)
        out.append(QLatin1StringView("\t</rs:insert>\r\n"));
    if (changes.Deleted.isEmpty())
        return;
    out.append(QLatin1StringView("\t<rs:delete>\r\n"));
    for (const QList<Variant> &values : changes.Deleted)
        AppendListRow(out, store, names, values, QLatin1StringView("\t\t"));
    out.append(QLatin1StringView("\t</rs:delete>\r\n"));
}

} // namespace

QString WriteRowsetXml(const RowStore &store, const std::vector<qint32> &rows)
{
    const QList<QString> names = XmlNamesOf(store.FieldList + store.HiddenFields);
    const qint32 columns = qint32(names.size());
    QString out;
    out.reserve(1024 + columns * 200 + qsizetype(rows.size()) * (16 + columns * 24));
    out.append(QLatin1StringView("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
                                 "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
                                 "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
                                 "\txmlns:z='#RowsetSchema'>\r\n"
                                 "<s:Schema id='RowsetSchema'>\r\n"
                                 "\t<s:ElementType name='row' content='eltOnly'"));
    // A document read from a schema without it stays read-only.
    out.append(QLatin1StringView(store.Updatable ? " rs:updatable='true'>\r\n" : ">\r\n"));
    for (qint32 f = 0; f < columns; ++f) {
        const bool hidden = f >= store.FieldCount();
        AppendSchemaField(out, hidden ? store.HiddenFields[f - store.FieldCount()] : store.FieldList[f], names[f], f + 1, hidden);
    }
    out.append(QLatin1StringView("\t\t<s:extends type='rs:rowbase'/>\r\n\t</s:ElementType>\r\n</s:Schema>\r\n"
                                 "<rs:data>\r\n"));
    if (!store.Changes.IsEmpty()) {
        AppendPendingRows(out, store, names, rows);
    } else {
        for (qint32 row : rows)
            AppendStoreRow(out, store, names, row, QLatin1StringView("\t"));
    }
    out.append(QLatin1StringView("</rs:data>\r\n</xml>"));
    return out;
}

} // namespace qv::ado
