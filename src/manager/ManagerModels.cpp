#include "ManagerModels.h"

#include "ManagerClipboard.h"

#include "common/basErrorHandling.h"
#include "config/ConfigStore.h"

#include <QMimeData>

namespace qv::manager {
namespace {

const QString kDataViewImage = QStringLiteral("Dataview");
const QString kSmartTagImage = QStringLiteral("Smarttag");

QVariant IconOf(const ImageList *oImages, const QString &sKey)
{
    if (!oImages)
        return {};
    const auto it = oImages->find(sKey);
    return it == oImages->end() ? QVariant() : QVariant(*it);
}

QString RootImageKey(qint32 lRootType)
{
    return lRootType == TeamRoot ? QStringLiteral("Team") : QStringLiteral("Personal");
}

} // namespace

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

// --- the list ------------------------------------------------------------------

ManagerListModel::ManagerListModel(QObject *parent) : QAbstractTableModel(parent) {}

ManagerListModel::~ManagerListModel() = default;

QString ManagerListModel::SmartTagImageKey(bool bEnabled, const QString &sWarnings)
{
    if (!bEnabled)
        return QStringLiteral("SmartTagStateStop");
    if (!sWarnings.isEmpty())
        return QStringLiteral("SmartTagStateWarning");
    return kSmartTagImage;
}

void ManagerListModel::Fill(const ListKey &oKey, const std::shared_ptr<config::ConfigStore> &oStore)
{
    const QString sName = QStringLiteral("Name");
    std::vector<Column> colColumns;
    std::vector<Item> colItems;
    switch (oKey.lNodeType) {
    case SmartTagsFolder:
        colColumns = {{sName, 2500}};
        if (oStore && oStore->SmartTagSets().Count() >= 1)
            for (const auto &oTag : *oStore->SmartTagSets().Item(1))
                colItems.push_back(
                    {oTag->Name, {}, SmartTagImageKey(oTag->Enabled, oTag->Warnings), SmartTagItem, oTag->Id(), {}, {}});
        break;
    case DataViewsFolder:
        colColumns = {{sName, 2500}, {QStringLiteral("Type"), 2200}};
        if (oStore) {
            colItems.reserve(size_t(oStore->DataViewCollection().Count()));
            for (const auto &oView : oStore->DataViewCollection())
                colItems.push_back({oView->Name, oView->Source.TypeName, kDataViewImage, DataViewItem, oView->Id(), {}, {}});
        }
        break;
    case PersonalRoot:
    case TeamRoot:
        colColumns = {{sName, 3000}};
        if (oStore && oStore->SmartTagSets().Count() >= 1) {
            const auto oSet = oStore->SmartTagSets().Item(1);
            colItems.push_back({oSet->Name, {}, RootImageKey(oKey.lNodeType), ConfigurationItem, oSet->Id(), {}, {}});
        }
        break;
    default:
        RaiseError(kErrorNodeTag, QString(), QStringLiteral("Invalid node type for setting listview"));
    }
    for (Item &oItem : colItems) {
        oItem.sNameKey = oItem.sName.toCaseFolded();
        oItem.sTypeKey = oItem.sType.toCaseFolded();
    }
    beginResetModel();
    m_colColumns = std::move(colColumns);
    m_colItems = std::move(colItems);
    endResetModel();
}

void ManagerListModel::Clear()
{
    beginResetModel();
    m_colColumns.clear();
    m_colItems.clear();
    endResetModel();
}

QString ManagerListModel::TagAt(int lRow) const
{
    if (lRow < 0 || lRow >= rowCount())
        return {};
    const Item &oItem = m_colItems[size_t(lRow)];
    return MakeNodeTag(oItem.lType, oItem.lId);
}

const QString &ManagerListModel::SortKey(int lRow, int lColumn) const
{
    Q_ASSERT(lRow >= 0 && lRow < rowCount());
    const Item &oItem = m_colItems[size_t(lRow)];
    return lColumn == 0 ? oItem.sNameKey : oItem.sTypeKey;
}

int ManagerListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colItems.size());
}

int ManagerListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colColumns.size());
}

QVariant ManagerListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Item &oItem = m_colItems[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == 0 ? oItem.sName : oItem.sType;
    case Qt::DecorationRole:
        return index.column() == 0 ? IconOf(m_oImages, oItem.sImageKey) : QVariant();
    case TagRole:
        return MakeNodeTag(oItem.lType, oItem.lId);
    case ImageKeyRole:
        return oItem.sImageKey;
    default:
        return {};
    }
}

QVariant ManagerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return m_colColumns[size_t(section)].sTitle;
}

Qt::ItemFlags ManagerListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags lFlags = QAbstractTableModel::flags(index);
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return lFlags;
    const Item &oItem = m_colItems[size_t(index.row())];
    if (index.column() == 0 && (oItem.lType == DataViewItem || oItem.lType == SmartTagItem))
        lFlags |= Qt::ItemIsEditable;
    if (oItem.lType == DataViewItem)
        lFlags |= Qt::ItemIsDragEnabled;
    return lFlags;
}

bool ManagerListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != 0 || !(flags(index) & Qt::ItemIsEditable) || !Renamer)
        return false;
    const qint32 lType = m_colItems[size_t(index.row())].lType, lId = m_colItems[size_t(index.row())].lId;
    const QString sText = value.toString();
    if (!Renamer(MakeNodeTag(lType, lId), sText))
        return false;
    // The renamer may have rebuilt the list.
    if (index.row() >= rowCount() || m_colItems[size_t(index.row())].lId != lId)
        return true;
    Item &oItem = m_colItems[size_t(index.row())];
    oItem.sName = sText.trimmed();
    oItem.sNameKey = oItem.sName.toCaseFolded();
    emit dataChanged(index, index);
    return true;
}

QStringList ManagerListModel::mimeTypes() const
{
    return {QLatin1String(kDataViewsMimeType)};
}

QMimeData *ManagerListModel::mimeData(const QModelIndexList &) const
{
    return DragData ? DragData() : nullptr;
}

Qt::DropActions ManagerListModel::supportedDragActions() const
{
    return Qt::CopyAction;
}

// --- the order -------------------------------------------------------------------

ManagerSortModel::ManagerSortModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

Qt::SortOrder ManagerSortModel::NextOrder() const
{
    return sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
}

void ManagerSortModel::setSourceModel(QAbstractItemModel *oModel)
{
    m_oList = qobject_cast<const ManagerListModel *>(oModel);
    QSortFilterProxyModel::setSourceModel(oModel);
}

bool ManagerSortModel::lessThan(const QModelIndex &oLeft, const QModelIndex &oRight) const
{
    // The folded texts themselves, without a QVariant a comparison:
    // thousands of data views sort in a few milliseconds.
    if (!m_oList)
        return QSortFilterProxyModel::lessThan(oLeft, oRight);
    return m_oList->SortKey(oLeft.row(), oLeft.column()) < m_oList->SortKey(oRight.row(), oRight.column());
}

} // namespace qv::manager
