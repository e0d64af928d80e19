#include "TreeView.h"

#include "AUILibConfig.h"
#include "TreeViewImpl.h"
#include "WideText.h"

#include <QHeaderView>

namespace AUILib {

namespace {

bool IsReserved(const QStandardItem* item)
{
    return item == RootHandle || item == FirstHandle || item == LastHandle;
}

// Updates off for a batch, back to the remembered value afterwards.
class BatchScope
{
public:
    explicit BatchScope(TreeView::impl& impl)
        : m_impl(impl)
    {
        m_impl.widget->setUpdatesEnabled(false);
    }
    ~BatchScope()
    {
        if (m_impl.widget)
            m_impl.widget->setUpdatesEnabled(m_impl.updatesEnabled);
    }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    TreeView::impl& m_impl;
};

} // namespace

TreeView::TreeView()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::TreeView);
}

TreeView::~TreeView()
{
    m_impl.reset();
}

bool TreeView::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

Size TreeView::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> TreeView::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* TreeView::GetSkinManager()
{
    return GetGlobalSkinManager();
}

// Header.

void TreeView::SetHeaderLabel(const std::wstring& text)
{
    if (!m_impl->IsStandardMode())
        return;
    m_impl->model->setHorizontalHeaderLabels({ToQString(text)});
    m_impl->headerLabelSet = true;
}

void TreeView::SetHeaderVisible(bool visible)
{
    if (!m_impl->IsStandardMode())
        return;
    if (!m_impl->headerLabelSet)
        m_impl->model->setHorizontalHeaderLabels({QString()});
    m_impl->widget->setHeaderHidden(!visible);
}

bool TreeView::IsHeaderVisible()
{
    return m_impl->widget && !m_impl->widget->isHeaderHidden();
}

// Adding.

QStandardItem* TreeView::AddItem(const std::wstring& text, any data)
{
    if (!m_impl->IsStandardMode())
        return nullptr;
    CustStandardItem* item = m_impl->NewItem(text);
    QStandardItem* current = CurrentItem();
    if (current && current->parent()) {
        current->parent()->appendRow(item);
    } else if (!m_impl->PlaceTopLevel(item, m_impl->model->rowCount())) {
        return nullptr;
    }
    m_impl->FinishNewItem(item, data);
    return item;
}

QStandardItem* TreeView::InsertItem(const std::wstring& text, QStandardItem* parent, QStandardItem* after, any data)
{
    if (!m_impl->IsStandardMode() || parent == FirstHandle || parent == LastHandle)
        return nullptr;
    const bool topLevel = !parent || parent == RootHandle;
    if ((!topLevel && !m_impl->IsItem(parent)) || (after && !IsReserved(after) && !m_impl->IsItem(after)))
        return nullptr;
    CustStandardItem* item = m_impl->NewItem(text);
    const bool atStart = !after || after == FirstHandle;
    const bool atEnd = after == RootHandle || after == LastHandle;
    if (topLevel) {
        const int count = m_impl->model->rowCount();
        const int row = atStart ? 0 : atEnd || after->parent() ? count : after->row() + 1;
        if (!m_impl->PlaceTopLevel(item, row))
            return nullptr;
    } else {
        // A deeper `after` that is not the parent's child names no place under it: the end.
        const bool ownChild = !atStart && !atEnd && after->parent() == parent;
        parent->insertRow(atStart ? 0 : ownChild ? after->row() + 1 : parent->rowCount(), item);
    }
    m_impl->FinishNewItem(item, data);
    return item;
}

QStandardItem* TreeView::AddSubItem(const std::wstring& text, any data, QStandardItem* parent)
{
    if (!m_impl->IsStandardMode() || IsReserved(parent))
        return nullptr;
    if (!parent)
        parent = CurrentItem();
    if (!m_impl->IsItem(parent))
        return nullptr;
    CustStandardItem* item = m_impl->NewItem(text);
    parent->appendRow(item);
    m_impl->FinishNewItem(item, data);
    return item;
}

int TreeView::AddBatch(ItemRecords& records, const std::function<QStandardItem*(const ItemRecord&)>& add)
{
    if (!m_impl->IsStandardMode() || records.empty())
        return 0;
    std::vector<QStandardItem*> made;
    {
        BatchScope batch(*m_impl);
        for (const ItemRecord& record : records) {
            QStandardItem* item = add(record);
            if (!item)
                continue;
            made.push_back(item);
            if (std::get<2>(record) >= 0)
                SetPicture(item, std::get<2>(record));
        }
    }
    for (QStandardItem* item : made)
        m_impl->RenewSizeHint(item);
    m_impl->RequestRefit();
    return static_cast<int>(made.size());
}

