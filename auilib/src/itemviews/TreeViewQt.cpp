#include "TreeViewQt.h"

#include "ContextMenu.h"
#include "Event.h"
#include "TreeViewImpl.h"
#include "WideText.h"

#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardItemModel>

#include <algorithm>
#include <utility>

namespace AUILib {

namespace {

constexpr unsigned int kOnItem = HitOnIcon | HitOnLabel | HitOnCheckBox;

TreeView::impl* ImplOf(TreeView* owner)
{
    return owner ? static_cast<TreeView::impl*>(owner->GetBaseImpl().get()) : nullptr;
}

QPoint WholePixels(const QPointF& point)
{
    return {qRound(point.x()), qRound(point.y())};
}

bool HasAncestorIn(QStandardItem* item, const std::vector<QStandardItem*>& items)
{
    for (QStandardItem* ancestor = item->parent(); ancestor; ancestor = ancestor->parent()) {
        if (std::find(items.begin(), items.end(), ancestor) != items.end())
            return true;
    }
    return false;
}

} // namespace

TreeViewQt::TreeViewQt(TreeView& owner)
    : m_owner(&owner)
{
}

QStandardItem* TreeViewQt::HitAtCursor(unsigned int* flags) const
{
    const QPoint point = viewport()->mapFromGlobal(QCursor::pos());
    return m_owner->HitTest({point.x(), point.y()}, flags);
}

// Selection primitives.

void TreeViewQt::SelectItem(QStandardItem* item, bool setCurrent)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || !impl->IsItem(item))
        return;
    const QModelIndex index = item->index();
    if (!impl->multiSelection) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        return;
    }
    if (setCurrent)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selectionModel()->select(index, QItemSelectionModel::Select);
    impl->AppendToOwnList(item);
}

void TreeViewQt::DeselectItem(QStandardItem* item, bool)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || !impl->IsItem(item))
        return;
    selectionModel()->select(item->index(), QItemSelectionModel::Deselect);
    if (!impl->multiSelection)
        setCurrentIndex(QModelIndex());
    else
        impl->RemoveFromOwnList(item);
}

void TreeViewQt::ClearAllChildNodeState(QStandardItem* item)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || !impl->IsItem(item))
        return;
    for (QStandardItem* child = m_owner->GetFirstChild(item); child; child = m_owner->NextSibling(child)) {
        if (selectionModel()->isSelected(child->index())) {
            selectionModel()->select(child->index(), QItemSelectionModel::Deselect);
            impl->RemoveFromOwnList(child);
        }
        ClearAllChildNodeState(child);
    }
}

void TreeViewQt::ClearSelectedItems(QStandardItem* keep)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || impl->ownSelection.empty())
        return;
    setUpdatesEnabled(false);
    const bool keptListed = impl->InOwnList(keep);
    for (QStandardItem* item : impl->OwnList()) {
        if (item == keep)
            continue;
        selectionModel()->select(item->index(), QItemSelectionModel::Deselect);
        if (impl->multiSelection)
            selectionModel()->setCurrentIndex(item->index(), QItemSelectionModel::NoUpdate);
    }
    impl->ownSelection.clear();
    if (keptListed)
        SelectItem(keep, true);
    setUpdatesEnabled(true);
}

bool TreeViewQt::SelectItems(QStandardItem* from, QStandardItem* to)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || !impl->IsItem(from) || !impl->IsItem(to))
        return false;
    if ((from == to && impl->ownSelection.empty()) || m_owner->GetParentItem(from) != m_owner->GetParentItem(to))
        return false;
    setUpdatesEnabled(false);
    ClearSelectedItems(nullptr);
    const bool forward = impl->TopMostOf({from, to}) == from;
    for (QStandardItem* item = from; item; item = forward ? m_owner->NextSibling(item) : m_owner->PrevSibling(item)) {
        SelectItem(item, true);
        if (item == to)
            break;
    }
    setUpdatesEnabled(true);
    return true;
}

// Mouse and keys.

