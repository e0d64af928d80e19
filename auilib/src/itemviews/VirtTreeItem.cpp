#include "VirtTreeItem.h"

#include "WideText.h"

namespace AUILib {

VirtTreeItem::VirtTreeItem(VirtTreeItem* parent)
    : m_parent(parent)
{
}

VirtTreeItem::~VirtTreeItem()
{
    RemoveChilds();
}

void VirtTreeItem::RemoveChilds()
{
    qDeleteAll(m_children);
    m_children.clear();
}

void VirtTreeItem::AppendChild(VirtTreeItem* child)
{
    child->m_level = m_parent ? m_level + 1 : 0;
    child->m_row = m_children.size();
    m_children.append(child);
}

VirtTreeItem* VirtTreeItem::Child(int row) const
{
    return row >= 0 && row < m_children.size() ? m_children.at(row) : nullptr;
}

QVariant VirtTreeItem::Data(int role, int column) const
{
    if (column != 0)
        return {};
    if (role == Qt::DisplayRole)
        return ToQString(m_text);
    if (role == Qt::CheckStateRole)
        return static_cast<int>(m_checked) * 2;
    return {};
}

void VirtTreeItem::SetIcon(int index)
{
    if (index >= 0)
        m_icon = index;
}

void VirtTreeItem::SetBoldTextPosition(int start, int end)
{
    if (start >= 0)
        m_boldStart = start;
    if (end >= 0)
        m_boldEnd = end;
}

} // namespace AUILib