int TreeView::AddItems(ItemRecords& records)
{
    return AddBatch(records, [this](const ItemRecord& record) { return AddItem(std::get<0>(record), std::get<1>(record)); });
}

int TreeView::InsertItems(ItemRecords& records, QStandardItem* parent, QStandardItem* after)
{
    return AddBatch(records, [&](const ItemRecord& record) {
        QStandardItem* item = InsertItem(std::get<0>(record), parent, after, std::get<1>(record));
        if (item)
            after = item;
        return item;
    });
}

int TreeView::AddSubItems(ItemRecords& records, QStandardItem* parent)
{
    return AddBatch(records,
                    [&](const ItemRecord& record) { return AddSubItem(std::get<0>(record), std::get<1>(record), parent); });
}

void TreeView::SetUpdatesEnabled(bool enabled)
{
    if (!m_impl->widget)
        return;
    m_impl->widget->setUpdatesEnabled(enabled);
    m_impl->updatesEnabled = enabled;
}

// Pictures.

int TreeView::AddPicture(QStandardItem* item, const std::wstring& path, int size, BitmapType)
{
    if (!m_impl->IsStandardMode() || IsReserved(item) || (item && !m_impl->IsItem(item)))
        return -1;
    const int index = m_impl->AddPictureFromFile(path, size);
    if (index >= 0 && item)
        m_impl->ApplyPicture(item, index);
    return index;
}

int TreeView::AddPicture(QStandardItem* item, const unsigned char* data, int length, ImageTypes type, int size,
                         BitmapType)
{
    if (!m_impl->IsStandardMode() || IsReserved(item) || (item && !m_impl->IsItem(item)))
        return -1;
    const int index = m_impl->AddPictureFromBytes(data, length, type, size);
    if (index >= 0 && item)
        m_impl->ApplyPicture(item, index);
    return index;
}

bool TreeView::SetPicture(QStandardItem* item, int index)
{
    if (!m_impl->IsItem(item) || index < 0 || !m_impl->pictures)
        return false;
    m_impl->ApplyPicture(item, index);
    return true;
}

std::wstring TreeView::GetItemPicturePath(QStandardItem* item)
{
    if (!m_impl->IsItem(item) || !m_impl->pictures)
        return {};
    const int index = m_impl->pictures->PictureOf(item);
    return index < 0 ? std::wstring() : m_impl->pictures->PathOf(index);
}

// Current item, selection, text.

QStandardItem* TreeView::CurrentItem()
{
    return m_impl->IsStandardMode() ? m_impl->ItemOf(m_impl->widget->currentIndex()) : nullptr;
}

void TreeView::SetCurrentItem(QStandardItem* item)
{
    if (!m_impl->IsStandardMode())
        return;
    if (!item) {
        m_impl->widget->setCurrentIndex(QModelIndex());
        return;
    }
    if (m_impl->IsItem(item))
        m_impl->widget->setCurrentIndex(item->index());
}

void TreeView::SelectItem(QStandardItem* item, bool select)
{
    if (!m_impl->IsItem(item))
        return;
    TreeViewQt* widget = m_impl->widget;
    if (!select) {
        widget->DeselectItem(item, true);
        return;
    }
    if (m_impl->multiSelection) {
        for (QStandardItem* ancestor = item->parent(); ancestor; ancestor = ancestor->parent()) {
            if (IsSelectedItem(ancestor))
                return;
        }
        widget->ClearAllChildNodeState(item);
    }
    widget->SelectItem(item, true);
}

bool TreeView::IsSelectedItem(QStandardItem* item)
{
    return m_impl->IsItem(item) && m_impl->widget->selectionModel()->isSelected(item->index());
}

std::list<QStandardItem*> TreeView::SelectedItems()
{
    std::list<QStandardItem*> items;
    if (!m_impl->IsStandardMode())
        return items;
    if (m_impl->selectionChanging && m_impl->ownSelection.empty() && m_impl->deliveredSelection.isEmpty())
        return items;
    for (const QModelIndex& index : m_impl->widget->selectionModel()->selectedIndexes()) {
        if (QStandardItem* item = m_impl->ItemOf(index))
            items.push_back(item);
    }
    return items;
}

