#include "TreeViewImpl.h"

#include "ContextMenu.h"
#include "Edit.h"
#include "WideText.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

namespace AUILib {

namespace {

bool IsReservedHandle(const QStandardItem* item)
{
    return item == RootHandle || item == FirstHandle || item == LastHandle;
}

constexpr unsigned int kOnItem = HitOnIcon | HitOnLabel | HitOnCheckBox;

} // namespace

TreeView::impl::impl(TreeView& owner)
    : widget(new TreeViewQt(owner))
    , style(std::make_unique<CustomStyle>(false, CustomStyle::CommonBranches | CustomStyle::InactiveSelectionBranch))
    , m_owner(owner)
{
    model = new QStandardItemModel(widget);
    itemDelegate = new TreeViewItemDelegate(widget, &owner);
    widget->setItemDelegate(itemDelegate);
    widget->setModel(model);
    widget->setUniformRowHeights(true);
    SetConnections();
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    savedStyleSheet = widget->styleSheet();
    if (!widget->isHeaderHidden())
        model->setHorizontalHeaderLabels({QString()});
    widget->setStyle(style.get());
    m_refitTimer = new QTimer(widget);
    m_refitTimer->setSingleShot(true);
    m_refitTimer->setInterval(0);
    TrackConnection(QObject::connect(m_refitTimer, &QTimer::timeout, [this]() { RefitColumn(); }));
}

TreeView::impl::~impl()
{
    DropPictures();
    DropConnections();
    if (itemDelegate)
        itemDelegate->ReleaseOwner();
    if (widget) {
        widget->ReleaseOwner();
        // The style goes with the control; a widget that stays takes the application's.
        widget->setStyle(nullptr);
    }
    ReleaseWidget(widget);
}

bool TreeView::impl::IsItem(QStandardItem* item) const
{
    if (!item || IsReservedHandle(item) || !IsStandardMode())
        return false;
    return item->model() == model;
}

QStandardItem* TreeView::impl::ItemOf(const QModelIndex& index) const
{
    if (!IsStandardMode() || !index.isValid() || index.model() != model)
        return nullptr;
    return model->itemFromIndex(index);
}

QPersistentModelIndex TreeView::impl::Persistent(QStandardItem* item) const
{
    return IsItem(item) ? QPersistentModelIndex(item->index()) : QPersistentModelIndex();
}

CustStandardItem* TreeView::impl::NewItem(const std::wstring& text)
{
    auto* item = new CustStandardItem(ToQString(text), context);
    item->setData(item->data(Qt::DisplayRole), Qt::UserRole + 1);
    if (checkMode != 0)
        item->setCheckable(true);
    return item;
}

void TreeView::impl::FinishNewItem(QStandardItem* item, const any& data)
{
    if (!data.empty())
        item->setData(context->itemData.Add(data, 0), Qt::UserRole);
    RenewSizeHint(item);
}

QStandardItem* TreeView::impl::PlaceTopLevel(CustStandardItem* item, int row)
{
    if (singleRoot && model->rowCount() > 0) {
        delete item;
        return nullptr;
    }
    model->insertRow(row, item);
    return item;
}

void TreeView::impl::CollectDescendants(QStandardItem* item, std::vector<QStandardItem*>& into)
{
    for (int row = 0; row < item->rowCount(); ++row) {
        if (QStandardItem* child = item->child(row)) {
            into.push_back(child);
            CollectDescendants(child, into);
        }
    }
}

std::vector<QStandardItem*> TreeView::impl::AllItems() const
{
    std::vector<QStandardItem*> items;
    if (model)
        CollectDescendants(model->invisibleRootItem(), items);
    return items;
}

void TreeView::impl::ForgetSubtree(QStandardItem* item)
{
    std::vector<QStandardItem*> subtree{item};
    CollectDescendants(item, subtree);
    for (QStandardItem* each : subtree) {
        toolTips.erase(each);
        const QVariant id = each->data(Qt::UserRole);
        if (id.isValid()) {
            const auto record = context->itemData.Find(id.toInt());
            if (record != context->itemData.End())
                context->itemData.Erase(record);
        }
        if (pictures)
            pictures->ForgetItem(each);
        RemoveFromOwnList(each);
    }
    const auto gone = [](const QPersistentModelIndex& index) { return !index.isValid(); };
    // The removed rows' persistent indexes turn invalid once the model drops them; prune now anyway
    // so that the lists never name an item that is about to go.
    for (std::vector<QPersistentModelIndex>* list : {&ownFonts, &ownTextColors}) {
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [&](const QPersistentModelIndex& index) {
                                       QStandardItem* listed = ItemOf(index);
                                       return gone(index) ||
                                              std::find(subtree.begin(), subtree.end(), listed) != subtree.end();
                                   }),
                    list->end());
    }
}

