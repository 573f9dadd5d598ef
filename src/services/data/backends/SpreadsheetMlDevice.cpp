#include "SpreadsheetMlDevice.h"

#include <libxml/HTMLparser.h>

#include <cstring>

namespace qv::data {

namespace {

// No entity name the HTML tables hold is longer; a longer run is no entity.
constexpr qsizetype kMaxEntityName = 32;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where a block must be cut so that no entity is split: at an '&' near the
// end with no ';' after it.
qsizetype SafeEnd(const QByteArray &text)
{
    const qsizetype amp = text.lastIndexOf('&');
    if (amp < 0 || text.size() - amp > kMaxEntityName + 1 || text.indexOf(';', amp) >= 0)
        return text.size();
    return amp;
}

} // namespace

QByteArray NumberHtmlEntities(const QByteArray &xml)
{
    if (!xml.contains('&'))
        return xml;
    QByteArray out;
    out.reserve(xml.size());
    qsizetype done = 0;
    for (qsizetype amp = xml.indexOf('&'); amp >= 0; amp = xml.indexOf('&', amp + 1)) {
        qsizetype end = amp + 1;
        while (end < xml.size() && end - amp <= kMaxEntityName && std::isalnum(static_cast<unsigned char>(xml[end])))
            ++end;
        if (end >= xml.size() || xml[end] != ';' || end == amp + 1)
            continue;
        const QByteArray name = xml.mid(amp + 1, end - amp - 1);
        if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos")
            continue;
        const htmlEntityDesc *entity = htmlEntityLookup(reinterpret_cast<const xmlChar *>(name.constData()));
        if (!entity)
            continue;
        out += xml.mid(done, amp - done) + "&#" + QByteArray::number(entity->value) + ';';
        done = end + 1;
    }
    return done == 0 ? xml : out + xml.mid(done);
}

SpreadsheetMlDevice::SpreadsheetMlDevice(QIODevice *source) : m_source(source)
{
    Q_ASSERT(source && source->isReadable());
    open(QIODevice::ReadOnly);
}

qint64 SpreadsheetMlDevice::bytesAvailable() const
{
    // What is still to come converts to at least as many bytes as it has
    // when it holds anything but blanks; an estimate is all a reader needs.
    return QIODevice::bytesAvailable() + (m_ready.size() - m_readAt) + m_held.size() + m_source->bytesAvailable();
}

qint64 SpreadsheetMlDevice::readData(char *data, qint64 maxSize)
{
    while (m_readAt == m_ready.size()) {
        if (!Fill())
            return 0;
    }
    const qint64 count = std::min<qint64>(maxSize, m_ready.size() - m_readAt);
    std::memcpy(data, m_ready.constData() + m_readAt, size_t(count));
    m_readAt += count;
    return count;
}

bool SpreadsheetMlDevice::Fill()
{
    const QByteArray block = m_source->read(kBlockSize);
    const bool last = block.isEmpty();
    if (last && m_held.isEmpty())
        return false;
    QByteArray text = std::exchange(m_held, {}) + block;
    if (!m_started) {
        qsizetype start = 0;
        while (start < text.size() && IsBlank(text[start]))
            ++start;
        text.remove(0, start);
        m_started = !text.isEmpty();
    }
    const qsizetype end = last ? text.size() : SafeEnd(text);
    m_held = text.mid(end);
    text.truncate(end);
    m_ready = NumberHtmlEntities(text);
    m_readAt = 0;
    return true;
}

} // namespace qv::data
