#pragma once

#include "BaseImplQt.h"
#include "CustStandardItem.h"
#include "CustomStyle.h"
#include "TreeModel.h"
#include "TreePictureList.h"
#include "TreeView.h"
#include "TreeViewItemDelegate.h"
#include "TreeViewQt.h"
#include "VirtualTreeDelegate.h"

#include <QItemSelection>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStandardItemModel>
#include <QTimer>

#include <memory>
#include <unordered_map>
#include <vector>

namespace AUILib {

class TreeView::impl : public BaseImplQt
{
public:
    explicit impl(TreeView& owner);
    ~impl() override;

    QWidget* GetWidget() override { return widget; }
    bool ShowToolTip(QPoint globalPos) override { return HandleToolTip(globalPos); }
    void SetAcceptDrops(bool accept) override;
    bool IsAcceptDrops() override { return acceptDrops; }

    TreeView& Owner() const { return m_owner; }
    // A live widget in standard mode, and a real item of this tree (not a handle, not another model's).
    bool IsItem(QStandardItem* item) const;
    bool IsStandardMode() const { return widget && !virtualMode && model; }
    // Null for an invalid index and outside standard mode.
    QStandardItem* ItemOf(const QModelIndex& index) const;
    QStandardItem* ItemOf(const QPersistentModelIndex& index) const { return ItemOf(QModelIndex(index)); }
    QPersistentModelIndex Persistent(QStandardItem* item) const;

    // A new item, not yet placed.
    CustStandardItem* NewItem(const std::wstring& text);
    // After placing: payload and wrapped height.
    void FinishNewItem(QStandardItem* item, const any& data);
    QStandardItem* PlaceTopLevel(CustStandardItem* item, int row);
    // Drops the item and its descendants from the tooltips, payloads, pictures and own lists.
    void ForgetSubtree(QStandardItem* item);
    // The same for rows first .. last under the parent, which are about to leave the model.
    void ForgetRows(const QModelIndex& parent, int first, int last);
    // Every item, depth first, parents before children.
    std::vector<QStandardItem*> AllItems() const;
    static void CollectDescendants(QStandardItem* item, std::vector<QStandardItem*>& into);

    void SetConnections();
    void DropConnections();
    void RefitColumn();
    // One refit on the next turn of the event loop, however many changes ask for it before.
    void RequestRefit();
    void OnClicked(const QModelIndex& index);
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void FireSelectionList(const QModelIndex& index);
    // Whether the click goes on to the click lists.
    bool OnCheckModeOneClick(const QModelIndex& index, Qt::KeyboardModifiers modifiers);
    void ApplyShiftCheckRange(QStandardItem* anchorItem, QStandardItem* hit, bool onCheckBox);
    void OnEditorClosed(QWidget* editor);
    // An open editor is closed without its text first.
    Edit* EditLabel(QStandardItem* item);
    void EndEditItem(bool commit);

    bool HandleToolTip(QPoint globalPos);
    QStandardItem* HitTestItem(QPoint viewportPoint, unsigned int* flags);
    QRect GetItemRect(QStandardItem* item, bool contentWidth);

    void CheckSubItems(QStandardItem* item, bool checked);
    static void CheckDescendants(QStandardItem* item, bool checked);
    void UpdateParentCheckbox(QStandardItem* item, bool checked);
    void SetItemCheck(QStandardItem* item, bool checked);
    bool IsItemChecked(QStandardItem* item) const;
    QStandardItem* ParentOf(QStandardItem* item) const;
    QStandardItem* NextSiblingOf(QStandardItem* item) const;
    QStandardItem* PrevSiblingOf(QStandardItem* item) const;
    std::wstring GetItemTextOf(QStandardItem* item) const;
    QStandardItem* TopMostOf(std::vector<QStandardItem*> items);
    bool CheckRange(QStandardItem* from, QStandardItem* to, bool onCheckBox, bool forward, bool hitChecked);
    void UpdateItemSizeHint(QStandardItem* item, bool reset);
    QRect WrappedTextRect(QStandardItem* item);
    void UpdateWrappedTextSizeHint(bool reset);
    void RenewSizeHint(QStandardItem* item);

    // The widget's own selection list, in insertion order without repeats.
    bool InOwnList(QStandardItem* item) const;
    void AppendToOwnList(QStandardItem* item);
    void RemoveFromOwnList(QStandardItem* item);
    std::vector<QStandardItem*> OwnList() const;

    // The picture list, made on first use (and handed to the virtual model).
    TreePictureList& Pictures();
    void DropPictures();
    void ApplyPicture(QStandardItem* item, int index);
    // The picture's index in the list, -1 when refused; the view's icons take the size.
    int AddPictureFromFile(const std::wstring& path, int size);
    int AddPictureFromBytes(const unsigned char* data, int length, ImageTypes type, int size);
    // Shows the model, dropping the selection model of the one before.
    void ShowModel(QAbstractItemModel* shown);
    void SetStyleSheetKeepingItems(const std::function<void()>& change);
    void AppendStyleSheet(const QString& rule);
    void ApplyCustomStyle();

    QPersistentModelIndex anchor;
    QPersistentModelIndex lastSelection;
    std::vector<QPersistentModelIndex> ownSelection;
    bool headerLabelSet = false;
    bool selectionChanging = false;
    QItemSelection deliveredSelection;
    QPointer<QStandardItemModel> model;
    QPointer<TreeModel> treeModel;
    QPersistentModelIndex edited;
    int toolTipMaxWidth = -1;
    std::unordered_map<QStandardItem*, std::wstring> toolTips;
    std::shared_ptr<TreeItemContext> context = std::make_shared<TreeItemContext>();
    QPointer<TreeViewQt> widget;
    int checkMode = 0;
    QString savedStyleSheet;
    bool expanders = true;
    QPersistentModelIndex lastClickedItem;
    int itemHeight = -1;
    bool multiSelection = false;
    QPersistentModelIndex lastClickedIndex;
    bool virtualMode = false;
    bool rowsDragDrop = false;
    bool acceptDrops = false;
    bool singleRoot = false;
    int textColor = -1;
    std::vector<QPersistentModelIndex> ownFonts;
    std::vector<QPersistentModelIndex> ownTextColors;
    QPointer<TreeViewItemDelegate> itemDelegate;
    QPointer<VirtualTreeDelegate> virtualDelegate;
    std::unique_ptr<TreePictureList> pictures;
    VirtTreeItem* currentVirtual = nullptr;
    VirtTreeItem* lastToolTipVirtual = nullptr;
    std::unique_ptr<CustomStyle> style;
    bool updatesEnabled = true;
    bool fireSelectionChanges = true;

private:
    bool IsLabelEditable(QStandardItem* item) const;
    // The open editor while it edits `label`, ready to be handed out; else null.
    Edit* EditorOf(const QPersistentModelIndex& label) const;

    TreeView& m_owner;
    std::vector<QMetaObject::Connection> m_connections;
    QPointer<QTimer> m_refitTimer;
};

} // namespace AUILib
