#include "Stream.h"

#include "AdoError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>

#include <algorithm>

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

QString Stream::Decode(QByteArrayView bytes) const
{
    QStringDecoder decoder(EncodingOf(m_charset));
    return decoder.decode(bytes);
}

void Stream::WriteText(const QString &text, StreamWriteEnum options)
{
    RequireOpen();
    if (m_type != adTypeText)
        throw AdoError(adErrIllegalOperation, QStringLiteral("WriteText needs a text stream."), kStreamSource);
    const QString line = options == adWriteLine ? text + QStringLiteral("\r\n") : QString();
    const QStringView in = options == adWriteLine ? QStringView(line) : QStringView(text);
    // A new Unicode stream starts with its byte-order mark, as ADO's does.
    const bool bom = m_bytes.isEmpty() && IsUnicode();
    // The text is encoded straight into the stream's bytes, so that a saved
    // recordset of megabytes is not copied on its way in.
    QStringEncoder encoder(EncodingOf(m_charset));
    const qsizetype oldSize = m_bytes.size();
    m_bytes.resize(qMax<qint64>(oldSize, m_position + (bom ? 2 : 0) + encoder.requiredSpace(in.size())));
    char *out = m_bytes.data() + m_position;
    if (bom)
        out = std::copy_n(kUtf16Bom, 2, out);
    out = encoder.appendToBuffer(out, in);
    const qint64 end = out - m_bytes.constData();
    m_bytes.truncate(qMax<qint64>(oldSize, end));
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
    const QString rest = Decode(QByteArrayView(m_bytes).sliced(from));
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
