#include "HtmlPageText.h"

#include <QRegularExpression>
#include <QStringList>

namespace qv::data {

std::optional<DeclaredEncoding> DeclaredHtmlEncoding(const QByteArray &start)
{
    if (start.startsWith("\xEF\xBB\xBF"))
        return DeclaredEncoding{"UTF-8", 3};
    if (start.startsWith("\xFF\xFE"))
        return DeclaredEncoding{"UTF-16LE", 2};
    if (start.startsWith("\xFE\xFF"))
        return DeclaredEncoding{"UTF-16BE", 2};
    static const QRegularExpression declared(QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const auto match = declared.match(QString::fromLatin1(start.left(4096)));
    if (match.hasMatch())
        return DeclaredEncoding{match.captured(1).toLatin1(), 0};
    return std::nullopt;
}

qsizetype ValidUtf8Length(QByteArrayView bytes, bool &cut)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    cut = false;
    qsizetype i = 0;
    while (i < size) {
        const uchar lead = data[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range leaves out overlong forms, surrogates and
        // code points past U+10FFFF.
        int length = 0;
        uchar low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return i;
        }
        for (int k = 1; k < length; ++k) {
            if (i + k >= size) {
                cut = true;
                return i;
            }
            const uchar next = data[i + k];
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return i;
        }
        i += length;
    }
    return i;
}

QByteArray Utf8OrWindows1252::Next(QByteArray bytes, bool last)
{
    if (!m_held.isEmpty())
        bytes.prepend(std::exchange(m_held, {}));
    const auto windows1252 = [this](QByteArrayView rest) {
        // Without the ICU codecs, Latin-1 differs only in 0x80-0x9F.
        return m_decoder.isValid() ? QString(m_decoder(rest)).toUtf8() : QString::fromLatin1(rest).toUtf8();
    };
    if (m_windows1252)
        return windows1252(bytes);
    bool cut = false;
    const qsizetype valid = ValidUtf8Length(bytes, cut);
    if (valid == bytes.size())
        return bytes;
    if (cut && !last) {
        m_held = bytes.sliced(valid);
        bytes.truncate(valid);
        return bytes;
    }
    m_windows1252 = true;
    return bytes.first(valid) + windows1252(QByteArrayView(bytes).sliced(valid));
}

QString HtmlCellText(const QString &raw)
{
    QStringList lines;
    for (const QString &line : raw.split(u'\n'))
        lines << line.simplified();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    return lines.join(u'\n');
}

Variant HtmlCellValue(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]{0,14})(\\.[0-9]{1,15})?$"));
    if (number.match(text).hasMatch())
        return text.toDouble();
    return text;
}

int HtmlInteger(const QString &text, int limit)
{
    qsizetype i = 0;
    while (i < text.size() && QStringView(u" \t\n\f\r").contains(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    const qsizetype digits = i;
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<qint64>(value * 10 + (text[i].unicode() - u'0'), limit);
    if (i == digits || (negative && value != 0))
        return -1;
    return int(value);
}

} // namespace qv::data