void TreeView::impl::ForgetRows(const QModelIndex& parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        if (QStandardItem* item = ItemOf(model->index(row, 0, parent)))
            ForgetSubtree(item);
    }
}

void TreeView::impl::SetAcceptDrops(bool accept)
{
    if (!IsStandardMode())
        return;
    widget->setAcceptDrops(accept || rowsDragDrop);
    acceptDrops = accept;
}

bool TreeView::impl::InOwnList(QStandardItem* item) const
{
    return IsItem(item) &&
           std::find(ownSelection.begin(), ownSelection.end(), QPersistentModelIndex(item->index())) != ownSelection.end();
}

void TreeView::impl::AppendToOwnList(QStandardItem* item)
{
    if (IsItem(item) && !InOwnList(item))
        ownSelection.emplace_back(item->index());
}

void TreeView::impl::RemoveFromOwnList(QStandardItem* item)
{
    if (!IsItem(item))
        return;
    const auto found = std::find(ownSelection.begin(), ownSelection.end(), QPersistentModelIndex(item->index()));
    if (found != ownSelection.end())
        ownSelection.erase(found);
}

std::vector<QStandardItem*> TreeView::impl::OwnList() const
{
    std::vector<QStandardItem*> items;
    for (const QPersistentModelIndex& index : ownSelection) {
        if (QStandardItem* item = ItemOf(index))
            items.push_back(item);
    }
    return items;
}

TreePictureList& TreeView::impl::Pictures()
{
    if (!pictures)
        pictures = std::make_unique<TreePictureList>();
    if (treeModel)
        treeModel->SetPictureList(pictures.get());
    return *pictures;
}

void TreeView::impl::DropPictures()
{
    // The model may outlive the control with its view.
    if (treeModel)
        treeModel->SetPictureList(nullptr);
    pictures.reset();
}

void TreeView::impl::ApplyPicture(QStandardItem* item, int index)
{
    Pictures().SetItemPicture(item, index);
    item->setData(pictures->Icon(index), Qt::DecorationRole);
    RenewSizeHint(item);
}

