#include "HyperLinkElement.h"

#include "AUILibConfig.h"
#include "HyperLinkElementImpl.h"

namespace AUILib {

HyperLinkElement::HyperLinkElement()
    : m_impl(std::make_shared<HyperLinkElementImpl>(*this))
{
    SetControlType(ControlType::HyperLinkElement);
}

HyperLinkElement::~HyperLinkElement()
{
    m_impl.reset();
}

bool HyperLinkElement::Create(QWidget* parent)
{
    return m_impl->Create(parent);
}

Size HyperLinkElement::IdealSize()
{
    return m_impl->IdealSize();
}

std::shared_ptr<BaseImpl> HyperLinkElement::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* HyperLinkElement::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void HyperLinkElement::SetURL(const std::wstring& url)
{
    m_impl->SetURL(url);
}

std::wstring HyperLinkElement::GetURL()
{
    return m_impl->URL();
}

void HyperLinkElement::SetText(const std::wstring& text)
{
    m_impl->SetText(text);
}

std::wstring HyperLinkElement::GetText()
{
    return m_impl->Text();
}

void HyperLinkElement::SetbDefaultClickProcess(bool defaultProcess)
{
    m_impl->SetbDefaultClickProcess(defaultProcess);
}

void HyperLinkElement::SetColors(RGBColor link, RGBColor visited, RGBColor hover)
{
    m_impl->SetColors(link, visited, hover);
}

RGBColor HyperLinkElement::GetLinkColor()
{
    return m_impl->GetLinkColor();
}

RGBColor HyperLinkElement::GetVisitedColor()
{
    return m_impl->GetVisitedColor();
}

RGBColor HyperLinkElement::GetHoverColor()
{
    return m_impl->GetHoverColor();
}

void HyperLinkElement::SetVisited(bool visited)
{
    m_impl->SetVisited(visited);
}

bool HyperLinkElement::GetVisited()
{
    return m_impl->GetVisited();
}

void HyperLinkElement::SetUnderline(bool underline)
{
    m_impl->SetUnderline(underline);
}

bool HyperLinkElement::GetUnderline()
{
    return m_impl->GetUnderline();
}

} // namespace AUILib
