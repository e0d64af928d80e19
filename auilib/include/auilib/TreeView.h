#pragma once

#include "AUILibAny.h"
#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "FontData.h"
#include "RGBColor.h"
#include "VirtTreeItem.h"

#include <QRect>

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class QStandardItem;

namespace AUILib {

class Edit;

// Positions for InsertItem; every other operation refuses them as items.
inline QStandardItem* const RootHandle = reinterpret_cast<QStandardItem*>(static_cast<std::intptr_t>(-65536));
inline QStandardItem* const FirstHandle = reinterpret_cast<QStandardItem*>(static_cast<std::intptr_t>(-65535));
inline QStandardItem* const LastHandle = reinterpret_cast<QStandardItem*>(static_cast<std::intptr_t>(-65534));

// Where a point lies on an item; the bits combine, HitOnLabel only alone.
enum TreeHitFlags : unsigned int {
    HitNowhere = 1,
    HitOnIcon = 2,
    HitOnLabel = 4,
    HitOnIndent = 8,
    HitOnButton = 16,
    HitOnCheckBox = 32,
};

// A one-column tree. In standard mode items are QStandardItems; in virtual mode the view shows
// VirtTreeItem nodes that the program builds and refreshes itself (UpdateVirtualView).
class TreeView : public BaseGUIObject
{
public:
    class impl;

    using CheckMode = int;
    using StyleFlag = int;
    using ItemRecord = std::tuple<const std::wstring, any, int>;
    using ItemRecords = std::list<ItemRecord>;
    using SortFunction = std::function<bool(std::wstring, any, std::wstring, any)>;
    using VirtualSortFunction = std::function<bool(VirtTreeItem*, VirtTreeItem*)>;
    using CanMoveFunction = std::function<bool(QStandardItem*, std::vector<QStandardItem*>&, bool)>;

    TreeView();
    ~TreeView() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    virtual void SetHeaderLabel(const std::wstring& text);
    virtual void SetHeaderVisible(bool visible);
    virtual bool IsHeaderVisible();
    virtual QStandardItem* AddItem(const std::wstring& text, any data);
    virtual int AddItems(ItemRecords& records);
    virtual QStandardItem* InsertItem(const std::wstring& text, QStandardItem* parent, QStandardItem* after, any data);
    virtual int InsertItems(ItemRecords& records, QStandardItem* parent, QStandardItem* after);
    virtual QStandardItem* AddSubItem(const std::wstring& text, any data, QStandardItem* parent);
    virtual int AddSubItems(ItemRecords& records, QStandardItem* parent);
    virtual int AddPicture(QStandardItem* item, const std::wstring& path, int size, BitmapType type);
    virtual int AddPicture(QStandardItem* item, const unsigned char* data, int length, ImageTypes type, int size,
                           BitmapType bitmapType);
    virtual bool SetPicture(QStandardItem* item, int index);
    virtual std::wstring GetItemPicturePath(QStandardItem* item);
    virtual QStandardItem* CurrentItem();
    virtual int Count();
    virtual void SetCurrentItem(QStandardItem* item);
    virtual void SelectItem(QStandardItem* item, bool select);
    virtual bool IsSelectedItem(QStandardItem* item);
    virtual std::wstring GetItemText(QStandardItem* item);
    virtual std::wstring GetItemTextRaw(QStandardItem* item);
    virtual bool SetItemText(QStandardItem* item, const std::wstring& text);
    virtual any GetItemData(QStandardItem* item);
    virtual bool SetItemData(QStandardItem* item, any data);
    virtual bool RemoveItemData(QStandardItem* item);
    virtual bool RemoveItem(QStandardItem* item);
    virtual bool RemoveAllItems(bool removePictures);
    virtual void SetExpanded(QStandardItem* item, bool expanded);
    virtual bool IsExpanded(QStandardItem* item);
    virtual void EnableEditItems(bool enable);
    virtual bool IsEnabledEditItems();
    virtual QStandardItem* VisibleTopLevelItem(QStandardItem* item);
    virtual QStandardItem* GetTopLevelItem(QStandardItem* item);
    virtual QStandardItem* GetRootItem();
    virtual QStandardItem* GetParentItem(QStandardItem* item);
    virtual QStandardItem* GetFirstChild(QStandardItem* item);
    virtual QStandardItem* NextSibling(QStandardItem* item);
    virtual QStandardItem* PrevSibling(QStandardItem* item);
    virtual std::list<QStandardItem*> CheckedItems();
    virtual std::list<QStandardItem*> SelectedItems();
    virtual void SetCheckMode(CheckMode mode);
    virtual CheckMode GetCheckMode();
    virtual void SetCheck(QStandardItem* item, bool checked);
    virtual bool GetCheck(QStandardItem* item);
    // `point` is in the view's viewport coordinates.
    virtual QStandardItem* HitTest(Point point, unsigned int* flags);
    virtual QRect GetItemRect(QStandardItem* item, bool contentWidth);
    virtual bool ItemHasChildren(QStandardItem* item);

    virtual std::wstring GetItemText(VirtTreeItem* item);
    virtual bool SetItemText(VirtTreeItem* item, const std::wstring& text);
    virtual bool SetItemTooltip(VirtTreeItem* item, const std::wstring& text);
    virtual any GetItemData(VirtTreeItem* item);
    virtual bool SetItemData(VirtTreeItem* item, any data);
    virtual int AddPicture(VirtTreeItem* item, const std::wstring& path, int size, BitmapType type);
    virtual int AddPicture(VirtTreeItem* item, const unsigned char* data, int length, ImageTypes type, int size,
                           BitmapType bitmapType);
    virtual bool SetPicture(VirtTreeItem* item, int index);
    virtual std::wstring GetItemPicturePath(VirtTreeItem* item);
    virtual bool GetCheck(VirtTreeItem* item);
    virtual void RemoveAllVirtualItems();
    virtual void SetExpanded(VirtTreeItem* item, bool expanded);
    virtual bool IsExpanded(VirtTreeItem* item);