int TreeView::impl::AddPictureFromFile(const std::wstring& path, int size)
{
    const std::wstring::size_type dot = path.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? path : path.substr(dot + 1);
    QFile file(ToQString(path));
    if (extension.empty() || !file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const int index = Pictures().Add(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size(),
                                     AUILibUtils::WstrToImageType(extension), path);
    if (index >= 0)
        widget->setIconSize(QSize(size, size));
    return index;
}

int TreeView::impl::AddPictureFromBytes(const unsigned char* data, int length, ImageTypes type, int size)
{
    if (!data || length <= 0 || type == ImageTypes::Unknown || (type != ImageTypes::ICO && data[0] == 0))
        return -1;
    const int index = Pictures().Add(data, length, type, {});
    if (index >= 0)
        widget->setIconSize(QSize(size, size));
    return index;
}

void TreeView::impl::ShowModel(QAbstractItemModel* shown)
{
    QItemSelectionModel* previous = widget->selectionModel();
    widget->setModel(nullptr);
    widget->setModel(shown);
    if (previous && previous != widget->selectionModel())
        previous->deleteLater();
}

void TreeView::impl::AppendStyleSheet(const QString& rule)
{
    if (widget)
        widget->setStyleSheet(widget->styleSheet() + rule);
}

void TreeView::impl::ApplyCustomStyle()
{
    if (widget)
        widget->setStyle(style.get());
}

// Signals of the view, its selection model, delegate and model.

void TreeView::impl::DropConnections()
{
    for (const QMetaObject::Connection& connection : m_connections)
        QObject::disconnect(connection);
    m_connections.clear();
}

void TreeView::impl::SetConnections()
{
    if (!widget)
        return;
    TreeView& owner = m_owner;
    const auto keep = [this](const QMetaObject::Connection& connection) { m_connections.push_back(connection); };
    keep(QObject::connect(widget, &QTreeView::clicked, widget, [this](const QModelIndex& index) { OnClicked(index); }));
    keep(QObject::connect(widget, &QTreeView::doubleClicked, widget, [this, &owner](const QModelIndex& index) {
        if (!virtualMode)
            FireHandlers(owner.OnItemDoubleClicked, ItemOf(index));
    }));
    keep(QObject::connect(widget->selectionModel(), &QItemSelectionModel::selectionChanged, widget,
                          [this](const QItemSelection& selected, const QItemSelection& deselected) {
                              OnSelectionChanged(selected, deselected);
                          }));
    if (!virtualMode) {
        widget->setSelectionBehavior(QAbstractItemView::SelectItems);
        widget->viewport()->repaint();
    }
    keep(QObject::connect(widget, &QTreeView::expanded, widget, [this, &owner](const QModelIndex& index) {
        if (virtualMode) {
            FireHandlers(owner.OnVirtualItemExpanded, treeModel ? treeModel->ItemFromIndex(index) : nullptr);
            return;
        }
        FireHandlers(owner.OnItemExpanded, ItemOf(index));
        RequestRefit();
    }));
    keep(QObject::connect(widget, &QTreeView::collapsed, widget, [this, &owner](const QModelIndex& index) {
        if (virtualMode) {
            FireHandlers(owner.OnVirtualItemCollapsed, treeModel ? treeModel->ItemFromIndex(index) : nullptr);
            return;
        }
        FireHandlers(owner.OnItemCollapsed, ItemOf(index));
        RequestRefit();
    }));
    keep(QObject::connect(widget->itemDelegate(), &QAbstractItemDelegate::closeEditor, widget,
                          [this](QWidget* editor) { OnEditorClosed(editor); }));
    // Rows leave by the tree's own removals and by Qt's, such as the end of a drag that another
    // widget takes as a move.
    if (!virtualMode && model)
        keep(QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, widget,
                              [this](const QModelIndex& parent, int first, int last) {
                                  ForgetRows(parent, first, last);
                              }));
    keep(QObject::connect(widget->model(), &QAbstractItemModel::rowsInserted, widget, [this]() {
        if (!virtualMode)
            RequestRefit();
    }));
    keep(QObject::connect(widget->model(), &QAbstractItemModel::rowsRemoved, widget, [this]() {
        if (!virtualMode)
            RequestRefit();
    }));
}

void TreeView::impl::OnEditorClosed(QWidget* editor)
{
    if (virtualMode || !itemDelegate)
        return;
    // Only the control of the widget that closed; Qt deletes the widget itself. It is let go before
    // the report, whose handlers may open the next editor, and kept alive for them to read.
    const std::unique_ptr<Edit> closed = itemDelegate->TakeEditor(editor);
    if (!closed)
        return;
    const QPersistentModelIndex item = std::exchange(edited, QPersistentModelIndex());
    if (QStandardItem* finished = ItemOf(item))
        FireHandlers(m_owner.OnEditFinished, finished);
}

bool TreeView::impl::IsLabelEditable(QStandardItem* item) const
{
    return IsItem(item) && (item->flags() & Qt::ItemIsEditable) && widget->itemDelegate() == itemDelegate;
}

