#include "ContextMenu.h"

#include "AUILibConfig.h"
#include "ContextMenuImpl.h"

namespace AUILib {

ContextMenu::ContextMenu() = default;

ContextMenu::~ContextMenu() = default;

bool ContextMenu::Create(QWidget* parent)
{
    QWidget* widget = AUILibUtils::GetWndPtrFromHandle(parent);
    if (!widget)
        return false;
    m_impl = std::make_unique<impl>(widget);
    return true;
}

void ContextMenu::Show(bool show)
{
    if (!m_impl)
        return;
    if (show)
        m_impl->ShowPopup();
    else
        m_impl->HidePopup();
}

void ContextMenu::Show(int x, int y)
{
    if (m_impl)
        m_impl->ShowPopup(x, y);
}

int ContextMenu::AddItem(const std::wstring& text, const std::function<void()>& onTriggered, int flags)
{
    return m_impl && onTriggered ? m_impl->AddItem(text, onTriggered, flags) : -1;
}

int ContextMenu::AddItem(const std::wstring& text, const std::function<void(int)>& onTriggered, int flags)
{
    return m_impl && onTriggered ? m_impl->AddItem(text, onTriggered, flags) : -1;
}

int ContextMenu::InsertItem(int index, const std::wstring& text, const std::function<void()>& onTriggered,
                            int flags)
{
    return m_impl && onTriggered ? m_impl->InsertItem(index, text, onTriggered, flags) : -1;
}

int ContextMenu::InsertItem(int index, const std::wstring& text, const std::function<void(int)>& onTriggered,
                            int flags)
{
    return m_impl && onTriggered ? m_impl->InsertItem(index, text, onTriggered, flags) : -1;
}

int ContextMenu::AddSeparator()
{
    return m_impl ? m_impl->AddSeparator() : -1;
}

int ContextMenu::InsertSeparator(int index)
{
    return m_impl ? m_impl->InsertSeparator(index) : -1;
}

bool ContextMenu::RemoveItem(int id)
{
    return m_impl && m_impl->RemoveItem(id);
}

bool ContextMenu::EnableItem(int id, bool enable)
{
    return m_impl && m_impl->EnableItem(id, enable);
}

bool ContextMenu::IsEnabledItem(int id)
{
    return m_impl && m_impl->IsEnabledItem(id);
}

int ContextMenu::Count()
{
    return m_impl ? m_impl->Count() : -1;
}

int ContextMenu::GetMenuItemIndex(int id)
{
    return m_impl ? m_impl->GetMenuItemIndex(id) : -1;
}

int ContextMenu::GetMenuItemID(int index)
{
    return m_impl ? m_impl->GetMenuItemID(index) : -1;
}

bool ContextMenu::CheckItem(int id, bool check)
{
    return m_impl && m_impl->CheckItem(id, check);
}

bool ContextMenu::IsCheckedItem(int id)
{
    return m_impl && m_impl->IsCheckedItem(id);
}

void ContextMenu::AddPictureToItem(int id, const std::wstring& path, bool forChecked, int unused, BitmapType type)
{
    if (m_impl)
        m_impl->AddPictureToItem(id, path, unused, type, forChecked);
}

void ContextMenu::AddPictureToItem(int id, const unsigned char* data, int size, ImageTypes imageType, int unused,
                                   BitmapType type, bool forChecked)
{
    if (m_impl)
        m_impl->AddPictureToItem(id, data, size, imageType, unused, type, forChecked);
}

std::shared_ptr<ContextMenu> ContextMenu::AddSubmenu(const std::wstring& text, const std::wstring& toolTip)
{
    return m_impl ? m_impl->AddSubmenu(text, toolTip) : nullptr;
}

std::shared_ptr<ContextMenu> ContextMenu::InsertSubmenu(int index, const std::wstring& text,
                                                        const std::wstring& toolTip)
{
    return m_impl ? m_impl->InsertSubmenu(index, text, toolTip) : nullptr;
}

std::list<int> ContextMenu::ItemsDisabledIfReadOnly()
{
    return m_impl ? m_impl->ItemsDisabledIfReadOnly() : std::list<int>();
}

std::list<int> ContextMenu::ItemsDisabledIfEmptyClipBoard()
{
    return m_impl ? m_impl->ItemsDisabledIfEmptyClipBoard() : std::list<int>();
}

std::list<int> ContextMenu::ItemsCheckable()
{
    return m_impl ? m_impl->ItemsCheckable() : std::list<int>();
}

std::list<int> ContextMenu::ItemsChecked()
{
    return m_impl ? m_impl->ItemsChecked() : std::list<int>();
}

int ContextMenu::GetItemFlags(int id)
{
    return m_impl ? m_impl->GetItemFlags(id) : 0;
}

void ContextMenu::SetItemToolTip(int id, const std::wstring& text)
{
    if (m_impl)
        m_impl->SetItemToolTip(id, text);
}

void ContextMenu::SetToolTipMaxWidth(int width)
{
    if (m_impl)
        m_impl->SetToolTipMaxWidth(width);
}

SkinManager* ContextMenu::GetSkinManager()
{
    return GetGlobalSkinManager();
}

} // namespace AUILib
