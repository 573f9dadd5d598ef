#include "DataFormat.h"

#include "automation/DateText.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"
#include "automation/OleDate.h"

namespace qv {
namespace {

QString TwoDigits(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

// "yyyy-mm-dd hh:nn:ss", written digit by digit: it is made for every cell
// of a date column.
QString StampText(QDate date, int seconds)
{
    char16_t out[19];
    const auto put = [&out](int at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            out[at + i] = char16_t(u'0' + value % 10);
    };
    put(0, date.year(), 4);
    out[4] = u'-';
    put(5, date.month(), 2);
    out[7] = u'-';
    put(8, date.day(), 2);
    out[10] = u' ';
    put(11, seconds / 3600, 2);
    out[13] = u':';
    put(14, seconds / 60 % 60, 2);
    out[16] = u':';
    put(17, seconds % 60, 2);
    return QString(reinterpret_cast<const QChar *>(out), 19);
}

bool IsDigitAt(const QString &text, qsizetype i) { return i >= 0 && i < text.size() && text[i].isDigit(); }

// People write "4.6.2002" where the region writes "4/6/2002"; the platform's
// reader takes a '.' there for a time separator, so three numbers joined by
// dots are turned into a date first. Two numbers stay a time ("9.30").
QString DottedDateToLocal(const QString &text, const LocaleFacts &facts)
{
    if (facts.DateSeparator == u'.' || !text.contains(u'.'))
        return text;
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (!out[i].isDigit() || IsDigitAt(out, i - 1))
            continue;
        qsizetype end = i;
        int dots = 0;
        while (end < out.size() && (out[end].isDigit() || (out[end] == u'.' && IsDigitAt(out, end + 1)))) {
            dots += out[end] == u'.';
            ++end;
        }
        if (dots == 2) {
            for (qsizetype k = i; k < end; ++k)
                out[k] = out[k] == u'.' ? facts.DateSeparator : out[k];
        }
        i = end;
    }
    return out;
}

} // namespace

QString DataFormat::ResolveDateString(const QString &text) const
{
    const LocaleFacts &facts = CurrentLocaleFacts();
    // Weekday names and commas are the reader's own business; dotted dates
    // and "a.m." need help, as their periods would read otherwise.
    QString cleaned = DottedDateToLocal(text, facts);
    if (text.contains(u"a.m", Qt::CaseInsensitive) || text.contains(u"p.m", Qt::CaseInsensitive)) {
        for (const auto &[from, to] : {std::pair{"a.m.", "am"}, {"a.m", "am"}, {"p.m.", "pm"}, {"p.m", "pm"}})
            cleaned.replace(QLatin1String(from), QLatin1String(to), Qt::CaseInsensitive);
    }
    double days = 0;
    QDate date;
    int seconds = 0;
    if (!ParseDateText(cleaned, facts, days) || !SplitOleDate(days, date, seconds))
        return {};
    return StampText(date, seconds);
}

QString DataFormat::ResolveTimeString(const QString &text) const
{
    const LocaleFacts &facts = CurrentLocaleFacts();
    QString value = text.endsWith(QLatin1Char('%')) ? text.chopped(1) : text;
    NumberDigits n;
    if (ParseNumberText(value, facts, n)) {
        const double number = n.ToDouble();
        value = number >= 0 && number < 24 && number == std::floor(number)
                    ? value + QLatin1String(":00")
                    : DoubleToText(number);
    }
    double days = 0;
    QDate date;
    int seconds = 0;
    if (!ParseDateText(DottedDateToLocal(value, facts), facts, days) || !SplitOleDate(days, date, seconds))
        return {};
    return TwoDigits(seconds / 3600) + QLatin1Char(':') + TwoDigits(seconds / 60 % 60) + QLatin1Char(':')
           + TwoDigits(seconds % 60);
}

} // namespace qv