Edit* TreeView::impl::EditLabel(QStandardItem* item)
{
    if (!IsLabelEditable(item))
        return nullptr;
    // The finish, start and created handlers may let the tree go, and this object with it.
    const std::weak_ptr<BaseImpl> self = m_owner.GetBaseImpl();
    const QPersistentModelIndex label = Persistent(item);
    if (itemDelegate->Editor()) {
        EndEditItem(false);
        if (self.expired())
            return nullptr;
        // The finish handler may have edited a label itself: the view holds one editor, and keeps
        // that one. It may also have taken the item away or barred its editing.
        if (itemDelegate && itemDelegate->Editor())
            return EditorOf(label);
        if (!label.isValid() || !IsLabelEditable(ItemOf(label)))
            return nullptr;
    }
    edited = label;
    widget->edit(label);
    if (self.expired())
        return nullptr;
    // The open editor is another label's when a handler edited that one meanwhile.
    return EditorOf(label);
}

Edit* TreeView::impl::EditorOf(const QPersistentModelIndex& label) const
{
    Edit* editor = itemDelegate ? itemDelegate->Editor() : nullptr;
    if (!editor || !label.isValid() || edited != label)
        return nullptr;
    editor->SetSelectAll();
    return editor;
}

void TreeView::impl::EndEditItem(bool commit)
{
    QStandardItem* item = ItemOf(edited);
    Edit* editor = itemDelegate ? itemDelegate->Editor() : nullptr;
    if (!item || !editor)
        return;
    if (commit) {
        item->setData(ToQString(editor->GetText()), Qt::DisplayRole);
        RenewSizeHint(item);
    }
    // The finish handler may let the tree go, and this object with it.
    const std::weak_ptr<BaseImpl> self = m_owner.GetBaseImpl();
    emit itemDelegate->closeEditor(editor->GetWndPtr(), QAbstractItemDelegate::NoHint);
    // It may also have gone on to edit the next label.
    if (!self.expired() && (!itemDelegate || !itemDelegate->Editor()))
        edited = QPersistentModelIndex();
}

void TreeView::impl::RequestRefit()
{
    if (m_refitTimer && !m_refitTimer->isActive())
        m_refitTimer->start();
}

void TreeView::impl::RefitColumn()
{
    // Fitting measures every row: a batch that holds the updates back fits once, at its end.
    if (!widget || widget->wordWrap() || !updatesEnabled || !widget->updatesEnabled())
        return;
    widget->header()->resizeSection(0, 0);
    widget->resizeColumnToContents(0);
}

void TreeView::impl::OnClicked(const QModelIndex& index)
{
    lastClickedIndex = index;
    if (!virtualMode && multiSelection) {
        const Qt::KeyboardModifiers modifiers = QApplication::keyboardModifiers();
        if (modifiers == Qt::ControlModifier && checkMode == 0)
            return;
        if (checkMode == 1 && !OnCheckModeOneClick(index, modifiers))
            return;
    }
    if (virtualMode)
        FireHandlers(m_owner.OnVirtualItemClicked, treeModel ? treeModel->ItemFromIndex(index) : nullptr);
    else
        FireHandlers(m_owner.OnItemClicked, ItemOf(index));
    if (multiSelection)
        FireHandlers(m_owner.OnMultiSelectionEnd);
}

bool TreeView::impl::OnCheckModeOneClick(const QModelIndex& index, Qt::KeyboardModifiers modifiers)
{
    unsigned int flags = 0;
    QStandardItem* hit = HitTestItem(widget->viewport()->mapFromGlobal(QCursor::pos()), &flags);
    if (!(flags & kOnItem))
        hit = nullptr;
    const bool onCheckBox = flags & HitOnCheckBox;
    QStandardItem* previous = nullptr;
    if (hit) {
        previous = ItemOf(lastClickedItem);
        widget->setCurrentIndex(hit->index());
        if (onCheckBox) {
            FireHandlers(m_owner.OnItemCheckChanged, hit);
            const bool state = IsItemChecked(hit);
            SetItemCheck(hit, state);
            CheckSubItems(hit, state);
            UpdateParentCheckbox(hit, state);
        }
    }
    lastClickedItem = Persistent(ItemOf(index));
    if (modifiers != Qt::ShiftModifier)
        return false;
    if (!hit)
        return true;
    if (previous)
        anchor = Persistent(previous);
    QStandardItem* anchorItem = previous ? previous : ItemOf(anchor);
    if (!anchorItem || !IsItemChecked(anchorItem) || ParentOf(anchorItem) != ParentOf(hit))
        return true;
    ApplyShiftCheckRange(anchorItem, hit, onCheckBox);
    return true;
}

