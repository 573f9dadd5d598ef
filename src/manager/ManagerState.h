#pragma once

#include "ManagerClipboard.h"
#include "ManagerHistory.h"
#include "ManagerNodes.h"

#include <QFuture>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QObject;

namespace qv::config {
class ConfigStore;
}
namespace qv::biz {
class ConfigFileSettings;
}

namespace qv::manager {

// The change stamps of the personal and team configurations: texts that
// change whenever a file is saved.
struct ChangeStamps
{
    QString sPersonal, sTeam;
};

// What DVUser hands the manager for one opening.
struct ManagerRequest
{
    // The host's services object; its Application's Version tells whether
    // smart tags are shown. Not owned.
    QObject *oWordServices = nullptr;
    std::shared_ptr<config::ConfigStore> oPersonalStore;
    std::shared_ptr<config::ConfigStore> oTeamStore;
    QString sPersonalFilePath;
    QString sTeamFilePath;
    // EFirstSelectedNode, ESecondSelectedNode and an item's identifier; -1 for none.
    qint32 iFirstSelectedNode = -1;
    qint32 iSecondSelectedNode = -1;
    qint32 iSelectedListItemId = -1;
    // The stamps as the caller began reading them beside the files
    // (ManagerState::StartReadingChangeStamps); when not given, the window
    // reads them while it opens.
    QFuture<ChangeStamps> oStamps;
};

// What the list's selection amounts to.
struct ListSelection
{
    enum State { None = 1, One = 2, Several = 3 };
    qint32 lNodeType = 0;
    int lState = None;
    int lCount = 0;
    QString sLastTag; // the selected item that comes last in list order; "" for none
};

// Which commands are available (Exit and Help always are).
struct CommandStates
{
    bool bNew = false, bCopy = false, bPaste = false, bDelete = false, bRename = false, bPreview = false,
         bProperties = false, bEnable = false, bDisable = false, bTerms = false, bClearWarnings = false;
    bool operator==(const CommandStates &) const = default;
};

// The window's place in twips and its state (0 normal, 1 minimized, 2 maximized).
struct ManagerPlacement
{
    qint32 lWindowState = 0;
    double dLeft = 1000, dTop = 1000, dWidth = 10000, dHeight = 6500;
    bool operator==(const ManagerPlacement &) const = default;
};

// The Data View Manager's decisions, without a window: the stores and the
// paths, which node the caller asks for, the list shown and its column
// widths, the commands available, the status and the change stamps that
// tell of another program's saves.
class ManagerState
{
public:
    // The smallest window, in twips, and the nearest a splitter comes to an edge.
    static constexpr int kMinWidth = 3000, kMinHeight = 4500, kSplitterMargin = 1500;

    void Begin(const ManagerRequest &oRequest);
    const ManagerRequest &Request() const { return m_oRequest; }

    // True unless the application's major version is 9 or lower; an
    // application whose version cannot be read is taken to support them.
    static bool SupportsSmartTags(const QObject *oApplication);
    // The host's Application, as SupportsSmartTags reads it.
    bool ShowSmartTags() const;

    // The root and folder tags the caller's selection arguments name ("" for
    // none). Raises kErrorInvalidNode when smart tags are asked of a store
    // without any, or of no root.
    std::pair<QString, QString> StartNodeTags() const;

    // The files the window shows from now on: the team commands change the
    // team file, the tutorial commands the personal one.
    void SetTeamFile(std::shared_ptr<config::ConfigStore> oStore, const QString &sPath);
    void SetPersonalFilePath(const QString &sPath) { m_oRequest.sPersonalFilePath = sPath; }
    // The root and folder the next ResetView selects (EFirstSelectedNode, ESecondSelectedNode).
    void SetStartNodes(qint32 lFirst, qint32 lSecond);

