#pragma once

#include "VirtTreeItem.h"

#include <QAbstractItemModel>
#include <QPointer>
#include <QTreeView>

#include <functional>
#include <memory>

namespace AUILib {

class TreePictureList;

// The virtual mode's model: one column over a tree of VirtTreeItem nodes. Indexes carry the node;
// the model stores nothing per index.
class TreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    using SortFunction = std::function<bool(VirtTreeItem*, VirtTreeItem*)>;

    explicit TreeModel(QObject* parent);
    ~TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Only the check role: it toggles the node, whatever the value.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // No column title: the header shows empty, as the standard mode's does, not a column number.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Sorts the stored node's children with the stored function; the arguments are not used.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Null for an invalid index.
    VirtTreeItem* ItemFromIndex(const QModelIndex& index) const;
    VirtTreeItem* Root() const { return m_root.get(); }
    // The node's own index; invalid for the root and null.
    QModelIndex IndexOf(VirtTreeItem* node) const;
    // Sets every leaf below, and every inner node passed, to the state; false when nothing could change.
    bool CheckSubItems(VirtTreeItem* node, Qt::CheckState state);
    // Re-derives checked and check-all of the node and each ancestor from their children.
    void UpdateParentCheckbox(VirtTreeItem* node);
    // Every view re-reads the rows.
    void Update();
    void SortChildren(VirtTreeItem* node, bool recursive);
    void clear();
    // As clear, without telling the views: the caller resets them.
    void RemoveAllItem();
    void CheckAllItem();
    void UnCheckAllItem();
    void SelectFirstItem() const;

    void SetCheckBoxesOn(bool on) { m_checkBoxesOn = on; }
    bool CheckBoxesOn() const { return m_checkBoxesOn; }
    int CheckedLeafCount() const { return m_checkedLeaves; }
    void SetPictureList(TreePictureList* pictures) { m_pictures = pictures; }
    void SetSortFunction(const SortFunction& function) { m_sortFunction = function; }
    void SetSortRoot(VirtTreeItem* node, bool recursive)
    {
        m_sortRoot = node;
        m_sortRecursive = recursive;
    }

private:
    void SortLevel(VirtTreeItem* node, bool recursive, QModelIndexList& from, QModelIndexList& to);

    std::unique_ptr<VirtTreeItem> m_root;
    bool m_checkBoxesOn = false;
    int m_checkedLeaves = 0;
    QPointer<QTreeView> m_view;
    TreePictureList* m_pictures = nullptr;
    SortFunction m_sortFunction;
    bool m_sortRecursive = false;
    VirtTreeItem* m_sortRoot = nullptr;
};

} // namespace AUILib