void TreeViewQt::mousePressEvent(QMouseEvent* event)
{
    // Whatever took the release of the press before (a drag loop, a window opened meanwhile), a press
    // starts afresh.
    m_pressTimer.invalidate();
    m_pressDragged = false;
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl) {
        QTreeView::mousePressEvent(event);
        return;
    }
    if (!impl->multiSelection || impl->checkMode != 0) {
        impl->ownSelection.clear();
        QTreeView::mousePressEvent(event);
        return;
    }
    if (impl->rowsDragDrop)
        m_pressTimer.start();
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    unsigned int flags = 0;
    QStandardItem* item = HitAtCursor(&flags);
    m_pressedItem = impl->Persistent(item);
    const Qt::KeyboardModifiers modifiers = QApplication::keyboardModifiers();
    if (!item || !(flags & kOnItem)) {
        if (modifiers != Qt::ShiftModifier && modifiers != Qt::ControlModifier)
            QTreeView::mousePressEvent(event);
        return;
    }
    impl->lastSelection = impl->Persistent(item);
    if (modifiers == Qt::ShiftModifier) {
        HandleShiftPress(item);
        return;
    }
    if (modifiers == Qt::ControlModifier) {
        HandleControlPress(item);
        return;
    }
    impl->anchor = QPersistentModelIndex();
    FireHandlers(m_owner->OnMultiSelectionBegin);
    // A press on a selected item keeps the selection, so that the whole of it can be dragged.
    if (!(impl->rowsDragDrop && impl->InOwnList(item)))
        ClearSelectedItems(item);
    QTreeView::mousePressEvent(event);
}

void TreeViewQt::HandleShiftPress(QStandardItem* item)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl->ItemOf(impl->anchor))
        impl->anchor = impl->Persistent(m_owner->CurrentItem());
    QStandardItem* anchor = impl->ItemOf(impl->anchor);
    if (!anchor || m_owner->GetParentItem(anchor) != m_owner->GetParentItem(item))
        return;
    FireHandlers(m_owner->OnMultiSelectionBegin);
    SelectItems(anchor, item);
    FireHandlers(m_owner->OnItemClicked, item);
    FireHandlers(m_owner->OnMultiSelectionEnd);
}

void TreeViewQt::HandleControlPress(QStandardItem* item)
{
    TreeView::impl* impl = ImplOf(m_owner);
    FireHandlers(m_owner->OnMultiSelectionBegin);
    for (QStandardItem* ancestor = m_owner->GetParentItem(item); ancestor; ancestor = m_owner->GetParentItem(ancestor)) {
        if (selectionModel()->isSelected(ancestor->index()))
            return;
    }
    const QPersistentModelIndex current = impl->Persistent(m_owner->CurrentItem());
    const bool currentSelected = current.isValid() && selectionModel()->isSelected(current);
    const bool wasSelected = selectionModel()->isSelected(item->index());
    if (wasSelected) {
        impl->fireSelectionChanges = false;
        DeselectItem(item, true);
        impl->fireSelectionChanges = true;
        FireHandlers(m_owner->OnItemSelectionChanged, item);
    } else {
        SelectItem(item, true);
    }
    FireHandlers(m_owner->OnItemClicked, item);
    FireHandlers(m_owner->OnMultiSelectionEnd);
    QStandardItem* noted = impl->ItemOf(current);
    if (noted && noted != item) {
        if (currentSelected)
            SelectItem(noted, false);
        else
            DeselectItem(noted, true);
    }
    ClearAllChildNodeState(item);
    if (wasSelected)
        impl->RemoveFromOwnList(item);
    impl->anchor = QPersistentModelIndex();
}

void TreeViewQt::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressTimer.invalidate();
    const bool dragged = std::exchange(m_pressDragged, false);
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl) {
        QTreeView::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(WholePixels(event->localPos()));
        if (!index.isValid())
            return;
        if (impl->virtualMode)
            FireHandlers(m_owner->OnVirtualItemMouseReleased, impl->treeModel ? impl->treeModel->ItemFromIndex(index) : nullptr);
        else
            FireHandlers(m_owner->OnItemMouseReleased, impl->ItemOf(index));
        if (const std::shared_ptr<ContextMenu> menu = m_owner->GetContextMenu())
            menu->Show(true);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QTreeView::mouseReleaseEvent(event);
        return;
    }
    if (m_owner->IsEnabledEditItems() && !m_owner->IsDisabledEditLabel(m_owner->CurrentItem()))
        setEditTriggers(QAbstractItemView::SelectedClicked);
    if (!impl->multiSelection) {
        QTreeView::mouseReleaseEvent(event);
        return;
    }
    unsigned int flags = 0;
    const QPoint point = WholePixels(event->localPos());
    QStandardItem* item = m_owner->HitTest({point.x(), point.y()}, &flags);
    if (item && !(flags & (kOnItem | HitOnButton)))
        return;
    const Qt::KeyboardModifiers modifiers = QApplication::keyboardModifiers();
    if (modifiers == Qt::ShiftModifier || modifiers == Qt::ControlModifier || !impl->rowsDragDrop || dragged) {
        QTreeView::mouseReleaseEvent(event);
        return;
    }
    ClearSelectedItems(impl->ItemOf(m_pressedItem));
    QTreeView::mouseReleaseEvent(event);
}

