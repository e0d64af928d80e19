#include "BaseGUIObject.h"

#include "AUILibConfig.h"
#include "BaseImpl.h"

namespace AUILib {

BaseGUIObject::BaseGUIObject() = default;

BaseGUIObject::~BaseGUIObject() = default;

Size BaseGUIObject::IdealSize()
{
    return GetBaseImpl()->IdealSize();
}

Size BaseGUIObject::MinimumIdealSize()
{
    return GetBaseImpl()->MinimumIdealSize();
}

Size BaseGUIObject::MinimumSize()
{
    return GetBaseImpl()->MinimumSize();
}

Size BaseGUIObject::MaximumSize()
{
    return GetBaseImpl()->MaximumSize();
}

void BaseGUIObject::Show(bool show, bool repaint)
{
    GetBaseImpl()->Show(show, repaint);
}

bool BaseGUIObject::IsVisible()
{
    return GetBaseImpl()->IsVisible();
}

void BaseGUIObject::Enable(bool enable, bool recursive)
{
    GetBaseImpl()->Enable(enable, recursive);
}

bool BaseGUIObject::IsEnabled()
{
    return GetBaseImpl()->IsEnabled();
}

void BaseGUIObject::MoveWindow(int x, int y, int width, int height, bool repaint)
{
    GetBaseImpl()->MoveWindow(x, y, width, height, repaint);
}

void BaseGUIObject::MoveWindowUnscaled(int x, int y, int width, int height, bool repaint)
{
    GetBaseImpl()->MoveWindow(x, y, width, height, repaint);
}

void BaseGUIObject::Update()
{
    GetBaseImpl()->Update();
}

void BaseGUIObject::Update(const Region& region)
{
    GetBaseImpl()->Update(region);
}

void BaseGUIObject::Repaint()
{
    GetBaseImpl()->Repaint();
}

void BaseGUIObject::Repaint(const Region& region)
{
    GetBaseImpl()->Repaint(region);
}

int BaseGUIObject::GetLogicalPixelsX()
{
    return GetBaseImpl()->GetLogicalPixelsX();
}

int BaseGUIObject::GetLogicalPixelsY()
{
    return GetBaseImpl()->GetLogicalPixelsY();
}

Rect BaseGUIObject::GetWindowRect()
{
    return GetBaseImpl()->GetWindowRect();
}

Rect BaseGUIObject::GetWindowRectUnscaled()
{
    return GetBaseImpl()->GetWindowRect();
}

Rect BaseGUIObject::GetClientRect()
{
    return GetBaseImpl()->GetClientRect();
}

Point BaseGUIObject::ScreenToClient(Point point)
{
    return GetBaseImpl()->ScreenToClient(point);
}

Point BaseGUIObject::ClientToScreen(Point point)
{
    return GetBaseImpl()->ClientToScreen(point);
}

QWidget* BaseGUIObject::GetParentWindow()
{
    return m_parentWindow;
}

void BaseGUIObject::SetParentWindow(QWidget* parent)
{
    m_parentWindow = parent;
}

void BaseGUIObject::SetUserData(std::uint64_t data)
{
    m_userData = data;
}

std::uint64_t BaseGUIObject::GetUserData()
{
    return m_userData;
}

int BaseGUIObject::SetTimer(unsigned id, unsigned milliseconds)
{
    return GetBaseImpl()->SetTimer(id, milliseconds);
}

void BaseGUIObject::KillTimer(unsigned id)
{
    GetBaseImpl()->KillTimer(id);
}

SizePolicy BaseGUIObject::GetSizePolicy() const
{
    return GetBaseImpl()->GetSizePolicy();
}

void BaseGUIObject::SetSizePolicy(const SizePolicy& policy)
{
    GetBaseImpl()->SetSizePolicy(policy);
}

SkinManager* BaseGUIObject::GetSkinManager()
{
    return GetGlobalSkinManager();
}

bool BaseGUIObject::SetSkinMode(SkinMode, bool)
{
    return false;
}

int BaseGUIObject::GetFrarmeWidth()
{
    return GetBaseImpl()->GetFrameWidth();
}

void BaseGUIObject::SetMinimumSize(const Size& size)
{
    GetBaseImpl()->SetMinimumSize(size);
}

void BaseGUIObject::SetMaximumSize(const Size& size)
{
    GetBaseImpl()->SetMaximumSize(size);
}

void BaseGUIObject::SetAcceptDrops(bool accept)
{
    GetBaseImpl()->SetAcceptDrops(accept);
}

bool BaseGUIObject::IsAcceptDrops()
{
    return GetBaseImpl()->IsAcceptDrops();
}

void BaseGUIObject::SetTrackMouseEvent()
{
    GetBaseImpl()->SetTrackMouseEvent();
}

int BaseGUIObject::GetWidthForText(std::wstring& text, FontData* font)
{
    return GetBaseImpl()->GetWidthForText(text, font);
}

bool BaseGUIObject::ShowBalloonTipEx(const std::wstring& text, const std::wstring& iconPath, bool unused,
                                     bool keepShown)
{
    return GetBaseImpl()->ShowBalloonTipEx(text, iconPath, unused, keepShown);
}

bool BaseGUIObject::ShowBalloonTipEx(const std::wstring& text, const unsigned char* data, int length, bool unused,
                                     bool keepShown)
{
    return GetBaseImpl()->ShowBalloonTipEx(text, data, length, unused, keepShown);
}

bool BaseGUIObject::ShowBalloonTipEx(const std::wstring& text, BalloonTipIconType icon, bool unused,
                                     bool keepShown)
{
    return GetBaseImpl()->ShowBalloonTipEx(text, icon, unused, keepShown);
}

bool BaseGUIObject::ShowBalloonTipEx(const std::wstring& title, const std::wstring& text,
                                     const std::wstring& iconPath, bool unused, bool keepShown)
{
    return GetBaseImpl()->ShowBalloonTipEx(title, text, iconPath, unused, keepShown);
}

bool BaseGUIObject::ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const unsigned char* data,
                                     int length, bool unused, bool keepShown)
{
    return GetBaseImpl()->ShowBalloonTipEx(title, text, data, length, unused, keepShown);
}

