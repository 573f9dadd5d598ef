#include "ViewerLoad.h"

#include "ado/Recordset.h"
#include "ado/Stream.h"
#include "automation/LocaleFacts.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"

#include <QHash>

#include <bit>
#include <cmath>

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

// Values repeat down a column (a rate, a status, a day), so a column keeps
// the texts of the typed values it formatted. A column whose values hardly
// repeat (identifiers, amounts) stops keeping them after its first rows.
class ColumnTexts
{
public:
    QString Format(const Variant &oValue, const DataFormat &oFormat, const biz::ColumnSetting &oSetting)
    {
        Key oKey;
        if (!m_bKeeping || !KeyOf(oValue, oKey))
            return oFormat.GetFormattedValue(oValue, oSetting.ViewFormat, oSetting.ColumnType);
        ++m_lLookups;
        if (const auto it = m_texts.constFind(oKey); it != m_texts.cend()) {
            ++m_lHits;
            return it.value();
        }
        QString sText = oFormat.GetFormattedValue(oValue, oSetting.ViewFormat, oSetting.ColumnType);
        m_texts.insert(oKey, sText);
        if (m_lLookups == kTrialRows && m_lHits < kTrialRows / 10) {
            m_bKeeping = false;
            m_texts.clear();
        }
        return sText;
    }

private:
    static constexpr int kTrialRows = 200;

    struct Key
    {
        int lType = 0;
        quint64 lBits = 0;
        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &k, size_t seed = 0) { return qHashMulti(seed, k.lType, k.lBits); }
    };

    static bool KeyOf(const Variant &oValue, Key &oKey)
    {
        const int lType = int(oValue.Type());
        if (const auto *p = oValue.Get<double>())
            oKey = {lType, std::bit_cast<quint64>(*p)};
        else if (const auto *p = oValue.Get<float>())
            oKey = {lType, std::bit_cast<quint32>(*p)};
        else if (const auto *p = oValue.Get<DateValue>())
            oKey = {lType, std::bit_cast<quint64>(p->Days)};
        else if (const auto *p = oValue.Get<Currency>())
            oKey = {lType, quint64(p->Scaled)};
        else if (const auto *p = oValue.Get<qint32>())
            oKey = {lType, quint64(qint64(*p))};
        else if (const auto *p = oValue.Get<qint64>())
            oKey = {lType, quint64(*p)};
        else
            return false;
        return true;
    }

    QHash<Key, QString> m_texts;
    int m_lLookups = 0;
    int m_lHits = 0;
    bool m_bKeeping = true;
};

// Bookmarks are whole numbers; their text skips the general double printing.
QString BookmarkText(const Variant &oBookmark)
{
    if (const double *p = oBookmark.Get<double>(); p && *p == std::floor(*p) && std::abs(*p) < 1e15)
        return QString::number(qint64(*p));
    return oBookmark.ToText();
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
    const size_t lColumns = oColumns.colSettings.size();
    std::vector<ado::Field *> colFields;
    for (int lField : oColumns.colSourceFields)
        colFields.push_back(&oSource.Fields().Item(lField));

    // First the values, row by row as the recordset walks...
    std::vector<Variant> colValues;
    colValues.reserve(size_t(std::min(lMaxRows, kRowLimit)) * lColumns);
    // Asking RecordCount could wait for a count over the whole source.
    if (!(oSource.IsBOF() && oSource.IsEOF()))
        oSource.MoveFirst();
    while (!oSource.IsEOF()) {
        for (ado::Field *oField : colFields)
            colValues.push_back(oField->Value());
        DataViewerModel::Row oRow;
        oRow.sRawBookmark = BookmarkText(oSource.Bookmark());
        oRow.lDisplayBookmark = qint32(oResult.colRows.size()) + 1;
        oRow.colTexts.resize(qsizetype(lColumns));
        oRow.colValues.resize(qsizetype(lColumns));
        oResult.colRows.push_back(std::move(oRow));
        if (int(oResult.colRows.size()) >= lMaxRows) {
            oResult.bLimitReached = true;
            break;
        }
        if (pCancel && *pCancel)
            break;
        oSource.MoveNext();
    }

    // ...then the texts column by column, so that each column's format is
    // worked out once and its repeated values formatted once.
    DataFormat oFormat;
    oFormat.SetFormatDefault(QStringLiteral("General Date"), FieldTypeDate);
    oFormat.SetSupressDateResolve(true);
    oFormat.SetSupressTimeResolve(true);
    const LocaleScope oLocale;
    for (size_t c = 0; c < lColumns; ++c) {
        ColumnTexts oTexts;
        const biz::ColumnSetting &oSetting = *oColumns.colSettings[c];
        for (size_t r = 0; r < oResult.colRows.size(); ++r) {
            Variant &oValue = colValues[r * lColumns + c];
            DataViewerModel::Row &oRow = oResult.colRows[r];
            oRow.colTexts[qsizetype(c)] = oTexts.Format(oValue, oFormat, oSetting);
            oRow.colValues[qsizetype(c)] = std::move(oValue);
        }
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
