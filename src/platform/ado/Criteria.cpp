#include "Criteria.h"

#include "AdoError.h"
#include "RowStore.h"
#include "ValueText.h"

namespace qv::ado {

namespace {

enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };
// How a field's values compare: the literal is converted to this kind once.
enum class Kind { Text, Number, Date, Boolean };

constexpr int kMaxDepth = 64;

Kind KindOfType(qint32 type)
{
    switch (type) {
    case adSmallInt: case adInteger: case adSingle: case adDouble: case adCurrency: case adDecimal:
    case adTinyInt: case adUnsignedTinyInt: case adUnsignedSmallInt: case adUnsignedInt: case adBigInt:
    case adUnsignedBigInt: case adNumeric: case adVarNumeric:
        return Kind::Number;
    case adDate: case adDBDate: case adDBTime: case adDBTimeStamp:
        return Kind::Date;
    case adBoolean:
        return Kind::Boolean;
    default:
        return Kind::Text;
    }
}

struct Comparison
{
    qint32 Field = 0;
    Op Operator = Op::Eq;
    Kind Compare = Kind::Text;
    bool Null = false;      // the literal is Null
    QString Text;           // Kind::Text, and LIKE patterns
    double Number = 0.0;    // Kind::Number / Date / Boolean (0 or 1)
};

bool Order(Op op, int sign)
{
    switch (op) {
    case Op::Eq: return sign == 0;
    case Op::Ne: return sign != 0;
    case Op::Lt: return sign < 0;
    case Op::Gt: return sign > 0;
    case Op::Le: return sign <= 0;
    case Op::Ge: return sign >= 0;
    case Op::Like: return false;
    }
    return false;
}

// A LIKE pattern: wildcards (* or %) only count at the ends, as the filter
// language allows them; anything in between is literal text.
bool Like(QStringView value, QStringView pattern)
{
    auto isWild = [](QChar c) { return c == u'*' || c == u'%'; };
    const bool open = !pattern.isEmpty() && isWild(pattern.front());
    if (open)
        pattern = pattern.mid(1);
    const bool openEnd = !pattern.isEmpty() && isWild(pattern.back());
    if (openEnd)
        pattern.chop(1);
    if (open && openEnd)
        return value.contains(pattern, Qt::CaseInsensitive);
    if (open)
        return value.endsWith(pattern, Qt::CaseInsensitive);
    if (openEnd)
        return value.startsWith(pattern, Qt::CaseInsensitive);
    return value.compare(pattern, Qt::CaseInsensitive) == 0;
}

int Sign(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool Test(const Comparison &c, const Variant &value)
{
    if (value.IsNull() || value.IsEmpty())
        return c.Null && c.Operator == Op::Eq;
    if (c.Null)
        return c.Operator == Op::Ne;
    if (c.Operator == Op::Like)
        return Like(ValueToXmlText(value), c.Text);
    switch (c.Compare) {
    case Kind::Text: {
        const QString *text = value.Get<QString>();
        // Bytes compare as their hexadecimal text, as LIKE and the file see them.
        const QString other = text ? QString() : value.Get<QByteArray>() ? ValueToXmlText(value) : value.ToText();
        const int sign = QString::compare(text ? *text : other, c.Text, Qt::CaseInsensitive);
        return Order(c.Operator, sign);
    }
    case Kind::Boolean:
        return Order(c.Operator, Sign(value.ToBool() ? 1.0 : 0.0, c.Number));
    case Kind::Date:
        if (const DateValue *d = value.Get<DateValue>())
            return Order(c.Operator, Sign(d->Days, c.Number));
        return false;
    case Kind::Number:
        // A single compares at its own precision: 0.05 is the single 0.05.
        if (const float *f = value.Get<float>())
            return Order(c.Operator, Sign(double(*f), double(float(c.Number))));
        return value.IsNumeric() && Order(c.Operator, Sign(value.ToDouble(), c.Number));
    }
    return false;
}

} // namespace

struct Criteria::Node
{
    enum Type { And, Or, Leaf } NodeType = Leaf;
    std::vector<std::unique_ptr<Node>> Children;
    Comparison Condition;

