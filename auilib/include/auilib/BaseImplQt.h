#pragma once

#include "BaseImpl.h"

#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace AUILib {

class BaseGUIObject;
class PromptsPopup;

// Qt base of every control's implementation. A control's implementation owns its widget only
// until a parent takes it: the widget may outlive the control, so the implementation's
// destructor (through ReleaseWidget) cuts the widget's ties to it first.
class BaseImplQt : public BaseImpl
{
public:
    struct ToolTipData
    {
        QString unused;
        QString text; // rich text shown as the tip
        QRect area;   // where the tip applies, in the widget's coordinates, edges included
    };

    struct ToolTipRecord
    {
        std::shared_ptr<BaseGUIObject> control;
        std::unique_ptr<ToolTipData> data;
    };

    BaseImplQt();
    ~BaseImplQt() override;
    BaseImplQt(const BaseImplQt&) = delete;
    BaseImplQt& operator=(const BaseImplQt&) = delete;

    void Show(bool show, bool repaint) override;
    bool IsVisible() override;
    void Enable(bool enable, bool recursive) override;
    bool IsEnabled() override;
    int GetLogicalPixelsX() override;
    int GetLogicalPixelsY() override;
    Rect GetWindowRect() override;
    Rect GetClientRect() override;
    Point ScreenToClient(Point point) override;
    Point ClientToScreen(Point point) override;
    Size IdealSize() override;
    Size MinimumIdealSize() override;
    Size MinimumSize() override;
    Size MaximumSize() override;
    void SetMinimumSize(const Size& size) override;
    void SetMaximumSize(const Size& size) override;
    void MoveWindow(int x, int y, int width, int height, bool repaint) override;
    int GetFrameWidth() override;
    int SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    void Update() override;
    void Update(const Region& region) override;
    void Repaint() override;
    void Repaint(const Region& region) override;
    SizePolicy GetSizePolicy() override;
    void SetSizePolicy(const SizePolicy& policy) override;
    void SetAcceptDrops(bool accept) override;
    bool IsAcceptDrops() override;
    void SetTrackMouseEvent() override;
    bool IsTrackMouseEvent() override;
    void SetTrackMouseFlag(bool track) override;
    int GetWidthForText(std::wstring& text, FontData* font) override;
    bool ShowBalloonTipEx(const std::wstring& text, const std::wstring& iconPath, bool, bool keepShown) override;
    bool ShowBalloonTipEx(const std::wstring& text, const unsigned char* data, int length, bool,
                          bool keepShown) override;
    bool ShowBalloonTipEx(const std::wstring& text, BalloonTipIconType icon, bool, bool keepShown) override;
    bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const std::wstring& iconPath, bool,
                          bool keepShown) override;
    bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, const unsigned char* data,
                          int length, bool, bool keepShown) override;
    bool ShowBalloonTipEx(const std::wstring& title, const std::wstring& text, BalloonTipIconType icon, bool,
                          bool keepShown) override;
    bool HideBalloonTipEx() override;
    bool IsBalloonTipDisplayed() override;
    bool ShowToolTip(QPoint globalPos) override;
    bool Create(QWidget* parent) override;
    void Hook() override {}
    std::int32_t* GetReserved() override { return &m_reserved; }

    // Enables or disables the widget and every widget below it.
    static void EnableRecursive(QWidget* widget, bool enable);

    // Set by a control's implementation while it changes its widget's content itself.
    bool IsProgrammaticChange() const { return m_programmaticChange != 0; }
    void SetProgrammaticChange(bool on) { m_programmaticChange = on ? 1 : 0; }

    std::vector<ToolTipRecord>& ToolTips() { return m_toolTips; }

protected:
    // The widget, or AgnosticUIException "Control is not valid." when it is gone.
    QWidget* RequireWidget();
    // Keeps a connection made to the widget so that ReleaseWidget can cut it.
    void TrackConnection(const QMetaObject::Connection& connection);
    // For the implementation's destructor: cuts the tracked connections and deletes the widget
    // when no parent has taken it; a widget with a parent lives on as a plain Qt widget.
    void ReleaseWidget(QWidget* widget);

private:
    bool ShowBalloonTip(const std::wstring* title, const std::wstring& text,
                        const std::function<void(PromptsPopup&)>& setIcon, bool fromPicture, bool keepShown);

    unsigned char m_programmaticChange = 0;
    std::vector<ToolTipRecord> m_toolTips;
    std::int32_t m_reserved = 0;
    QRect m_rememberedGeometry;
    unsigned char m_trackMouse = 0;
    unsigned char m_acceptDrops = 0;
    std::shared_ptr<PromptsPopup> m_balloonTip;
    std::vector<QMetaObject::Connection> m_connections;
};

} // namespace AUILib
