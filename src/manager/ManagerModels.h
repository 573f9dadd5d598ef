#pragma once

#include "ManagerNodes.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QSortFilterProxyModel>

#include <functional>
#include <memory>
#include <vector>

namespace qv::config {
class ConfigStore;
}

namespace qv::manager {

// Roles both models answer besides the display text and the picture.
enum ManagerRole : int {
    TagRole = Qt::UserRole + 1, // the node tag
    ImageKeyRole,               // the key of the picture in the window's image list
};

// The pictures the window shows, by image key ("Personal", "Dataview", ...).
using ImageList = QHash<QString, QIcon>;

// The tree of the manager: the personal root (or "Tutorial") and the team
// root, each with its "Data Views" folder and, where smart tags are shown and
// the store has a smart tag set, its "Smart Tags" folder. A node's position
// is its place in the order the nodes were added, which is how the window
// finds a node again after a rebuild.
class ManagerTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit ManagerTreeModel(QObject *parent = nullptr);
    ~ManagerTreeModel() override;

    // Replaces every node; either store may be nullptr.
    void Build(const std::shared_ptr<config::ConfigStore> &oPersonal, const std::shared_ptr<config::ConfigStore> &oTeam,
               bool bTutorial, bool bShowSmartTags);
    void SetImages(const ImageList *oImages) { m_oImages = oImages; }

    int NodeCount() const { return int(m_colNodes.size()); }
    // The node at a position of the insertion order; invalid past the end.
    QModelIndex NodeAt(int lPosition) const;
    int PositionOf(const QModelIndex &oIndex) const;
    // The first root carrying the tag, and the first child of a node carrying it.
    QModelIndex FindRoot(const QString &sTag) const;
    QModelIndex FindChild(const QModelIndex &oParent, const QString &sTag) const;
    // The list key of a node: its type and id, its parent's type, its root's type.
    ListKey KeyOf(const QModelIndex &oIndex) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Drops: "Data Views" folders take them, when the window's CanDrop
    // agrees; Drop does the work (both get the folder's node).
    using DropHook = std::function<bool(const QMimeData *, const QModelIndex &)>;
    DropHook CanDrop, Drop;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    struct Node
    {
        QString sText, sImageKey, sTag;
        int lParent = -1; // position of the parent, -1 for a root
        std::vector<int> colChildren;
        int lRow = 0;
    };
    int AddNode(int lParent, const QString &sText, const QString &sImageKey, const QString &sTag);
    void AddRoot(const config::ConfigStore &oStore, ManagerNodeType lType, const QString &sText, bool bShowSmartTags);
    const Node *NodeOf(const QModelIndex &oIndex) const;

    std::vector<Node> m_colNodes;
    std::vector<int> m_colRoots;
    const ImageList *m_oImages = nullptr;
};

// The items of one node: the configuration of a root, the data views of a
// "Data Views" folder or the smart tags of a "Smart Tags" folder, in the
// store's order. The window shows it through a ManagerSortModel.
class ManagerListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString sTitle;
        int lDefaultWidth; // twips
    };

    explicit ManagerListModel(QObject *parent = nullptr);
    ~ManagerListModel() override;

    // Fills the list for the node from its store (nullptr: no items, the
    // node's columns). Raises kErrorNodeTag for a type that has no list.
    void Fill(const ListKey &oKey, const std::shared_ptr<config::ConfigStore> &oStore);
    // No columns and no items.
    void Clear();
    void SetImages(const ImageList *oImages) { m_oImages = oImages; }
    const std::vector<Column> &Columns() const { return m_colColumns; }
    QString TagAt(int lRow) const;
    // The text of a cell as the sort compares it: case-folded, once per fill.
    const QString &SortKey(int lRow, int lColumn) const;

    // The picture of a smart tag: stopped, warned or plain.
    static QString SmartTagImageKey(bool bEnabled, const QString &sWarnings);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // In-place renaming: the name of a data view or smart tag is editable;
    // Renamer (the window's) decides with the item's tag and the text typed,
    // and the item takes the text without its surrounding blanks only when
    // it answers true.
    std::function<bool(const QString &sTag, const QString &sText)> Renamer;
    // Dragging: data views may be dragged; DragData makes what the drag carries.
    std::function<QMimeData *()> DragData;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    // The tag is made when asked for: a list of thousands of data views
    // need not hold a text per item that few are ever asked for.
    struct Item
    {
        QString sName, sType, sImageKey;
        qint32 lType, lId;
        QString sNameKey, sTypeKey;
    };
    std::vector<Column> m_colColumns;
    std::vector<Item> m_colItems;
    const ImageList *m_oImages = nullptr;
};

// Sorts the list by the text of any column, without regard to case, as the
// list control did; the window flips the order on every header click.
class ManagerSortModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ManagerSortModel(QObject *parent = nullptr);
    // The order the next click on a header sorts in: the opposite of the present one.
    Qt::SortOrder NextOrder() const;

    void setSourceModel(QAbstractItemModel *oModel) override;

protected:
    bool lessThan(const QModelIndex &oLeft, const QModelIndex &oRight) const override;

private:
    const ManagerListModel *m_oList = nullptr;
};

} // namespace qv::manager
