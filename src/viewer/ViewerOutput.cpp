#include "ViewerOutput.h"

#include "ViewerRules.h"
#include "ado/Recordset.h"
#include "ado/Stream.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"

namespace qv::viewer {

namespace {

bool HasTotals(const std::vector<OutputColumn> &colColumns)
{
    return std::any_of(colColumns.begin(), colColumns.end(),
                       [](const OutputColumn &c) { return c.oSetting && c.oSetting->Totalled == 2; });
}

QList<Variant> FieldPositions(int lCount)
{
    QList<Variant> colPositions;
    for (qint32 i = 0; i < lCount; ++i)
        colPositions << Variant(i);
    return colPositions;
}

} // namespace

std::shared_ptr<ado::Recordset> BuildOutputRecordset(const DataViewerModel &oModel, const std::vector<int> &colRows,
                                                     const std::vector<OutputColumn> &colColumns)
{
    auto oOutput = ado::Recordset::Create();
    for (const OutputColumn &oColumn : colColumns)
        oOutput->Fields().Append(oColumn.oSetting->Caption, ado::adVarWChar, kTextFieldSize, ado::adFldUnspecified);
    oOutput->Open();
    const QList<Variant> colFields = FieldPositions(int(colColumns.size()));
    QList<Variant> colValues;
    for (int lRow : colRows) {
        const DataViewerModel::Row &oRow = oModel.RowAt(lRow);
        colValues.clear();
        for (const OutputColumn &oColumn : colColumns)
            colValues << Variant(oRow.colTexts.value(oColumn.lModelColumn - 1));
        oOutput->AddNew(colFields, colValues);
    }
    if (!colRows.empty() && HasTotals(colColumns))
        oOutput->AddNew(colFields, TotalsRow(oModel, colRows, colColumns));
    if (!(oOutput->IsBOF() && oOutput->IsEOF()))
        oOutput->MoveFirst();
    return oOutput;
}

QList<Variant> TotalsRow(const DataViewerModel &oModel, const std::vector<int> &colRows,
                         const std::vector<OutputColumn> &colColumns)
{
    const LocaleScope oLocale;
    const LocaleFacts &oFacts = CurrentLocaleFacts();
    DataFormat oFormat;
    QList<Variant> colTotals;
    for (const OutputColumn &oColumn : colColumns) {
        const biz::ColumnSetting &oSetting = *oColumn.oSetting;
        if (oSetting.Totalled != 2 || !CanBeTotalled(oSetting.ColumnType)) {
            colTotals << Variant(QString());
            continue;
        }
        const qsizetype lCell = oColumn.lModelColumn - 1;
        NumberDigits oSum;
        for (int lRow : colRows) {
            const DataViewerModel::Row &oRow = oModel.RowAt(lRow);
            NumberDigits oCell;
            if (CellNumber(oRow.colValues.value(lCell), oRow.colTexts.value(lCell), oFacts, oCell))
                oSum.Add(oCell);
        }
        // A Decimal holds 28 digits exactly; a larger sum can only be a double.
        Decimal oExact;
        const Variant oTotal = oSum.ToDecimal(oExact) ? Variant(oExact) : Variant(oSum.ToDouble());
        colTotals << Variant(oFormat.GetFormattedValue(oTotal, oSetting.ViewFormat, TotalFieldType(oSetting.ColumnType)));
    }
    return colTotals;
}

void AddSampleRows(ado::Recordset &oRecordset, int lCount)
{
    if (oRecordset.Fields().Count() == 0)
        return;
    const qint32 lFields = oRecordset.Fields().Count();
    const QList<Variant> colFields = FieldPositions(lFields);
    for (int i = 1; i <= lCount; ++i) {
        QList<Variant> colValues(lFields, Variant(QString()));
        colValues[0] = Variant(QStringLiteral("Sample Row %1").arg(i));
        oRecordset.AddNew(colFields, colValues);
    }
    if (lCount > 0)
        oRecordset.MoveFirst();
}

QString RecordsetXml(ado::Recordset &oRecordset)
{
    ado::Stream oStream;
    oStream.Open();
    oRecordset.Save(oStream, ado::adPersistXML);
    oStream.SetPosition(0);
    QString sXml = oStream.ReadText();
    oStream.Close();
    return sXml;
}

} // namespace qv::viewer
