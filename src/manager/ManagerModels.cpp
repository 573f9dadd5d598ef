#include "ManagerModels.h"

#include "ManagerClipboard.h"
#include "ManagerImages.h"

#include "config/ConfigStore.h"

#include <QMimeData>

namespace qv::manager {

// --- the tree ----------------------------------------------------------------

ManagerTreeModel::ManagerTreeModel(QObject *parent) : QAbstractItemModel(parent) {}

ManagerTreeModel::~ManagerTreeModel() = default;

void ManagerTreeModel::Build(const std::shared_ptr<config::ConfigStore> &oPersonal,
                             const std::shared_ptr<config::ConfigStore> &oTeam, bool bTutorial, bool bShowSmartTags)
{
    beginResetModel();
    m_colNodes.clear();
    m_colRoots.clear();
    if (oPersonal)
        AddRoot(*oPersonal, PersonalRoot, bTutorial ? QStringLiteral("Tutorial") : QStringLiteral("Personal"),
                bShowSmartTags);
    if (oTeam)
        AddRoot(*oTeam, TeamRoot, QStringLiteral("Team"), bShowSmartTags);
    endResetModel();
}

void ManagerTreeModel::AddRoot(const config::ConfigStore &oStore, ManagerNodeType lType, const QString &sText,
                               bool bShowSmartTags)
{
    const int lRoot = AddNode(-1, sText, RootImageKey(lType), MakeNodeTag(lType, 0));
    AddNode(lRoot, QStringLiteral("Data Views"), kDataViewImage, MakeNodeTag(DataViewsFolder, 0));
    if (bShowSmartTags && oStore.SmartTagSets().Count() >= 1)
        AddNode(lRoot, QStringLiteral("Smart Tags"), kSmartTagImage,
                MakeNodeTag(SmartTagsFolder, oStore.SmartTagSets().Item(1)->Id()));
}

int ManagerTreeModel::AddNode(int lParent, const QString &sText, const QString &sImageKey, const QString &sTag)
{
    const int lPosition = int(m_colNodes.size());
    m_colNodes.push_back({sText, sImageKey, sTag, lParent, {}, 0});
    // Taken after the push, which may move the nodes.
    std::vector<int> &colSiblings = lParent < 0 ? m_colRoots : m_colNodes[size_t(lParent)].colChildren;
    m_colNodes.back().lRow = int(colSiblings.size());
    colSiblings.push_back(lPosition);
    return lPosition;
}

const ManagerTreeModel::Node *ManagerTreeModel::NodeOf(const QModelIndex &oIndex) const
{
    if (!oIndex.isValid())
        return nullptr;
    return &m_colNodes[size_t(oIndex.internalId())];
}

QModelIndex ManagerTreeModel::NodeAt(int lPosition) const
{
    if (lPosition < 0 || lPosition >= NodeCount())
        return {};
    return createIndex(m_colNodes[size_t(lPosition)].lRow, 0, quintptr(lPosition));
}

int ManagerTreeModel::PositionOf(const QModelIndex &oIndex) const
{
    return oIndex.isValid() ? int(oIndex.internalId()) : -1;
}

QModelIndex ManagerTreeModel::FindRoot(const QString &sTag) const
{
    for (int lPosition : m_colRoots)
        if (m_colNodes[size_t(lPosition)].sTag == sTag)
            return NodeAt(lPosition);
    return {};
}

QModelIndex ManagerTreeModel::FindChild(const QModelIndex &oParent, const QString &sTag) const
{
    const Node *oNode = NodeOf(oParent);
    if (!oNode)
        return {};
    for (int lPosition : oNode->colChildren)
        if (m_colNodes[size_t(lPosition)].sTag == sTag)
            return NodeAt(lPosition);
    return {};
}

ListKey ManagerTreeModel::KeyOf(const QModelIndex &oIndex) const
{
    const Node *oNode = NodeOf(oIndex);
    if (!oNode)
        return {};
    const auto [lType, lId] = ParseNodeTag(oNode->sTag);
    ListKey oKey{lType, lId, 0, 0};
    // The parent and, walking up, the root; a root has neither.
    if (oNode->lParent >= 0) {
        oKey.lParentType = ParseNodeTag(m_colNodes[size_t(oNode->lParent)].sTag).first;
        int lRoot = oNode->lParent;
        while (m_colNodes[size_t(lRoot)].lParent >= 0)
            lRoot = m_colNodes[size_t(lRoot)].lParent;
        oKey.lRootType = ParseNodeTag(m_colNodes[size_t(lRoot)].sTag).first;
    }
    return oKey;
}

QModelIndex ManagerTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const std::vector<int> *colRows = &m_colRoots;
    if (parent.isValid())
        colRows = &NodeOf(parent)->colChildren;
    if (row >= int(colRows->size()))
        return {};
    return NodeAt((*colRows)[size_t(row)]);
}

QModelIndex ManagerTreeModel::parent(const QModelIndex &child) const
{
    const Node *oNode = NodeOf(child);
    return oNode ? NodeAt(oNode->lParent) : QModelIndex();
}

int ManagerTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_colRoots.size());
    if (parent.column() != 0)
        return 0;
    return int(NodeOf(parent)->colChildren.size());
}

int ManagerTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant ManagerTreeModel::data(const QModelIndex &index, int role) const
{
    const Node *oNode = NodeOf(index);
    if (!oNode)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return oNode->sText;
    case Qt::DecorationRole:
        return IconOf(m_oImages, oNode->sImageKey);
    case TagRole:
        return oNode->sTag;
    case ImageKeyRole:
        return oNode->sImageKey;
    default:
        return {};
    }
}

Qt::ItemFlags ManagerTreeModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags lFlags = QAbstractItemModel::flags(index);
    const Node *oNode = NodeOf(index);
    if (oNode && ParseNodeTag(oNode->sTag).first == DataViewsFolder)
        lFlags |= Qt::ItemIsDropEnabled;
    return lFlags;
}

QStringList ManagerTreeModel::mimeTypes() const
{
    return {QLatin1String(kDataViewsMimeType)};
}

Qt::DropActions ManagerTreeModel::supportedDropActions() const
{
    return Qt::CopyAction;
}

bool ManagerTreeModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                       const QModelIndex &parent) const
{
    return action == Qt::CopyAction && data && parent.isValid() && CanDrop && CanDrop(data, parent);
}

bool ManagerTreeModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                    const QModelIndex &parent)
{
    return canDropMimeData(data, action, row, column, parent) && Drop && Drop(data, parent);
}

} // namespace qv::manager
