#pragma once

#include "ContextMenu.h"
#include "ContextMenuQt.h"

#include <QPointer>

#include <memory>
#include <vector>

namespace AUILib {

// The entries of one menu beside their Qt actions. A menu whose widget its Qt parent has destroyed
// answers -1, false or empty.
class ContextMenu::impl
{
public:
    explicit impl(QWidget* parent);
    ~impl();

    int AddItem(const std::wstring& text, const std::function<void()>& onTriggered, int flags);
    int AddItem(const std::wstring& text, const std::function<void(int)>& onTriggered, int flags);
    int InsertItem(int index, const std::wstring& text, const std::function<void()>& onTriggered, int flags);
    int InsertItem(int index, const std::wstring& text, const std::function<void(int)>& onTriggered, int flags);
    int InsertItem(int index, ItemData& data);
    int AddSeparator();
    int InsertSeparator(int index);
    std::shared_ptr<ContextMenu> AddSubmenu(const std::wstring& text, const std::wstring& toolTip);
    std::shared_ptr<ContextMenu> InsertSubmenu(int index, const std::wstring& text, const std::wstring& toolTip);
    std::shared_ptr<ContextMenu> CreateSubmenu(const std::wstring& text);
    int GetNextID();
    QPointer<ContextMenuQt> GetCtrl() const { return m_widget; }

    bool RemoveItem(int id);
    bool RemoveRecursiveFromInternalData(int id);
    bool EnableItem(int id, bool enable);
    bool IsEnabledItem(int id);
    bool CheckItem(int id, bool check);
    bool IsCheckedItem(int id);
    int Count() const;
    int GetMenuItemIndex(int id) const;
    int FindMenuItem(int id) const { return GetMenuItemIndex(id); }
    int GetMenuItemID(int index) const;
    QAction* GetMenuItemAction(int id) const;
    int GetItemFlags(int id) const;
    ItemData* GetItemDataByID(int id);
    std::list<int> ItemsDisabledIfReadOnly() const { return ItemsWithFlag(ItemData::DisabledIfReadOnly); }
    std::list<int> ItemsDisabledIfEmptyClipBoard() const
    {
        return ItemsWithFlag(ItemData::DisabledIfEmptyClipBoard);
    }
    std::list<int> ItemsCheckable() const { return ItemsWithFlag(ItemData::Checkable); }
    std::list<int> ItemsChecked() const;
    void SetItemToolTip(int id, const std::wstring& text);
    void SetToolTipMaxWidth(int width);
    void AddPictureToItem(int id, const std::wstring& path, int, BitmapType, bool forChecked);
    void AddPictureToItem(int id, const unsigned char* data, int size, ImageTypes, int, BitmapType, bool forChecked);
    void SetPictureData(ItemData& data, QAction& action, QImage& image, bool forChecked);
    void ShowPopup();
    void ShowPopup(int x, int y);
    void HidePopup();
    void RefreshActionImage(QAction* action);

private:
    std::list<int> ItemsWithFlag(int flag) const;
    bool HasEntryWithText(const std::wstring& text) const;
    // The action before which an entry at `index` goes, null to append.
    QAction* ActionAt(int index) const;
    std::shared_ptr<ContextMenu> AddSubmenuEntry(const std::shared_ptr<ContextMenu>& child, QAction* action,
                                                 const std::wstring& text, const std::wstring& toolTip);
    void Popup(const QPoint& globalPos);

    QPointer<ContextMenuQt> m_widget;
    std::vector<ItemData> m_items;
    impl* m_parent = nullptr;
    std::uint32_t m_nextID = 0;
    // Expires with this object: a callback run inside exec may discard the menu.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace AUILib
