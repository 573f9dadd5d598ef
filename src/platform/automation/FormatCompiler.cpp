#include "FormatCompiler.h"

#include <QHash>

namespace qv::format {
namespace {

// One character of a section: plain (with its meaning in the language) or
// literal (quoted or escaped).
struct Atom
{
    QChar c;
    bool plain;
};

std::vector<std::vector<Atom>> SplitSections(const QString &format)
{
    std::vector<std::vector<Atom>> sections(1);
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? format.size() : end;
            for (qsizetype j = i + 1; j < stop; ++j)
                sections.back().push_back({format[j], false});
            i = stop;
        } else if (c == u'\\') {
            if (i + 1 < format.size())
                sections.back().push_back({format[++i], false});
        } else if (c == u';' && sections.size() < 4) {
            sections.emplace_back();
        } else {
            sections.back().push_back({c, true});
        }
    }
    return sections;
}

bool IsDateLetter(QChar c)
{
    switch (c.toLower().unicode()) {
    case 'd': case 'm': case 'y': case 'h': case 'n': case 's': case 'w': case 'q': case 'c':
        return true;
    default:
        return false;
    }
}

size_t MatchMeridiem(const std::vector<Atom> &atoms, size_t i, Token &token);

SectionKind Classify(const std::vector<Atom> &atoms)
{
    bool date = false;
    bool text = false;
    for (size_t i = 0; i < atoms.size(); ++i) {
        const Atom &a = atoms[i];
        if (!a.plain)
            continue;
        Token meridiem;
        date = date || MatchMeridiem(atoms, i, meridiem) > 0; // "A/P" alone is a time
        if (a.c == u'0' || a.c == u'#')
            return SectionKind::Number;
        date = date || IsDateLetter(a.c);
        text = text || a.c == u'@' || a.c == u'&' || a.c == u'<' || a.c == u'>' || a.c == u'!';
    }
    if (date)
        return SectionKind::Date;
    return text ? SectionKind::Text : SectionKind::Literal;
}

void AddLiteral(std::vector<Token> &tokens, QChar c)
{
    if (!tokens.empty() && tokens.back().kind == Tok::Literal) {
        tokens.back().text += c;
        return;
    }
    tokens.push_back({Tok::Literal, QString(c)});
}

bool PlainAt(const std::vector<Atom> &atoms, size_t i, char16_t wanted)
{
    return i < atoms.size() && atoms[i].plain && atoms[i].c.toLower() == QChar(wanted).toLower();
}

// ',' tokens are kept as literals "," marked by sign=true until the whole part is known.
void ResolveCommas(NumberLayout &n)
{
    int lastPlaceholder = -1;
    int firstPlaceholder = -1;
    for (int i = 0; i < int(n.whole.size()); ++i) {
        if (n.whole[size_t(i)].kind == Tok::Zero || n.whole[size_t(i)].kind == Tok::Hash) {
            lastPlaceholder = i;
            if (firstPlaceholder < 0)
                firstPlaceholder = i;
        }
    }
    std::vector<Token> kept;
    for (int i = 0; i < int(n.whole.size()); ++i) {
        Token &t = n.whole[size_t(i)];
        const bool comma = t.kind == Tok::Literal && t.sign;
        if (!comma) {
            kept.push_back(std::move(t));
            continue;
        }
        if (i < lastPlaceholder)
            n.grouping = true;
        else if (firstPlaceholder >= 0 && firstPlaceholder < i)
            ++n.scale;
        else
            AddLiteral(kept, u',');
    }
    n.whole = std::move(kept);
}

void CompileNumber(const std::vector<Atom> &atoms, Section &s)
{
    NumberLayout &n = s.number;
    std::vector<Token> *part = &n.whole;
    bool wholeHasZero = false;
    for (size_t i = 0; i < atoms.size(); ++i) {
        const Atom &a = atoms[i];
        if (!a.plain) {
            AddLiteral(*part, a.c);
            continue;
        }
        if (a.c == u'0' || a.c == u'#') {
            // Once a '0' has shown in the whole part, every later digit shows too.
            const bool zero = a.c == u'0' || (part == &n.whole && wholeHasZero);
            wholeHasZero = wholeHasZero || (part == &n.whole && zero);
            part->push_back({zero ? Tok::Zero : Tok::Hash});
            if (part == &n.whole) {
                ++n.wholePlaceholders;
            } else if (part == &n.fraction) {
                ++n.fractionPlaceholders;
            } else if (zero) {
                ++n.exponentZeros;
            }
        } else if (a.c == u'.' && part == &n.whole) {
            n.hasPoint = true;
            part = &n.fraction;
        } else if (a.c == u',' && part == &n.whole) {
            Token comma{Tok::Literal, QStringLiteral(",")};
            comma.sign = true;
            part->push_back(comma);
        } else if (a.c == u',') {
            continue;
        } else if ((a.c == u'E' || a.c == u'e') && part != &n.exponent
                   && (PlainAt(atoms, i + 1, u'+') || PlainAt(atoms, i + 1, u'-'))) {
            n.hasExponent = true;
            n.exponentUpper = a.c == u'E';
            n.exponentSign = atoms[i + 1].c == u'+';
            part = &n.exponent;
            ++i;
        } else {
            if (a.c == u'%')
                ++n.percent;
            AddLiteral(*part, a.c);
        }
    }
    ResolveCommas(n);
}

size_t RunLength(const std::vector<Atom> &atoms, size_t i)
{
    size_t run = 1;
    while (i + run < atoms.size() && atoms[i + run].plain && atoms[i + run].c.toLower() == atoms[i].c.toLower())
        ++run;
    return run;
}

