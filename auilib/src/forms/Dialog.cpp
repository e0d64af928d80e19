#include "Dialog.h"

#include "AUILibConfig.h"
#include "AgnosticUIException.h"
#include "Button.h"
#include "DialogImpl.h"
#include "Translator.h"
#include "WideText.h"

#include <QApplication>
#include <QLayout>
#include <QPushButton>

namespace AUILib {

Dialog::Dialog(const std::wstring& uiPath, QWidget* parent, unsigned long flags, double screenShare,
               const std::wstring& unused)
    : m_screenShare(screenShare)
    , m_uiPath(uiPath)
    , m_unused(unused)
{
    SetControlType(ControlType::Dialog);
    SetParentWindow(parent);
    const std::wstring translated = Translator::GetInstance().TranslateUIFile(uiPath);
    m_impl = std::make_shared<impl>(this, flags != 0 ? flags & 0xFFFFFFFFu : GetDefaultDialogStyle(), parent);
    if (!translated.empty()) {
        if (!m_impl->CreateFromUI(translated, 0, parent))
            throw AgnosticUIException(__FILE__, __LINE__, "Create from ui fails");
    } else if (!m_impl->CreateFromUI(uiPath, parent)) {
        throw AgnosticUIException(__FILE__, __LINE__, "Create from ui fails");
    }
}

Dialog::~Dialog()
{
    m_impl->DetachOwner();
}

int Dialog::FilterDone(int result)
{
    return result;
}

void Dialog::ShowButKeepHiddenChildren(bool show)
{
    if (m_impl->Window())
        m_impl->Show(show, true);
}

void Dialog::CreateTabWindow(QWidget* parent, bool)
{
    if (DialogQt* window = m_impl->Window()) {
        window->setWindowFlags(Qt::Widget);
        window->setParent(parent);
    }
    m_modal = false;
    if (!m_impl->Window())
        return;
    InitializeControls();
    m_impl->Show(true, true);
}

void Dialog::CreateTabWindowEx(BaseGUIObject* placeholder, bool)
{
    if (!placeholder)
        return;
    DialogQt* window = m_impl->Window();
    QWidget* replaced = placeholder->GetPlatformWindow();
    if (window && replaced) {
        QWidget* host = replaced->parentWidget();
        window->setWindowFlags(Qt::Widget);
        window->setParent(host);
        if (host && host->layout()) {
            delete host->layout()->replaceWidget(replaced, window, Qt::FindChildrenRecursively);
            replaced->setParent(nullptr);
            replaced->deleteLater();
        }
    }
    m_modal = false;
    if (!m_impl->Window())
        return;
    InitializeControls();
    m_impl->Show(true, true);
}

bool Dialog::InitializeControls()
{
    return true;
}

void Dialog::SetIcon(const std::wstring& path, bool)
{
    m_impl->SetIcon(path);
}

void Dialog::SetIcon(const unsigned char* data, int length, ImageTypes type, bool)
{
    m_impl->SetIcon(data, length, type);
}

bool Dialog::Create(QWidget*)
{
    return true;
}

void Dialog::Show(bool show, bool repaint)
{
    if (m_impl->Window())
        m_impl->Show(show, repaint);
}

void Dialog::Enable(bool enable, bool recursive)
{
    if (m_impl->Window())
        m_impl->Enable(enable, recursive);
}

void Dialog::Update()
{
    if (m_impl->Window())
        BaseGUIObject::Update();
}

void Dialog::Update(const Region& region)
{
    if (m_impl->Window())
        BaseGUIObject::Update(region);
}

void Dialog::Repaint()
{
    if (m_impl->Window())
        BaseGUIObject::Repaint();
}

void Dialog::Repaint(const Region& region)
{
    if (m_impl->Window())
        BaseGUIObject::Repaint(region);
}

std::shared_ptr<BaseImpl> Dialog::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Dialog::GetSkinManager()
{
    return GetGlobalSkinManager();
}

std::shared_ptr<BaseGUIObject> Dialog::GetElementByName(const std::wstring& name) const
{
    return m_impl ? m_impl->GetElementByName(name) : nullptr;
}

int Dialog::DoModal()
{
    m_modal = true;
    DialogQt* window = m_impl->Window();
    if (!window)
        return 0;
    InitializeControls();
    window->setWindowModality(Qt::ApplicationModal);
    return window->exec();
}

void Dialog::DoModeless(bool stayOnTop)
{
    m_modal = false;
    DialogQt* window = m_impl->Window();
    if (!window)
        return;
    InitializeControls();
    if (stayOnTop && window->parent())
        m_impl->SetWindowsToStayOnTop();
    m_impl->Show(true, true);
}

void Dialog::DoModeless(QWidget* parent, bool stayOnTop)
{
    if (DialogQt* window = m_impl->Window())
        window->setParent(parent);
    DoModeless(stayOnTop);
}

void Dialog::Done(DoneState state)
{
    DialogQt* window = m_impl->Window();
    if (!window)
        throw AgnosticUIException(__FILE__, __LINE__, "Invalid Control!");
    window->done(state);
}

void Dialog::SetWindowTitle(const std::wstring& title)
{
    if (DialogQt* window = m_impl->Window())
        window->setWindowTitle(ToQString(title));
}

QWidget* Dialog::GetWndPtr() const
{
    return m_impl->Window();
}

QWidget* Dialog::GetHandle() const
{
    return m_impl->Window();
}

void Dialog::SetDefaultButton(Button* button)
{
    if (!button) {
        m_impl->SetDefaultButtonFlag(false);
        if (DialogQt* window = m_impl->Window())
            ClearDefaultButtons(window);
        return;
    }
    if (auto* pushButton = qobject_cast<QPushButton*>(button->GetBaseImpl()->GetWidget()))
        pushButton->setDefault(true);
    m_impl->SetDefaultButtonFlag(true);
}

void Dialog::SetFocusToCtrl(BaseGUIObject* control)
{
    if (QWidget* widget = control ? control->GetBaseImpl()->GetWidget() : nullptr)
        widget->setFocus(Qt::OtherFocusReason);
}

std::shared_ptr<BaseGUIObject> Dialog::GetFocusedCtrlPtr()
{
    const QWidget* focused = QApplication::focusWidget();
    return focused ? GetElementByName(ToWString(focused->objectName())) : nullptr;
}

void Dialog::SetBackgroundColor(int rgb)
{
    m_impl->SetBackgroundColor(rgb);
}

int Dialog::GetBackgroundColor()
{
    return m_impl->GetBackgroundColor();
}

void Dialog::UpdateWindow()
{
    if (DialogQt* window = m_impl->Window())
        window->update();
}

void Dialog::SetCursorType(CursorTypes type)
{
    m_impl->SetCursorType(type);
}

bool Dialog::LoadCustomCursor(const std::wstring& path, int hotX, int hotY)
{
    return m_impl->LoadCustomCursor(path, hotX, hotY);
}

bool Dialog::LoadCustomCursor(const unsigned char* data, int length, int hotX, int hotY, ImageTypes type)
{
    return m_impl->LoadCustomCursor(data, length, hotX, hotY, type);
}

} // namespace AUILib
