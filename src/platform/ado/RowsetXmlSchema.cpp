// The field types and attribute names of the rowset XML.
#include "RowsetXml.h"

#include "AdoEnums.h"
#include "Field.h"

#include <QSet>

namespace qv::ado {

XmlDataType XmlTypeOf(qint32 adoType)
{
    auto make = [](const char *type, const char *dbType = "", bool isLong = false, bool fixed = true) {
        return XmlDataType{QString::fromLatin1(type), QString::fromLatin1(dbType), isLong, fixed};
    };
    switch (adoType) {
    case adTinyInt: return make("i1");
    case adSmallInt: return make("i2");
    case adInteger: return make("int");
    case adBigInt: return make("i8");
    case adUnsignedTinyInt: return make("ui1");
    case adUnsignedSmallInt: return make("ui2");
    case adUnsignedInt: return make("ui4");
    case adUnsignedBigInt: return make("ui8");
    case adSingle: return make("r4");
    case adDouble: return make("float");
    case adCurrency: return make("number", "currency");
    case adDecimal: return make("number", "decimal");
    case adNumeric: return make("number", "numeric");
    case adVarNumeric: return make("number", "varnumeric");
    case adBoolean: return make("boolean");
    case adDate: return make("dateTime", "variantdate");
    case adDBTimeStamp: return make("dateTime", "timestamp");
    case adDBDate: return make("date");
    case adDBTime: return make("time");
    case adGUID: return make("uuid");
    case adBinary: return make("bin.hex");
    case adVarBinary: return make("bin.hex", "", false, false);
    case adLongVarBinary: return make("bin.hex", "", true, false);
    case adChar: return make("string", "str");
    case adVarChar: return make("string", "str", false, false);
    case adLongVarChar: return make("string", "str", true, false);
    case adWChar: return make("string");
    case adLongVarWChar: return make("string", "", true, false);
    default: return make("string", "", false, false);
    }
}

qint32 AdoTypeOf(QStringView type, QStringView dbType, bool isLong, bool fixed)
{
    static const std::pair<const char16_t *, qint32> plain[] = {
        {u"i1", adTinyInt}, {u"i2", adSmallInt}, {u"int", adInteger}, {u"i4", adInteger}, {u"i8", adBigInt},
        {u"ui1", adUnsignedTinyInt}, {u"ui2", adUnsignedSmallInt}, {u"ui4", adUnsignedInt},
        {u"ui8", adUnsignedBigInt}, {u"r4", adSingle}, {u"float", adDouble}, {u"r8", adDouble},
        {u"boolean", adBoolean}, {u"date", adDBDate}, {u"time", adDBTime}, {u"uuid", adGUID}};
    for (const auto &[name, ado] : plain) {
        if (type == QStringView(name))
            return ado;
    }
    if (type == u"number") {
        if (dbType == u"currency")
            return adCurrency;
        if (dbType == u"varnumeric")
            return adVarNumeric;
        return dbType == u"decimal" ? adDecimal : adNumeric;
    }
    if (type == u"dateTime" || type == u"dateTime.tz")
        return dbType == u"variantdate" ? adDate : adDBTimeStamp;
    if (type == u"bin.hex" || type == u"bin.base64")
        return isLong ? adLongVarBinary : (fixed ? adBinary : adVarBinary);
    if (dbType == u"str")
        return isLong ? adLongVarChar : (fixed ? adChar : adVarChar);
    return isLong ? adLongVarWChar : (fixed ? adWChar : adVarWChar);
}

namespace {

// A name the row element can carry as an attribute name as it stands.
bool IsPlainXmlName(const QString &name)
{
    if (name.isEmpty() || !name.front().isLetter() || name.startsWith(u"xml", Qt::CaseInsensitive))
        return false;
    for (const QChar ch : name) {
        if (!ch.isLetterOrNumber() && ch != u'_' && ch != u'-' && ch != u'.')
            return false;
        if (ch.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

QList<QString> XmlNamesOf(const QList<FieldInfo> &fields)
{
    QList<QString> names;
    QList<bool> generated;
    QSet<QString> plain;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const bool ok = IsPlainXmlName(fields[i].Name) && !plain.contains(fields[i].Name);
        names.append(ok ? fields[i].Name : QStringLiteral("c%1").arg(i));
        generated.append(!ok);
        if (ok)
            plain.insert(fields[i].Name);
    }
    // A plain name that equals another field's generated one gives way, and
    // so on until every name is unique (generated names are unique by index).
    for (bool changed = true; changed;) {
        changed = false;
        QSet<QString> taken;
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (generated[i])
                taken.insert(names[i]);
        }
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (!generated[i] && taken.contains(names[i])) {
                names[i] = QStringLiteral("c%1").arg(i);
                generated[i] = true;
                changed = true;
            }
        }
    }
    return names;
}

} // namespace qv::ado