// Matches "AM/PM", "A/P" or "AMPM" at i; returns the atoms it takes (0 for none).
size_t MatchMeridiem(const std::vector<Atom> &atoms, size_t i, Token &token)
{
    auto matches = [&](const char *pattern) {
        size_t k = 0;
        for (; pattern[k]; ++k) {
            if (!PlainAt(atoms, i + k, char16_t(pattern[k])))
                return size_t(0);
        }
        return k;
    };
    for (const char *pattern : {"am/pm", "a/p"}) {
        if (const size_t taken = matches(pattern)) {
            QString written;
            for (size_t k = 0; k < taken; ++k)
                written += atoms[i + k].c;
            token = {Tok::AmPmText, written};
            return taken;
        }
    }
    if (const size_t taken = matches("ampm")) {
        token = {Tok::AmPmLocale};
        return taken;
    }
    return 0;
}

// The token of `run` repeated letters and how many of them it takes.
std::pair<Tok, size_t> DateRun(char16_t letter, size_t run, bool afterHour)
{
    switch (letter) {
    case 'd': {
        static constexpr Tok days[] = {Tok::Day, Tok::Day2, Tok::DayAbbr, Tok::DayName, Tok::ShortDate, Tok::LongDate};
        const size_t n = std::min<size_t>(run, 6);
        return {days[n - 1], n};
    }
    case 'm': {
        if (afterHour)
            return run >= 2 ? std::pair{Tok::Minute2, size_t(2)} : std::pair{Tok::Minute, size_t(1)};
        static constexpr Tok months[] = {Tok::Month, Tok::Month2, Tok::MonthAbbr, Tok::MonthName};
        const size_t n = std::min<size_t>(run, 4);
        return {months[n - 1], n};
    }
    case 'y':
        if (run >= 4)
            return {Tok::Year4, 4};
        return run >= 2 ? std::pair{Tok::Year2, size_t(2)} : std::pair{Tok::DayOfYear, size_t(1)};
    case 'h': return run >= 2 ? std::pair{Tok::Hour2, size_t(2)} : std::pair{Tok::Hour, size_t(1)};
    case 'n': return run >= 2 ? std::pair{Tok::Minute2, size_t(2)} : std::pair{Tok::Minute, size_t(1)};
    case 's': return run >= 2 ? std::pair{Tok::Second2, size_t(2)} : std::pair{Tok::Second, size_t(1)};
    case 'w': return run >= 2 ? std::pair{Tok::Week, size_t(2)} : std::pair{Tok::Weekday, size_t(1)};
    case 'q': return {Tok::Quarter, 1};
    case 'c': return {Tok::GeneralDate, 1};
    case 't': return run >= 5 ? std::pair{Tok::LongTime, size_t(5)} : std::pair{Tok::Literal, size_t(0)};
    default: return {Tok::Literal, 0};
    }
}

void CompileDate(const std::vector<Atom> &atoms, Section &s)
{
    bool afterHour = false;
    for (size_t i = 0; i < atoms.size();) {
        const Atom &a = atoms[i];
        if (!a.plain) {
            AddLiteral(s.tokens, a.c);
            ++i;
            continue;
        }
        Token meridiem;
        if (const size_t taken = MatchMeridiem(atoms, i, meridiem)) {
            s.tokens.push_back(meridiem);
            s.twelveHour = true;
            i += taken;
            continue;
        }
        if (a.c == u'/' || a.c == u':') {
            s.tokens.push_back({a.c == u'/' ? Tok::DateSeparator : Tok::TimeSeparator});
            ++i;
            continue;
        }
        const auto [kind, taken] = DateRun(a.c.toLower().unicode(), RunLength(atoms, i), afterHour);
        if (taken == 0) {
            AddLiteral(s.tokens, a.c);
            ++i;
            continue;
        }
        s.tokens.push_back({kind});
        afterHour = kind == Tok::Hour || kind == Tok::Hour2;
        i += taken;
    }
}

void CompileText(const std::vector<Atom> &atoms, Section &s)
{
    for (const Atom &a : atoms) {
        if (!a.plain) {
            AddLiteral(s.tokens, a.c);
            continue;
        }
        switch (a.c.unicode()) {
        case '@': s.tokens.push_back({Tok::CharOrSpace}); break;
        case '&': s.tokens.push_back({Tok::CharOrNothing}); break;
        case '<': s.lower = true; s.upperCase = false; break;
        case '>': s.upperCase = true; s.lower = false; break;
        case '!': s.fillLeft = true; break;
        default: AddLiteral(s.tokens, a.c);
        }
    }
}

std::shared_ptr<const CompiledFormat> Build(const QString &format)
{
    auto compiled = std::make_shared<CompiledFormat>();
    for (const auto &atoms : SplitSections(format)) {
        Section s;
        s.empty = atoms.empty();
        s.kind = Classify(atoms);
        switch (s.kind) {
        case SectionKind::Number: CompileNumber(atoms, s); break;
        case SectionKind::Date: CompileDate(atoms, s); break;
        case SectionKind::Text: CompileText(atoms, s); break;
        case SectionKind::Literal:
            for (const Atom &a : atoms)
                AddLiteral(s.tokens, a.c);
            break;
        }
        compiled->sections.push_back(std::move(s));
    }
    return compiled;
}

} // namespace

std::shared_ptr<const CompiledFormat> Compile(const QString &format)
{
    thread_local QHash<QString, std::shared_ptr<const CompiledFormat>> cache;
    if (const auto it = cache.constFind(format); it != cache.constEnd())
        return it.value();
    // Formats come from columns and saved views; a bound keeps odd inputs from growing it.
    if (cache.size() >= 512)
        cache.clear();
    auto compiled = Build(format);
    cache.insert(format, compiled);
    return compiled;
}

} // namespace qv::format