void TreeViewQt::mouseMoveEvent(QMouseEvent* event)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || !impl->rowsDragDrop) {
        if (!impl)
            QTreeView::mouseMoveEvent(event);
        else if (event->buttons() & Qt::LeftButton)
            event->ignore();
        return;
    }
    if (!m_pressTimer.isValid() || (m_pressTimer.elapsed() >= 200 && impl->ItemOf(m_pressedItem))) {
        QTreeView::mouseMoveEvent(event);
        return;
    }
    event->ignore();
}

void TreeViewQt::keyPressEvent(QKeyEvent* event)
{
    TreeView::impl* impl = ImplOf(m_owner);
    const int key = event->key();
    if (!impl || !impl->multiSelection || impl->checkMode != 0 || !(event->modifiers() & Qt::ShiftModifier) ||
        (key != Qt::Key_Up && key != Qt::Key_Down)) {
        QTreeView::keyPressEvent(event);
        return;
    }
    FireHandlers(m_owner->OnMultiSelectionBegin);
    QStandardItem* current = m_owner->CurrentItem();
    if (!impl->ItemOf(impl->anchor))
        impl->anchor = impl->Persistent(current);
    if (!current)
        return;
    QStandardItem* next = key == Qt::Key_Up ? m_owner->PrevSibling(current) : m_owner->NextSibling(current);
    if (!next)
        return;
    if (selectionModel()->isSelected(next->index()))
        DeselectItem(current, true);
    SelectItem(next, true);
    ClearAllChildNodeState(next);
}

void TreeViewQt::keyReleaseEvent(QKeyEvent* event)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (impl)
        FireHandlers(m_owner->OnKeyReleased, static_cast<int>(SysKeyToAUIKey(event->key())));
    if (impl && impl->multiSelection && impl->checkMode == 1) {
        if (event->key() == Qt::Key_Shift) {
            impl->anchor = QPersistentModelIndex();
            impl->lastSelection = QPersistentModelIndex();
            impl->ownSelection.clear();
        }
        return;
    }
    QWidget::keyReleaseEvent(event);
}

// Drag and drop.

DropPlacement TreeViewQt::PlacementForCanMove(DropIndicatorPosition position, QStandardItem* target)
{
    switch (position) {
    case OnItem:
        return {target, true};
    case AboveItem:
        if (!target)
            return {nullptr, false};
        if (target->row() > 0) {
            QStandardItem* parent = target->parent();
            return {parent ? parent->child(target->row() - 1) : target->model()->item(target->row() - 1), false};
        }
        if (target->parent())
            return {target->parent(), true};
        return {nullptr, false};
    default:
        return {target, false};
    }
}

DropPlacement TreeViewQt::PlacementForDrop(DropIndicatorPosition position, QStandardItem* target)
{
    switch (position) {
    case AboveItem:
        return PlacementForCanMove(AboveItem, target);
    case BelowItem:
        return {target, false};
    default:
        return {target, true};
    }
}

void TreeViewQt::startDrag(Qt::DropActions supportedActions)
{
    m_pressDragged = true;
    QTreeView::startDrag(supportedActions);
    // The drag has ended, wherever it ended. Its loop may have taken the release, so the press that
    // started it is over too.
    m_pressTimer.invalidate();
}

std::vector<QStandardItem*> TreeViewQt::SelectedItemList() const
{
    const std::list<QStandardItem*> selected = m_owner->SelectedItems();
    return {selected.begin(), selected.end()};
}

bool TreeViewQt::MakesSecondRoot(DropIndicatorPosition position, QStandardItem* target) const
{
    return m_owner->IsSingleRoot() && (position == AboveItem || position == BelowItem) && !target->parent();
}

bool TreeViewQt::DropAllowed(DropIndicatorPosition position, QStandardItem* target) const
{
    if (MakesSecondRoot(position, target))
        return false;
    if (!m_canMove)
        return true;
    std::vector<QStandardItem*> items = SelectedItemList();
    const DropPlacement placement = PlacementForCanMove(position, target);
    return m_canMove(placement.target, items, !placement.asChild);
}

void TreeViewQt::dragMoveEvent(QDragMoveEvent* event)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl) {
        QTreeView::dragMoveEvent(event);
        return;
    }
    const QPoint point = event->pos();
    unsigned int flags = 0;
    QStandardItem* target = m_owner->HitTest({point.x(), point.y()}, &flags);
    m_dropAllowed = false;
    if (!target)
        return;
    // Qt works the drop position out only while its indicator is shown; whether the indicator shows
    // is the verdict on that position.
    setDropIndicatorShown(true);
    QTreeView::dragMoveEvent(event);
    const DropIndicatorPosition position = dropIndicatorPosition();
    if (MakesSecondRoot(position, target))
        event->setDropAction(Qt::IgnoreAction);
    m_dropAllowed = DropAllowed(position, target);
    setDropIndicatorShown(m_dropAllowed);
}

