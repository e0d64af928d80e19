#include "Line.h"

#include "AUILibConfig.h"
#include "LineImpl.h"

#include <QPalette>

namespace AUILib {

Line::impl::impl()
    : m_widget(new LineQt)
{
    m_widget->setFrameShadow(QFrame::Plain);
}

Line::impl::~impl()
{
    ReleaseWidget(m_widget);
}

Line::Line()
    : m_impl(std::make_shared<impl>())
{
    SetControlType(ControlType::Line);
}

Line::~Line() = default;

bool Line::Create(QWidget* parent)
{
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> Line::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Line::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void Line::SetLineColor(unsigned int color)
{
    LineQt* widget = m_impl->Widget();
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(QColor(static_cast<QRgb>(color))));
    widget->setPalette(palette);
}

QWidget* Line::GetWndPtr() const
{
    return m_impl->Widget();
}

} // namespace AUILib
