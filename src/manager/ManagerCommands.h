#pragma once

// The rules of the Data View Manager's commands, without a window: the
// names pasted data views get, which drops are refused, what Delete removes
// and asks, what Rename accepts, and the message a refused save shows. The
// window (frmMainCommands.cpp, frmMainEdit.cpp) asks these and shows the
// answers; the tests ask them directly (tests/manager/tst_managercommands.cpp).

#include "ManagerClipboard.h"
#include "ManagerNodes.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace qv::config {
class ConfigStore;
class DataView;
} // namespace qv::config

namespace qv::manager {

// The resource messages of the commands.
inline constexpr quint32 kMsgInUse = 700;            // %1 the data view's name
inline constexpr quint32 kMsgNotAccepted = 701;      // %1 the dropped data view's name
inline constexpr quint32 kMsgConfirmOne = 702;       // %1 the item's name
inline constexpr quint32 kMsgCannotWrite = 705;
inline constexpr quint32 kMsgChangedElsewhere = 714;
inline constexpr quint32 kMsgConfirmSeveral = 715;   // %1 how many
inline constexpr quint32 kMsgNameTaken = 80004;      // %1 the item word
inline constexpr quint32 kMsgNameMissing = 80005;
inline constexpr quint32 kMsgNameTooLong = 80009;

// The longest name Rename accepts.
inline constexpr int kMaxNameLength = 100;

// --- paste -------------------------------------------------------------------

// The name a pasted data view gets where `taken` tells which names are in
// use: its own when free; else "Copy of " and the name; else the first free
// "Copy (n) of " and the name, n = 1, 2, 3 ...
QString PasteName(const QString &sName, const std::function<bool(const QString &)> &taken);

// Pastes copied data views into `target`. `source` is the window's store the
// items were copied from (nullptr when their file is not open in this
// window): its data views are taken by identifier, and one deleted since the
// copy is skipped; into the same store each is copied within the collection,
// into another it is added as a copy. Without a source the copies the
// clipboard carries are added. Every pasted view is named by PasteName.
// Answers the identifiers of the new data views in `target`, in order.
std::vector<qint32> PasteDataViews(const CopiedItems &oItems, config::ConfigStore *source,
                                   config::ConfigStore &target);

// --- drag and drop -------------------------------------------------------------

// Whether copied items may be dropped on a tree node: only on a "Data Views"
// folder whose store is not the one they came from (by file, so that a drag
// from another manager process is judged the same way).
bool DropAllowed(const CopiedItems &oItems, qint32 lTargetNodeType, const QString &sTargetFile);

struct DropOutcome
{
    std::vector<qint32> colAdded;  // the new data views in the target, in order
    QStringList colRefused;        // names the target refused (a data view of that name is there)
};
// Adds the dropped data views to `target` under their own names (taken from
// `source` by identifier when it is given, else the carried copies). A name
// the target holds already is refused (error 0x80040206) and the drop goes on
// with the next one; any other error is raised.
DropOutcome DropDataViews(const CopiedItems &oItems, const config::ConfigStore *source, config::ConfigStore &target);

// --- delete --------------------------------------------------------------------

// One selected list item: its tag's type and identifier.
struct ListItemRef
{
    qint32 lType = 0;
    qint32 lId = 0;
};

struct DeleteAsk
{
    // Message 700 for a data view in use; the item stays.
    std::function<void(const QString &sText)> inUse;
    // The one confirmation before the first removal (702 or 715); false ends the command.
    std::function<bool(const QString &sText)> confirm;
};

// Deletes the items in list order from `store`: a data view in use is not
// deleted (inUse is told when its turn comes); before the first removal the
// user confirms once, naming the item when it is the only one that can go,
// else giving the number of those that can (data views in use and items
// gone since do not count); No ends the loop with what was
// removed so far. Raises kErrorInvalidNode for an item of another type.
// Answers the positions in `items` of the removed ones.
std::vector<int> DeleteItems(config::ConfigStore &store, const std::vector<ListItemRef> &items, const DeleteAsk &ask);

// The list row to select after a delete: the first removed item's row, or
// the first row when that is past the end; -1 for an empty list.
int RowAfterDelete(int lFirstRemovedRow, int lRowCount);

// --- rename --------------------------------------------------------------------

struct NameVerdict
{
    enum Check { Accepted, Same, TooLong, Empty, Taken };
    Check lCheck = Accepted;
    // The message shown (0 for none) and its text, with the item word.
    quint32 lMessage = 0;
    QString sMessage;
};

// Whether an item of a "Smart Tags" (4) or "Data Views" (5) folder may take
// sNewName (already trimmed) in place of sOldName: not the same name, at
// most kMaxNameLength characters, not empty, and no other item of the store
// of that name (any case; the item itself may change its name's case).
// Other node types accept any name.
NameVerdict ValidateNewName(const config::ConfigStore &store, qint32 lNodeType, qint32 lItemId, const QString &sNewName,
                            const QString &sOldName);

// Renames the item with identifier lId of the folder's kind to sText
// without its surrounding blanks, when ValidateNewName accepts it; answers
// the verdict. Raises kErrorInvalidNode ("Unknown node type for rename")
// for another node and when there is no such item.
NameVerdict RenameItem(config::ConfigStore &store, qint32 lNodeType, qint32 lId, const QString &sText);

// --- saving ----------------------------------------------------------------------

// The message a refused save shows for its error number: 705 when the file
// cannot be written, 714 when someone else saved it since it was read, 0 for
// any other failure (shown as the error itself).
quint32 SaveFailureMessage(qint32 lNumber);

} // namespace qv::manager
