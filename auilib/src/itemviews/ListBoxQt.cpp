#include "ListBoxQt.h"

#include "ListBox.h"
#include "ListBoxImpl.h"
#include "ListBoxItemDelegate.h"

#include <QCursor>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <utility>
#include <vector>

namespace AUILib {

ListBoxQt::ListBoxQt(ListBox& owner, ListBoxImpl& impl)
    : m_owner(&owner)
    , m_impl(&impl)
{
}

void ListBoxQt::ReleaseOwner()
{
    m_owner = nullptr;
    m_impl = nullptr;
}

void ListBoxQt::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    // The view hears of a removal first, before the selection model reports the rows that leave.
    if (m_impl)
        ++m_impl->rowsBeingRemoved;
    // Ahead of the view, which moves the current cell off the leaving rows and so would store an
    // editor open on them into a cell that is going, reported as a change and, in a sorted list,
    // moving that row out of the range being removed.
    if (m_impl && m_impl->delegate)
        m_impl->delegate->ForgetEditorOfRows(start, end);
    // In single selection the view also moves the selection with the current row, onto a row that
    // stays: a change that the rows' removal does not foresee, so it is read. The selection model's
    // report of the removal itself comes after this.
    const ListBoxImpl::RowRun removing = m_impl ? std::exchange(m_impl->removingRun, {}) : ListBoxImpl::RowRun();
    QTableWidget::rowsAboutToBeRemoved(parent, start, end);
    if (m_impl)
        m_impl->removingRun = removing;
}

// A handler of a removal that moves the current cell or the focus would have the editor store a value
// that re-sorts its row while Qt still has to take the leaving rows by their numbers, so that
// another row went in their place. Such an editor stays open, and stores when it is finished.
void ListBoxQt::commitData(QWidget* editor)
{
    if (!KeepsEditorThroughRemoval(editor))
        QTableWidget::commitData(editor);
}

void ListBoxQt::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (KeepsEditorThroughRemoval(editor))
        return;
    const QPointer<ItemDelegate> delegate = m_impl ? m_impl->delegate.data() : nullptr;
    if (!delegate) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    // A finish handler may delete the window, and this table with it, which Qt's close would not
    // survive: the edit is reported once Qt is done with the editor. The move to another cell that the
    // hint asks for still follows the report; Qt's close of no editor does only that move. Qt moves
    // for none of an editor it no longer holds, such as one a change handler closed as Tab stored it.
    const QPointer<ListBoxQt> self(this);
    delegate->HoldReports();
    delegate->ForgetLastLetGo();
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const bool closed = !editor || (delegate && delegate->LastLetGo() == editor);
    if (delegate)
        delegate->ReleaseReports();
    if (self && closed && hint != QAbstractItemDelegate::NoHint)
        QTableWidget::closeEditor(nullptr, hint);
}

bool ListBoxQt::KeepsEditorThroughRemoval(const QWidget* editor) const
{
    if (!m_impl || !m_impl->delegate || !m_impl->RemovalUnderway())
        return false;
    const int column = m_impl->delegate->EditedColumn(editor);
    return column >= 0 && m_impl->MovesRowDuringRemoval(column);
}

bool ListBoxQt::IsSingle() const
{
    return m_owner->IsSingleSelection();
}

void ListBoxQt::FireBegin()
{
    if (m_owner && !IsSingle())
        FireHandlers(m_owner->OnMultiSelectionBegin);
}

void ListBoxQt::FireEnd()
{
    if (m_owner && !IsSingle())
        FireHandlers(m_owner->OnMultiSelectionEnd);
}

QStyleOptionViewItem ListBoxQt::ItemOption(QTableWidgetItem* item) const
{
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.font = font();
    option.fontMetrics = QFontMetrics(font());
    const int alignment = item->data(Qt::TextAlignmentRole).toInt();
    option.displayAlignment = Qt::Alignment(alignment != 0 ? alignment : int(Qt::AlignLeft | Qt::AlignVCenter));
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = item->text();
    option.rect = visualRect(indexFromItem(item));
    const QIcon icon = qvariant_cast<QIcon>(item->data(Qt::DecorationRole));
    if (!icon.isNull()) {
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.icon = icon;
        option.decorationSize = iconSize();
    }
    if (m_impl && m_impl->checkMode != ListBox::NoCheckBoxes)
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
    return option;
}

