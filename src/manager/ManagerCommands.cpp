#include "ManagerCommands.h"

#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"

namespace qv::manager {
namespace {

[[noreturn]] void RaiseInvalidNode(const char *sDescription)
{
    RaiseError(kErrorInvalidNode, QString(), QString::fromLatin1(sDescription));
}

std::shared_ptr<config::SmartTagSet> FirstSet(const config::ConfigStore &store)
{
    return store.SmartTagSets().Count() >= 1 ? store.SmartTagSets().Item(1) : nullptr;
}

// The data views the items stand for, in order: the source's by identifier
// (nullptr for one deleted since), or the carried copies.
std::vector<std::shared_ptr<config::DataView>> ViewsOf(const CopiedItems &oItems, const config::ConfigStore *source)
{
    if (source) {
        std::vector<std::shared_ptr<config::DataView>> colViews;
        for (const qint32 lId : oItems.colIds)
            colViews.push_back(source->DataViewCollection().Item(lId));
        return colViews;
    }
    auto colViews = CarriedDataViews(oItems);
    if (colViews.size() != oItems.colIds.size())
        RaiseError(config::kErrorUnreadable, QString(),
                   QStringLiteral("The copied data views cannot be read: the clipboard holds %1 of the %2 copied.")
                       .arg(colViews.size())
                       .arg(oItems.colIds.size()));
    return colViews;
}

} // namespace

QString PasteName(const QString &sName, const std::function<bool(const QString &)> &taken)
{
    if (!taken(sName))
        return sName;
    const QString sCopyOf = QStringLiteral("Copy of ") + sName;
    if (!taken(sCopyOf))
        return sCopyOf;
    for (qint64 n = 1;; ++n) {
        const QString sNumbered = QStringLiteral("Copy (%1) of ").arg(n) + sName;
        if (!taken(sNumbered))
            return sNumbered;
    }
}

std::vector<qint32> PasteDataViews(const CopiedItems &oItems, config::ConfigStore *source, config::ConfigStore &target)
{
    config::DataViews &colTarget = target.DataViewCollection();
    const auto taken = [&colTarget](const QString &sName) { return colTarget.ItemByName(sName) != nullptr; };
    const bool bSameStore = source == &target;
    std::vector<qint32> colAdded;
    for (const auto &oView : ViewsOf(oItems, source)) {
        // Deleted since it was copied: nothing to paste.
        if (!oView)
            continue;
        const QString sName = PasteName(oView->Name, taken);
        std::shared_ptr<config::DataView> oAdded;
        if (bSameStore) {
            oAdded = colTarget.Copy(oView->Id(), sName);
        } else {
            // The source keeps its name; the copy added takes the new one.
            auto oCopy = oView->CopyInto(std::make_shared<config::IdSource>(), {});
            oCopy->Name = sName;
            oAdded = colTarget.AddFrom(*oCopy);
        }
        if (oAdded)
            colAdded.push_back(oAdded->Id());
    }
    return colAdded;
}

bool DropAllowed(const CopiedItems &oItems, qint32 lTargetNodeType, const QString &sTargetFile)
{
    if (oItems.IsEmpty() || lTargetNodeType != DataViewsFolder || sTargetFile.isEmpty())
        return false;
    return ComparableFilePath(sTargetFile) != oItems.sSourceFile;
}

DropOutcome DropDataViews(const CopiedItems &oItems, const config::ConfigStore *source, config::ConfigStore &target)
{
    DropOutcome oOutcome;
    for (const auto &oView : ViewsOf(oItems, source)) {
        if (!oView)
            continue;
        try {
            oOutcome.colAdded.push_back(target.DataViewCollection().AddFrom(*oView)->Id());
        } catch (const ComError &oError) {
            if (oError.Number() != config::kErrorNotAccepted)
                throw;
            oOutcome.colRefused << oView->Name;
        }
    }
    return oOutcome;
}

std::vector<int> DeleteItems(config::ConfigStore &store, const std::vector<ListItemRef> &items, const DeleteAsk &ask)
{
    // The question counts what will go: neither items gone since nor data views in use.
    int lSelected = 0;
    for (const ListItemRef &oItem : items) {
        if (oItem.lType == DataViewItem) {
            const auto oView = store.DataViewCollection().Item(oItem.lId);
            lSelected += oView && !oView->InUse() ? 1 : 0;
        } else if (oItem.lType == SmartTagItem) {
            const auto oSet = FirstSet(store);
            lSelected += oSet && oSet->Item(oItem.lId) ? 1 : 0;
        }
    }
    bool bConfirmed = false;
    std::vector<int> colRemoved;
    for (size_t i = 0; i < items.size(); ++i) {
        const ListItemRef &oItem = items[i];
        QString sName;
        if (oItem.lType == DataViewItem) {
            const auto oView = store.DataViewCollection().Item(oItem.lId);
            if (!oView)
                continue;
            if (oView->InUse()) {
                ask.inUse(LoadResString(kMsgInUse, {oView->Name}));
                continue;
            }
            sName = oView->Name;
        } else if (oItem.lType == SmartTagItem) {
            const auto oSet = FirstSet(store);
            const auto oTag = oSet ? oSet->Item(oItem.lId) : nullptr;
            if (!oTag)
                continue;
            sName = oTag->Name;
        } else {
            RaiseInvalidNode("Node type not implemented for delete option");
        }
        if (!bConfirmed) {
            const QString sQuestion = lSelected < 2 ? LoadResString(kMsgConfirmOne, {sName})
                                                    : LoadResString(kMsgConfirmSeveral, {QString::number(lSelected)});
            if (!ask.confirm(sQuestion))
                break;
            bConfirmed = true;
        }
        if (oItem.lType == DataViewItem)
            store.DataViewCollection().Remove(oItem.lId);
        else
            FirstSet(store)->Remove(oItem.lId);
        colRemoved.push_back(int(i));
    }
    return colRemoved;
}

int RowAfterDelete(int lFirstRemovedRow, int lRowCount)
{
    if (lRowCount <= 0)
        return -1;
    return lFirstRemovedRow >= 0 && lFirstRemovedRow < lRowCount ? lFirstRemovedRow : 0;
}

NameVerdict ValidateNewName(const config::ConfigStore &store, qint32 lNodeType, qint32 lItemId, const QString &sNewName,
                            const QString &sOldName)
{
    if (sNewName == sOldName)
        return {NameVerdict::Same, 0, {}};
    QString sWord;
    if (lNodeType == SmartTagsFolder)
        sWord = QStringLiteral("Smart Tag");
    else if (lNodeType == DataViewsFolder)
        sWord = QStringLiteral("Data View");
    else
        return {};
    const auto verdict = [&sWord](NameVerdict::Check lCheck, quint32 lMessage) {
        return NameVerdict{lCheck, lMessage, LoadResString(lMessage, {sWord})};
    };
    if (sNewName.size() > kMaxNameLength)
        return verdict(NameVerdict::TooLong, kMsgNameTooLong);
    if (sNewName.isEmpty())
        return verdict(NameVerdict::Empty, kMsgNameMissing);
    qint32 lFound = 0;
    if (lNodeType == SmartTagsFolder) {
        const auto oSet = FirstSet(store);
        const auto oTag = oSet ? oSet->ItemByName(sNewName) : nullptr;
        lFound = oTag ? oTag->Id() : 0;
    } else {
        const auto oView = store.DataViewCollection().ItemByName(sNewName);
        lFound = oView ? oView->Id() : 0;
    }
    if (lFound != 0 && lFound != lItemId)
        return verdict(NameVerdict::Taken, kMsgNameTaken);
    return {};
}

NameVerdict RenameItem(config::ConfigStore &store, qint32 lNodeType, qint32 lId, const QString &sText)
{
    const QString sName = sText.trimmed();
    if (lNodeType == SmartTagsFolder) {
        const auto oSet = FirstSet(store);
        const auto oTag = oSet ? oSet->Item(lId) : nullptr;
        if (!oTag)
            RaiseInvalidNode("The smart tag to rename is no longer there");
        const NameVerdict oVerdict = ValidateNewName(store, lNodeType, lId, sName, oTag->Name);
        if (oVerdict.lCheck == NameVerdict::Accepted)
            oTag->Name = sName;
        return oVerdict;
    }
    if (lNodeType == DataViewsFolder) {
        const auto oView = store.DataViewCollection().Item(lId);
        if (!oView)
            RaiseInvalidNode("The data view to rename is no longer there");
        const NameVerdict oVerdict = ValidateNewName(store, lNodeType, lId, sName, oView->Name);
        if (oVerdict.lCheck == NameVerdict::Accepted)
            oView->Name = sName;
        return oVerdict;
    }
    RaiseInvalidNode("Unknown node type for rename");
}

quint32 SaveFailureMessage(qint32 lNumber)
{
    if (lNumber == config::kErrorCannotWrite)
        return kMsgCannotWrite;
    if (lNumber == config::kErrorChangedElsewhere)
        return kMsgChangedElsewhere;
    return 0;
}

} // namespace qv::manager
