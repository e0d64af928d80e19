#include "TreeModel.h"

#include "TreePictureList.h"

#include <algorithm>
#include <vector>

namespace AUILib {

TreeModel::TreeModel(QObject* parent)
    : QAbstractItemModel(parent)
    , m_root(std::make_unique<VirtTreeItem>(nullptr))
    , m_view(qobject_cast<QTreeView*>(parent))
{
}

TreeModel::~TreeModel() = default;

VirtTreeItem* TreeModel::ItemFromIndex(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<VirtTreeItem*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::IndexOf(VirtTreeItem* node) const
{
    if (!node || node == m_root.get())
        return {};
    return createIndex(node->Row(), 0, node);
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const
{
    // The one column's bounds without the virtual calls of hasIndex: views ask for every row.
    if (row < 0 || column != 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const VirtTreeItem* parentNode = parent.isValid() ? ItemFromIndex(parent) : m_root.get();
    VirtTreeItem* child = parentNode->Child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex TreeModel::parent(const QModelIndex& index) const
{
    const VirtTreeItem* node = ItemFromIndex(index);
    if (!node || node->ParentItem() == m_root.get())
        return {};
    return IndexOf(node->ParentItem());
}

int TreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return parent.isValid() ? ItemFromIndex(parent)->ChildCount() : m_root->ChildCount();
}

int TreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TreeModel::data(const QModelIndex& index, int role) const
{
    const VirtTreeItem* node = ItemFromIndex(index);
    if (!node)
        return {};
    if (role == Qt::CheckStateRole)
        return m_checkBoxesOn ? node->Data(role, index.column()) : QVariant();
    if (role == Qt::DecorationRole) {
        if (!m_pictures)
            return {};
        const QIcon icon = m_pictures->Icon(node->GetIcon());
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    return node->Data(role, index.column());
}

bool TreeModel::setData(const QModelIndex& index, const QVariant&, int role)
{
    VirtTreeItem* node = ItemFromIndex(index);
    if (role != Qt::CheckStateRole || !node)
        return false;
    const Qt::CheckState state = node->GetChecked() ? Qt::Unchecked : Qt::Checked;
    if (CheckSubItems(node, state)) {
        node->SetCheckAll(node->GetChecked());
        UpdateParentCheckbox(node->ParentItem());
    }
    Update();
    return true;
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == 0)
        return Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QVariant TreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole)
        return QString();
    return QAbstractItemModel::headerData(section, orientation, role);
}

bool TreeModel::CheckSubItems(VirtTreeItem* node, Qt::CheckState state)
{
    if (!m_checkBoxesOn || !node)
        return false;
    const bool checked = state == Qt::Checked;
    if (node->ChildCount() > 0) {
        // An inner node passed here has every leaf below in the one state.
        for (VirtTreeItem* child : node->GetChildItems())
            CheckSubItems(child, state);
        node->SetChecked(checked);
        node->SetCheckAll(checked);
        return true;
    }
    if (node->GetChecked() == checked)
        return false;
    node->SetChecked(checked);
    m_checkedLeaves += checked ? 1 : -1;
    return true;
}

void TreeModel::UpdateParentCheckbox(VirtTreeItem* node)
{
    for (; node; node = node->ParentItem()) {
        bool anyChecked = false;
        bool allCheckAll = true;
        for (const VirtTreeItem* child : node->GetChildItems()) {
            anyChecked = anyChecked || child->GetChecked();
            // A child counts as fully checked when it is checked and, as an inner node, all below it is.
            const bool full = child->GetChecked() && (child->ChildCount() == 0 || child->IsCheckAll());
            allCheckAll = allCheckAll && full;
            if (anyChecked && !allCheckAll)
                break;
        }
        node->SetChecked(anyChecked);
        node->SetCheckAll(allCheckAll);
    }
}

void TreeModel::Update()
{
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}

void TreeModel::sort(int, Qt::SortOrder)
{
    if (!m_sortFunction || !m_sortRoot)
        return;
    SortChildren(m_sortRoot, m_sortRecursive);
    Update();
}

void TreeModel::SortChildren(VirtTreeItem* node, bool recursive)
{
    if (!node || !m_sortFunction)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QModelIndexList from;
    QModelIndexList to;
    SortLevel(node, recursive, from, to);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TreeModel::SortLevel(VirtTreeItem* node, bool recursive, QModelIndexList& from, QModelIndexList& to)
{
    QList<VirtTreeItem*>& children = node->GetChildItems();
    if (children.isEmpty())
        return;
    // A stable sort stays within the list even when the caller's function is not a strict order.
    std::stable_sort(children.begin(), children.end(), m_sortFunction);
    for (int row = 0; row < children.size(); ++row) {
        VirtTreeItem* child = children.at(row);
        if (child->Row() != row) {
            from.append(createIndex(child->Row(), 0, child));
            to.append(createIndex(row, 0, child));
            child->SetRow(row);
        }
    }
    if (recursive) {
        for (VirtTreeItem* child : children)
            SortLevel(child, true, from, to);
    }
}

void TreeModel::clear()
{
    beginResetModel();
    RemoveAllItem();
    endResetModel();
}

void TreeModel::RemoveAllItem()
{
    m_root->RemoveChilds();
    m_checkedLeaves = 0;
}

void TreeModel::CheckAllItem()
{
    for (VirtTreeItem* node : m_root->GetChildItems()) {
        CheckSubItems(node, Qt::Checked);
        node->SetCheckAll(true);
    }
    Update();
}

void TreeModel::UnCheckAllItem()
{
    for (VirtTreeItem* node : m_root->GetChildItems()) {
        CheckSubItems(node, Qt::Unchecked);
        node->SetCheckAll(false);
    }
    Update();
}

void TreeModel::SelectFirstItem() const
{
    VirtTreeItem* first = m_root->Child(0);
    if (!m_view || !first)
        return;
    const QModelIndex index = IndexOf(first);
    if (m_view->isExpanded(index))
        return;
    m_view->expand(index);
    if (first->ChildCount() > 0)
        m_view->setCurrentIndex(IndexOf(first->Child(0)));
}

} // namespace AUILib
