#pragma once

#include "biz/ColumnSettings.h"
#include "format/DataFormat.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

#include <memory>
#include <vector>

namespace qv::viewer {

// The data viewer's rows as a table model: column 0 is the check-box column
// (no text, the check state when check boxes are on), column c > 0 shows the
// formatted text of display field c - 1. Each row keeps the bookmark of its
// display row and of its source row; TagRole gives them as the item's tag
// ("12RAWBM12"). Header sections carry their column setting: the caption as
// text, the setting's header icon as decoration and "K" + caption (or
// "CHECKBOX") as TagRole.
class DataViewerModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int TagRole = Qt::UserRole;

    struct Row
    {
        QList<QString> colTexts;
        qint32 lDisplayBookmark = 0;
        QString sRawBookmark;
        bool bChecked = false;
        // The typed values the texts show, for sorting and totals; a row
        // without them (Empty) is read from its texts.
        QList<Variant> colValues{};
    };

    explicit DataViewerModel(QObject *parent = nullptr);

    // Drops every row and makes the columns those of the settings, in order.
    void ResetColumns(std::vector<std::shared_ptr<biz::ColumnSetting>> colSettings);
    void Clear();
    void AppendRows(std::vector<Row> colRows);

    int DataColumnCount() const { return int(m_colSettings.size()); }
    // The setting of a model column (nullptr for the check-box column).
    std::shared_ptr<biz::ColumnSetting> SettingOf(int lColumn) const;
    const Row &RowAt(int lRow) const { return m_colRows[size_t(lRow)]; }

    void SetCheckBoxes(bool bCheckBoxes);
    bool CheckBoxes() const { return m_bCheckBoxes; }
    // Sets the check state without telling the viewer of a user's check.
    void SetChecked(int lRow, bool bChecked);
    void SetAllChecked(bool bChecked);
    int CheckedCount() const;

    // Icons by header icon index (0 descending, 1 ascending, 2 totalled, 3 linked).
    void SetHeaderIcons(QList<QIcon> colIcons);
    // The settings changed their sort, totals or link state.
    void RefreshHeader();

    // Sorts by a data column after its kind: numbers and dates by value,
    // texts without regard to case; rows of equal keys keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The user (a view) changed a row's check box.
    void CheckChanged(int lRow, bool bChecked);

private:
    std::vector<int> SortedOrder(int lColumn, Qt::SortOrder eOrder) const;
    void ApplyOrder(const std::vector<int> &colOrder);

    std::vector<std::shared_ptr<biz::ColumnSetting>> m_colSettings;
    std::vector<Row> m_colRows;
    QList<QIcon> m_colIcons;
    bool m_bCheckBoxes = true;
    DataFormat m_oFormat; // reads dates for the date sort
};

} // namespace qv::viewer
