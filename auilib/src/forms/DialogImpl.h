#pragma once

#include "BaseImplQt.h"
#include "Dialog.h"
#include "DialogQt.h"
#include "EventHelper.h"

#include <QCursor>
#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace AUILib {

class Dialog::impl : public QObject, public BaseImplQt
{
    Q_OBJECT
public:
    impl(Dialog* owner, unsigned long flags, QWidget* parent);
    ~impl() override;

    QWidget* GetWidget() override { return Window(); }
    Point ScreenToClient(Point point) override;
    Point ClientToScreen(Point point) override;

    // Once the window is gone these do nothing and answer 0, false or an empty value, where a
    // control's would throw.
    bool IsVisible() override;
    bool IsEnabled() override;
    int GetLogicalPixelsX() override;
    int GetLogicalPixelsY() override;
    Rect GetWindowRect() override;
    Rect GetClientRect() override;
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
    SizePolicy GetSizePolicy() override;
    void SetSizePolicy(const SizePolicy& policy) override;
    int GetWidthForText(std::wstring& text, FontData* font) override;

    // Reads the enciphered form file and builds from its text.
    bool CreateFromUI(const std::wstring& uiPath, QWidget* parent);
    bool CreateFromUI(const std::wstring& form, unsigned long, QWidget* parent);

    // Under `name` unless the name is taken: a later control of the same name stays alive unnamed.
    void RegisterElement(const std::wstring& name, const std::shared_ptr<BaseGUIObject>& control);
    std::shared_ptr<BaseGUIObject> GetElementByName(const std::wstring& name) const;
    // The control whose widget is `widget`, named or not.
    std::shared_ptr<BaseGUIObject> ElementOfWidget(const QWidget* widget) const;
    // Bridges the widget's events and, for a control's widget, reports its end through the control;
    // the control, or null.
    std::shared_ptr<BaseGUIObject> PrepareWidget(QWidget* widget);
    // The window until the form's root takes it; the loader hands it out once.
    DialogQt* TakeWindowForRoot();

    // Null once the window is gone or going.
    DialogQt* Window() const { return qobject_cast<DialogQt*>(m_window.data()); }
    Dialog* Owner() const { return m_owner; }
    EventHelper* Helper() const { return m_helper.get(); }
    unsigned long Flags() const { return m_flags; }
    bool IsDefaultButtonFlag() const { return m_defaultButton; }
    void SetDefaultButtonFlag(bool on) { m_defaultButton = on; }
    // The dialog is going: the window, the bridge and the implementation stop reaching it.
    void DetachOwner();

    bool Close();
    void SetBackgroundColor(int rgb);
    int GetBackgroundColor();
    void SetCursorType(CursorTypes type);
    void SetWindowsToStayOnTop();
    void applicationStateChanged(Qt::ApplicationState state);
    bool LoadCustomCursor(const std::wstring& path, int hotX, int hotY);
    bool LoadCustomCursor(const unsigned char* data, int length, int hotX, int hotY, ImageTypes type);
    void DisconnectApp();
    void SetIcon(const std::wstring& path);
    void SetIcon(const unsigned char* data, int length, ImageTypes type);

private:
    void PrepareWidgets(const QByteArray& form);
    void ApplyWindowFlags();

    bool m_defaultButton = true;
    QPointer<QWidget> m_window;
    std::unordered_map<std::wstring, std::shared_ptr<BaseGUIObject>> m_elements;
    std::vector<std::shared_ptr<BaseGUIObject>> m_unnamedElements;
    std::uint32_t m_flags;
    bool m_closed = true;
    Dialog* m_owner;
    std::unique_ptr<EventHelper> m_helper;
    bool m_stayOnTop = false;
    QCursor m_customCursor;
    bool m_rootTaken = false;
    QMetaObject::Connection m_windowDestroyed;
    QMetaObject::Connection m_applicationState;
};

// The enumeration value the form gives `property` of the widget named `objectName`; empty when none.
QString GetControlEnumProp(QByteArray form, QString objectName, QString property);

} // namespace AUILib
