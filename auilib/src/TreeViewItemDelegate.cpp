#include "TreeViewItemDelegate.h"

namespace AUILib {

TreeViewItemDelegate::TreeViewItemDelegate(QObject* parent, TreeView* owner)
    : QStyledItemDelegate(parent)
    , m_owner(owner)
{
}

} // namespace AUILib
