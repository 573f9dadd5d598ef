#include "DateText.h"

#include "LocaleFacts.h"
#include "OleDate.h"

#include <QVarLengthArray>

#include <cmath>
#include <optional>

namespace qv {
namespace {

struct Token
{
    enum Kind { Number, Word, Colon, Separator } kind;
    QStringView text;
    int value = 0;
};

// A date text has a handful of tokens; these stay on the stack.
using Tokens = QVarLengthArray<Token, 24>;
using Numbers = QVarLengthArray<const Token *, 8>;

// A '.' between digits separates the parts of a time ("2.5" is 2:05) unless
// the locale writes its dates with it.
bool IsTimePoint(QStringView text, qsizetype i, const LocaleFacts &facts)
{
    return text[i] == u'.' && facts.DateSeparator != u'.' && i > 0 && text[i - 1].isDigit()
           && i + 1 < text.size() && text[i + 1].isDigit();
}

bool Tokenize(QStringView text, const LocaleFacts &facts, Tokens &tokens)
{
    // A date never starts with a separator: "-1.1" is a negative number.
    const QStringView start = text.trimmed();
    if (!start.isEmpty() && !start.front().isLetterOrNumber())
        return false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        qsizetype end = i + 1;
        if (c.isDigit()) {
            int value = 0;
            end = i;
            while (end < text.size() && text[end].isDigit() && end - i < 9)
                value = value * 10 + text[end++].digitValue();
            tokens.push_back({Token::Number, text.mid(i, end - i), value});
        } else if (c.isLetter()) {
            while (end < text.size() && text[end].isLetter())
                ++end;
            tokens.push_back({Token::Word, text.mid(i, end - i)});
        } else if (c == u':' || IsTimePoint(text, i, facts)) {
            tokens.push_back({Token::Colon, text.mid(i, 1)});
        } else if (c == u'/' || c == u'-' || c == u'.' || c == u',' || c.isSpace()) {
            tokens.push_back({Token::Separator, text.mid(i, 1)});
        } else {
            return false;
        }
        i = end;
    }
    return true;
}

int MonthOf(QStringView word, const LocaleFacts &facts)
{
    for (int i = 0; i < 12; ++i) {
        if (word.compare(facts.MonthNames[size_t(i)], Qt::CaseInsensitive) == 0)
            return i + 1;
        QStringView abbreviation = facts.MonthAbbreviations[size_t(i)];
        if (abbreviation.endsWith(u'.'))
            abbreviation.chop(1);
        if (!abbreviation.isEmpty() && word.compare(abbreviation, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

bool IsWeekday(QStringView word, const LocaleFacts &facts)
{
    for (int i = 0; i < 7; ++i) {
        QStringView abbreviation = facts.DayAbbreviations[size_t(i)];
        if (abbreviation.endsWith(u'.'))
            abbreviation.chop(1);
        if (word.compare(facts.DayNames[size_t(i)], Qt::CaseInsensitive) == 0
            || word.compare(abbreviation, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// 0 none, 1 AM, 2 PM.
int MeridiemOf(QStringView word, const LocaleFacts &facts)
{
    if (word.compare(u"am", Qt::CaseInsensitive) == 0 || word.compare(u"a", Qt::CaseInsensitive) == 0
        || (!facts.AmText.isEmpty() && word.compare(facts.AmText, Qt::CaseInsensitive) == 0))
        return 1;
    if (word.compare(u"pm", Qt::CaseInsensitive) == 0 || word.compare(u"p", Qt::CaseInsensitive) == 0
        || (!facts.PmText.isEmpty() && word.compare(facts.PmText, Qt::CaseInsensitive) == 0))
        return 2;
    return 0;
}

struct Pieces
{
    Numbers dateNumbers;
    int month = 0;
    int timeParts[3] = {-1, 0, 0};
    int meridiem = 0;
};

// Takes "h:m[:s]" starting at token i; returns the index after it.
qsizetype TakeTime(const Tokens &tokens, qsizetype i, Pieces &pieces)
{
    int part = 0;
    while (part < 3 && i < tokens.size() && tokens[i].kind == Token::Number) {
        pieces.timeParts[part++] = tokens[i].value;
        ++i;
        const bool more = i + 1 < tokens.size() && tokens[i].kind == Token::Colon
                          && tokens[i + 1].kind == Token::Number;
        if (part == 3 || !more)
            break;
        ++i;
    }
    return i;
}

// The AM/PM marker ends the text: one in the middle makes it no date.
bool OnlySeparatorsAfter(const Tokens &tokens, qsizetype i)
{
    for (++i; i < tokens.size(); ++i) {
        if (tokens[i].kind != Token::Separator)
            return false;
    }
    return true;
}

bool Collect(const Tokens &tokens, const LocaleFacts &facts, Pieces &pieces)
{
    for (qsizetype i = 0; i < tokens.size();) {
        const Token &t = tokens[i];
        if (t.kind == Token::Number) {
            const bool timeStart = i + 1 < tokens.size() && tokens[i + 1].kind == Token::Colon;
            if (timeStart) {
                if (pieces.timeParts[0] >= 0)
                    return false;
                i = TakeTime(tokens, i, pieces);
                continue;
            }
            pieces.dateNumbers.push_back(&t);
        } else if (t.kind == Token::Word) {
            if (const int month = MonthOf(t.text, facts)) {
                if (pieces.month)
                    return false;
                pieces.month = month;
            } else if (const int meridiem = MeridiemOf(t.text, facts)) {
                if (pieces.meridiem || !OnlySeparatorsAfter(tokens, i))
                    return false;
                pieces.meridiem = meridiem;
                // "9 PM": the number before the marker is the hour.
                if (pieces.timeParts[0] < 0) {
                    if (pieces.dateNumbers.empty())
                        return false;
                    pieces.timeParts[0] = pieces.dateNumbers.back()->value;
                    pieces.dateNumbers.pop_back();
                }
            } else if (!IsWeekday(t.text, facts)) {
                return false;
            }
        } else if (t.kind == Token::Colon) {
            return false;
        }
        ++i;
    }
    return true;
}

std::optional<int> TimeSeconds(const Pieces &pieces)
{
    int hour = pieces.timeParts[0];
    if (hour < 0)
        return 0;
    const int minute = pieces.timeParts[1];
    const int second = pieces.timeParts[2];
    if (minute > 59 || second > 59)
        return std::nullopt;
    if (hour > 23)
        return std::nullopt;
    // A 24-hour time keeps its hour whatever marker follows: "13:00 PM" is 13:00.
    if (pieces.meridiem && hour <= 12)
        hour = hour % 12 + (pieces.meridiem == 2 ? 12 : 0);
    return hour * 3600 + minute * 60 + second;
}

bool IsYearLike(const Token *t) { return t->text.size() >= 3 || t->value > 31; }

int FullYear(const Token *t)
{
    if (t->text.size() <= 2 && t->value < 100)
        return t->value < 50 ? 2000 + t->value : 1900 + t->value;
    return t->value;
}

QDate Make(int year, int month, int day)
{
    if (year < 100 || year > 9999)
        return {};
    return QDate(year, month, day);
}

QDate NumericDate(const Numbers &n, const LocaleFacts &facts)
{
    if (n.size() == 3) {
        if (IsYearLike(n[0]) || facts.Order == DateOrder::YearMonthDay) {
            const QDate ymd = Make(FullYear(n[0]), n[1]->value, n[2]->value);
            if (ymd.isValid() || IsYearLike(n[0]))
                return ymd.isValid() ? ymd : Make(FullYear(n[0]), n[2]->value, n[1]->value);
        }
        const bool dayFirst = facts.Order == DateOrder::DayMonthYear;
        const QDate first = dayFirst ? Make(FullYear(n[2]), n[1]->value, n[0]->value)
                                     : Make(FullYear(n[2]), n[0]->value, n[1]->value);
        if (first.isValid())
            return first;
        return dayFirst ? Make(FullYear(n[2]), n[0]->value, n[1]->value)
                        : Make(FullYear(n[2]), n[1]->value, n[0]->value);
    }
    // Two numbers: month and year when one looks like a year, else month and day.
    if (IsYearLike(n[1]))
        return Make(FullYear(n[1]), n[0]->value, 1);
    if (IsYearLike(n[0]))
        return Make(FullYear(n[0]), n[1]->value, 1);
    const int year = QDate::currentDate().year();
    const bool dayFirst = facts.Order == DateOrder::DayMonthYear;
    const QDate first = dayFirst ? Make(year, n[1]->value, n[0]->value) : Make(year, n[0]->value, n[1]->value);
    return first.isValid() ? first
                           : (dayFirst ? Make(year, n[0]->value, n[1]->value) : Make(year, n[1]->value, n[0]->value));
}

QDate NamedMonthDate(const Numbers &n, int month)
{
    if (n.empty() || n.size() > 2)
        return {};
    if (n.size() == 1) {
        if (IsYearLike(n[0]))
            return Make(FullYear(n[0]), month, 1);
        return Make(QDate::currentDate().year(), month, n[0]->value);
    }
    if (IsYearLike(n[0]))
        return Make(FullYear(n[0]), month, n[1]->value);
    return Make(FullYear(n[1]), month, n[0]->value);
}

} // namespace

bool ParseDateText(QStringView text, const LocaleFacts &facts, double &oleDays)
{
    Tokens tokens;
    if (text.size() > 200 || !Tokenize(text, facts, tokens))
        return false;
    Pieces pieces;
    if (!Collect(tokens, facts, pieces))
        return false;
    const std::optional<int> seconds = TimeSeconds(pieces);
    if (!seconds)
        return false;
    const auto &numbers = pieces.dateNumbers;
    if (numbers.empty() && !pieces.month) {
        if (pieces.timeParts[0] < 0)
            return false;
        oleDays = *seconds / 86400.0;
        return true;
    }
    if (numbers.size() > 3 || (numbers.size() < 2 && !pieces.month))
        return false;
    const QDate date = pieces.month ? NamedMonthDate(numbers, pieces.month) : NumericDate(numbers, facts);
    if (!date.isValid())
        return false;
    oleDays = MakeOleDate(date, *seconds);
    return true;
}

} // namespace qv
