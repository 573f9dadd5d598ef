#include "ViewerRules.h"

#include "automation/ComError.h"
#include "automation/Format.h"
#include "automation/LocaleFacts.h"
#include "automation/NumberDigits.h"
#include "config/ConfigObjects.h"
#include "format/DataFormat.h"

namespace qv::viewer {

bool CanBeTotalled(qint32 lColumnType)
{
    switch (lColumnType) {
    case FieldTypeNumber:
    case FieldTypeCurrency:
    case FieldTypePercent:
    case FieldTypeScientific:
        return true;
    default:
        return false;
    }
}

qint32 TotalFieldType(qint32 lColumnType)
{
    return CanBeTotalled(lColumnType) ? lColumnType : FieldTypeNumber;
}

SortKind SortKindOf(qint32 lColumnType)
{
    if (CanBeTotalled(lColumnType))
        return SortKind::Decimal;
    if (lColumnType == FieldTypeDate || lColumnType == FieldTypeTime)
        return SortKind::Date;
    return SortKind::Text;
}

int HeaderIconIndex(const biz::ColumnSetting &oSetting)
{
    int lIcon = -1;
    if (oSetting.Sorted == 1)
        lIcon = 0;
    else if (oSetting.Sorted == 0)
        lIcon = 1;
    if (oSetting.Totalled == 2)
        lIcon = 2;
    if (oSetting.Linked)
        lIcon = 3;
    return lIcon;
}

std::shared_ptr<biz::ColumnSetting> NewColumnSetting(const config::Field &oField)
{
    auto oSetting = std::make_shared<biz::ColumnSetting>();
    oSetting->Visible = true;
    oSetting->Sorted = -1;
    oSetting->ColumnType = oField.DataKind;
    oSetting->Caption = oField.DisplayName;
    oSetting->ViewFormat = oField.ViewFormat;
    oSetting->Totalled = CanBeTotalled(oField.DataKind) ? 1 : 0;
    return oSetting;
}

bool SettingsMatch(const biz::ColumnSettings *oCurrent, const biz::ColumnSettings *oNew)
{
    if (!oCurrent || !oNew || oCurrent->Count() != oNew->Count())
        return false;
    for (const auto &oSetting : *oCurrent) {
        if (!oSetting || !oNew->Item(oSetting->Caption))
            return false;
    }
    return true;
}

std::shared_ptr<biz::ColumnSetting> SortedSetting(const biz::ColumnSettings &oSettings)
{
    for (const auto &oSetting : oSettings) {
        if (oSetting && oSetting->Sorted != -1)
            return oSetting;
    }
    return nullptr;
}

QStringList LinkedCaptions(const biz::ColumnSettings &oSettings)
{
    QStringList colCaptions;
    for (const auto &oSetting : oSettings) {
        if (oSetting && oSetting->Linked)
            colCaptions << oSetting->Caption;
    }
    return colCaptions;
}

QString ItemTag(qint32 lDisplayBookmark, const QString &sRawBookmark)
{
    return QString::number(lDisplayBookmark) + QLatin1String(kRawBookmarkMarker) + sRawBookmark;
}

bool CellNumber(const Variant &oValue, const QString &sText, const LocaleFacts &oFacts, NumberDigits &oOut)
{
    if (NumberDigits::FromNumber(oValue, oOut))
        return true;
    const QString *pText = oValue.Get<QString>();
    QStringView sSource = pText ? QStringView(*pText) : QStringView(sText);
    sSource = sSource.trimmed();
    const bool bPercent = sSource.endsWith(u'%');
    if (!ParseNumberText(bPercent ? sSource.chopped(1) : sSource, oFacts, oOut))
        return false;
    if (bPercent)
        oOut.Shift(-2);
    return true;
}

namespace {

QString StampOf(const Variant &oDate)
{
    try {
        return VarFormat(oDate, QStringLiteral("yyyy-mm-dd hh:nn:ss"));
    } catch (const ComError &) {
        return {}; // outside the years a date can show
    }
}

SortKey DateKey(const Variant &oValue, const QString &sText, const DataFormat &oFormat)
{
    // A typed date and a resolved text share one sortable form; what
    // neither gives has no key and sorts first.
    QString sKey;
    if (oValue.Get<DateValue>())
        sKey = StampOf(oValue);
    else
        sKey = oFormat.ResolveDateString(oValue.Get<QString>() ? *oValue.Get<QString>() : sText);
    if (sKey.isEmpty())
        return {};
    return {true, {}, std::move(sKey)};
}

} // namespace

std::vector<SortKey> SortKeys(const QList<QString> &colTexts, const QList<Variant> &colValues, SortKind eKind,
                              const DataFormat &oFormat)
{
    std::vector<SortKey> colKeys;
    colKeys.reserve(size_t(colTexts.size()));
    const LocaleFacts &oFacts = CurrentLocaleFacts();
    for (qsizetype i = 0; i < colTexts.size(); ++i) {
        const Variant oValue = colValues.value(i);
        SortKey oKey;
        if (eKind == SortKind::Decimal)
            oKey.bHasKey = CellNumber(oValue, colTexts[i], oFacts, oKey.oNumber);
        else if (eKind == SortKind::Date)
            oKey = DateKey(oValue, colTexts[i], oFormat);
        else
            oKey.bHasKey = true;
        colKeys.push_back(std::move(oKey));
    }
    return colKeys;
}

bool SortKeyLess(const SortKey &a, const SortKey &b)
{
    if (a.bHasKey != b.bHasKey)
        return !a.bHasKey;
    if (!a.sDate.isEmpty() || !b.sDate.isEmpty())
        return a.sDate < b.sDate;
    return NumberDigits::Compare(a.oNumber, b.oNumber) < 0;
}

void PreselectionKeys::Add(const QString &sKey)
{
    if (sKey.isEmpty() || m_exact.contains(sKey))
        return;
    m_exact.insert(sKey);
    ++m_keys[sKey.toCaseFolded()];
    ++m_lCount;
}

bool PreselectionKeys::TakeMatch(const QString &sKey)
{
    if (sKey.isEmpty() || m_lCount == 0)
        return false;
    auto it = m_keys.find(sKey.toCaseFolded());
    if (it == m_keys.end() || it.value() == 0)
        return false;
    --it.value();
    --m_lCount;
    return true;
}

} // namespace qv::viewer
