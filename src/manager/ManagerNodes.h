#pragma once

#include <QString>

#include <utility>

namespace qv::manager {

// What a node of the manager's tree or an item of its list stands for; the
// code is the first half of the node tag.
enum ManagerNodeType : qint32 {
    ConfigurationItem = 1, // the smart tag set standing for a root's configuration
    DataViewItem = 2,
    SmartTagsFolder = 4,
    DataViewsFolder = 5,
    PersonalRoot = 8,
    TeamRoot = 9,
    SmartTagItem = 11,
};

// The errors the manager raises.
inline constexpr qint32 kErrorNodeTag = 10000;
inline constexpr qint32 kErrorInvalidNode = qint32(0x80040205);

// The configuration file kind (1 personal, 2 team) of a root's type.
inline int FileKindOfRoot(qint32 lRootType)
{
    return lRootType == TeamRoot ? 2 : 1;
}

// "type:id", both in decimal.
QString MakeNodeTag(qint32 lType, qint32 lId);
// (type, id) of a tag; raises kErrorNodeTag for an empty tag, one without
// ":", one with an empty side and one whose sides are not 32-bit integers.
std::pair<qint32, qint32> ParseNodeTag(const QString &sTag);

// The node whose items the list shows: its type and id, its parent's type
// (0 for a root) and its root's type (0 for a root itself).
struct ListKey
{
    qint32 lNodeType = 0;
    qint32 lNodeId = 0;
    qint32 lParentType = 0;
    qint32 lRootType = 0;

    bool operator==(const ListKey &) const = default;
    // The store the list's items come from: the root's for a folder, the
    // node's own for a root.
    qint32 StoreRootType() const { return lParentType != 0 ? lParentType : lNodeType; }
    // "type:id:parent:root:column", the key a column's width is kept under.
    QString ColumnKey(int lColumn) const;
};

} // namespace qv::manager
