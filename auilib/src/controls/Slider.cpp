#include "Slider.h"

#include "AUILibConfig.h"
#include "SliderImpl.h"

namespace AUILib {

Slider::impl::impl(Slider& owner)
    : m_widget(new SliderQt)
{
    TrackConnection(QObject::connect(m_widget, &QSlider::sliderReleased, [&owner]() { FireHandlers(owner.OnReleased); }));
    TrackConnection(QObject::connect(m_widget, &QSlider::valueChanged,
                                     [&owner](int value) { FireHandlers(owner.OnValueChanged, value); }));
}

Slider::impl::~impl()
{
    ReleaseWidget(m_widget);
}

Slider::Slider()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::Slider);
}

Slider::~Slider() = default;

bool Slider::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> Slider::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* Slider::GetSkinManager()
{
    return GetGlobalSkinManager();
}

QAbstractSlider* Slider::RangeWidget() const
{
    return m_impl->Widget();
}

} // namespace AUILib