QTableWidgetItem* ListBoxQt::HitTest(QPoint point, unsigned int* flags, int* column, QSize* size)
{
    QTableWidgetItem* item = itemAt(point);
    const QModelIndex index = indexAt(point);
    unsigned int hit = 1;
    int hitColumn = -1;
    if (!item) {
        if (flags)
            *flags = hit;
        if (column)
            *column = hitColumn;
        return nullptr;
    }
    hitColumn = index.column();
    int width = 0;
    const QRect rect = visualRect(index);
    if (hitColumn == 0) {
        QStyleOptionViewItem option = ItemOption(item);
        const QRect check = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
        QRect picture;
        if (option.features & QStyleOptionViewItem::HasDecoration) {
            const QRect deco = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
            const int x0 = (m_impl && m_impl->checkMode != ListBox::NoCheckBoxes) ? check.left() : 6;
            const int dy = (option.rect.height() - deco.height()) / 2;
            picture = deco.translated(x0, dy + 3);
        }
        hit = 0;
        if (check.contains(point))
            hit |= 8;
        if (picture.contains(point))
            hit |= 2;
        if (hit == 0)
            hit = option.rect.contains(point) ? 4 : 0;
        const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
        const int right = picture.isEmpty() ? check.right() : picture.right();
        width = text.right() - text.left() + right + 1;
    } else {
        hit = rect.contains(point) ? 4 : 0;
        if (m_impl && !m_impl->rowButtonPicture.isNull() && hitColumn == m_impl->columnCount)
            hit |= 16;
        width = QFontMetrics(font()).horizontalAdvance(item->text());
    }
    if (flags)
        *flags = hit;
    if (column)
        *column = hitColumn;
    if (size)
        *size = QSize(width + 11, rect.height());
    return item;
}

void ListBoxQt::ClearSelectionQuietly()
{
    setUpdatesEnabled(false);
    clearSelection();
    setUpdatesEnabled(true);
}

void ListBoxQt::ToggleChecks(int row, unsigned int flags)
{
    switch (m_owner->GetCheckMode()) {
    case ListBox::SelectionChecks:
        if (m_owner->IsSingleSelection()) {
            m_owner->SetCheck(row, !m_owner->GetCheck(row));
            return;
        }
        if (flags & 8)
            m_owner->ClearSel();
        if (QGuiApplication::queryKeyboardModifiers() == Qt::ShiftModifier) {
            m_owner->SetCheck(selectionModel()->currentIndex().row(), true);
            m_owner->SetCheck(row, m_owner->GetCheck(row));
        } else {
            m_owner->SetCheck(row, !m_owner->GetCheck(row));
        }
        return;
    case ListBox::BoxClickToggles:
        if (flags & 8)
            m_owner->SetCheck(row, !m_owner->GetCheck(row));
        return;
    default:
        return;
    }
}

void ListBoxQt::mousePressEvent(QMouseEvent* event)
{
    if (!m_owner) {
        QTableWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = viewport()->mapFromGlobal(QCursor::pos());
    unsigned int flags = 0;
    int column = -1;
    QTableWidgetItem* item = HitTest(point, &flags, &column, nullptr);
    const bool single = IsSingle();
    FireBegin();
    m_endDue = !single;
    if (!item) {
        if (focusHeld && !single && event->button() == Qt::LeftButton && !selectedItems().isEmpty())
            ClearSelectionQuietly();
        keepSelection = selectItemOnSetFocus;
    } else {
        const int row = item->row();
        if (selectItemOnSetFocus) {
            const std::list<int> selected = m_owner->SelectedItemsIndexes();
            keepSelection = item->isSelected() && selected.size() > 1;
            if (focusHeld && std::find(selected.begin(), selected.end(), row) != selected.end())
                ClearSelectionQuietly();
        }
        ToggleChecks(row, flags);
    }
    focusHeld = true;
    QTableWidget::mousePressEvent(event);
}

void ListBoxQt::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        leftDrag = true;
    if (!keepSelection)
        QTableWidget::mouseMoveEvent(event);
}

