#include "ScrollBar.h"

#include "AUILibConfig.h"
#include "ScrollBarImpl.h"

#include <QPalette>

namespace AUILib {

ScrollBar::impl::impl(ScrollBar& owner)
    : m_widget(new ScrollBarQt)
{
    m_widget->setPageStep(1);
    TrackConnection(QObject::connect(m_widget, &QScrollBar::valueChanged,
                                     [&owner](int value) { FireHandlers(owner.OnValueChanged, value); }));
}

ScrollBar::impl::~impl()
{
    ReleaseWidget(m_widget);
}

void ScrollBar::impl::SetBackgroundColor(int rgb)
{
    if (!m_widget)
        return;
    m_backgroundColor = rgb;
    m_widget->setAutoFillBackground(true);
    QPalette palette = m_widget->palette();
    palette.setBrush(QPalette::All, m_widget->backgroundRole(), QBrush(QColor(static_cast<QRgb>(rgb))));
    m_widget->setPalette(palette);
}

ScrollBar::ScrollBar()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::ScrollBar);
}

ScrollBar::~ScrollBar() = default;

bool ScrollBar::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> ScrollBar::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ScrollBar::GetSkinManager()
{
    return GetGlobalSkinManager();
}

QAbstractSlider* ScrollBar::RangeWidget() const
{
    return m_impl->Widget();
}

void ScrollBar::SetBackgroundColor(int rgb)
{
    m_impl->SetBackgroundColor(rgb);
}

int ScrollBar::GetBackgroundColor()
{
    return m_impl->BackgroundColor();
}

} // namespace AUILib
