#include "GroupBox.h"

#include "AUILibConfig.h"
#include "GroupBoxImpl.h"
#include "WideText.h"

namespace AUILib {

GroupBox::impl::impl()
    : m_widget(new GroupBoxQt)
{
}

GroupBox::impl::~impl()
{
    ReleaseWidget(m_widget);
}

void GroupBox::impl::Show(bool show, bool)
{
    QWidget* widget = RequireWidget();
    widget->setVisible(show);
    QWidget* painted = widget->parentWidget() ? widget->parentWidget() : widget;
    painted->repaint(0, 0, widget->width(), widget->height());
}

GroupBox::GroupBox()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::GroupBox);
}

GroupBox::~GroupBox() = default;

bool GroupBox::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> GroupBox::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* GroupBox::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void GroupBox::SetText(const std::wstring& text)
{
    if (GroupBoxQt* widget = m_impl->Widget())
        widget->setTitle(ToQString(text));
}

std::wstring GroupBox::GetText() const
{
    GroupBoxQt* widget = m_impl->Widget();
    return widget ? ToWString(widget->title()) : std::wstring();
}

} // namespace AUILib