void TreeView::impl::ApplyShiftCheckRange(QStandardItem* anchorItem, QStandardItem* hit, bool onCheckBox)
{
    const auto range = [&](QStandardItem* from, QStandardItem* to, bool hitChecked) {
        CheckRange(from, to, onCheckBox, TopMostOf({from, to}) == from, hitChecked);
    };
    QStandardItem* last = ItemOf(lastSelection);
    lastSelection = Persistent(hit);
    if (OwnList().empty() || !last) {
        range(anchorItem, hit, IsItemChecked(hit));
        return;
    }
    const int a = GetItemRect(anchorItem, true).top();
    const int l = GetItemRect(last, true).top();
    const int h = GetItemRect(hit, true).top();
    if ((a < l && l < h) || (h < l && l < a)) {
        range(last, hit, true);
    } else if (h == l || (l <= a && a <= h) || (h < a && a <= l)) {
        const bool checked = IsItemChecked(hit);
        range(anchorItem, last, !checked);
        range(anchorItem, hit, checked);
    } else {
        range(hit, last, false);
        if (!onCheckBox)
            SetItemCheck(hit, true);
    }
}

void TreeView::impl::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    selectionChanging = true;
    if (fireSelectionChanges) {
        deliveredSelection.clear();
        for (const QModelIndex& index : deselected.indexes())
            FireSelectionList(index);
        for (const QModelIndex& index : selected.indexes()) {
            deliveredSelection = selected;
            if (virtualMode && treeModel)
                currentVirtual = treeModel->ItemFromIndex(index);
            FireSelectionList(index);
            deliveredSelection.clear();
        }
    }
    selectionChanging = false;
}

void TreeView::impl::FireSelectionList(const QModelIndex& index)
{
    if (virtualMode)
        FireHandlers(m_owner.OnVirtualItemSelectionChanged, treeModel ? treeModel->ItemFromIndex(index) : nullptr);
    else
        FireHandlers(m_owner.OnItemSelectionChanged, ItemOf(index));
}

// Check boxes.

bool TreeView::impl::IsItemChecked(QStandardItem* item) const
{
    return IsItem(item) && item->data(Qt::CheckStateRole).toInt() != 0;
}

