#include "Stream.h"

#include "AdoError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>

namespace qv::ado {

namespace {

constexpr char kUtf16Bom[] = "\xFF\xFE";

QStringConverter::Encoding EncodingOf(const QString &charset, bool *known = nullptr)
{
    const QString name = charset.toLower();
    bool ok = true;
    QStringConverter::Encoding encoding = QStringConverter::Utf16LE;
    if (name == u"unicode" || name == u"utf-16")
        encoding = QStringConverter::Utf16LE;
    else if (name == u"utf-8")
        encoding = QStringConverter::Utf8;
    else if (name == u"us-ascii" || name == u"iso-8859-1" || name == u"windows-1252" || name == u"latin1")
        encoding = QStringConverter::Latin1;
    else
        ok = false;
    if (known)
        *known = ok;
    return encoding;
}

} // namespace

void Stream::RequireOpen() const
{
    if (!m_open)
        throw AdoError(adErrObjectClosed, QStringLiteral("The stream is closed."), kStreamSource);
}

void Stream::Open()
{
    if (m_open)
        throw AdoError(adErrObjectOpen, QStringLiteral("The stream is open already."), kStreamSource);
    m_open = true;
    m_bytes.clear();
    m_position = 0;
}

void Stream::Close()
{
    RequireOpen();
    m_open = false;
    m_bytes.clear();
    m_position = 0;
}

void Stream::SetType(StreamTypeEnum type)
{
    if (m_open && m_position != 0)
        throw AdoError(adErrIllegalOperation, QStringLiteral("The type changes only at position 0."), kStreamSource);
    m_type = type;
}

void Stream::SetCharset(const QString &charset)
{
    bool known = false;
    EncodingOf(charset, &known);
    if (!known)
        throw AdoError(adErrInvalidArgument, QStringLiteral("The character set \"%1\" is not known.").arg(charset),
                       kStreamSource);
    if (m_open && m_position != 0)
        throw AdoError(adErrIllegalOperation, QStringLiteral("The character set changes only at position 0."),
                       kStreamSource);
    m_charset = charset;
}

bool Stream::IsUnicode() const
{
    return EncodingOf(m_charset) == QStringConverter::Utf16LE;
}

QByteArray Stream::Encode(const QString &text) const
{
    QStringEncoder encoder(EncodingOf(m_charset));
    return encoder.encode(text);
}

QString Stream::Decode(const QByteArray &bytes) const
{
    QStringDecoder decoder(EncodingOf(m_charset));
    return decoder.decode(bytes);
}

void Stream::WriteText(const QString &text, StreamWriteEnum options)
{
    RequireOpen();
    if (m_type != adTypeText)
        throw AdoError(adErrIllegalOperation, QStringLiteral("WriteText needs a text stream."), kStreamSource);
    QByteArray bytes = Encode(options == adWriteLine ? text + QStringLiteral("\r\n") : text);
    // A new Unicode stream starts with its byte-order mark, as ADO's does.
    if (m_bytes.isEmpty() && IsUnicode())
        bytes.prepend(kUtf16Bom, 2);
    const qint64 end = m_position + bytes.size();
    if (end > m_bytes.size())
        m_bytes.resize(end);
    std::copy(bytes.cbegin(), bytes.cend(), m_bytes.begin() + m_position);
    m_position = end;
}

QString Stream::ReadText(qint64 characters)
{
    RequireOpen();
    if (m_type != adTypeText)
        throw AdoError(adErrIllegalOperation, QStringLiteral("ReadText needs a text stream."), kStreamSource);
    qint64 from = m_position;
    if (from == 0 && IsUnicode() && m_bytes.startsWith(kUtf16Bom))
        from = 2;
    const QString rest = Decode(m_bytes.mid(from));
    qsizetype take = rest.size();
    if (characters == adReadLine) {
        const qsizetype lineEnd = rest.indexOf(u'\n');
        take = lineEnd < 0 ? rest.size() : lineEnd + 1;
    } else if (characters >= 0) {
        take = qMin<qsizetype>(rest.size(), characters);
    } else if (characters != adReadAll) {
        throw AdoError(adErrInvalidArgument, QStringLiteral("ReadText needs a count, adReadAll or adReadLine."),
                       kStreamSource);
    }
    QString text = rest.left(take);
    m_position = take == rest.size() ? m_bytes.size() : from + Encode(text).size();
    if (characters == adReadLine && text.endsWith(u'\n'))
        text.chop(text.endsWith(QStringLiteral("\r\n")) ? 2 : 1);
    return text;
}

qint64 Stream::Position() const
{
    RequireOpen();
    return m_position;
}

void Stream::SetPosition(qint64 position)
{
    RequireOpen();
    if (position < 0 || position > m_bytes.size())
        throw AdoError(adErrInvalidArgument, QStringLiteral("The position %1 is outside the stream.").arg(position),
                       kStreamSource);
    m_position = position;
}

qint64 Stream::Size() const
{
    RequireOpen();
    return m_bytes.size();
}

bool Stream::EOS() const
{
    RequireOpen();
    return m_position >= m_bytes.size();
}

void Stream::SetEOS()
{
    RequireOpen();
    m_bytes.truncate(m_position);
}

void Stream::LoadFromFile(const QString &fileName)
{
    RequireOpen();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AdoError(adErrFileNotFound,
                       QStringLiteral("The file \"%1\" cannot be opened: %2").arg(fileName, file.errorString()),
                       kStreamSource);
    m_bytes = file.readAll();
    m_position = 0;
}

void Stream::SaveToFile(const QString &fileName, SaveOptionsEnum options) const
{
    RequireOpen();
    if (options == adSaveCreateNotExist && QFile::exists(fileName))
        throw AdoError(adErrWriteFile, QStringLiteral("The file \"%1\" exists already.").arg(fileName), kStreamSource);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit())
        throw AdoError(adErrWriteFile,
                       QStringLiteral("The file \"%1\" cannot be written: %2").arg(fileName, file.errorString()),
                       kStreamSource);
}

QByteArray Stream::Bytes() const
{
    RequireOpen();
    return m_bytes;
}

} // namespace qv::ado