    bool Eval(const RowStore &store, qint32 row) const
    {
        if (NodeType == Leaf)
            return Test(Condition, store.Cell(row, Condition.Field));
        const bool wantAll = NodeType == And;
        for (const auto &child : Children) {
            if (child->Eval(store, row) != wantAll)
                return !wantAll;
        }
        return wantAll;
    }
};

namespace {

// Reads the criteria text by recursive descent; every fault raises
// adErrInvalidArgument naming the place in the text.
class Parser
{
public:
    Parser(const QString &text, const RowStore &store) : m_text(text), m_store(store) {}

    std::unique_ptr<Criteria::Node> Run()
    {
        auto root = Expression(0);
        SkipSpace();
        if (m_at < m_text.size())
            Fail(QStringLiteral("unexpected text"));
        return root;
    }

private:
    using NodePtr = std::unique_ptr<Criteria::Node>;

    [[noreturn]] void Fail(const QString &what) const
    {
        throw AdoError(adErrInvalidArgument, QStringLiteral("The filter \"%1\" cannot be used: %2 at character %3.")
                                                 .arg(m_text, what)
                                                 .arg(m_at + 1));
    }

    void SkipSpace()
    {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }

    // A keyword followed by a space, a parenthesis, a quote or the end.
    bool Keyword(QLatin1StringView word)
    {
        SkipSpace();
        const qsizetype end = m_at + word.size();
        if (QStringView(m_text).mid(m_at, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        if (end < m_text.size() && (m_text[end].isLetterOrNumber() || m_text[end] == u'_'))
            return false;
        m_at = end;
        return true;
    }

    NodePtr Combine(Criteria::Node::Type type, NodePtr first, NodePtr (Parser::*next)(int), int depth)
    {
        const QLatin1StringView word = type == Criteria::Node::And ? QLatin1StringView("AND") : QLatin1StringView("OR");
        if (!Keyword(word))
            return first;
        auto node = std::make_unique<Criteria::Node>();
        node->NodeType = type;
        node->Children.push_back(std::move(first));
        do {
            node->Children.push_back((this->*next)(depth));
        } while (Keyword(word));
        return node;
    }

    NodePtr Expression(int depth) { return Combine(Criteria::Node::Or, Term(depth), &Parser::Term, depth); }
    NodePtr Term(int depth) { return Combine(Criteria::Node::And, Factor(depth), &Parser::Factor, depth); }

    NodePtr Factor(int depth)
    {
        SkipSpace();
        if (m_at < m_text.size() && m_text[m_at] == u'(') {
            if (depth >= kMaxDepth)
                Fail(QStringLiteral("parentheses nest too deep"));
            ++m_at;
            auto inner = Expression(depth + 1);
            SkipSpace();
            if (m_at >= m_text.size() || m_text[m_at] != u')')
                Fail(QStringLiteral("a closing parenthesis is missing"));
            ++m_at;
            return inner;
        }
        auto leaf = std::make_unique<Criteria::Node>();
        leaf->Condition = ReadComparison();
        return leaf;
    }

    Comparison ReadComparison()
    {
        Comparison c;
        const QString name = FieldName();
        c.Field = m_store.FieldIndex(name);
        if (c.Field < 0)
            Fail(QStringLiteral("there is no field \"%1\"").arg(name));
        c.Operator = Operator();
        c.Compare = KindOfType(m_store.FieldList[c.Field].Type);
        BindLiteral(c, name);
        return c;
    }

    QString FieldName()
    {
        SkipSpace();
        if (m_at < m_text.size() && m_text[m_at] == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_at + 1);
            if (close < 0)
                Fail(QStringLiteral("a closing bracket is missing"));
            const QString name = m_text.mid(m_at + 1, close - m_at - 1);
            m_at = close + 1;
            return name;
        }
        const qsizetype start = m_at;
        while (m_at < m_text.size() && !m_text[m_at].isSpace() && !QStringView(u"=<>()'\"#[]").contains(m_text[m_at]))
            ++m_at;
        if (m_at == start)
            Fail(QStringLiteral("a field name is expected"));
        return m_text.mid(start, m_at - start);
    }

    Op Operator()
    {
        SkipSpace();
        if (Keyword(QLatin1StringView("LIKE")))
            return Op::Like;
        const QStringView rest = QStringView(m_text).mid(m_at);
        static const std::pair<const char16_t *, Op> table[] = {
            {u"<=", Op::Le}, {u">=", Op::Ge}, {u"<>", Op::Ne}, {u"=", Op::Eq}, {u"<", Op::Lt}, {u">", Op::Gt}};
        for (const auto &[symbol, op] : table) {
            if (rest.startsWith(QStringView(symbol))) {
                m_at += QStringView(symbol).size();
                return op;
            }
        }
        Fail(QStringLiteral("an operator (= <> < > <= >= LIKE) is expected"));
    }

    // A quoted text with a doubled quote standing for itself.
    QString Quoted(QChar quote)
    {
        QString out;
        ++m_at;
        while (m_at < m_text.size()) {
            const QChar ch = m_text[m_at++];
            if (ch != quote) {
                out += ch;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == quote) {
                out += quote;
                ++m_at;
                continue;
            }
            return out;
        }
        Fail(QStringLiteral("a closing quote is missing"));
    }

    void BindLiteral(Comparison &c, const QString &field)
    {
        SkipSpace();
        if (m_at >= m_text.size())
            Fail(QStringLiteral("a value is expected"));
        const qsizetype start = m_at;
        const QChar first = m_text[m_at];
        QString text;
        bool isDate = false;
        if (first == u'\'' || first == u'"') {
            text = Quoted(first);
        } else if (first == u'#') {
            const qsizetype close = m_text.indexOf(u'#', m_at + 1);
            if (close < 0)
                Fail(QStringLiteral("a closing # is missing"));
            text = m_text.mid(m_at + 1, close - m_at - 1);
            m_at = close + 1;
            isDate = true;
        } else if (Keyword(QLatin1StringView("NULL"))) {
            if (c.Operator != Op::Eq && c.Operator != Op::Ne)
                Fail(QStringLiteral("Null can only be compared with = or <>"));
            c.Null = true;
            return;
        } else {
            while (m_at < m_text.size() && !m_text[m_at].isSpace() && m_text[m_at] != u')')
                ++m_at;
            text = m_text.mid(start, m_at - start);
        }
        if (c.Operator == Op::Like) {
            c.Text = text;
            return;
        }
        if (!ConvertLiteral(c, text, isDate)) {
            m_at = start;
            Fail(QStringLiteral("\"%1\" is no value for the field \"%2\"").arg(text, field));
        }
    }

    static bool ConvertLiteral(Comparison &c, const QString &text, bool isDate)
    {
        switch (c.Compare) {
        case Kind::Text:
            c.Text = text;
            return true;
        case Kind::Date:
            return ParseLiteralDate(text, c.Number);
        case Kind::Boolean:
            if (text.compare(u"True", Qt::CaseInsensitive) == 0 || text.compare(u"False", Qt::CaseInsensitive) == 0) {
                c.Number = text.compare(u"True", Qt::CaseInsensitive) == 0 ? 1.0 : 0.0;
                return true;
            }
            if (!ParseLiteralNumber(text, c.Number))
                return false;
            c.Number = c.Number != 0.0 ? 1.0 : 0.0;
            return true;
        case Kind::Number:
            return !isDate && ParseLiteralNumber(text, c.Number);
        }
        return false;
    }

    const QString &m_text;
    const RowStore &m_store;
    qsizetype m_at = 0;
};

} // namespace

Criteria::~Criteria() = default;

std::shared_ptr<const Criteria> Criteria::Parse(const QString &text, const RowStore &store)
{
    std::shared_ptr<Criteria> criteria(new Criteria);
    criteria->m_text = text;
    criteria->m_root = Parser(text, store).Run();
    return criteria;
}

bool Criteria::Matches(const RowStore &store, qint32 row) const
{
    return m_root->Eval(store, row);
}

} // namespace qv::ado
