#include "Format.h"

#include "ComError.h"
#include "DateText.h"
#include "FormatRender.h"
#include "LocaleFacts.h"

namespace qv {
namespace {

using format::Section;
using format::SectionKind;

// A value as the formatting routines see it.
struct Classified
{
    enum Kind { Empty, Null, Number, Date, Text } kind = Empty;
    NumberDigits number; // Number (Booleans are -1 and 0)
    int precision = format::kExactDigits; // of Number, for its general text
    double days = 0.0;   // Date
    QString text;        // Text
    bool boolean = false;
};

bool ReadBooleanText(QStringView text, bool &value)
{
    const QStringView t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return value = true, true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return value = false, true;
    return false;
}

Classified ClassifyText(const QString &text, const LocaleFacts &facts)
{
    Classified c;
    bool boolean = false;
    if (ParseNumberText(text, facts, c.number)) {
        c.kind = Classified::Number;
        // A typed number is a double to the language; one with more digits
        // than a double holds (an identifier) keeps them all.
        c.precision = c.number.Digits.size() > size_t(format::kDoubleDigits) ? format::kExactDigits
                                                                             : format::kDoubleDigits;
    } else if (ReadBooleanText(text, boolean)) {
        c.kind = Classified::Number;
        c.boolean = true;
        c.number = NumberDigits::FromInteger(boolean ? -1 : 0);
    } else if (ParseDateText(text, facts, c.days)) {
        c.kind = Classified::Date;
    } else {
        c.kind = Classified::Text;
        c.text = text;
    }
    return c;
}

Classified ClassifyValue(const Variant &value, const LocaleFacts &facts)
{
    Classified c;
    switch (value.Type()) {
    case VarType::Empty: return c;
    case VarType::Null: c.kind = Classified::Null; return c;
    case VarType::String: return ClassifyText(*value.Get<QString>(), facts);
    case VarType::Date: c.kind = Classified::Date; c.days = value.Get<DateValue>()->Days; return c;
    case VarType::Boolean:
        c.boolean = true;
        c.number = NumberDigits::FromInteger(*value.Get<bool>() ? -1 : 0);
        break;
    case VarType::Long: c.number = NumberDigits::FromInteger(*value.Get<qint32>()); break;
    case VarType::LongLong: c.number = NumberDigits::FromInteger(*value.Get<qint64>()); break;
    case VarType::Single:
        c.number = NumberDigits::FromSingle(*value.Get<float>());
        c.precision = format::kSingleDigits;
        break;
    case VarType::Double:
        c.number = NumberDigits::FromDouble(*value.Get<double>());
        c.precision = format::kDoubleDigits;
        break;
    case VarType::Currency: c.number = NumberDigits::FromCurrency(*value.Get<Currency>()); break;
    case VarType::Decimal: c.number = NumberDigits::FromDecimal(*value.Get<Decimal>()); break;
    case VarType::ByteArray: throw RuntimeError(vberr::TypeMismatch); // arrays have no format
    }
    c.kind = Classified::Number;
    return c;
}

NumberDigits NumberOf(const Classified &c)
{
    return c.kind == Classified::Date ? NumberDigits::FromDouble(c.days) : c.number;
}

double DaysOf(const Classified &c) { return c.kind == Classified::Date ? c.days : c.number.ToDouble(); }

QString GeneralText(const Classified &c, const LocaleFacts &facts)
{
    switch (c.kind) {
    case Classified::Number:
        if (c.boolean)
            return c.number.IsZero() ? QStringLiteral("False") : QStringLiteral("True");
        return format::GeneralNumber(c.number, facts, c.precision);
    case Classified::Date: return format::GeneralDate(c.days, facts);
    case Classified::Text: return c.text;
    default: return {};
    }
}

QString Signed(const NumberDigits &n, QString text) { return n.Negative ? QLatin1Char('-') + text : text; }

QString CurrencyText(NumberDigits n, int digits, bool group, bool leadingZero, bool parentheses,
                     const LocaleFacts &facts)
{
    n.RoundToFraction(digits < 0 ? facts.CurrencyDigits : digits);
    const QString body = format::FixedNumber(n, digits < 0 ? facts.CurrencyDigits : digits, group, leadingZero, facts);
    if (!n.Negative)
        return facts.CurrencyPrefix + body + facts.CurrencySuffix;
    if (parentheses)
        return QLatin1Char('(') + facts.CurrencyPrefix + body + facts.CurrencySuffix + QLatin1Char(')');
    return facts.NegativeCurrencyPrefix + body + facts.NegativeCurrencySuffix;
}

enum class Named { None, GeneralNumber, Currency, Fixed, Standard, Percent, Scientific, YesNo, TrueFalse,
                   OnOff, GeneralDate, LongDate, MediumDate, ShortDate, LongTime, MediumTime, ShortTime };

Named FindNamed(const QString &format)
{
    static const std::pair<const char16_t *, Named> names[] = {
        {u"General Number", Named::GeneralNumber}, {u"Currency", Named::Currency}, {u"Fixed", Named::Fixed},
        {u"Standard", Named::Standard}, {u"Percent", Named::Percent}, {u"Scientific", Named::Scientific},
        {u"Yes/No", Named::YesNo}, {u"True/False", Named::TrueFalse}, {u"On/Off", Named::OnOff},
        {u"General Date", Named::GeneralDate}, {u"Long Date", Named::LongDate},
        {u"Medium Date", Named::MediumDate}, {u"Short Date", Named::ShortDate}, {u"Long Time", Named::LongTime},
        {u"Medium Time", Named::MediumTime}, {u"Short Time", Named::ShortTime}};
    if (format.size() < 5 || format.size() > 14)
        return Named::None;
    for (const auto &[name, named] : names) {
        const QStringView view(name);
        if (view.size() == format.size() && format.compare(view, Qt::CaseInsensitive) == 0)
            return named;
    }
    return Named::None;
}

QString DatePattern(Named named, const LocaleFacts &facts)
{
    switch (named) {
    case Named::LongDate: return facts.LongDate;
    case Named::MediumDate: return QStringLiteral("dd-mmm-yy");
    case Named::ShortDate: return facts.ShortDate;
    case Named::LongTime: return facts.LongTime;
    case Named::MediumTime: return QStringLiteral("hh:nn AMPM");
    default: return QStringLiteral("hh:nn");
    }
}

QString FormatNamed(Named named, const Classified &c, const LocaleFacts &facts)
{
    if (c.kind == Classified::Null || c.kind == Classified::Empty)
        return {};
    if (c.kind == Classified::Text)
        return c.text;
    const NumberDigits n = NumberOf(c);
    switch (named) {
    case Named::GeneralNumber:
        return format::GeneralNumber(n, facts, c.kind == Classified::Date ? format::kDoubleDigits : c.precision);
    case Named::Currency: return CurrencyText(n, -1, true, true, false, facts);
    case Named::Fixed: return Signed(n, format::FixedNumber(n, 2, false, true, facts));
    case Named::Standard: return Signed(n, format::FixedNumber(n, 2, true, true, facts));
    case Named::Percent: {
        NumberDigits p = n;
        p.Shift(2);
        return Signed(p, format::FixedNumber(p, 2, false, true, facts)) + QLatin1Char('%');
    }
    case Named::Scientific: {
        const auto scientific = format::Compile(QStringLiteral("0.00E+00"));
        return Signed(n, format::RenderNumber(scientific->sections.front().number, n, facts));
    }
    case Named::YesNo: return n.IsZero() ? QStringLiteral("No") : QStringLiteral("Yes");
    case Named::TrueFalse: return n.IsZero() ? QStringLiteral("False") : QStringLiteral("True");
    case Named::OnOff: return n.IsZero() ? QStringLiteral("Off") : QStringLiteral("On");
    case Named::GeneralDate: return format::GeneralDate(DaysOf(c), facts);
    default: break;
    }
    const auto compiled = format::Compile(DatePattern(named, facts));
    return format::RenderDate(compiled->sections.front(), DaysOf(c), facts, 1, 1);
}

const Section *Usable(const format::CompiledFormat &f, size_t index)
{
    return index < f.sections.size() && !f.sections[index].empty ? &f.sections[index] : nullptr;
}

QString FormatSection(const Section &s, const Classified &c, bool withSign, const LocaleFacts &facts,
                      int firstDay, int firstWeek)
{
    switch (s.kind) {
    case SectionKind::Number: {
        const NumberDigits n = NumberOf(c);
        const QString body = format::RenderNumber(s.number, n, facts);
        return withSign && n.Negative ? QLatin1Char('-') + body : body;
    }
    case SectionKind::Date: return format::RenderDate(s, DaysOf(c), facts, firstDay, firstWeek);
    case SectionKind::Text: return format::RenderText(s, GeneralText(c, facts));
    case SectionKind::Literal: return format::RenderLiteral(s);
    }
    return {};
}

QString FormatPattern(const format::CompiledFormat &f, const Classified &c, const LocaleFacts &facts,
                      int firstDay, int firstWeek)
{
    const Section &first = f.sections.front();
    if (c.kind == Classified::Null || c.kind == Classified::Empty) {
        const Section *nullSection = c.kind == Classified::Null ? Usable(f, 3) : nullptr;
        return nullSection ? format::RenderLiteral(*nullSection) : QString();
    }
    if (c.kind == Classified::Text) {
        if (first.kind == SectionKind::Text) {
            const Section *blank = c.text.isEmpty() ? Usable(f, 1) : nullptr;
            return format::RenderText(blank ? *blank : first, c.text);
        }
        return first.kind == SectionKind::Literal && !first.empty ? format::RenderLiteral(first) : c.text;
    }
    const NumberDigits n = NumberOf(c);
    const Section *section = &first;
    bool withSign = true;
    if (n.Negative && Usable(f, 1)) {
        section = Usable(f, 1);
        withSign = false;
    } else if (n.IsZero() && Usable(f, 2)) {
        section = Usable(f, 2);
    }
    return FormatSection(*section, c, withSign, facts, firstDay, firstWeek);
}

// 0 stands for the default (Sunday, the week of 1 January); anything else
// outside the ranges is an invalid argument, as the platform's routine says.
int DayOrDefault(int firstDay)
{
    if (firstDay < 0 || firstDay > 7)
        throw RuntimeError(vberr::InvalidCall);
    return firstDay == 0 ? 1 : firstDay;
}

int WeekOrDefault(int firstWeek)
{
    if (firstWeek < 0 || firstWeek > 3)
        throw RuntimeError(vberr::InvalidCall);
    return firstWeek == 0 ? 1 : firstWeek;
}

NumberDigits NumberArgument(const Variant &value, const LocaleFacts &facts)
{
    const Classified c = ClassifyValue(value, facts);
    if (c.kind == Classified::Text)
        throw RuntimeError(vberr::TypeMismatch);
    return NumberOf(c);
}

QString FixedWithOptions(const NumberDigits &n, int digits, int leading, int parentheses, int group,
                         const LocaleFacts &facts)
{
    const int d = digits < 0 ? 2 : std::min(digits, 99);
    NumberDigits rounded = n;
    rounded.RoundToFraction(d);
    const QString body = format::FixedNumber(rounded, d, group != 0, leading != 0, facts);
    if (!rounded.Negative)
        return body;
    return parentheses == -1 ? QLatin1Char('(') + body + QLatin1Char(')') : QLatin1Char('-') + body;
}

} // namespace

QString VarFormat(const Variant &value, const QString &formatText, int firstDay, int firstWeek)
{
    const int day = DayOrDefault(firstDay);
    const int week = WeekOrDefault(firstWeek);
    const LocaleFacts &facts = CurrentLocaleFacts();
    const Classified c = ClassifyValue(value, facts);
    if (formatText.isEmpty())
        return GeneralText(c, facts);
    if (const Named named = FindNamed(formatText); named != Named::None)
        return FormatNamed(named, c, facts);
    const auto compiled = format::Compile(formatText);
    return FormatPattern(*compiled, c, facts, day, week);
}

QString VarFormatNumber(const Variant &value, int digits, int leading, int parentheses, int group)
{
    if (value.IsNull())
        return {};
    const LocaleFacts &facts = CurrentLocaleFacts();
    return FixedWithOptions(NumberArgument(value, facts), digits, leading, parentheses, group, facts);
}

QString VarFormatCurrency(const Variant &value, int digits, int leading, int parentheses, int group)
{
    if (value.IsNull())
        return {};
    const LocaleFacts &facts = CurrentLocaleFacts();
    return CurrencyText(NumberArgument(value, facts), std::min(digits, 99), group != 0, leading != 0,
                        parentheses == -1, facts);
}

QString VarFormatPercent(const Variant &value, int digits, int leading, int parentheses, int group)
{
    if (value.IsNull())
        return {};
    const LocaleFacts &facts = CurrentLocaleFacts();
    NumberDigits n = NumberArgument(value, facts);
    n.Shift(2);
    return FixedWithOptions(n, digits, leading, parentheses, group, facts) + QLatin1Char('%');
}

QString VarFormatDateTime(const Variant &value, int namedFormat)
{
    static constexpr Named styles[] = {Named::GeneralDate, Named::LongDate, Named::ShortDate, Named::LongTime,
                                       Named::ShortTime};
    if (namedFormat < 0 || namedFormat > 4)
        throw RuntimeError(vberr::InvalidCall);
    if (value.IsNull())
        return {};
    const LocaleFacts &facts = CurrentLocaleFacts();
    const Classified c = ClassifyValue(value, facts);
    if (c.kind == Classified::Text || c.kind == Classified::Empty)
        throw RuntimeError(vberr::TypeMismatch);
    return FormatNamed(styles[namedFormat], c, facts);
}

double VarR8FromStr(const QString &text)
{
    NumberDigits n;
    if (!ParseNumberText(text, CurrentLocaleFacts(), n))
        throw RuntimeError(vberr::TypeMismatch);
    return n.ToDouble();
}

DateValue VarDateFromStr(const QString &text)
{
    double days = 0;
    if (!ParseDateText(text, CurrentLocaleFacts(), days))
        throw RuntimeError(vberr::TypeMismatch);
    return DateValue{days};
}

bool IsNumericText(const QString &text)
{
    NumberDigits n;
    return ParseNumberText(text, CurrentLocaleFacts(), n);
}

bool IsDateText(const QString &text)
{
    double days = 0;
    return ParseDateText(text, CurrentLocaleFacts(), days);
}

} // namespace qv
