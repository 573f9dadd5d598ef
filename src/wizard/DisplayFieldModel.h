#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

namespace qv::wizard {

// The grid's columns.
enum DisplayFieldColumn { ColDisplayName = 0, ColName = 1, ColFormat = 2, ColExample = 3 };

// One row of the display-field grid: a displayed field.
struct DisplayFieldRow
{
    QString DisplayName;
    QString Name; // the row's key
    QString Format;
    QString Example;
    qint32 Kind = 0; // the field kind its formats are for
};

// The display-field grid's rows, in display order. The display name and the
// format are edited in place (the page checks and writes them); the model
// itself only holds the texts. A data view's rows come in one reset.
class DisplayFieldModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kKindRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const DisplayFieldRow &Row(int row) const { return m_rows.at(row); }
    const QList<DisplayFieldRow> &Rows() const { return m_rows; }
    void Reset(QList<DisplayFieldRow> rows);
    void Append(DisplayFieldRow row);
    void Remove(int row);
    // Moves a row whole (name, format and example) to `to`.
    void Move(int from, int to);
    void SetDisplayName(int row, const QString &name);
    void SetFormat(int row, const QString &format, const QString &example);

private:
    void RowChanged(int row);
    QList<DisplayFieldRow> m_rows;
};

} // namespace qv::wizard
