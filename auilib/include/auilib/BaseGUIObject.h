#pragma once

#include "AUIObject.h"
#include "ControlTypes.h"
#include "HandlerList.h"
#include "PromptsPopup.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace AUILib {

class BaseImpl;
class ContextMenu;
class SkinManager;
struct Event;
enum class SkinMode : std::int32_t;

// Base of every control: what callers hold. Its operations never touch Qt themselves; each forwards
// to the control's implementation (GetBaseImpl), which keeps the widget.
class BaseGUIObject : public AUIObject
{
public:
    using EventProcedureFunction = std::function<bool(BaseGUIObject*, Event*)>;
    using PreTranslateFunction = std::function<int(void*)>;

    BaseGUIObject();
    ~BaseGUIObject() override;

    virtual bool Create(QWidget* parent) = 0;
    virtual Size IdealSize();
    virtual Size MinimumIdealSize();
    virtual Size MinimumSize();
    virtual Size MaximumSize();
    virtual void Show(bool show, bool repaint);
    virtual bool IsVisible();
    virtual void Enable(bool enable, bool recursive);
    virtual bool IsEnabled();
    virtual void MoveWindow(int x, int y, int width, int height, bool repaint);
    // All coordinates are Qt's device-independent pixels: the unscaled twins equal the scaled ones.
    virtual void MoveWindowUnscaled(int x, int y, int width, int height, bool repaint);
    virtual void Update();
    virtual void Update(const Region& region);
    virtual void Repaint();
    virtual void Repaint(const Region& region);
    virtual int GetLogicalPixelsX();
    virtual int GetLogicalPixelsY();
    virtual Rect GetWindowRect();
    virtual Rect GetWindowRectUnscaled();
    virtual Rect GetClientRect();
    virtual Point ScreenToClient(Point point);
    virtual Point ClientToScreen(Point point);
    virtual QWidget* GetParentWindow();
    // Only stored: nothing is reparented.
    virtual void SetParentWindow(QWidget* parent);
    virtual void SetUserData(std::uint64_t data);
    virtual std::uint64_t GetUserData();
    virtual std::shared_ptr<BaseImpl> GetBaseImpl() const = 0;
    // Returns Qt's timer id, which timer events carry and KillTimer takes; `id` is not used.
    virtual int SetTimer(unsigned id, unsigned milliseconds);
    virtual void KillTimer(unsigned id);
    virtual SizePolicy GetSizePolicy() const;
    virtual void SetSizePolicy(const SizePolicy& policy);
    virtual SkinManager* GetSkinManager();
    // A control has no skin of its own.
    virtual bool SetSkinMode(SkinMode mode, bool);

    int GetFrarmeWidth();
    void SetMinimumSize(const Size& size);
    void SetMaximumSize(const Size& size);
    void SetAcceptDrops(bool accept);
    bool IsAcceptDrops();
    void SetTrackMouseEvent();
    int GetWidthForText(std::wstring& text, FontData* font);
    bool ShowBalloonTipEx(const std::wstring& text, const std::wstring& iconPath, bool unused, bool keepShown);
    bool ShowBalloonTipEx(const std::wstring& text, const unsigned char* data, int length, bool unused,
                          bool keepShown);
    bool ShowBalloonTipEx(const std::wstring& text, BalloonTipIconType icon, bool unused, bool keepShown);
    bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const std::wstring& iconPath,
                          bool unused, bool keepShown);
    bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const unsigned char* data,
                          int length, bool unused, bool keepShown);
    bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon,
                          bool unused, bool keepShown);
    bool HideBalloonTipEx();
    bool IsBalloonTipDisplayed();

    // The widget, null once it is gone.
    QWidget* GetPlatformHandle() const;
    QWidget* GetPlatformWindow() const;

    const EventProcedureFunction& EventProcedure() const { return m_eventProcedure; }
    void SetEventProcedure(const EventProcedureFunction& procedure);
    const PreTranslateFunction& PreTranslateMessage() const { return m_preTranslate; }
    void SetPreTranslateMessage(const PreTranslateFunction& procedure);

    // Replaces the attached pop-up with a new one anchored at the widget.
    std::shared_ptr<PromptsPopup> InsertPromptsPopup(const std::wstring& text, int unused, int timeoutMs,
                                                     bool closeOnInput);
    void ShowPromptsPopup(const std::shared_ptr<PromptsPopup>& popup, bool show);

    void InsertContextMenu(const std::shared_ptr<ContextMenu>& menu);
    void RemoveContextMenu();
    std::shared_ptr<ContextMenu> GetContextMenu() const;

    // The widget's object name, stored by the form builder.
    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }
    ControlType GetControlType() const { return m_controlType; }

    // Fired with the control when the widget of a form's control is destroyed.
    HandlerList<BaseGUIObject*> OnDestroyed;

protected:
    void SetControlType(ControlType type) { m_controlType = type; }

private:
    std::wstring m_name;
    ControlType m_controlType = ControlType::Base;
    QWidget* m_parentWindow = nullptr;
    EventProcedureFunction m_eventProcedure;
    PreTranslateFunction m_preTranslate;
    std::uint64_t m_userData = 0;
    std::shared_ptr<PromptsPopup> m_promptsPopup;
    std::shared_ptr<ContextMenu> m_contextMenu;
};

} // namespace AUILib
