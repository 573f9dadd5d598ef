#include "VCardReader.h"

#include <QStringDecoder>

namespace qv::data {

namespace {

// A content line before decoding: the name and parameter part, and the raw value.
struct RawLine
{
    QByteArray Head;
    QByteArray Value;
};

bool IsQuotedPrintable(const QByteArray &head)
{
    return head.toUpper().contains("QUOTED-PRINTABLE");
}

// The logical line being unfolded. Where its head ends is found once, by
// scanning only what each physical line adds, so that a long run of folded
// lines costs its length and not its length squared.
class LogicalLine
{
public:
    void Start(const QByteArray &line)
    {
        m_text = line;
        m_scanned = 0;
        m_quoted = false;
        m_colon = -1;
        m_quotedPrintable = false;
    }
    void Append(QByteArrayView more) { m_text += more; }
    bool IsEmpty() const { return m_text.isEmpty(); }

    // Drops a trailing '=' and answers true when it is a quoted-printable soft line break.
    bool TakeSoftBreak()
    {
        FindColon();
        if (m_colon < 0 || !m_quotedPrintable || !m_text.endsWith('='))
            return false;
        m_text.chop(1);
        return true;
    }

    void AddTo(QList<RawLine> &lines)
    {
        FindColon();
        if (m_colon > 0 && !m_text.trimmed().isEmpty())
            lines << RawLine{m_text.left(m_colon), m_text.mid(m_colon + 1)};
        m_text.clear();
    }

private:
    void FindColon()
    {
        for (; m_colon < 0 && m_scanned < m_text.size(); ++m_scanned) {
            const char c = m_text[m_scanned];
            if (c == '"') {
                m_quoted = !m_quoted;
            } else if (c == ':' && !m_quoted) {
                m_colon = m_scanned;
                m_quotedPrintable = IsQuotedPrintable(m_text.left(m_colon));
            }
        }
    }

    QByteArray m_text;
    qsizetype m_scanned = 0;
    bool m_quoted = false;
    qsizetype m_colon = -1;
    bool m_quotedPrintable = false;
};

// Splits into logical lines: a line that starts with a blank continues the one
// before, and in a quoted-printable value a trailing '=' joins the next line.
QList<RawLine> Unfold(const QByteArray &bytes)
{
    QList<RawLine> lines;
    LogicalLine current;
    bool softBreak = false;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (softBreak) {
            current.Append(line);
        } else if (!line.isEmpty() && (line[0] == ' ' || line[0] == '\t') && !current.IsEmpty()) {
            current.Append(QByteArrayView(line).sliced(1));
        } else {
            current.AddTo(lines);
            current.Start(line);
        }
        softBreak = current.TakeSoftBreak();
    }
    current.AddTo(lines);
    return lines;
}

QByteArray DecodeQuotedPrintable(const QByteArray &value)
{
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size()) {
            bool ok = false;
            const int byte = value.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(byte);
                i += 2;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

QString DecodeText(const QByteArray &bytes, const QByteArray &charset)
{
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid()) {
            QString text = decoder(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Old exports that name no charset are mostly in the Windows code page.
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? QString(windows(bytes)) : QString::fromLatin1(bytes);
}

void AddTypes(VCardProperty &property, const QByteArray &values)
{
    for (const QByteArray &part : values.split(',')) {
        const QString type = QString::fromUtf8(part.trimmed()).remove(u'"').toLower();
        if (type.isEmpty())
            continue;
        if (type == u"pref")
            property.Preferred = true;
        else
            property.Types << type;
    }
}

VCardProperty DecodeLine(const RawLine &line)
{
    VCardProperty property;
    QList<QByteArray> parts;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= line.Head.size(); ++i) {
        if (i < line.Head.size() && line.Head[i] == '"')
            quoted = !quoted;
        if (i == line.Head.size() || (line.Head[i] == ';' && !quoted)) {
            parts << line.Head.mid(start, i - start);
            start = i + 1;
        }
    }
    QString name = QString::fromUtf8(parts.takeFirst().trimmed());
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0) {
        property.Group = name.left(dot);
        name = name.mid(dot + 1);
    }
    property.Name = name.toUpper();

    QByteArray encoding, charset;
    for (const QByteArray &parameter : std::as_const(parts)) {
        const qsizetype equals = parameter.indexOf('=');
        const QByteArray key = (equals < 0 ? parameter : parameter.left(equals)).trimmed().toUpper();
        const QByteArray value = equals < 0 ? QByteArray() : parameter.mid(equals + 1).trimmed();
        if (equals < 0) {
            // 2.1 writes parameter values without their names.
            if (key == "QUOTED-PRINTABLE" || key == "BASE64" || key == "8BIT" || key == "7BIT")
                encoding = key;
            else
                AddTypes(property, key);
        } else if (key == "TYPE") {
            AddTypes(property, value);
        } else if (key == "PREF") {
            property.Preferred = true;
        } else if (key == "ENCODING") {
            encoding = value.toUpper();
        } else if (key == "CHARSET") {
            charset = value;
        }
    }
    QByteArray value = line.Value;
    if (encoding == "QUOTED-PRINTABLE")
        value = DecodeQuotedPrintable(value);
    // Base64 values are pictures and keys, which no field shows; their text is kept as written.
    property.Value = DecodeText(value, charset);
    return property;
}

} // namespace

const VCardProperty *VCard::First(const QString &name) const
{
    for (const VCardProperty &property : Properties) {
        if (property.Name == name)
            return &property;
    }
    return nullptr;
}

QList<const VCardProperty *> VCard::All(const QString &name) const
{
    QList<const VCardProperty *> found;
    for (const VCardProperty &property : Properties) {
        if (property.Name == name)
            found << &property;
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const VCardProperty *a, const VCardProperty *b) { return a->Preferred && !b->Preferred; });
    return found;
}

QByteArray CardFileAsUtf8(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        auto decoder = QStringDecoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return QString(decoder(bytes.mid(2))).toUtf8();
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    return bytes;
}

QList<VCard> ParseVCards(const QByteArray &bytes)
{
    QList<VCard> cards;
    int depth = 0;
    for (const RawLine &line : Unfold(CardFileAsUtf8(bytes))) {
        const QByteArray head = line.Head.trimmed().toUpper();
        const QByteArray value = line.Value.trimmed().toUpper();
        if (head == "BEGIN" && value == "VCARD") {
            if (++depth == 1)
                cards << VCard();
            continue;
        }
        if (head == "END" && value == "VCARD") {
            depth = std::max(depth - 1, 0);
            continue;
        }
        if (depth != 1)
            continue;
        VCardProperty property = DecodeLine(line);
        if (property.Name == u"VERSION")
            cards.last().Version = property.Value.trimmed();
        else
            cards.last().Properties << std::move(property);
    }
    return cards;
}

QString UnescapeVCardText(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        text += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
    }
    return text;
}

QStringList SplitVCardValue(QStringView value, QChar separator)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i + 1 < value.size() && value[i] == u'\\') {
            ++i; // an escaped character never separates
            continue;
        }
        if (i == value.size() || value[i] == separator) {
            parts << UnescapeVCardText(value.mid(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

} // namespace qv::data