void ListBoxQt::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_owner) {
        QTableWidget::mouseReleaseEvent(event);
        return;
    }
    if (!IsSingle() && selectItemOnSetFocus) {
        setSelectionMode(SingleSelection);
        QTableWidget::mouseReleaseEvent(event);
        setSelectionMode(ExtendedSelection);
        keepSelection = false;
    } else {
        QTableWidget::mouseReleaseEvent(event);
    }
    EndPressGesture();
}

void ListBoxQt::EndPressGesture()
{
    if (std::exchange(m_endDue, false))
        FireEnd();
    leftDrag = false;
}

void ListBoxQt::startDrag(Qt::DropActions supportedActions)
{
    QTableWidget::startDrag(supportedActions);
    keepSelection = false;
    EndPressGesture();
}

void ListBoxQt::keyPressEvent(QKeyEvent* event)
{
    if (m_owner && event->key() == Qt::Key_A && (QGuiApplication::keyboardModifiers() & Qt::ControlModifier))
        FireBegin();
    QTableWidget::keyPressEvent(event);
}

void ListBoxQt::keyReleaseEvent(QKeyEvent* event)
{
    if (m_owner && event->key() == Qt::Key_A && (QGuiApplication::keyboardModifiers() & Qt::ControlModifier))
        FireEnd();
    QWidget::keyReleaseEvent(event);
}

void ListBoxQt::keyboardSearch(const QString& search)
{
    if (automaticSearch)
        QTableWidget::keyboardSearch(search);
}

void ListBoxQt::focusInEvent(QFocusEvent* event)
{
    if (!m_owner) {
        QTableWidget::focusInEvent(event);
        return;
    }
    focusHeld = !(event->reason() == Qt::MouseFocusReason && selectItemOnSetFocus);
    if (m_impl->delegate)
        m_impl->delegate->ApplySelectionColours();
    QTableWidget::focusInEvent(event);
    if (selectItemOnSetFocus && selectedItems().isEmpty() && model()->index(currentRow(), 0).isValid()) {
        selectOnFocusInProgress = true;
        m_owner->SetSel(currentRow(), true, true);
        selectOnFocusInProgress = false;
    }
}

void ListBoxQt::focusOutEvent(QFocusEvent* event)
{
    focusHeld = false;
    QTableWidget::focusOutEvent(event);
}

void ListBoxQt::wheelEvent(QWheelEvent* event)
{
    if (m_impl && m_impl->delegate)
        m_impl->delegate->CloseEditors();
    QAbstractScrollArea::wheelEvent(event);
}

void ListBoxQt::dropEvent(QDropEvent* event)
{
    if (event->source() != this)
        return;
    if (event->dropAction() != Qt::MoveAction && dragDropMode() != InternalMove)
        return;
    MoveSelectedRows(event->pos());
}

void ListBoxQt::MoveSelectedRows(QPoint point)
{
    if (isSortingEnabled()) {
        setSortingEnabled(false);
        horizontalHeader()->setSortIndicatorShown(true);
    }
    int target = indexAt(point).row();
    std::vector<int> sourceRows;
    for (const QTableWidgetItem* item : selectedItems())
        sourceRows.push_back(item->row());
    std::sort(sourceRows.begin(), sourceRows.end());
    sourceRows.erase(std::unique(sourceRows.begin(), sourceRows.end()), sourceRows.end());
    if (sourceRows.empty())
        return;
    if (target == -1)
        target = rowCount();
    // One new row per source row: counting items would lose rows whose cells are missing.
    for (std::size_t i = 0; i < sourceRows.size(); ++i)
        insertRow(target);
    int dest = target;
    std::vector<int> moved;
    for (int source : sourceRows) {
        const int from = source >= target ? source + static_cast<int>(sourceRows.size()) : source;
        for (int column = 0; column < columnCount(); ++column) {
            if (QTableWidgetItem* item = takeItem(from, column))
                setItem(dest, column, item);
        }
        moved.push_back(from);
        ++dest;
    }
    for (auto it = moved.rbegin(); it != moved.rend(); ++it)
        removeRow(*it);
}

} // namespace AUILib
