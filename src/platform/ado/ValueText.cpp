#include "ValueText.h"

#include "automation/DateText.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"
#include "automation/OleDate.h"

#include <QDateTime>

#include <cmath>

namespace qv::ado {

namespace {

QString CurrencyText(Currency c)
{
    const quint64 magnitude = c.Scaled < 0 ? 0 - quint64(c.Scaled) : quint64(c.Scaled);
    QString text = QString::number(magnitude / 10000);
    if (const quint64 fraction = magnitude % 10000) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return c.Scaled < 0 ? u'-' + text : text;
}

QString DateText(double days, qint32 type)
{
    const QDateTime when = OleDateToDateTime(days);
    if (type == adDBDate)
        return when.date().toString(Qt::ISODate);
    const QTime time = when.time();
    const QString clock = time.toString(time.msec() ? QStringLiteral("hh:mm:ss.zzz") : QStringLiteral("hh:mm:ss"));
    if (type == adDBTime)
        return clock;
    return when.date().toString(QStringLiteral("yyyy-MM-dd")) + u'T' + clock;
}

// Digits with an optional sign, point and exponent, read exactly (no binary
// rounding) so that money and decimals keep every digit.
bool ParseExactNumber(QStringView text, NumberDigits &out)
{
    out = NumberDigits();
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        out.Negative = text[i++] == u'-';
    bool sawDigit = false, sawPoint = false;
    int integerDigits = 0;
    for (; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isDigit() && ch.unicode() < 128) {
            out.Digits.push_back(char(ch.unicode()));
            sawDigit = true;
            if (!sawPoint)
                ++integerDigits;
        } else if (ch == u'.' && !sawPoint) {
            sawPoint = true;
        } else {
            break;
        }
    }
    if (!sawDigit || out.Digits.size() > 200)
        return false;
    int exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        bool ok = false;
        exponent = text.mid(i + 1).toInt(&ok);
        if (!ok || std::abs(exponent) > 100)
            return false;
        i = text.size();
    }
    if (i != text.size())
        return false;
    out.Point = integerDigits + exponent;
    out.Normalize();
    return true;
}

bool ParseBoolean(QStringView text, Variant &out)
{
    if (text.compare(u"True", Qt::CaseInsensitive) == 0 || text == u"1" || text == u"-1") {
        out = Variant(true);
        return true;
    }
    if (text.compare(u"False", Qt::CaseInsensitive) == 0 || text == u"0") {
        out = Variant(false);
        return true;
    }
    return false;
}

bool ParseXmlDate(QStringView text, qint32 type, Variant &out)
{
    const QString s = text.trimmed().toString();
    QDate date(1899, 12, 30);
    QTime time(0, 0);
    if (type == adDBTime) {
        time = QTime::fromString(s, Qt::ISODateWithMs);
    } else if (s.size() <= 10) {
        date = QDate::fromString(s, Qt::ISODate);
    } else {
        if (!ReadIsoDateTime(s, date, time))
            return false;
    }
    if (!date.isValid() || !time.isValid())
        return false;
    out = Variant(DateValue{DateTimeToOleDate(date, time)});
    return true;
}

bool ParseXmlNumber(QStringView text, qint32 type, Variant &out)
{
    bool ok = false;
    switch (type) {
    case adTinyInt: case adSmallInt: case adInteger: case adUnsignedTinyInt: case adUnsignedSmallInt: {
        const qint32 n = text.toInt(&ok);
        out = Variant(n);
        return ok;
    }
    case adUnsignedInt: case adBigInt: {
        const qint64 n = text.toLongLong(&ok);
        out = Variant(n);
        return ok;
    }
    case adSingle: {
        const float f = text.toFloat(&ok);
        out = Variant(f);
        return ok;
    }
    case adDouble: {
        const double d = text.toDouble(&ok);
        out = Variant(d);
        return ok;
    }
    default:
        break;
    }
    NumberDigits digits;
    if (!ParseExactNumber(text, digits))
        return false;
    if (type == adCurrency) {
        Currency c;
        ok = digits.ToCurrency(c);
        out = Variant(c);
        return ok;
    }
    if (type == adUnsignedBigInt) {
        const qint64 n = text.toLongLong(&ok);
        if (ok) {
            out = Variant(n);
            return true;
        }
    }
    Decimal d;
    ok = digits.ToDecimal(d);
    out = Variant(d);
    return ok;
}

