#pragma once

#include <QElapsedTimer>
#include <QPersistentModelIndex>
#include <QTreeView>

#include <functional>
#include <vector>

class QStandardItem;

namespace AUILib {

class TreeView;

// Where a drop lands: the item the rows go next to or under, and whether they become its children.
struct DropPlacement
{
    QStandardItem* target = nullptr;
    bool asChild = false;
};

// The tree control's widget: the library's own multi-selection over Qt's, Shift+arrow ranges among
// siblings, and row moves by drag and drop. Once its control is gone it is a plain QTreeView.
class TreeViewQt : public QTreeView
{
    Q_OBJECT
public:
    using CanMoveFunction = std::function<bool(QStandardItem*, std::vector<QStandardItem*>&, bool)>;

    using QAbstractItemView::DropIndicatorPosition;
    using QAbstractItemView::AboveItem;
    using QAbstractItemView::BelowItem;
    using QAbstractItemView::OnItem;
    using QAbstractItemView::OnViewport;

    explicit TreeViewQt(TreeView& owner);

    void ReleaseOwner() { m_owner = nullptr; }
    void SelectItem(QStandardItem* item, bool setCurrent);
    void DeselectItem(QStandardItem* item, bool);
    bool SelectItems(QStandardItem* from, QStandardItem* to);
    void ClearSelectedItems(QStandardItem* keep);
    void ClearAllChildNodeState(QStandardItem* item);
    void SetDragAndDropCanMove(const CanMoveFunction& canMove) { m_canMove = canMove; }
    // Moves the items' subtrees next to or under the target as copies; false when refused.
    bool MoveItems(std::vector<QStandardItem*> items, QStandardItem* target, bool asChild);

    // The drop rules: where the rows go for an indicator position, and what the can-move check is asked.
    static DropPlacement PlacementForDrop(DropIndicatorPosition position, QStandardItem* target);
    static DropPlacement PlacementForCanMove(DropIndicatorPosition position, QStandardItem* target);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QVector<int>& roles = QVector<int>()) override;

private:
    QStandardItem* CopySubtree(QStandardItem* source, QStandardItem* parent, QStandardItem* after);
    QStandardItem* HitAtCursor(unsigned int* flags) const;
    std::vector<QStandardItem*> SelectedItemList() const;
    bool MakesSecondRoot(DropIndicatorPosition position, QStandardItem* target) const;
    // Whether the selected rows may go to the drop position at the target.
    bool DropAllowed(DropIndicatorPosition position, QStandardItem* target) const;
    void HandleShiftPress(QStandardItem* item);
    void HandleControlPress(QStandardItem* item);

    TreeView* m_owner;
    QElapsedTimer m_pressTimer;
    QPersistentModelIndex m_pressedItem;
    CanMoveFunction m_canMove;
    // The press started a drag of the rows. Its release, where a drag loop lets one through after
    // the drag, ends the drag and is no click; the next press starts afresh.
    bool m_pressDragged = false;
    // The verdict on the drop position that the last drag move found.
    bool m_dropAllowed = false;
};

} // namespace AUILib
