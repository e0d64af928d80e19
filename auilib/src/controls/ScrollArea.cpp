#include "ScrollArea.h"

#include "AUILibConfig.h"
#include "ScrollAreaImpl.h"

namespace AUILib {

ScrollArea::impl::impl()
    : m_widget(new ScrollAreaQt)
{
}

ScrollArea::impl::~impl()
{
    ReleaseWidget(m_widget);
}

ScrollArea::ScrollArea()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::ScrollArea);
}

ScrollArea::~ScrollArea() = default;

bool ScrollArea::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> ScrollArea::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ScrollArea::GetSkinManager()
{
    return GetGlobalSkinManager();
}

} // namespace AUILib