// bin.hex: two hexadecimal digits a byte, in either case.
bool ParseHexBytes(QStringView text, Variant &out)
{
    if (text.size() % 2 != 0)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')))
            return false;
    }
    out = Variant(QByteArray::fromHex(text.toLatin1()));
    return true;
}

} // namespace

QString ValueToXmlText(const Variant &value, qint32 type)
{
    if (const QString *s = value.Get<QString>())
        return *s;
    if (const bool *b = value.Get<bool>())
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    if (const qint32 *n = value.Get<qint32>())
        return QString::number(*n);
    if (const qint64 *n = value.Get<qint64>())
        return QString::number(*n);
    if (const float *f = value.Get<float>())
        return QString::number(*f, 'g', QLocale::FloatingPointShortest);
    if (const double *d = value.Get<double>()) {
        if (type == adSingle)
            return QString::number(float(*d), 'g', QLocale::FloatingPointShortest);
        return QString::number(*d, 'g', QLocale::FloatingPointShortest);
    }
    if (const Currency *c = value.Get<Currency>())
        return CurrencyText(*c);
    if (const Decimal *d = value.Get<Decimal>())
        return d->ToPlainText();
    if (const DateValue *d = value.Get<DateValue>())
        return DateText(d->Days, type);
    if (const QByteArray *bytes = value.Get<QByteArray>())
        return QString::fromLatin1(bytes->toHex());
    return QString();
}

bool XmlTextToValue(QStringView text, qint32 type, Variant &out)
{
    switch (type) {
    case adBoolean:
        return ParseBoolean(text.trimmed(), out);
    case adDate: case adDBDate: case adDBTime: case adDBTimeStamp:
        return ParseXmlDate(text, type, out);
    case adTinyInt: case adSmallInt: case adInteger: case adUnsignedTinyInt: case adUnsignedSmallInt:
    case adUnsignedInt: case adBigInt: case adUnsignedBigInt: case adSingle: case adDouble:
    case adCurrency: case adDecimal: case adNumeric: case adVarNumeric:
        return ParseXmlNumber(text.trimmed(), type, out);
    case adBinary: case adVarBinary: case adLongVarBinary:
        return ParseHexBytes(text.trimmed(), out);
    default:
        out = Variant(text.toString());
        return true;
    }
}

bool ParseLiteralNumber(const QString &text, double &out)
{
    QString plain = text.trimmed();
    const bool negative = plain.startsWith(u'-');
    if (negative)
        plain.remove(0, 1);
    if (plain.startsWith(u'$'))
        plain.remove(0, 1);
    bool ok = false;
    out = plain.toDouble(&ok);
    if (ok) {
        out = negative ? -out : out;
        return std::isfinite(out);
    }
    NumberDigits digits;
    if (!ParseNumberText(text, CurrentLocaleFacts(), digits))
        return false;
    out = digits.ToDouble();
    return std::isfinite(out);
}

bool ParseLiteralDate(const QString &text, double &oleDays)
{
    const QString s = text.trimmed();
    qsizetype split = s.indexOf(u' ');
    if (split < 0)
        split = s.indexOf(u'T');
    const QString datePart = split < 0 ? s : s.left(split);
    const QString timePart = split < 0 ? QString() : s.mid(split + 1).trimmed();
    QDate date;
    for (const char *format : {"yyyy-MM-dd", "yyyy-M-d", "MM/dd/yyyy", "M/d/yyyy", "M/d/yy"}) {
        date = QDate::fromString(datePart, QLatin1StringView(format));
        if (date.isValid())
            break;
    }
    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        time = QTime();
        for (const char *format : {"hh:mm:ss", "hh:mm", "h:m:s", "h:m", "h:m:s AP", "h:m AP", "hh:mm:ss.zzz"}) {
            time = QTime::fromString(timePart.toUpper(), QLatin1StringView(format));
            if (time.isValid())
                break;
        }
    }
    if (date.isValid() && time.isValid()) {
        oleDays = DateTimeToOleDate(date, time);
        return true;
    }
    return ParseDateText(s, CurrentLocaleFacts(), oleDays);
}

} // namespace qv::ado