    // Children of the item (of the top level when null), all levels below when recursive.
    int ChildCount(QStandardItem* item, bool recursive);
    void SetUpdatesEnabled(bool enabled);
    void DisableEditLabel(QStandardItem* item, bool disable);
    bool IsDisabledEditLabel(QStandardItem* item);
    // The opened editor, null when the item cannot be edited.
    Edit* EditLabel(QStandardItem* item);
    void EndEditLabel(bool commit);
    void SetMultiSelection(bool on);
    bool IsSetMultiSelection();
    bool EnableRowsDragAndDrop(bool on);
    bool IsEnableRowsDragAndDrop();
    void SetDragAndDropCanMove(const CanMoveFunction& canMove);
    void SetSingleRoot(bool on);
    bool IsSingleRoot();
    bool SetSortFunc(const SortFunction& function);
    void SortChildren(QStandardItem* root, bool recursive);

    void SetVirtualMode(bool on);
    bool IsVirtualModeEnabled();
    // The view is not told about the new node: call UpdateVirtualView when the batch is in.
    VirtTreeItem* AddVirtualTreeItem(std::wstring& text, VirtTreeItem* parent, any data);
    int GetLevel(VirtTreeItem* item);
    VirtTreeItem* RootItem();
    VirtTreeItem* GetParentItem(VirtTreeItem* item);
    VirtTreeItem* GetChildItem(VirtTreeItem* item, int row);
    int ChildCount(VirtTreeItem* item);
    void UpdateVirtualView();
    void SetBoldTextPosition(VirtTreeItem* item, int start, int end);
    void SetCurrentVirtualItem(VirtTreeItem* item);
    VirtTreeItem* CurrentVirtualItem();
    void EnableVirtualItemCheckboxes(bool on);
    void SetCheck(VirtTreeItem* item, bool checked, bool withChildren);
    void SetCheckAllVirtualItems(bool checked);
    bool IsCheckedAllVirtualItems();
    bool SetSortFunc(const VirtualSortFunction& function);
    void SortVirtChildren(VirtTreeItem* root, bool recursive);

    void SetStyle(StyleFlag remove, StyleFlag add);
    void SetBackgroundColor(RGBColor color);
    void SetTextColor(int color, bool ownColoursToo);
    int GetTextColor();
    void SetItemTextColor(QStandardItem* item, int color);
    int GetItemTextColor(QStandardItem* item);
    void SetSelectionColors(int text, int background);
    void SetItemHeight(int height);
    int GetItemHeight();
    void SetFont(FontData& font, bool ownFontsToo);
    FontData GetFont();
    void SetItemBold(QStandardItem* item, bool bold);
    bool IsItemBold(QStandardItem* item);
    FontData GetItemFont(QStandardItem* item);
    void SetItemFont(QStandardItem* item, FontData& font);
    void EnableWordWrapText(bool on);
    bool IsEnabledWordWrapText();
    void SetItemTooltip(QStandardItem* item, const std::wstring& text);
    std::wstring GetItemToolTip(QStandardItem* item);
    void SetItemToolTipMaxWidth(int width);
    void DisableAutomaticTooltips(bool) {}

    HandlerList<QStandardItem*> OnItemClicked;
    HandlerList<QStandardItem*> OnItemExpanded;
    HandlerList<QStandardItem*> OnItemCollapsed;
    HandlerList<QStandardItem*> OnItemCheckChanged;
    HandlerList<int> OnKeyReleased;
    HandlerList<QStandardItem*> OnItemSelectionChanged;
    HandlerList<QStandardItem*> OnItemMouseReleased;
    HandlerList<QStandardItem*> OnItemDoubleClicked;
    HandlerList<QStandardItem*, std::vector<QStandardItem*>&, bool> OnItemsDropped;   // before the move
    HandlerList<QStandardItem*, std::vector<QStandardItem*>&, bool> OnItemsDroppedEx; // the copies, after
    HandlerList<QStandardItem*, std::wstring> OnItemDataChanged;
    HandlerList<QStandardItem*, std::wstring, std::wstring> OnItemTextChanged; // creation text, text
    HandlerList<QStandardItem*> OnEditStarted;
    HandlerList<QStandardItem*, Edit*> OnEditorCreated;
    HandlerList<QStandardItem*> OnEditFinished;
    HandlerList<QStandardItem*> OnItemRemoving;
    HandlerList<> OnAllItemsRemoving;
    HandlerList<> OnMultiSelectionBegin;
    HandlerList<> OnMultiSelectionEnd;
    HandlerList<VirtTreeItem*> OnVirtualItemClicked;
    HandlerList<VirtTreeItem*> OnVirtualItemExpanded;
    HandlerList<VirtTreeItem*> OnVirtualItemCollapsed;
    HandlerList<VirtTreeItem*> OnVirtualItemSelectionChanged;
    HandlerList<VirtTreeItem*> OnVirtualItemMouseReleased;

private:
    // Adds each record with `add` while updates are off; returns how many items were made.
    int AddBatch(ItemRecords& records, const std::function<QStandardItem*(const ItemRecord&)>& add);

    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
