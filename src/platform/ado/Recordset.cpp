#include "Recordset.h"

#include "AdoError.h"
#include "RowStore.h"
#include "RowsetXml.h"
#include "Stream.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>

namespace qv::ado {

Recordset::Recordset()
    : m_store(std::make_shared<RowStore>()), m_fields(new ado::Fields(this))
{
}

Recordset::~Recordset()
{
    // The last recordset over a row source stops it, so that a back end's
    // worker does not go on reading for nobody.
    if (m_store.use_count() == 1)
        m_store->CancelSource();
}

ado::Fields &Recordset::Fields()
{
    m_fields->Sync();
    return *m_fields;
}

void Recordset::RequireOpen() const
{
    if (m_state != adStateOpen)
        throw AdoError(adErrObjectClosed, QStringLiteral("The recordset is closed."));
}

void Recordset::Open()
{
    if (m_state == adStateOpen)
        throw AdoError(adErrObjectOpen, QStringLiteral("The recordset is open already."));
    if (Store().FieldCount() == 0)
        throw AdoError(adErrInvalidArgument, QStringLiteral("A recordset needs at least one field to open."));
    Store().ClearRows();
    m_state = adStateOpen;
    ResetView();
}

void Recordset::Open(std::shared_ptr<RowSource> source)
{
    if (!source)
        throw AdoError(adErrInvalidArgument, QStringLiteral("No row source was given."));
    Open();
    Store().AttachSource(std::move(source));
}

void Recordset::ReadXml(const QString &text)
{
    if (m_state == adStateOpen)
        throw AdoError(adErrObjectOpen, QStringLiteral("The recordset is open already."));
    // Read into a store of its own so that a failure leaves this one as it was.
    auto store = std::make_shared<RowStore>();
    ReadRowsetXml(text, *store);
    m_store = std::move(store);
    m_fields->Sync();
    m_state = adStateOpen;
    ResetView();
}

void Recordset::Open(Stream &stream)
{
    ReadXml(stream.ReadText(adReadAll));
}

void Recordset::Open(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AdoError(adErrFileNotFound,
                       QStringLiteral("The file \"%1\" cannot be opened: %2").arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    const auto encoding = QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8);
    QStringDecoder decoder(encoding);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw AdoError(kErrBadPersistedRecordset,
                       QStringLiteral("The file \"%1\" is not valid UTF-8 or UTF-16 text.").arg(fileName));
    ReadXml(text);
}

std::vector<qint32> Recordset::ShownRows()
{
    const qint64 count = ViewSize();
    std::vector<qint32> rows;
    rows.reserve(size_t(count));
    for (qint64 p = 0; p < count; ++p)
        rows.push_back(ViewRow(p));
    return rows;
}

void Recordset::Save(Stream &stream, PersistFormatEnum format)
{
    RequireOpen();
    if (format != adPersistXML)
        throw AdoError(adErrFeatureNotAvailable, QStringLiteral("Recordsets are saved as XML only."));
    CommitEdit();
    stream.WriteText(WriteRowsetXml(Store(), ShownRows()));
}

void Recordset::Save(const QString &fileName, PersistFormatEnum format)
{
    RequireOpen();
    if (format != adPersistXML)
        throw AdoError(adErrFeatureNotAvailable, QStringLiteral("Recordsets are saved as XML only."));
    CommitEdit();
    const QByteArray bytes = WriteRowsetXml(Store(), ShownRows()).toUtf8();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AdoError(adErrWriteFile,
                       QStringLiteral("The file \"%1\" cannot be written: %2").arg(fileName, file.errorString()));
}

void Recordset::Close()
{
    RequireOpen();
    m_editMode = adEditNone;
    m_buffer.clear();
    if (m_store.use_count() > 1) {
        // Clones keep the rows; this recordset keeps only the field definitions.
        auto own = std::make_shared<RowStore>();
        for (const FieldInfo &field : Store().FieldList)
            own->AddField(field);
        m_store = std::move(own);
    } else {
        Store().ClearRows();
    }
    m_state = adStateClosed;
    m_filter = ado::Filter();
    ResetView();
}

void Recordset::Cancel()
{
    RequireOpen();
    Store().CancelSource();
}

std::shared_ptr<Recordset> Recordset::Clone()
{
    RequireOpen();
    CommitEdit();
    auto clone = std::make_shared<Recordset>();
    clone->m_store = m_store;
    clone->m_state = adStateOpen;
    clone->ResetView();
    return clone;
}

} // namespace qv::ado