void TreeViewQt::dropEvent(QDropEvent* event)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || event->source() != this ||
        (event->dropAction() != Qt::MoveAction && dragDropMode() != QAbstractItemView::InternalMove)) {
        QAbstractItemView::dropEvent(event);
        return;
    }
    unsigned int flags = 0;
    QStandardItem* target = m_owner->HitTest({event->pos().x(), event->pos().y()}, &flags);
    if (!target)
        return;
    if (m_dropAllowed) {
        const DropPlacement placement = PlacementForDrop(dropIndicatorPosition(), target);
        MoveItems(SelectedItemList(), placement.target, placement.asChild);
    }
    impl->ownSelection.clear();
    // The rows have moved already. An accepted drop ends the drag as a move, and the view that
    // started it would then remove its selected rows, which are the copies now (or, after a refused
    // move, the originals). Internal moves allow no other action to end with, so the drop stays
    // unaccepted.
    event->ignore();
}

bool TreeViewQt::MoveItems(std::vector<QStandardItem*> items, QStandardItem* target, bool asChild)
{
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || !impl->IsStandardMode())
        return false;
    // A child moves with its selected ancestor; a target inside a moved subtree has nowhere to go.
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](QStandardItem* item) { return !impl->IsItem(item) || HasAncestorIn(item, items); }),
                items.end());
    const bool targetMoves = std::find(items.begin(), items.end(), target) != items.end();
    if (items.empty() || (target && (!impl->IsItem(target) || (targetMoves && asChild) || HasAncestorIn(target, items))))
        return false;
    if (m_canMove && !m_canMove(target, items, !asChild))
        return false;
    QStandardItem* parent = asChild ? target : (target ? target->parent() : nullptr);
    FireHandlers(m_owner->OnItemsDropped, target, items, !asChild);
    QPersistentModelIndex after = target ? QPersistentModelIndex(target->index()) : QPersistentModelIndex();
    QStandardItem* reportedTarget = target;
    std::vector<QStandardItem*> newItems;
    for (QStandardItem* item : items) {
        QStandardItem* copy = CopySubtree(item, parent, after.isValid() ? impl->ItemOf(after) : nullptr);
        newItems.push_back(copy);
        if (newItems.size() == 1 && copy->parent())
            m_owner->SetExpanded(copy->parent(), true);
        SelectItem(copy, true);
        // A target that moves itself is reported as its copy.
        if (item == reportedTarget)
            reportedTarget = copy;
        const QModelIndex parentIndex = item->parent() ? item->parent()->index() : QModelIndex();
        impl->model->removeRows(item->row(), 1, parentIndex);
        after = QPersistentModelIndex(copy->index());
    }
    FireHandlers(m_owner->OnItemsDroppedEx, reportedTarget, newItems, !asChild);
    return true;
}

QStandardItem* TreeViewQt::CopySubtree(QStandardItem* source, QStandardItem* parent, QStandardItem* after)
{
    auto* copy = new QStandardItem(source->text());
    copy->setCheckable(source->isCheckable());
    copy->setIcon(source->icon());
    QStandardItemModel* model = ImplOf(m_owner)->model;
    if (parent) {
        const int row = after == parent || !after ? 0 : after->row() + 1;
        parent->insertRow(row, copy);
    } else {
        model->insertRow(after ? after->row() + 1 : 0, copy);
    }
    const any payload = m_owner->GetItemData(source);
    if (!payload.empty())
        m_owner->SetItemData(copy, payload);
    // The source's entry goes when its row is removed; the copy shows the picture, so it takes the entry.
    if (TreePictureList* pictures = ImplOf(m_owner)->pictures.get())
        pictures->SetItemPicture(copy, pictures->PictureOf(source));
    QStandardItem* previous = nullptr;
    for (int row = 0; row < source->rowCount(); ++row)
        previous = CopySubtree(source->child(row), copy, previous ? previous : copy);
    return copy;
}

void TreeViewQt::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles)
{
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    TreeView::impl* impl = ImplOf(m_owner);
    if (!impl || topLeft != bottomRight || !topLeft.isValid())
        return;
    if (roles.contains(Qt::DisplayRole)) {
        if (QStandardItem* item = impl->ItemOf(topLeft)) {
            const std::wstring text = ToWString(item->text());
            FireHandlers(m_owner->OnItemDataChanged, item, text);
            FireHandlers(m_owner->OnItemTextChanged, item, ToWString(item->data(Qt::UserRole + 1).toString()), text);
        }
        impl->RequestRefit();
    } else if (roles.contains(Qt::EditRole) || roles.contains(Qt::DecorationRole)) {
        impl->RequestRefit();
    }
}

} // namespace AUILib
