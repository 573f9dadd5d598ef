#include "DataViewerModel.h"

#include "ViewerRules.h"
#include "automation/LocaleFacts.h"

#include <algorithm>
#include <numeric>

namespace qv::viewer {

DataViewerModel::DataViewerModel(QObject *parent) : QAbstractTableModel(parent) {}

void DataViewerModel::ResetColumns(std::vector<std::shared_ptr<biz::ColumnSetting>> colSettings)
{
    beginResetModel();
    m_colSettings = std::move(colSettings);
    m_colRows.clear();
    endResetModel();
}

void DataViewerModel::Clear()
{
    ResetColumns({});
}

void DataViewerModel::AppendRows(std::vector<Row> colRows)
{
    if (colRows.empty())
        return;
    const int lFirst = int(m_colRows.size());
    beginInsertRows({}, lFirst, lFirst + int(colRows.size()) - 1);
    if (m_colRows.empty())
        m_colRows = std::move(colRows);
    else
        std::move(colRows.begin(), colRows.end(), std::back_inserter(m_colRows));
    endInsertRows();
}

std::shared_ptr<biz::ColumnSetting> DataViewerModel::SettingOf(int lColumn) const
{
    if (lColumn < 1 || lColumn > DataColumnCount())
        return nullptr;
    return m_colSettings[size_t(lColumn - 1)];
}

void DataViewerModel::SetCheckBoxes(bool bCheckBoxes)
{
    if (m_bCheckBoxes == bCheckBoxes)
        return;
    m_bCheckBoxes = bCheckBoxes;
    if (!m_colRows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void DataViewerModel::SetChecked(int lRow, bool bChecked)
{
    if (lRow < 0 || lRow >= rowCount() || m_colRows[size_t(lRow)].bChecked == bChecked)
        return;
    m_colRows[size_t(lRow)].bChecked = bChecked;
    const QModelIndex oCell = index(lRow, 0);
    emit dataChanged(oCell, oCell, {Qt::CheckStateRole});
}

void DataViewerModel::SetAllChecked(bool bChecked)
{
    for (Row &oRow : m_colRows)
        oRow.bChecked = bChecked;
    if (!m_colRows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

int DataViewerModel::CheckedCount() const
{
    return int(std::count_if(m_colRows.begin(), m_colRows.end(), [](const Row &r) { return r.bChecked; }));
}

void DataViewerModel::SetHeaderIcons(QList<QIcon> colIcons)
{
    m_colIcons = std::move(colIcons);
    RefreshHeader();
}

void DataViewerModel::RefreshHeader()
{
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int DataViewerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colRows.size());
}

int DataViewerModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : DataColumnCount() + 1;
}

QVariant DataViewerModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &oRow = m_colRows[size_t(index.row())];
    const int lColumn = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return lColumn == 0 ? QString() : oRow.colTexts.value(lColumn - 1);
    case Qt::CheckStateRole:
        if (lColumn == 0 && m_bCheckBoxes)
            return oRow.bChecked ? Qt::Checked : Qt::Unchecked;
        return {};
    case TagRole:
        return ItemTag(oRow.lDisplayBookmark, oRow.sRawBookmark);
    case Qt::TextAlignmentRole: {
        const auto oSetting = lColumn > 0 ? SettingOf(lColumn) : nullptr;
        if (oSetting && AlignsRight(oSetting->ColumnType))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    case Qt::ToolTipRole: {
        const QString sText = lColumn == 0 ? QString() : oRow.colTexts.value(lColumn - 1);
        return sText.size() > kTooltipChars ? QVariant(sText) : QVariant();
    }
    default:
        return {};
    }
}

bool DataViewerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_bCheckBoxes || index.column() != 0
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const bool bChecked = value.value<Qt::CheckState>() == Qt::Checked;
    if (m_colRows[size_t(index.row())].bChecked == bChecked)
        return true;
    SetChecked(index.row(), bChecked);
    emit CheckChanged(index.row(), bChecked);
    return true;
}

Qt::ItemFlags DataViewerModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags eFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0 && m_bCheckBoxes)
        eFlags |= Qt::ItemIsUserCheckable;
    return eFlags;
}

QVariant DataViewerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto oSetting = SettingOf(section);
    switch (role) {
    case Qt::DisplayRole:
        return oSetting ? oSetting->Caption : QString();
    case Qt::DecorationRole: {
        const int lIcon = oSetting ? HeaderIconIndex(*oSetting) : -1;
        return lIcon >= 0 && lIcon < m_colIcons.size() ? QVariant(m_colIcons[lIcon]) : QVariant();
    }
    case TagRole:
        return oSetting ? QStringLiteral("K") + oSetting->Caption : QString::fromLatin1(kCheckBoxTag);
    default:
        return {};
    }
}

void DataViewerModel::sort(int column, Qt::SortOrder order)
{
    if (column < 1 || column > DataColumnCount() || m_colRows.size() < 2)
        return;
    ApplyOrder(SortedOrder(column, order));
}

std::vector<int> DataViewerModel::SortedOrder(int lColumn, Qt::SortOrder eOrder) const
{
    const SortKind eKind = SortKindOf(SettingOf(lColumn)->ColumnType);
    QList<QString> colTexts;
    QList<Variant> colValues;
    colTexts.reserve(rowCount());
    colValues.reserve(rowCount());
    for (const Row &oRow : m_colRows) {
        colTexts << oRow.colTexts.value(lColumn - 1);
        colValues << oRow.colValues.value(lColumn - 1);
    }

    std::vector<int> colOrder(m_colRows.size());
    std::iota(colOrder.begin(), colOrder.end(), 0);
    const bool bDescending = eOrder == Qt::DescendingOrder;
    if (eKind == SortKind::Text) {
        std::stable_sort(colOrder.begin(), colOrder.end(), [&](int a, int b) {
            const int lCompare = colTexts[a].compare(colTexts[b], Qt::CaseInsensitive);
            return bDescending ? lCompare > 0 : lCompare < 0;
        });
        return colOrder;
    }
    const LocaleScope oLocale;
    const std::vector<SortKey> colKeys = SortKeys(colTexts, colValues, eKind, m_oFormat);
    std::stable_sort(colOrder.begin(), colOrder.end(), [&](int a, int b) {
        return bDescending ? SortKeyLess(colKeys[size_t(b)], colKeys[size_t(a)])
                           : SortKeyLess(colKeys[size_t(a)], colKeys[size_t(b)]);
    });
    return colOrder;
}

// Moves the rows into the new order and carries persistent indexes (the
// view's selection and current item) along.
void DataViewerModel::ApplyOrder(const std::vector<int> &colOrder)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> colNewRowOf(colOrder.size());
    std::vector<Row> colSorted;
    colSorted.reserve(colOrder.size());
    for (size_t i = 0; i < colOrder.size(); ++i) {
        colNewRowOf[size_t(colOrder[i])] = int(i);
        colSorted.push_back(std::move(m_colRows[size_t(colOrder[i])]));
    }
    m_colRows = std::move(colSorted);
    const QModelIndexList colFrom = persistentIndexList();
    QModelIndexList colTo;
    colTo.reserve(colFrom.size());
    for (const QModelIndex &oIndex : colFrom)
        colTo << index(colNewRowOf[size_t(oIndex.row())], oIndex.column());
    changePersistentIndexList(colFrom, colTo);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace qv::viewer
