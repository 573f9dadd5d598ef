#include "ManagerModels.h"

#include "ManagerClipboard.h"
#include "ManagerImages.h"

#include "common/basErrorHandling.h"
#include "config/ConfigStore.h"

namespace qv::manager {

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
