#pragma once

#include "AUILibUtils.h"
#include "RGBColor.h"

#include <QString>

#include <functional>
#include <list>
#include <memory>
#include <string>

class QImage;
class QWidget;

namespace AUILib {

class ContextMenu;
class SkinManager;

// One entry of a menu: an item, a separator or a submenu item.
struct ItemData
{
    enum Flags : std::int32_t {
        DisabledIfReadOnly = 1,
        DisabledIfEmptyClipBoard = 2,
        Checkable = 4,
        Checked = 8, // only together with Checkable
    };

    std::function<void()> onTriggered;
    std::function<void(int)> onTriggeredWithID;
    std::wstring text;
    std::int32_t flags = 0;
    std::shared_ptr<ContextMenu> submenu;
    std::int32_t ID = -1;
    std::shared_ptr<QImage> checkedPicture;
    std::shared_ptr<QImage> picture;
};

// A pop-up menu whose entries are addressed by IDs unique within the whole menu tree. Empty until
// Create; a second Create discards the earlier menu.
class ContextMenu
{
public:
    class impl;

    ContextMenu();
    virtual ~ContextMenu();
    ContextMenu(const ContextMenu&) = delete;
    ContextMenu& operator=(const ContextMenu&) = delete;

    virtual bool Create(QWidget* parent);
    // True: shows the menu at the pointer and returns when it closes; false: closes it.
    virtual void Show(bool show);
    // Shows the menu at a global point and returns when it closes.
    virtual void Show(int x, int y);
    // The new entry's ID, or -1: empty callback, no menu, or an entry of this menu with the same text.
    virtual int AddItem(const std::wstring& text, const std::function<void()>& onTriggered, int flags);
    virtual int AddItem(const std::wstring& text, const std::function<void(int)>& onTriggered, int flags);
    virtual int InsertItem(int index, const std::wstring& text, const std::function<void()>& onTriggered, int flags);
    virtual int InsertItem(int index, const std::wstring& text, const std::function<void(int)>& onTriggered,
                           int flags);
    virtual int AddSeparator();
    virtual int InsertSeparator(int index);
    // Also in the submenus; the entry's tool tip stays.
    virtual bool RemoveItem(int id);
    virtual bool EnableItem(int id, bool enable);
    virtual bool IsEnabledItem(int id);
    // Entries of this menu, not of its submenus; -1 without a menu.
    virtual int Count();
    virtual int GetMenuItemIndex(int id);
    virtual int GetMenuItemID(int index);
    virtual bool CheckItem(int id, bool check);
    virtual bool IsCheckedItem(int id);
    // The first picture given for a state stays.
    virtual void AddPictureToItem(int id, const std::wstring& path, bool forChecked, int unused, BitmapType);
    virtual void AddPictureToItem(int id, const unsigned char* data, int size, ImageTypes, int unused, BitmapType,
                                  bool forChecked);

    std::shared_ptr<ContextMenu> AddSubmenu(const std::wstring& text, const std::wstring& toolTip);
    // Empty when `index` is not an existing entry's position.
    std::shared_ptr<ContextMenu> InsertSubmenu(int index, const std::wstring& text, const std::wstring& toolTip);
    std::list<int> ItemsDisabledIfReadOnly();
    std::list<int> ItemsDisabledIfEmptyClipBoard();
    std::list<int> ItemsCheckable();
    std::list<int> ItemsChecked();
    int GetItemFlags(int id);
    // An empty text keeps the earlier tool tip.
    void SetItemToolTip(int id, const std::wstring& text);
    // Kept only within 51..32766.
    void SetToolTipMaxWidth(int width);
    SkinManager* GetSkinManager();

    impl* GetImpl() const { return m_impl.get(); }

private:
    std::unique_ptr<impl> m_impl;
};

// The tool tip's rich text, held to `maxWidth` pixels; a width below 1 leaves the text as it is.
QString FormatToolTipText(const std::wstring& text, int maxWidth);

} // namespace AUILib
