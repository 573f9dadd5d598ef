#pragma once

#include "AdoEnums.h"

#include <QByteArray>
#include <QString>

namespace qv::ado {

// ADO's Stream in text mode: characters kept as bytes in the stream's
// Charset ("Unicode", the default: UTF-16 little-endian behind a byte-order
// mark; "utf-8"; "us-ascii"; "iso-8859-1"/"windows-1252" as Latin-1).
// Position and Size count bytes, as ADO's do. It is where a recordset is
// saved to and opened from as XML:
//
//     Stream stream;
//     stream.Open();
//     recordset.Save(stream, adPersistXML);   // position ends after the text
//     stream.SetPosition(0);
//     QString xml = stream.ReadText();
//
// Errors: adErrObjectClosed on a closed stream, adErrObjectOpen on Open of
// an open one, adErrInvalidArgument for a bad position or charset.
class Stream
{
public:
    // Opens an empty stream. Type and Charset may be set while it is closed
    // or empty.
    void Open();
    void Close();
    ObjectStateEnum State() const { return m_open ? adStateOpen : adStateClosed; }

    StreamTypeEnum Type() const { return m_type; }
    void SetType(StreamTypeEnum type);
    const QString &Charset() const { return m_charset; }
    void SetCharset(const QString &charset);

    // Writes the text at the position (overwriting what is there, growing
    // the stream as needed); adWriteLine adds a CR LF.
    void WriteText(const QString &text, StreamWriteEnum options = adWriteChar);
    // Reads `characters` characters from the position, or everything to the
    // end (adReadAll), or up to and past the next line end (adReadLine).
    QString ReadText(qint64 characters = adReadAll);

    qint64 Position() const;
    void SetPosition(qint64 position);
    qint64 Size() const;
    bool EOS() const;
    // Cuts the stream off at its position.
    void SetEOS();

    // The bytes themselves, for files and tests.
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName, SaveOptionsEnum options = adSaveCreateNotExist) const;
    QByteArray Bytes() const;

private:
    void RequireOpen() const;
    bool IsUnicode() const;
    QByteArray Encode(const QString &text) const;
    QString Decode(QByteArrayView bytes) const;

    bool m_open = false;
    StreamTypeEnum m_type = adTypeText;
    QString m_charset = QStringLiteral("Unicode");
    QByteArray m_bytes;
    qint64 m_position = 0;
};

} // namespace qv::ado