    std::shared_ptr<config::ConfigStore> PersonalStore() const { return m_oRequest.oPersonalStore; }
    std::shared_ptr<config::ConfigStore> TeamStore() const { return m_oRequest.oTeamStore; }
    void SetStores(std::shared_ptr<config::ConfigStore> oPersonal, std::shared_ptr<config::ConfigStore> oTeam);
    // The store of a node: a root's own, a folder's by its parent type.
    // Raises kErrorInvalidNode for a folder without a root type or another type.
    std::shared_ptr<config::ConfigStore> StoreForNode(qint32 lNodeType, qint32 lParentType) const;
    std::shared_ptr<config::ConfigStore> StoreOfList(const ListKey &oKey) const;

    // The list key shown; whether a list for oKey must be filled again.
    const ListKey &CurrentKey() const { return m_oKey; }
    bool ListNeedsFill(const ListKey &oKey, bool bForce, int lItemCount) const;
    void SetCurrentKey(const ListKey &oKey) { m_oKey = oKey; }

    // Column widths per list, kept for the life of the window.
    void SaveColumnWidths(const ListKey &oKey, const std::vector<int> &colWidths);
    std::optional<int> ColumnWidth(const ListKey &oKey, int lColumn) const;
    // True when no width of the list's first column is kept yet.
    bool FirstTime(const ListKey &oKey) const;

    // The commands for the node and selection; for one smart tag selected,
    // its enabled flag and warnings. Raises kErrorInvalidNode for another node.
    CommandStates Commands(const ListSelection &oSelection, bool bTagEnabled, const QString &sTagWarnings) const;
    // The copy buffer: what this window copied last (kept until it closes),
    // and whether the clipboard holds data views copied by any manager.
    bool CopyBufferFilled() const { return !m_oCopied.IsEmpty() || m_bClipboardHolds; }
    const CopiedItems &CopyBuffer() const { return m_oCopied; }
    void SetCopyBuffer(CopiedItems oItems) { m_oCopied = std::move(oItems); }
    void SetClipboardHolds(bool bHolds) { m_bClipboardHolds = bHolds; }

    // What Ctrl+Z takes back, kept for the life of the window.
    ManagerHistory &History() { return m_oHistory; }
    const ManagerHistory &History() const { return m_oHistory; }
    // The window's store showing that file (personal or team), nullptr for none.
    std::shared_ptr<config::ConfigStore> StoreOfFile(const QString &sComparablePath) const;
    // The root type (8 or 9) of the window's store, 0 when it shows neither.
    qint32 RootOfStore(const config::ConfigStore *oStore) const;

    // The status bar: "1 Item", "0 Items", "7 Items".
    static QString ItemCountText(int lCount);

    // Reads both stamps through a settings object of its own, so that any
    // thread may read them; a stamp that cannot be read is "".
    static ChangeStamps ReadChangeStamps() noexcept;
    // The same on the thread pool: the stamps hash both files.
    static QFuture<ChangeStamps> StartReadingChangeStamps();
    void SetChangeStamps(const ChangeStamps &oStamps) { m_oStamps = oStamps; }
    const ChangeStamps &Stamps() const { return m_oStamps; }
    // True when either stamp differs (without regard to case) from the kept one.
    bool Differs(const ChangeStamps &oNow) const;
    bool HasOutsideChanges(const biz::ConfigFileSettings &oSettings) const;

    // The placement kept in the registry, with the defaults for what is
    // missing or unreadable; where the window opens for it (a maximized or
    // minimized window opens in the default place); and the write at close,
    // which a minimized window skips.
    static ManagerPlacement ReadPlacement();
    static ManagerPlacement OpeningPlacement(const ManagerPlacement &oStored);
    static bool WritePlacement(const ManagerPlacement &oPlacement);
    // A splitter position kept kSplitterMargin from both edges of lExtent.
    static int ClampSplitter(int lPosition, int lExtent);

private:
    ManagerRequest m_oRequest;
    ListKey m_oKey;
    QHash<QString, int> m_colWidths;
    ChangeStamps m_oStamps;
    CopiedItems m_oCopied;
    bool m_bClipboardHolds = false;
    ManagerHistory m_oHistory;
};

} // namespace qv::manager
