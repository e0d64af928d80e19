#include "Button.h"

#include "AUILibConfig.h"
#include "ButtonImpl.h"
#include "ButtonQt.h"

namespace AUILib {

Button::Button()
    : m_impl(std::make_shared<impl>(this, new ButtonQt(this), true))
{
    SetControlType(ControlType::Button);
}

Button::Button(QPushButton* button)
    : m_impl(std::make_shared<impl>(this, button, false))
{
    SetControlType(ControlType::Button);
}

Button::~Button()
{
    m_impl->DetachOwner();
}

bool Button::Create(QWidget* parent)
{
    return m_impl->Create(parent);
}

Size Button::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> Button::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Button::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void Button::SetChecked(bool checked)
{
    m_impl->SetChecked(checked);
}

bool Button::GetCheck()
{
    return m_impl->GetCheck();
}

void Button::LoadPicture(const std::wstring& path, ScalePicture scale, int size, bool)
{
    m_impl->LoadPicture(path, scale, size, false);
}

void Button::LoadPicture(const unsigned char* data, int length, ImageTypes type, ScalePicture scale, int size, bool)
{
    m_impl->LoadPicture(data, length, type, scale, size, false);
}

void Button::LoadPictureDisabled(const std::wstring& path, ScalePicture scale, int size, bool)
{
    m_impl->LoadPicture(path, scale, size, true);
}

void Button::LoadPictureDisabled(const unsigned char* data, int length, ImageTypes type, ScalePicture scale,
                                 int size, bool)
{
    m_impl->LoadPicture(data, length, type, scale, size, true);
}

void Button::GeneratePictureDisabled(bool) {}

void Button::UseTextAndIcon(ButtonStyle style)
{
    m_impl->SetStyle(style);
}

void Button::SetStyle(ButtonStyle style)
{
    m_impl->SetStyle(style);
}

Button::ButtonStyle Button::GetStyle()
{
    return m_impl->GetStyle();
}

void Button::SetTextColor(int colour)
{
    m_impl->SetTextColor(colour);
}

void Button::SetText(const std::wstring& text)
{
    m_impl->SetText(text);
}

std::wstring Button::GetText() const
{
    return m_impl->GetText();
}

void Button::SetTextColor(RGBColor normal, RGBColor disabled)
{
    m_impl->SetTextColor(normal, disabled);
}

void Button::SetBackgroundColor(unsigned int colour, bool allStates)
{
    m_impl->SetBackgroundColor(colour, allStates);
}

void Button::SetBackgroundColor(RGBColor normal, RGBColor hover, RGBColor disabled, RGBColor focus, RGBColor pressed)
{
    m_impl->SetBackgroundColor(normal, hover, disabled, focus, pressed);
}

void Button::SetBorderColor(RGBColor normal, RGBColor hover, RGBColor disabled)
{
    m_impl->SetBorderColor(normal, hover, disabled);
}

void Button::SetRoundedButtonCornerRadius(int radius)
{
    m_impl->SetRoundedButtonCornerRadius(radius);
}

int Button::GetRoundedButtonCornerRadius() const
{
    return m_impl->GetRoundedButtonCornerRadius();
}

void Button::DisableFocusRect(bool disable)
{
    m_impl->DisableFocusRect(disable);
}

bool Button::IsDisableFocusRect() const
{
    return m_impl->IsDisableFocusRect();
}

void Button::InsertMenuBar(std::shared_ptr<ContextMenu> menu, bool arrow)
{
    m_impl->InsertMenuBar(std::move(menu), arrow);
}

void Button::RemoveMenuBar()
{
    m_impl->RemoveMenuBar();
}

void Button::SetFont(FontData& font)
{
    m_impl->SetFont(font);
}

FontData Button::GetFont() const
{
    return m_impl->GetFont();
}

} // namespace AUILib
