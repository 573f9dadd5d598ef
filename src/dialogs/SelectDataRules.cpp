#include "SelectDataRules.h"

#include "common/basUtility.h"
#include "ado/Recordset.h"
#include "automation/Format.h"
#include "config/ConfigObjects.h"
#include "registry/Registry.h"

#include <array>

namespace qv::dialogs {

namespace {

struct Layout
{
    int lStringId;
    qint32 lFormatType;
};

// The list order puts the layout hosts use most first.
constexpr std::array<Layout, 5> kLayouts{{{81601, 2}, {81608, 5}, {81600, 1}, {81602, 3}, {81603, 4}}};

QString Count(qint64 lValue)
{
    return VarFormat(Variant(double(lValue)), QStringLiteral("###,###,###"));
}

} // namespace

QString StatusText(qint64 lDisplayed, qint64 lSelected, qint64 lTotal)
{
    if (lTotal < 0) {
        const QString sSoFar = Count(lDisplayed) + QStringLiteral("+ records ");
        if (lSelected >= 1)
            return Count(lSelected) + QStringLiteral(" of ") + sSoFar + QStringLiteral("selected");
        if (lDisplayed >= 1)
            return QStringLiteral("First ") + Count(lDisplayed) + QStringLiteral(" of ") + sSoFar
                   + QStringLiteral("displayed");
        return {};
    }
    const QString sNoun = lTotal == 1 ? QStringLiteral(" record ") : QStringLiteral(" records ");
    if (lSelected >= 1)
        return Count(lSelected) + QStringLiteral(" of ") + Count(lTotal) + sNoun + QStringLiteral("selected");
    if (lDisplayed >= 1 && lDisplayed != lTotal)
        return QStringLiteral("First ") + Count(lDisplayed) + QStringLiteral(" of ") + Count(lTotal) + sNoun
               + QStringLiteral("displayed");
    if (lDisplayed >= 1)
        return QStringLiteral("First ") + Count(lDisplayed) + sNoun + QStringLiteral("displayed");
    if (lTotal > 0)
        return Count(lTotal) + sNoun + QStringLiteral("displayed");
    return {};
}

QString EmptyStatusText(qint64 lUnfiltered)
{
    if (lUnfiltered <= 0)
        return QStringLiteral("0 records");
    return QStringLiteral("0 of ") + Count(lUnfiltered) + QLatin1StringView(lUnfiltered == 1 ? " record" : " records");
}

qint64 TotalOf(const std::shared_ptr<config::DataView> &oDataView)
{
    if (!oDataView || !oDataView->Recordset)
        return 0;
    return oDataView->Recordset->RecordCountKnown() ? oDataView->Recordset->RecordCount() : -1;
}

bool CountPending(const std::shared_ptr<config::DataView> &oDataView)
{
    return oDataView && oDataView->Recordset && !oDataView->Recordset->RecordCountKnown();
}

int LayoutCount()
{
    return int(kLayouts.size());
}

int LayoutStringId(int lIndex)
{
    return kLayouts.at(size_t(lIndex)).lStringId;
}

qint32 LayoutFormatType(int lIndex)
{
    return kLayouts.at(size_t(lIndex)).lFormatType;
}

qint32 FormatTypeOfLayoutText(const QString &sText)
{
    for (const Layout &oLayout : kLayouts) {
        if (sText == LoadResString(quint32(oLayout.lStringId)))
            return oLayout.lFormatType;
    }
    return 0;
}

int LayoutIndexOfFormatType(qint32 lFormatType)
{
    for (size_t i = 0; i < kLayouts.size(); ++i) {
        if (kLayouts[i].lFormatType == lFormatType)
            return int(i);
    }
    return 0;
}

SelectionButtons SelectionButtonStates(bool bCheckBoxes, qint64 lRows, qint64 lChosen)
{
    SelectionButtons oButtons;
    if (!bCheckBoxes) {
        oButtons.bOK = lChosen > 0;
        return oButtons;
    }
    if (lChosen == 0 && lRows == 1) {
        oButtons.bTickOnlyRow = true;
        oButtons.bOK = true;
        return oButtons;
    }
    if (lChosen == 0) {
        oButtons.bSelectAll = lRows > 1;
        return oButtons;
    }
    oButtons.bOK = true;
    if (lRows > 1) {
        oButtons.bDeselectAll = true;
        oButtons.bSelectAll = lChosen < lRows;
    }
    return oButtons;
}

FilterRowState FilterRowStates(bool bHasDataView, int lOperatorCount, bool bApplyNow)
{
    FilterRowState oState;
    if (!bHasDataView)
        return oState;
    oState.bField = true;
    if (lOperatorCount <= 0)
        return oState;
    oState.bOperator = oState.bParam = true;
    oState.bApply = bApplyNow;
    return oState;
}

bool ApplyEnabledForValue(const QString &sValue, bool bLoading)
{
    return !bLoading && sValue.trimmed() != QLatin1String(kNoFilter);
}

bool ValueNeedsNoCheck(const QString &sValue)
{
    return sValue.isEmpty() || sValue == QLatin1String(kNoFilter) || sValue == QLatin1String(kBlank);
}

bool ValueIsFilter(const QString &sValue)
{
    const QString sTrimmed = sValue.trimmed();
    return !sTrimmed.isEmpty() && sTrimmed != QLatin1String(kNoFilter);
}

QString ValueWithoutWildcards(const QString &sValue, int lOperatorCode)
{
    if (lOperatorCode != 7 && lOperatorCode != 8)
        return sValue;
    return QString(sValue).remove(QLatin1Char('%'));
}

QString InvalidFilterMessage(const QString &sField, const QString &sOperator, const QString &sValue)
{
    return QStringLiteral("This filter is invalid: '") + sField + QLatin1Char(' ') + sOperator + QLatin1Char(' ')
           + sValue + QLatin1Char('\'');
}

QString CustomFilterKey(const QString &sFieldName, qint32 lConditionId)
{
    return sFieldName + QLatin1Char(':') + QString::number(lConditionId);
}

QSet<QString> ConditionKeys(const config::DataView &oDataView)
{
    QSet<QString> colKeys;
    for (const auto &oField : oDataView.Fields) {
        for (const config::Condition &oCondition : oField->Conditions)
            colKeys.insert(CustomFilterKey(oField->Name, oCondition.Id));
    }
    return colKeys;
}

int DiscardUnsavedFilters(config::DataView &oDataView, const QSet<QString> &colSaved, qint32 lKeepId)
{
    int lRemoved = 0;
    for (const auto &oField : oDataView.Fields) {
        auto &colConditions = oField->Conditions;
        const auto oEnd = std::remove_if(colConditions.begin(), colConditions.end(), [&](const config::Condition &c) {
            if (lKeepId > 0 && c.Id == lKeepId)
                return false;
            return !colSaved.contains(CustomFilterKey(oField->Name, c.Id));
        });
        lRemoved += int(colConditions.end() - oEnd);
        colConditions.erase(oEnd, colConditions.end());
    }
    return lRemoved;
}

LastDataView ReadLastDataView()
{
    LastDataView oLast;
    try {
        Registry oRegistry;
        oLast.lId = oRegistry.GetValue(Registry::CurrentUser, kRegistryKey, QStringLiteral("LastDataViewId"),
                                       Registry::DWord, Variant(qint32(0))).ToLong();
        if (oLast.lId >= 1)
            oLast.lType = oRegistry.GetValue(Registry::CurrentUser, kRegistryKey, QStringLiteral("LastDataViewTypeId"),
                                             Registry::DWord, Variant(qint32(-1))).ToLong();
    } catch (...) {
        return {};
    }
    return oLast;
}

void WriteLastDataView(qint32 lId, qint32 lType)
{
    try {
        Registry oRegistry;
        oRegistry.SetValue(Registry::CurrentUser, kRegistryKey, QStringLiteral("LastDataViewId"), Registry::DWord,
                           Variant(lId));
        oRegistry.SetValue(Registry::CurrentUser, kRegistryKey, QStringLiteral("LastDataViewTypeId"), Registry::DWord,
                           Variant(lType));
    } catch (...) {
        // The last data view is a convenience; a registry that cannot be
        // written must not stop the insert.
    }
}

} // namespace qv::dialogs