std::wstring TreeView::GetItemText(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return {};
    std::wstring text = ToWString(item->text());
    const std::wstring::size_type nul = text.find(L'\0');
    if (nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

std::wstring TreeView::GetItemTextRaw(QStandardItem* item)
{
    return GetItemText(item);
}

bool TreeView::SetItemText(QStandardItem* item, const std::wstring& text)
{
    if (!m_impl->IsItem(item))
        return false;
    item->setText(ToQString(text));
    m_impl->RenewSizeHint(item);
    return true;
}

int TreeView::Count()
{
    return ChildCount(nullptr, true);
}

int TreeView::ChildCount(QStandardItem* item, bool recursive)
{
    if (!m_impl->IsStandardMode() || IsReserved(item) || (item && !m_impl->IsItem(item)))
        return 0;
    QStandardItem* parent = item ? item : m_impl->model->invisibleRootItem();
    if (!recursive)
        return parent->rowCount();
    std::vector<QStandardItem*> below;
    TreeView::impl::CollectDescendants(parent, below);
    return static_cast<int>(below.size());
}

// Item data.

any TreeView::GetItemData(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return {};
    const QVariant id = item->data(Qt::UserRole);
    return id.isValid() ? m_impl->context->itemData.Get(id.toInt(), 0) : any();
}

bool TreeView::SetItemData(QStandardItem* item, any data)
{
    if (!m_impl->IsItem(item) || data.empty())
        return false;
    RemoveItemData(item);
    item->setData(m_impl->context->itemData.Add(data, 0), Qt::UserRole);
    return true;
}

bool TreeView::RemoveItemData(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return false;
    const QVariant id = item->data(Qt::UserRole);
    bool removed = false;
    if (id.isValid()) {
        const auto record = m_impl->context->itemData.Find(id.toInt());
        removed = record != m_impl->context->itemData.End();
        if (removed)
            m_impl->context->itemData.Erase(record);
    }
    item->setData(-1, Qt::UserRole);
    return removed;
}

// Removing.

bool TreeView::RemoveItem(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return false;
    const QPersistentModelIndex index(item->index());
    for (QPersistentModelIndex* named : {&m_impl->anchor, &m_impl->lastSelection, &m_impl->edited,
                                         &m_impl->lastClickedItem, &m_impl->lastClickedIndex}) {
        if (*named == index)
            *named = QPersistentModelIndex();
    }
    FireHandlers(OnItemRemoving, item);
    // A handler may have removed the item or the whole tree already.
    if (!index.isValid())
        return false;
    return m_impl->model->removeRow(index.row(), index.parent());
}

bool TreeView::RemoveAllItems(bool removePictures)
{
    if (!m_impl->IsStandardMode())
        return false;
    m_impl->anchor = m_impl->lastSelection = m_impl->edited = QPersistentModelIndex();
    m_impl->lastClickedItem = m_impl->lastClickedIndex = QPersistentModelIndex();
    m_impl->ownSelection.clear();
    FireHandlers(OnAllItemsRemoving);
    m_impl->context->itemData.Clear();
    if (removePictures && m_impl->pictures)
        m_impl->pictures->Clear();
    m_impl->toolTips.clear();
    m_impl->ownFonts.clear();
    m_impl->ownTextColors.clear();
    if (m_impl->model) {
        m_impl->model->removeRows(0, m_impl->model->rowCount());
    }
    return true;
}

// Expansion, editing, navigation.

void TreeView::SetExpanded(QStandardItem* item, bool expanded)
{
    if (m_impl->IsItem(item))
        m_impl->widget->setExpanded(item->index(), expanded);
}

bool TreeView::IsExpanded(QStandardItem* item)
{
    return m_impl->IsItem(item) && m_impl->widget->isExpanded(item->index());
}

void TreeView::EnableEditItems(bool enable)
{
    if (m_impl->IsStandardMode())
        m_impl->widget->setEditTriggers(enable ? QAbstractItemView::DoubleClicked : QAbstractItemView::NoEditTriggers);
}

bool TreeView::IsEnabledEditItems()
{
    return m_impl->IsStandardMode() && m_impl->widget->editTriggers() != QAbstractItemView::NoEditTriggers;
}

void TreeView::DisableEditLabel(QStandardItem* item, bool disable)
{
    if (m_impl->IsItem(item))
        item->setEditable(!disable);
}

bool TreeView::IsDisabledEditLabel(QStandardItem* item)
{
    return m_impl->IsItem(item) && !item->isEditable();
}

Edit* TreeView::EditLabel(QStandardItem* item)
{
    return m_impl->EditLabel(item);
}

void TreeView::EndEditLabel(bool commit)
{
    m_impl->EndEditItem(commit);
}

QStandardItem* TreeView::GetParentItem(QStandardItem* item)
{
    return m_impl->ParentOf(item);
}

QStandardItem* TreeView::GetFirstChild(QStandardItem* item)
{
    return m_impl->IsItem(item) ? item->child(0, 0) : nullptr;
}

QStandardItem* TreeView::NextSibling(QStandardItem* item)
{
    return m_impl->NextSiblingOf(item);
}

QStandardItem* TreeView::PrevSibling(QStandardItem* item)
{
    return m_impl->PrevSiblingOf(item);
}

bool TreeView::ItemHasChildren(QStandardItem* item)
{
    return GetFirstChild(item) != nullptr;
}

QStandardItem* TreeView::GetTopLevelItem(QStandardItem* item)
{
    if (!m_impl->IsItem(item))
        return nullptr;
    while (item->parent())
        item = item->parent();
    return item;
}

QStandardItem* TreeView::VisibleTopLevelItem(QStandardItem* item)
{
    QStandardItem* top = GetTopLevelItem(item);
    if (!top)
        return nullptr;
    const QRect rect = m_impl->widget->visualRect(top->index());
    return rect.isValid() && rect.top() >= 0 ? top : nullptr;
}

QStandardItem* TreeView::GetRootItem()
{
    return m_impl->IsStandardMode() ? m_impl->model->item(0) : nullptr;
}

// Check boxes.

void TreeView::SetCheckMode(CheckMode mode)
{
    if (!m_impl->IsStandardMode())
        return;
    const bool on = mode != 0;
    for (QStandardItem* item : m_impl->AllItems())
        item->setCheckable(on);
    if (on) {
        SetMultiSelection(true);
        EnableRowsDragAndDrop(false);
    }
    m_impl->checkMode = mode;
}

TreeView::CheckMode TreeView::GetCheckMode()
{
    return m_impl->IsStandardMode() ? m_impl->checkMode : 0;
}

void TreeView::SetCheck(QStandardItem* item, bool checked)
{
    m_impl->SetItemCheck(item, checked);
}

bool TreeView::GetCheck(QStandardItem* item)
{
    return m_impl->IsItemChecked(item);
}

std::list<QStandardItem*> TreeView::CheckedItems()
{
    std::list<QStandardItem*> checked;
    for (QStandardItem* item : m_impl->IsStandardMode() ? m_impl->AllItems() : std::vector<QStandardItem*>()) {
        if (m_impl->IsItemChecked(item))
            checked.push_back(item);
    }
    return checked;
}

// Geometry.

QStandardItem* TreeView::HitTest(Point point, unsigned int* flags)
{
    return m_impl->HitTestItem(QPoint(point.x, point.y), flags);
}

QRect TreeView::GetItemRect(QStandardItem* item, bool contentWidth)
{
    return m_impl->GetItemRect(item, contentWidth);
}

// Selection mode, drag and drop, single root, sorting.

void TreeView::SetMultiSelection(bool on)
{
    TreeViewQt* widget = m_impl->widget;
    if (!widget)
        return;
    m_impl->multiSelection = on;
    if (on) {
        widget->setSelectionMode(QAbstractItemView::ExtendedSelection);
        return;
    }
    widget->clearSelection();
    if (m_impl->lastClickedIndex.isValid())
        widget->selectionModel()->select(m_impl->lastClickedIndex, QItemSelectionModel::Select);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
}

bool TreeView::IsSetMultiSelection()
{
    return m_impl->multiSelection;
}

bool TreeView::EnableRowsDragAndDrop(bool on)
{
    TreeViewQt* widget = m_impl->widget;
    if (!widget)
        return false;
    if (m_impl->checkMode != 0) {
        m_impl->rowsDragDrop = false;
        return false;
    }
    widget->setDragEnabled(on);
    widget->setDropIndicatorShown(on);
    if (on) {
        widget->setDragDropMode(QAbstractItemView::InternalMove);
        widget->setDragDropOverwriteMode(false);
        widget->setDefaultDropAction(Qt::MoveAction);
    } else {
        widget->setDragDropMode(QAbstractItemView::NoDragDrop);
    }
    m_impl->rowsDragDrop = on;
    widget->setAcceptDrops(m_impl->acceptDrops || on);
    return true;
}

bool TreeView::IsEnableRowsDragAndDrop()
{
    return m_impl->rowsDragDrop;
}

void TreeView::SetDragAndDropCanMove(const CanMoveFunction& canMove)
{
    if (m_impl->widget)
        m_impl->widget->SetDragAndDropCanMove(canMove);
}

void TreeView::SetSingleRoot(bool on)
{
    if (m_impl->widget && !m_impl->virtualMode)
        m_impl->singleRoot = on;
}

bool TreeView::IsSingleRoot()
{
    return m_impl->singleRoot;
}

bool TreeView::SetSortFunc(const SortFunction& function)
{
    if (!m_impl->IsStandardMode())
        return false;
    m_impl->context->sortFunction = function;
    return true;
}

void TreeView::SortChildren(QStandardItem* root, bool recursive)
{
    if (!m_impl->IsStandardMode())
        return;
    m_impl->context->sortRoot = root;
    m_impl->context->sortRecursive = recursive;
    m_impl->widget->sortByColumn(0, Qt::AscendingOrder);
}

} // namespace AUILib
