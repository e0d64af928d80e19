#include "CustStandardItem.h"

#include "WideText.h"

namespace AUILib {

CustStandardItem::CustStandardItem(const QString& text, std::shared_ptr<TreeItemContext> context)
    : QStandardItem(text)
    , m_context(std::move(context))
{
}

bool CustStandardItem::InSortScope() const
{
    const QStandardItem* root = m_context->sortRoot;
    if (!root || root == RootHandle)
        return !parent() || m_context->sortRecursive;
    if (parent() == root)
        return true;
    if (!m_context->sortRecursive)
        return false;
    for (const QStandardItem* ancestor = parent(); ancestor; ancestor = ancestor->parent()) {
        if (ancestor == root)
            return true;
    }
    return false;
}

any CustStandardItem::PayloadOf(const QStandardItem& item) const
{
    const QVariant id = item.data(Qt::UserRole);
    return id.isValid() ? m_context->itemData.Get(id.toInt(), 0) : any();
}

bool CustStandardItem::operator<(const QStandardItem& other) const
{
    if (!m_context->sortFunction || !InSortScope())
        return false;
    return m_context->sortFunction(ToWString(text()), PayloadOf(*this), ToWString(other.text()), PayloadOf(other));
}

} // namespace AUILib