bool BaseGUIObject::ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon,
                                     bool unused, bool keepShown)
{
    return GetBaseImpl()->ShowBalloonTipEx(title, text, icon, unused, keepShown);
}

bool BaseGUIObject::HideBalloonTipEx()
{
    return GetBaseImpl()->HideBalloonTipEx();
}

bool BaseGUIObject::IsBalloonTipDisplayed()
{
    return GetBaseImpl()->IsBalloonTipDisplayed();
}

QWidget* BaseGUIObject::GetPlatformHandle() const
{
    return GetBaseImpl()->GetWidget();
}

QWidget* BaseGUIObject::GetPlatformWindow() const
{
    return GetBaseImpl()->GetWidget();
}

void BaseGUIObject::SetEventProcedure(const EventProcedureFunction& procedure)
{
    EventProcedureFunction copy = procedure;
    m_eventProcedure.swap(copy);
}

void BaseGUIObject::SetPreTranslateMessage(const PreTranslateFunction& procedure)
{
    PreTranslateFunction copy = procedure;
    m_preTranslate.swap(copy);
}

std::shared_ptr<PromptsPopup> BaseGUIObject::InsertPromptsPopup(const std::wstring& text, int unused,
                                                                int timeoutMs, bool closeOnInput)
{
    m_promptsPopup = std::make_shared<PromptsPopup>();
    m_promptsPopup->Create(GetPlatformHandle(), text, unused, timeoutMs, closeOnInput);
    return m_promptsPopup;
}

void BaseGUIObject::ShowPromptsPopup(const std::shared_ptr<PromptsPopup>& popup, bool show)
{
    if (popup)
        popup->Show(show, -1, -1);
}

void BaseGUIObject::InsertContextMenu(const std::shared_ptr<ContextMenu>& menu)
{
    m_contextMenu = menu;
}

void BaseGUIObject::RemoveContextMenu()
{
    m_contextMenu.reset();
}

std::shared_ptr<ContextMenu> BaseGUIObject::GetContextMenu() const
{
    return m_contextMenu;
}

} // namespace AUILib
