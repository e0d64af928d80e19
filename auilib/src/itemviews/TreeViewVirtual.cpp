#include "TreeView.h"

#include "TreeViewImpl.h"

#include <QHeaderView>

namespace AUILib {

namespace {

bool IsVirtual(const TreeView::impl& impl)
{
    return impl.widget && impl.virtualMode && impl.treeModel;
}

} // namespace

void TreeView::SetVirtualMode(bool on)
{
    TreeViewQt* widget = m_impl->widget;
    if (!widget || on == m_impl->virtualMode)
        return;
    m_impl->currentVirtual = nullptr;
    m_impl->DropConnections();
    widget->reset();
    m_impl->DropPictures();
    if (on) {
        if (!m_impl->treeModel)
            m_impl->treeModel = new TreeModel(widget);
        if (widget->model() != m_impl->treeModel) {
            RemoveAllItems(true);
            m_impl->ShowModel(m_impl->treeModel);
            if (!m_impl->virtualDelegate)
                m_impl->virtualDelegate = new VirtualTreeDelegate(widget);
            widget->setItemDelegate(m_impl->virtualDelegate);
            widget->setUniformRowHeights(true);
            widget->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
            widget->header()->setStretchLastSection(false);
            m_impl->virtualMode = true;
            m_impl->SetConnections();
            delete m_impl->model;
        }
    } else {
        if (!m_impl->model)
            m_impl->model = new QStandardItemModel(widget);
        if (widget->model() != m_impl->model) {
            // A reset, so that the view lets go of the nodes before they are deleted.
            if (m_impl->treeModel)
                m_impl->treeModel->clear();
            m_impl->ShowModel(m_impl->model);
            if (!m_impl->itemDelegate)
                m_impl->itemDelegate = new TreeViewItemDelegate(widget, this);
            widget->setItemDelegate(m_impl->itemDelegate);
            m_impl->virtualMode = false;
            m_impl->SetConnections();
            delete m_impl->treeModel;
        }
    }
    m_impl->virtualMode = on;
}

bool TreeView::IsVirtualModeEnabled()
{
    return m_impl->virtualMode;
}

VirtTreeItem* TreeView::AddVirtualTreeItem(std::wstring& text, VirtTreeItem* parent, any data)
{
    if (!IsVirtual(*m_impl) || text.empty())
        return nullptr;
    if (!parent)
        parent = m_impl->treeModel->Root();
    auto* node = new VirtTreeItem(parent);
    if (!data.empty())
        node->SetData(data);
    node->SetText(text);
    parent->AppendChild(node);
    return node;
}

std::wstring TreeView::GetItemText(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item ? item->GetText() : std::wstring();
}

bool TreeView::SetItemText(VirtTreeItem* item, const std::wstring& text)
{
    if (!IsVirtual(*m_impl) || !item)
        return false;
    item->SetText(text);
    return true;
}

bool TreeView::SetItemTooltip(VirtTreeItem* item, const std::wstring& text)
{
    if (!IsVirtual(*m_impl) || !item)
        return false;
    item->SetTooltip(text);
    return true;
}

any TreeView::GetItemData(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item ? item->GetData() : any();
}

bool TreeView::SetItemData(VirtTreeItem* item, any data)
{
    if (!IsVirtual(*m_impl) || !item || data.empty())
        return false;
    item->SetData(data);
    return true;
}

int TreeView::GetLevel(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item ? item->Level() : -1;
}

VirtTreeItem* TreeView::RootItem()
{
    return IsVirtual(*m_impl) ? m_impl->treeModel->Root() : nullptr;
}

VirtTreeItem* TreeView::GetParentItem(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item ? item->ParentItem() : nullptr;
}

VirtTreeItem* TreeView::GetChildItem(VirtTreeItem* item, int row)
{
    return IsVirtual(*m_impl) && item ? item->Child(row) : nullptr;
}

int TreeView::ChildCount(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item ? item->ChildCount() : 0;
}

void TreeView::RemoveAllVirtualItems()
{
    if (!IsVirtual(*m_impl))
        return;
    m_impl->treeModel->clear();
    m_impl->currentVirtual = nullptr;
}

void TreeView::UpdateVirtualView()
{
    if (IsVirtual(*m_impl))
        m_impl->treeModel->Update();
}

void TreeView::SetBoldTextPosition(VirtTreeItem* item, int start, int end)
{
    if (IsVirtual(*m_impl) && item)
        item->SetBoldTextPosition(start, end);
}

void TreeView::SetCurrentVirtualItem(VirtTreeItem* item)
{
    if (!IsVirtual(*m_impl))
        return;
    if (item) {
        const QModelIndex index = m_impl->treeModel->IndexOf(item);
        if (index.isValid())
            m_impl->widget->setCurrentIndex(index);
    } else {
        m_impl->widget->clearSelection();
        m_impl->currentVirtual = nullptr;
    }
    m_impl->treeModel->Update();
}

VirtTreeItem* TreeView::CurrentVirtualItem()
{
    return IsVirtual(*m_impl) ? m_impl->currentVirtual : nullptr;
}

void TreeView::SetExpanded(VirtTreeItem* item, bool expanded)
{
    if (IsVirtual(*m_impl) && item)
        m_impl->widget->setExpanded(m_impl->treeModel->IndexOf(item), expanded);
}

bool TreeView::IsExpanded(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item && m_impl->widget->isExpanded(m_impl->treeModel->IndexOf(item));
}

int TreeView::AddPicture(VirtTreeItem* item, const std::wstring& path, int size, BitmapType)
{
    if (!IsVirtual(*m_impl) || !item)
        return -1;
    const int index = m_impl->AddPictureFromFile(path, size);
    item->SetIcon(index);
    return index;
}

int TreeView::AddPicture(VirtTreeItem* item, const unsigned char* data, int length, ImageTypes type, int size,
                         BitmapType)
{
    if (!IsVirtual(*m_impl) || !item)
        return -1;
    const int index = m_impl->AddPictureFromBytes(data, length, type, size);
    item->SetIcon(index);
    return index;
}

bool TreeView::SetPicture(VirtTreeItem* item, int index)
{
    if (!IsVirtual(*m_impl) || !item || index < 0 || !m_impl->pictures)
        return false;
    item->SetIcon(index);
    return true;
}

std::wstring TreeView::GetItemPicturePath(VirtTreeItem* item)
{
    if (!IsVirtual(*m_impl) || !item || !m_impl->pictures)
        return {};
    return m_impl->pictures->PathOf(item->GetIcon());
}

void TreeView::EnableVirtualItemCheckboxes(bool on)
{
    if (!IsVirtual(*m_impl))
        return;
    m_impl->treeModel->SetCheckBoxesOn(on);
    m_impl->treeModel->Update();
}

void TreeView::SetCheck(VirtTreeItem* item, bool checked, bool withChildren)
{
    if (!IsVirtual(*m_impl) || !item || !m_impl->treeModel->CheckBoxesOn())
        return;
    if (withChildren)
        m_impl->treeModel->CheckSubItems(item, checked ? Qt::Checked : Qt::Unchecked);
    else
        item->SetChecked(checked);
    m_impl->treeModel->Update();
}

bool TreeView::GetCheck(VirtTreeItem* item)
{
    return IsVirtual(*m_impl) && item && m_impl->treeModel->CheckBoxesOn() && item->GetChecked();
}

void TreeView::SetCheckAllVirtualItems(bool checked)
{
    if (!IsVirtual(*m_impl))
        return;
    if (checked)
        m_impl->treeModel->CheckAllItem();
    else
        m_impl->treeModel->UnCheckAllItem();
}

bool TreeView::IsCheckedAllVirtualItems()
{
    if (!IsVirtual(*m_impl))
        return false;
    for (const VirtTreeItem* node : m_impl->treeModel->Root()->GetChildItems()) {
        if (!node->IsCheckAll())
            return false;
    }
    return true;
}

bool TreeView::SetSortFunc(const VirtualSortFunction& function)
{
    if (!IsVirtual(*m_impl))
        return false;
    m_impl->treeModel->SetSortFunction(function);
    return true;
}

void TreeView::SortVirtChildren(VirtTreeItem* root, bool recursive)
{
    if (!IsVirtual(*m_impl))
        return;
    m_impl->treeModel->SetSortRoot(root, recursive);
    m_impl->widget->sortByColumn(0, Qt::AscendingOrder);
}

} // namespace AUILib
