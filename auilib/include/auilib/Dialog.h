#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"

#include <QRect>

#include <memory>
#include <string>

namespace AUILib {

class Button;

// A window built at run time from a form file: every widget of the form that the object factory
// knows becomes a control, kept under its object name. Applications derive from it, fetch their
// controls in InitializeControls and run the window modally, modelessly or embedded.
class Dialog : public BaseGUIObject
{
public:
    class impl;

    enum DoneState { Cancel = 0, OK = 1 };

    // flags 0 stands for GetDefaultDialogStyle(); other values are Qt::WindowFlags. Throws
    // AgnosticUIException "Create from ui fails" when the form cannot be read or built.
    Dialog(const std::wstring& uiPath, QWidget* parent = nullptr, unsigned long flags = 0, double screenShare = 1.0,
           const std::wstring& unused = std::wstring());
    ~Dialog() override;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // A title, a system menu and a close button.
    static unsigned long GetDefaultDialogStyle() { return 0x08003003; }

    // Asked before the window closes with `result`; -1 keeps it open.
    virtual int FilterDone(int result);
    virtual void ShowButKeepHiddenChildren(bool show);
    virtual void CreateTabWindow(QWidget* parent, bool);
    // Puts the window in the place of another control.
    virtual void CreateTabWindowEx(BaseGUIObject* placeholder, bool);
    // Run each time the window is about to be shown.
    virtual bool InitializeControls();
    virtual void SetIcon(const std::wstring& path, bool);
    // Null data or a length below 1 sets an empty icon.
    virtual void SetIcon(const unsigned char* data, int length, ImageTypes type, bool);

    bool Create(QWidget* parent) override;
    void Show(bool show, bool repaint) override;
    void Enable(bool enable, bool recursive) override;
    void Update() override;
    void Update(const Region& region) override;
    void Repaint() override;
    void Repaint(const Region& region) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    std::shared_ptr<BaseGUIObject> GetElementByName(const std::wstring& name) const;
    // Null when there is no such control or it is of another class.
    template <typename T>
    T GetControlPtr(const std::wstring& name) const
    {
        return dynamic_cast<T>(GetElementByName(name).get());
    }

    // Sizes a window whose content scrolls just large enough for it, within the screen share.
    void ResizeDialogAccordingScreen(BaseGUIObject* content);
    // 0 when the window is gone.
    int DoModal();
    void DoModeless(bool stayOnTop);
    void DoModeless(QWidget* parent, bool stayOnTop);
    // Throws AgnosticUIException "Invalid Control!" when the window is gone.
    void Done(DoneState state);
    void SetWindowTitle(const std::wstring& title);
    QWidget* GetWndPtr() const;
    QWidget* GetHandle() const;
    // A rich-text tip with a bold title, broken into lines no wider than maxWidth (when 1 or more),
    // shown over the control (or the window) or over *area.
    void SetToolTip(const std::shared_ptr<BaseGUIObject>& control, const std::wstring& text, const std::wstring& title,
                    int maxWidth, QRect* area, bool);
    // Null: no push button is the default, also after later shows.
    void SetDefaultButton(Button* button);
    void SetFocusToCtrl(BaseGUIObject* control);
    std::shared_ptr<BaseGUIObject> GetFocusedCtrlPtr();
    void SetBackgroundColor(int rgb);
    int GetBackgroundColor();
    void SetUIPath(const std::wstring& path) { m_uiPath = path; }
    void UpdateWindow();
    void SetSkinManager(const SkinManager&, bool) {}
    // 0 restores the cursor, 1 the custom cursor, others the platform's shape; all on the override stack.
    void SetCursorType(CursorTypes type);
    bool LoadCustomCursor(const std::wstring& path, int hotX, int hotY);
    // PNG only.
    bool LoadCustomCursor(const unsigned char* data, int length, int hotX, int hotY, ImageTypes type);

    // Fired by no operation of the library.
    HandlerList<> OnReserved;
    // Fired on every resize of the window.
    HandlerList<> OnResize;

private:
    double m_screenShare;
    std::wstring m_uiPath;
    std::wstring m_unused;
    bool m_modal = false;
    std::shared_ptr<impl> m_impl;
    bool m_screenFitted = false;
};

} // namespace AUILib
