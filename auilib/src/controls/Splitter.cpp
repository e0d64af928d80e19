#include "Splitter.h"

#include "AUILibConfig.h"
#include "SplitterImpl.h"

namespace AUILib {

Splitter::impl::impl()
    : m_widget(new SplitterQt)
{
}

Splitter::impl::~impl()
{
    ReleaseWidget(m_widget);
}

Splitter::Splitter()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::Splitter);
}

Splitter::~Splitter() = default;

bool Splitter::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> Splitter::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Splitter::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void Splitter::SetSizes(const std::list<int>& sizes)
{
    SplitterQt* widget = m_impl->Widget();
    if (!widget)
        return;
    QList<int> qtSizes;
    for (int size : sizes)
        qtSizes.append(size);
    widget->setSizes(qtSizes);
}

void Splitter::SetHandleWidth(int width)
{
    if (SplitterQt* widget = m_impl->Widget())
        widget->setHandleWidth(width);
}

void Splitter::SetDynamicResizing(bool dynamic)
{
    if (SplitterQt* widget = m_impl->Widget())
        widget->setOpaqueResize(dynamic);
}

bool Splitter::DynamicResizing() const
{
    SplitterQt* widget = m_impl->Widget();
    return widget && widget->opaqueResize();
}

} // namespace AUILib