void TreeView::impl::SetItemCheck(QStandardItem* item, bool checked)
{
    if (IsItem(item))
        item->setData(checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

QStandardItem* TreeView::impl::ParentOf(QStandardItem* item) const
{
    return IsItem(item) ? item->parent() : nullptr;
}

QStandardItem* TreeView::impl::NextSiblingOf(QStandardItem* item) const
{
    return IsItem(item) ? ItemOf(item->index().sibling(item->row() + 1, 0)) : nullptr;
}

QStandardItem* TreeView::impl::PrevSiblingOf(QStandardItem* item) const
{
    return IsItem(item) ? ItemOf(item->index().sibling(item->row() - 1, 0)) : nullptr;
}

std::wstring TreeView::impl::GetItemTextOf(QStandardItem* item) const
{
    return IsItem(item) ? ToWString(item->text()) : std::wstring();
}

QStandardItem* TreeView::impl::TopMostOf(std::vector<QStandardItem*> items)
{
    items.erase(std::remove_if(items.begin(), items.end(), [this](QStandardItem* item) { return !IsItem(item); }),
                items.end());
    if (items.empty())
        return nullptr;
    std::stable_sort(items.begin(), items.end(), [this](QStandardItem* left, QStandardItem* right) {
        return GetItemRect(left, true).top() < GetItemRect(right, true).top();
    });
    return items.front();
}

void TreeView::impl::CheckSubItems(QStandardItem* item, bool checked)
{
    if (IsItem(item))
        CheckDescendants(item, checked);
}

void TreeView::impl::CheckDescendants(QStandardItem* item, bool checked)
{
    // The children of one of the tree's items are its items too: no guard per child.
    for (int row = 0; row < item->rowCount(); ++row) {
        QStandardItem* child = item->child(row);
        if (child && (child->data(Qt::CheckStateRole).toInt() != 0) != checked) {
            child->setData(checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
            CheckDescendants(child, checked);
        }
    }
}

void TreeView::impl::UpdateParentCheckbox(QStandardItem* item, bool checked)
{
    QStandardItem* parent = ParentOf(item);
    if (!parent)
        return;
    if (!checked) {
        if (IsItemChecked(parent))
            SetItemCheck(parent, false);
        return;
    }
    if (IsItemChecked(parent))
        return;
    for (int row = 0; row < parent->rowCount(); ++row) {
        if (!IsItemChecked(parent->child(row)))
            return;
    }
    SetItemCheck(parent, true);
}

bool TreeView::impl::CheckRange(QStandardItem* from, QStandardItem* to, bool onCheckBox, bool forward, bool hitChecked)
{
    if (!IsItem(from) || !IsItem(to) || from == to || ParentOf(from) != ParentOf(to))
        return false;
    const bool state = onCheckBox == hitChecked;
    for (QStandardItem* item = from; item && item != to; item = forward ? NextSiblingOf(item) : PrevSiblingOf(item)) {
        if (IsItemChecked(item) == state)
            continue;
        SetItemCheck(item, state);
        if (state)
            AppendToOwnList(item);
        else
            RemoveFromOwnList(item);
        CheckSubItems(item, state);
        UpdateParentCheckbox(item, state);
    }
    SetItemCheck(to, true);
    return true;
}

// Geometry.

QStandardItem* TreeView::impl::HitTestItem(QPoint point, unsigned int* flags)
{
    if (!IsStandardMode())
        return nullptr;
    unsigned int found = 0;
    const QModelIndex index = widget->indexAt(point);
    QStandardItem* item = ItemOf(index);
    if (!item) {
        if (flags)
            *flags = HitNowhere;
        return nullptr;
    }
    QStyleOptionViewItem option;
    option.initFrom(widget);
    const QVariant font = item->data(Qt::FontRole);
    option.font = font.isValid() ? font.value<QFont>() : widget->font();
    option.fontMetrics = QFontMetrics(option.font);
    const QVariant alignment = item->data(Qt::TextAlignmentRole);
    option.displayAlignment = alignment.isValid() ? Qt::Alignment(alignment.toInt()) : Qt::AlignLeft | Qt::AlignVCenter;
    option.text = item->text();
    option.features |= QStyleOptionViewItem::HasDisplay;
    if (!item->icon().isNull()) {
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.icon = item->icon();
    }
    if (item->isCheckable()) {
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        option.checkState = item->checkState();
    }
    option.decorationSize = widget->iconSize();
    const QRect r = widget->visualRect(index);
    option.rect = r;
    const int h = r.height();

    QRect button;
    if (expanders && item->hasChildren())
        button = QRect(QPoint(r.left() - h - 2, r.top()), QPoint(r.left() - 1, r.bottom()));
    const int indentRight = button.isValid() ? r.left() - h - 3 : r.left() - 1;
    const QRect indentation(QPoint(0, r.top()), QPoint(indentRight, r.bottom()));
    QStyle* viewStyle = widget->style();
    const QRect checkBox = item->isCheckable()
                               ? viewStyle->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, widget)
                               : QRect();
    QRect decoration;
    if (option.features & QStyleOptionViewItem::HasDecoration) {
        decoration = viewStyle->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, widget);
        if (item->isCheckable())
            decoration.moveLeft(checkBox.right() + 2 * (checkBox.left() - indentRight));
        else
            decoration.translate(6, 0);
        decoration.translate(0, h - decoration.height());
    }
    if (indentation.contains(point))
        found |= HitOnIndent;
    if (button.contains(point))
        found |= HitOnButton;
    if (checkBox.contains(point))
        found |= HitOnCheckBox;
    if (decoration.contains(point))
        found |= HitOnIcon;
    if (found == 0 && r.contains(point))
        found = HitOnLabel;
    if (flags)
        *flags = found;
    return item;
}

QRect TreeView::impl::GetItemRect(QStandardItem* item, bool contentWidth)
{
    if (!IsItem(item))
        return {};
    const QModelIndex index = item->index();
    QRect rect = widget->visualRect(index);
    if (contentWidth)
        rect.setRight(rect.left() + widget->sizeHintForIndex(index).width() - 1);
    return rect;
}

bool TreeView::impl::HandleToolTip(QPoint globalPos)
{
    if (!widget)
        return false;
    const QPoint point = widget->viewport()->mapFromGlobal(globalPos);
    if (!toolTips.empty()) {
        unsigned int flags = 0;
        QStandardItem* item = HitTestItem(point, &flags);
        const auto found = item && (flags & kOnItem) ? toolTips.find(item) : toolTips.end();
        if (found != toolTips.end()) {
            // An empty tip shows as none, also when it would be wrapped.
            const bool wrapped = toolTipMaxWidth >= 51 && toolTipMaxWidth <= 32766 && !found->second.empty();
            QToolTip::showText(globalPos, wrapped ? FormatToolTipText(found->second, toolTipMaxWidth)
                                                  : ToQString(found->second),
                               widget);
            return true;
        }
    }
    if (!treeModel || widget->model() != treeModel)
        return false;
    VirtTreeItem* node = treeModel->ItemFromIndex(widget->indexAt(point));
    if (!node)
        return false;
    if (node != lastToolTipVirtual)
        QToolTip::showText(globalPos, QString());
    QToolTip::showText(globalPos, ToQString(node->GetTooltip()), widget);
    lastToolTipVirtual = node;
    return true;
}

// Word wrap.

void TreeView::impl::RenewSizeHint(QStandardItem* item)
{
    if (widget && widget->wordWrap())
        UpdateItemSizeHint(item, false);
}

void TreeView::impl::UpdateItemSizeHint(QStandardItem* item, bool reset)
{
    if (!IsItem(item) || !updatesEnabled)
        return;
    if (widget->wordWrap()) {
        widget->setTextElideMode(Qt::ElideNone);
        item->setData(QSize(1, WrappedTextRect(item).height()), Qt::SizeHintRole);
    }
    if (reset)
        item->setData(QVariant(), Qt::SizeHintRole);
    widget->viewport()->update(widget->visualRect(item->index()));
}

QRect TreeView::impl::WrappedTextRect(QStandardItem* item)
{
    if (!IsItem(item))
        return {};
    const QVariant font = item->data(Qt::FontRole);
    const QRect visual = widget->visualRect(item->index());
    int width = widget->columnWidth(0) - visual.left() - widget->horizontalScrollBar()->value();
    if (!item->icon().isNull())
        width -= widget->iconSize().width() + 4;
    if (checkMode == 1)
        width -= 20;
    QTextDocument document;
    document.setDefaultFont(font.isValid() ? font.value<QFont>() : widget->font());
    document.setPageSize(QSizeF(width, 2147483647.0));
    document.setUseDesignMetrics(true);
    document.setPlainText(item->text());
    const QSizeF size = document.size();
    return QRect(0, 0, static_cast<int>(size.width()), static_cast<int>(size.height() - 6));
}

void TreeView::impl::UpdateWrappedTextSizeHint(bool reset)
{
    if (!IsStandardMode())
        return;
    for (QStandardItem* item : AllItems())
        UpdateItemSizeHint(item, reset);
}

} // namespace AUILib
