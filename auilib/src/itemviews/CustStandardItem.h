#pragma once

#include "ItemDataStore.h"
#include "TreeView.h"

#include <QStandardItem>

#include <memory>

namespace AUILib {

// What the tree's items compare by. Shared with the items, so that a view which outlives its
// control still sorts safely.
struct TreeItemContext
{
    TreeView::SortFunction sortFunction;
    ItemDataStore itemData;
    QStandardItem* sortRoot = nullptr; // only compared, never read
    bool sortRecursive = false;
};

// The tree's standard item: it sorts through the control's sort function on the items' texts and
// payloads, limited to the children of the sort root.
class CustStandardItem : public QStandardItem
{
public:
    CustStandardItem(const QString& text, std::shared_ptr<TreeItemContext> context);

    bool operator<(const QStandardItem& other) const override;

private:
    bool InSortScope() const;
    any PayloadOf(const QStandardItem& item) const;

    std::shared_ptr<TreeItemContext> m_context;
};

} // namespace AUILib
