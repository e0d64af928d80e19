#pragma once

#include "ControlTypes.h"
#include "PromptsPopup.h"

#include <QPoint>

#include <cstdint>
#include <string>

class QWidget;

namespace AUILib {

// What every control's implementation does for the public control; BaseImplQt carries it out on
// a Qt widget. The public operations of BaseGUIObject forward here.
class BaseImpl
{
public:
    virtual void Show(bool show, bool repaint) = 0;
    virtual bool IsVisible() = 0;
    virtual void Enable(bool enable, bool recursive) = 0;
    virtual bool IsEnabled() = 0;
    virtual int GetLogicalPixelsX() = 0;
    virtual int GetLogicalPixelsY() = 0;
    virtual Rect GetWindowRect() = 0;
    virtual Rect GetClientRect() = 0;
    virtual Point ScreenToClient(Point point) = 0;
    virtual Point ClientToScreen(Point point) = 0;
    virtual Size IdealSize() = 0;
    virtual Size MinimumIdealSize() = 0;
    virtual Size MinimumSize() = 0;
    virtual Size MaximumSize() = 0;
    virtual void SetMinimumSize(const Size& size) = 0;
    virtual void SetMaximumSize(const Size& size) = 0;
    virtual void MoveWindow(int x, int y, int width, int height, bool repaint) = 0;
    virtual int GetFrameWidth() = 0;
    virtual int SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned id) = 0;
    virtual void Update() = 0;
    virtual void Update(const Region& region) = 0;
    virtual void Repaint() = 0;
    virtual void Repaint(const Region& region) = 0;
    virtual SizePolicy GetSizePolicy() = 0;
    virtual void SetSizePolicy(const SizePolicy& policy) = 0;
    virtual void SetAcceptDrops(bool accept) = 0;
    virtual bool IsAcceptDrops() = 0;
    virtual void SetTrackMouseEvent() = 0;
    virtual bool IsTrackMouseEvent() = 0;
    virtual void SetTrackMouseFlag(bool track) = 0;
    virtual int GetWidthForText(std::wstring& text, FontData* font) = 0;
    virtual bool ShowBalloonTipEx(const std::wstring& text, const std::wstring& iconPath, bool, bool keepShown) = 0;
    virtual bool ShowBalloonTipEx(const std::wstring& text, const unsigned char* data, int length, bool,
                                  bool keepShown) = 0;
    virtual bool ShowBalloonTipEx(const std::wstring& text, BalloonTipIconType icon, bool, bool keepShown) = 0;
    virtual bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const std::wstring& iconPath,
                                  bool, bool keepShown) = 0;
    virtual bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const unsigned char* data,
                                  int length, bool, bool keepShown) = 0;
    virtual bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon,
                                  bool, bool keepShown) = 0;
    virtual bool HideBalloonTipEx() = 0;
    virtual bool IsBalloonTipDisplayed() = 0;
    // Called by the skin manager when its colours change.
    virtual void OnSkinColorChanged() {}
    // A tool tip for the widget at a global position; true when one was shown.
    virtual bool ShowToolTip(QPoint globalPos) = 0;
    virtual ~BaseImpl() = default;
    // The widget, null once it is destroyed.
    virtual QWidget* GetWidget() = 0;
    virtual bool Create(QWidget* parent) = 0;
    virtual void Hook() = 0;
    virtual std::int32_t* GetReserved() = 0;
};

} // namespace AUILib
