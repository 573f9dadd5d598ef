#include "ManagerState.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "registry/Registry.h"

#include <QObject>
#include <QPromise>
#include <QThreadPool>
#include <QVariant>

#include <array>

namespace qv::manager {
namespace {

[[noreturn]] void RaiseInvalidNode(const char *sDescription)
{
    RaiseError(kErrorInvalidNode, QString(), QString::fromLatin1(sDescription));
}

QString ManagerKey()
{
    return QString::fromLatin1(kRegistryKey) + QStringLiteral("Data View Manager");
}

constexpr std::array<const char *, 4> kPlaceNames = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

} // namespace

void ManagerState::Begin(const ManagerRequest &oRequest)
{
    m_oRequest = oRequest;
    m_oKey = {};
    m_oCopied = {};
    m_oHistory = {};
}

bool ManagerState::SupportsSmartTags(const QObject *oApplication)
{
    if (!oApplication)
        return true;
    const QVariant oVersion = oApplication->property("Version");
    // The major version is what stands before the first point ("9.0", "11").
    const QString sMajor = oVersion.toString().section(QLatin1Char('.'), 0, 0).trimmed();
    bool bOk = false;
    const int lMajor = sMajor.toInt(&bOk);
    return !bOk || lMajor > 9;
}

bool ManagerState::ShowSmartTags() const
{
    const QObject *oHost = m_oRequest.oWordServices;
    if (!oHost)
        return true;
    return SupportsSmartTags(oHost->property("Application").value<QObject *>());
}

std::pair<QString, QString> ManagerState::StartNodeTags() const
{
    const qint32 lFirst = m_oRequest.iFirstSelectedNode, lSecond = m_oRequest.iSecondSelectedNode;
    QString sRoot, sChild;
    if (lFirst == 1)
        sRoot = MakeNodeTag(PersonalRoot, 0);
    else if (lFirst == 2)
        sRoot = MakeNodeTag(TeamRoot, 0);
    if (lSecond == 1) {
        if (lFirst != 1 && lFirst != 2)
            RaiseInvalidNode("Invalid nodes specified for selection");
        const auto oStore = lFirst == 1 ? PersonalStore() : TeamStore();
        // A missing store has no smart tag set either.
        if (!oStore || oStore->SmartTagSets().Count() == 0)
            RaiseInvalidNode("Can't select specified node, it doesn't exist");
        sChild = MakeNodeTag(SmartTagsFolder, oStore->SmartTagSets().Item(1)->Id());
    } else if (lSecond == 2) {
        sChild = MakeNodeTag(DataViewsFolder, 0);
    }
    return {sRoot, sChild};
}

void ManagerState::SetStores(std::shared_ptr<config::ConfigStore> oPersonal, std::shared_ptr<config::ConfigStore> oTeam)
{
    m_oRequest.oPersonalStore = std::move(oPersonal);
    m_oRequest.oTeamStore = std::move(oTeam);
}

void ManagerState::SetTeamFile(std::shared_ptr<config::ConfigStore> oStore, const QString &sPath)
{
    m_oRequest.oTeamStore = std::move(oStore);
    m_oRequest.sTeamFilePath = sPath;
}

void ManagerState::SetStartNodes(qint32 lFirst, qint32 lSecond)
{
    m_oRequest.iFirstSelectedNode = lFirst;
    m_oRequest.iSecondSelectedNode = lSecond;
}

std::shared_ptr<config::ConfigStore> ManagerState::StoreForNode(qint32 lNodeType, qint32 lParentType) const
{
    switch (lNodeType) {
    case PersonalRoot:
        return PersonalStore();
    case TeamRoot:
        return TeamStore();
    case SmartTagsFolder:
    case DataViewsFolder:
        if (lParentType == 0)
            RaiseInvalidNode(lNodeType == SmartTagsFolder ? "must supply parent nodetype for smarttagroot node"
                                                          : "must supply parent nodetype for Data View node");
        if (lParentType == PersonalRoot || lParentType == TeamRoot)
            return StoreForNode(lParentType, 0);
        RaiseInvalidNode(lNodeType == SmartTagsFolder ? "Unknown node type" : "unknown node type");
    default:
        RaiseInvalidNode("unknown node type");
    }
}

std::shared_ptr<config::ConfigStore> ManagerState::StoreOfFile(const QString &sComparablePath) const
{
    for (const auto &oStore : {PersonalStore(), TeamStore()})
        if (oStore && !sComparablePath.isEmpty() && ComparableFilePath(oStore->FilePath()) == sComparablePath)
            return oStore;
    return nullptr;
}

qint32 ManagerState::RootOfStore(const config::ConfigStore *oStore) const
{
    if (oStore && oStore == PersonalStore().get())
        return PersonalRoot;
    if (oStore && oStore == TeamStore().get())
        return TeamRoot;
    return 0;
}

std::shared_ptr<config::ConfigStore> ManagerState::StoreOfList(const ListKey &oKey) const
{
    return StoreForNode(oKey.StoreRootType(), 0);
}

bool ManagerState::ListNeedsFill(const ListKey &oKey, bool bForce, int lItemCount) const
{
    return bForce || lItemCount == 0 || !(oKey == m_oKey);
}

void ManagerState::SaveColumnWidths(const ListKey &oKey, const std::vector<int> &colWidths)
{
    for (size_t i = 0; i < colWidths.size(); ++i)
        m_colWidths.insert(oKey.ColumnKey(int(i) + 1), colWidths[i]);
}

std::optional<int> ManagerState::ColumnWidth(const ListKey &oKey, int lColumn) const
{
    const auto it = m_colWidths.find(oKey.ColumnKey(lColumn));
    if (it == m_colWidths.end())
        return std::nullopt;
    return *it;
}

bool ManagerState::FirstTime(const ListKey &oKey) const
{
    return !m_colWidths.contains(oKey.ColumnKey(1));
}

CommandStates ManagerState::Commands(const ListSelection &oSelection, bool bTagEnabled,
                                     const QString &sTagWarnings) const
{
    CommandStates oStates;
    const bool bOne = oSelection.lState == ListSelection::One;
    const bool bAny = oSelection.lState != ListSelection::None;
    switch (oSelection.lNodeType) {
    case SmartTagsFolder:
        oStates.bNew = true;
        oStates.bDelete = bAny;
        oStates.bRename = oStates.bProperties = oStates.bTerms = bOne;
        oStates.bEnable = bOne && !bTagEnabled;
        oStates.bDisable = bOne && bTagEnabled;
        oStates.bClearWarnings = bOne && !sTagWarnings.isEmpty();
        break;
    case DataViewsFolder:
        oStates.bNew = oStates.bPaste = true;
        oStates.bCopy = oStates.bDelete = bAny;
        oStates.bRename = oStates.bPreview = oStates.bProperties = bOne;
        break;
    case PersonalRoot:
    case TeamRoot:
        oStates.bProperties = oSelection.lNodeType == TeamRoot && oSelection.lState != ListSelection::Several;
        break;
    default:
        RaiseInvalidNode("invalid nodetype");
    }
    oStates.bPaste = oStates.bPaste && CopyBufferFilled();
    return oStates;
}

QString ManagerState::ItemCountText(int lCount)
{
    return QString::number(lCount) + (lCount == 1 ? QStringLiteral(" Item") : QStringLiteral(" Items"));
}

ChangeStamps ManagerState::ReadChangeStamps() noexcept
{
    try {
        const biz::ConfigFileSettings oSettings;
        return {oSettings.ChangeStamp(biz::ConfigFileSettings::Personal),
                oSettings.ChangeStamp(biz::ConfigFileSettings::Team)};
    } catch (...) {
        // A stamp that cannot be read differs from the next one that can.
        return {};
    }
}

QFuture<ChangeStamps> ManagerState::StartReadingChangeStamps()
{
    auto oPromise = std::make_shared<QPromise<ChangeStamps>>();
    QFuture<ChangeStamps> oFuture = oPromise->future();
    // Started here: a future whose work has not started yet answers result() at once, empty.
    oPromise->start();
    QThreadPool::globalInstance()->start([oPromise] {
        oPromise->addResult(ReadChangeStamps());
        oPromise->finish();
    });
    return oFuture;
}

bool ManagerState::Differs(const ChangeStamps &oNow) const
{
    return oNow.sPersonal.compare(m_oStamps.sPersonal, Qt::CaseInsensitive) != 0
           || oNow.sTeam.compare(m_oStamps.sTeam, Qt::CaseInsensitive) != 0;
}

bool ManagerState::HasOutsideChanges(const biz::ConfigFileSettings &oSettings) const
{
    return Differs({oSettings.ChangeStamp(biz::ConfigFileSettings::Personal),
                    oSettings.ChangeStamp(biz::ConfigFileSettings::Team)});
}

ManagerPlacement ManagerState::ReadPlacement()
{
    ManagerPlacement oPlacement;
    double *colPlace[] = {&oPlacement.dLeft, &oPlacement.dTop, &oPlacement.dWidth, &oPlacement.dHeight};
    try {
        Registry oRegistry;
        oPlacement.lWindowState = oRegistry.GetValue(Registry::CurrentUser, ManagerKey(), QStringLiteral("WindowState"),
                                                     Registry::DWord, Variant(qint32(0))).ToLong();
        for (size_t i = 0; i < kPlaceNames.size(); ++i) {
            const QString sText = oRegistry.GetValue(Registry::CurrentUser, ManagerKey(),
                                                     QLatin1String(kPlaceNames[i]), Registry::String).ToText();
            bool bOk = false;
            const double dValue = sText.toDouble(&bOk);
            if (bOk)
                *colPlace[i] = dValue;
        }
    } catch (...) {
        // An unreadable registry gives the defaults.
        return {};
    }
    return oPlacement;
}

ManagerPlacement ManagerState::OpeningPlacement(const ManagerPlacement &oStored)
{
    if (oStored.lWindowState == 1 || oStored.lWindowState == 2)
        return {};
    ManagerPlacement oPlacement = oStored;
    oPlacement.lWindowState = 0;
    return oPlacement;
}

bool ManagerState::WritePlacement(const ManagerPlacement &oPlacement)
{
    // A minimized window's place is no place to come back to.
    if (oPlacement.lWindowState == 1)
        return false;
    const double colPlace[] = {oPlacement.dLeft, oPlacement.dTop, oPlacement.dWidth, oPlacement.dHeight};
    try {
        Registry oRegistry;
        for (size_t i = 0; i < kPlaceNames.size(); ++i)
            oRegistry.SetValue(Registry::CurrentUser, ManagerKey(), QLatin1String(kPlaceNames[i]), Registry::String,
                               Variant(QString::number(float(colPlace[i]))));
        oRegistry.SetValue(Registry::CurrentUser, ManagerKey(), QStringLiteral("WindowState"), Registry::DWord,
                           Variant(oPlacement.lWindowState));
    } catch (...) {
        return false;
    }
    return true;
}

int ManagerState::ClampSplitter(int lPosition, int lExtent)
{
    return std::max(kSplitterMargin, std::min(lPosition, lExtent - kSplitterMargin));
}

} // namespace qv::manager
