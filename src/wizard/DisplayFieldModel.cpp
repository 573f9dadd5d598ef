#include "DisplayFieldModel.h"

namespace qv::wizard {

int DisplayFieldModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DisplayFieldModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant DisplayFieldModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const DisplayFieldRow &row = m_rows.at(index.row());
    if (role == kKindRole)
        return row.Kind;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case ColDisplayName: return row.DisplayName;
    case ColName: return row.Name;
    case ColFormat: return row.Format;
    default: return row.Example;
    }
}

QVariant DisplayFieldModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const kHeaders[] = {"Display Name", "Name", "Format", "Format Example"};
    return section >= 0 && section < 4 ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

Qt::ItemFlags DisplayFieldModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags eFlags = QAbstractTableModel::flags(index);
    if (index.column() == ColDisplayName || index.column() == ColFormat)
        eFlags |= Qt::ItemIsEditable;
    return eFlags;
}

void DisplayFieldModel::Reset(QList<DisplayFieldRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void DisplayFieldModel::Append(DisplayFieldRow row)
{
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size()));
    m_rows.append(std::move(row));
    endInsertRows();
}

void DisplayFieldModel::Remove(int row)
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void DisplayFieldModel::Move(int from, int to)
{
    Q_ASSERT(from >= 0 && from < m_rows.size() && to >= 0 && to < m_rows.size());
    if (from == to)
        return;
    // Qt names the destination as the row the moved one goes before.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    m_rows.move(from, to);
    endMoveRows();
}

void DisplayFieldModel::SetDisplayName(int row, const QString &name)
{
    m_rows[row].DisplayName = name;
    RowChanged(row);
}

void DisplayFieldModel::SetFormat(int row, const QString &format, const QString &example)
{
    m_rows[row].Format = format;
    m_rows[row].Example = example;
    RowChanged(row);
}

void DisplayFieldModel::RowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

} // namespace qv::wizard
