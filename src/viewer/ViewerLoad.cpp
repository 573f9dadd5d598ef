#include "ViewerLoad.h"

#include "ado/Recordset.h"
#include "ado/Stream.h"
#include "automation/LocaleFacts.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"

namespace qv::viewer {

namespace {

constexpr qint32 kErrNoFields = qint32(0x80040001);

std::shared_ptr<config::Field> DefinitionOf(const config::DataView &oDataView, ado::Field &oField)
{
    const QString sName = oField.Name();
    if (auto oDefinition = oDataView.Fields.Item(sName))
        return oDefinition;
    const QString sBase = oField.Property(QStringLiteral("BASECOLUMNNAME")).ToText();
    if (!sBase.isEmpty()) {
        if (auto oDefinition = oDataView.Fields.Item(sBase))
            return oDefinition;
    }
    // Some sources hand names back with a leading character of their own.
    if (sName.size() > 1)
        return oDataView.Fields.Item(sName.mid(1));
    return nullptr;
}

} // namespace

DisplayColumns BuildDisplayColumns(const config::DataView &oDataView, ado::Recordset *oSource)
{
    DisplayColumns oColumns;
    oColumns.oSettings = std::make_shared<biz::ColumnSettings>();
    const qint32 lFields = oSource ? oSource->Fields().Count() : 0;
    for (qint32 i = 0; i < lFields; ++i) {
        const auto oDefinition = DefinitionOf(oDataView, oSource->Fields().Item(i));
        if (!oDefinition || !oDefinition->Displayed)
            continue;
        auto oSetting = NewColumnSetting(*oDefinition);
        if (oColumns.oSettings->Item(oSetting->Caption))
            continue; // two fields under one caption: the first one shows
        oColumns.oSettings->Add(oSetting, oSetting->Caption);
        oColumns.colSettings.push_back(std::move(oSetting));
        oColumns.colSourceFields.push_back(i);
    }
    if (oColumns.colSettings.empty())
        RaiseError(kErrNoFields, {},
                   QStringLiteral("No Fields matched this Data View, Use the Data View Wizard to refresh this Data View."));
    return oColumns;
}

int ClampMaxRows(int lMaxRows)
{
    return lMaxRows <= 0 || lMaxRows > kRowLimit ? kRowLimit : lMaxRows;
}

CopyResult CopyRows(ado::Recordset &oSource, const DisplayColumns &oColumns, int lMaxRows, const bool *pCancel)
{
    CopyResult oResult;
    DataFormat oFormat;
    oFormat.SetFormatDefault(QStringLiteral("General Date"), FieldTypeDate);
    oFormat.SetSupressDateResolve(true);
    oFormat.SetSupressTimeResolve(true);
    const LocaleScope oLocale;

    const size_t lColumns = oColumns.colSettings.size();
    std::vector<ado::Field *> colFields;
    for (int lField : oColumns.colSourceFields)
        colFields.push_back(&oSource.Fields().Item(lField));

    oResult.colRows.reserve(size_t(std::min<qint64>(lMaxRows, 4096)));
    // Asking RecordCount could wait for a count over the whole source.
    if (!(oSource.IsBOF() && oSource.IsEOF()))
        oSource.MoveFirst();
    while (!oSource.IsEOF()) {
        DataViewerModel::Row oRow;
        oRow.colTexts.reserve(qsizetype(lColumns));
        for (size_t c = 0; c < lColumns; ++c) {
            const QString sValue = colFields[c]->Value().ToText();
            const auto &oSetting = *oColumns.colSettings[c];
            oRow.colTexts << (sValue.isEmpty() ? sValue
                                               : oFormat.GetFormattedData(sValue, oSetting.ViewFormat,
                                                                          oSetting.ColumnType));
        }
        oRow.sRawBookmark = oSource.Bookmark().ToText();
        oRow.lDisplayBookmark = qint32(oResult.colRows.size()) + 1;
        oResult.colRows.push_back(std::move(oRow));
        if (int(oResult.colRows.size()) >= lMaxRows) {
            oResult.bLimitReached = true;
            break;
        }
        if (pCancel && *pCancel)
            break;
        oSource.MoveNext();
    }
    return oResult;
}

PreselectionKeys ReadPreselection(const QString &sXml, const QStringList &colLinkedCaptions)
{
    PreselectionKeys oKeys;
    if (sXml.isEmpty() || colLinkedCaptions.isEmpty())
        return oKeys;
    try {
        ado::Stream oStream;
        oStream.Open();
        oStream.WriteText(sXml);
        oStream.SetPosition(0);
        ado::Recordset oRows;
        oRows.Open(oStream);
        std::vector<ado::Field *> colFields;
        for (const QString &sCaption : colLinkedCaptions)
            colFields.push_back(&oRows.Fields().Item(sCaption));
        PreselectionKeys oRead;
        for (; !oRows.IsEOF(); oRows.MoveNext()) {
            QString sKey;
            for (ado::Field *oField : colFields)
                sKey += oField->Value().ToText();
            oRead.Add(sKey);
        }
        oKeys = std::move(oRead);
    } catch (const ComError &) {
        // An unreadable selection re-selects nothing.
    }
    return oKeys;
}

QString RowKey(const DataViewerModel::Row &oRow, const std::vector<int> &colLinkedColumns)
{
    QString sKey;
    for (int lColumn : colLinkedColumns)
        sKey += oRow.colTexts.value(lColumn);
    return sKey;
}

} // namespace qv::viewer
