#pragma once

#include <QIODevice>

namespace qv::data {

// Some writers put HTML's named characters (&Tau;) into the XML, which no XML
// reader accepts; they become numeric references. The five XML names stay.
QByteArray NumberHtmlEntities(const QByteArray &xml);

// An XML Spreadsheet 2003 file as an XML reader can take it: the blanks some
// writers leave before the XML declaration are dropped, and HTML's named
// characters are numbered (NumberHtmlEntities). The source is read a block at
// a time, so a reader of a large file holds a block, not the file.
class SpreadsheetMlDevice : public QIODevice
{
public:
    // Reads `source`, which must be open for reading and outlive the device.
    explicit SpreadsheetMlDevice(QIODevice *source);

    // How much of the source is converted at a time.
    static constexpr qint64 kBlockSize = 256 * 1024;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    // Converts the source's next block; false once the source is read through.
    bool Fill();

    QIODevice *m_source;
    QByteArray m_ready;     // converted, not yet read
    qsizetype m_readAt = 0; // how much of m_ready has been read
    QByteArray m_held;      // an entity the block cut, kept for the next one
    bool m_started = false; // past the leading blanks
};

} // namespace qv::data