namespace qv::dialogs {

namespace {

// Stored under these names since the first version; they stay misspelt.
constexpr std::array<const char *, 4> kPlacementNames{"PreveiwCloseLeft", "PreveiwCloseTop", "FormPreveiwLeft",
                                                       "FormPreveiwTop"};

} // namespace

QString ProperCase(const QString &sText)
{
    QString sOut = sText.toLower();
    bool bStart = true;
    for (QChar &c : sOut) {
        if (bStart && c.isLetter())
            c = c.toUpper();
        bStart = c.isSpace();
    }
    return sOut;
}

QString ViewProgressTitle(const QString &sName)
{
    if (sName.isEmpty())
        return QString::fromLatin1(kUntitled) + QStringLiteral(" Rows");
    return ProperCase(sName + QStringLiteral(" Rows"));
}

ViewPlacement ReadViewPlacement()
{
    ViewPlacement oPlacement;
    qint32 *colValues[] = {&oPlacement.lCloseLeft, &oPlacement.lCloseTop, &oPlacement.lFormLeft, &oPlacement.lFormTop};
    try {
        Registry oRegistry;
        for (size_t i = 0; i < kPlacementNames.size(); ++i)
            *colValues[i] = oRegistry.GetValue(Registry::CurrentUser, kRegistryKey, QLatin1String(kPlacementNames[i]),
                                               Registry::DWord, Variant(*colValues[i])).ToLong();
    } catch (...) {
        return {};
    }
    return oPlacement;
}

void WriteViewPlacement(const ViewPlacement &oPlacement)
{
    const qint32 colValues[] = {oPlacement.lCloseLeft, oPlacement.lCloseTop, oPlacement.lFormLeft, oPlacement.lFormTop};
    try {
        Registry oRegistry;
        for (size_t i = 0; i < kPlacementNames.size(); ++i)
            oRegistry.SetValue(Registry::CurrentUser, kRegistryKey, QLatin1String(kPlacementNames[i]), Registry::DWord,
                               Variant(colValues[i]));
    } catch (...) {
        // A place that cannot be remembered is not worth a message.
    }
}

} // namespace qv::dialogs
