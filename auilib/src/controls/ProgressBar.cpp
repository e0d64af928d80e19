#include "ProgressBar.h"

#include "AUILibConfig.h"
#include "ProgressBarImpl.h"

namespace AUILib {

ProgressBar::impl::impl(ProgressBar& owner)
    : m_widget(new ProgressBarQt)
{
    TrackConnection(QObject::connect(m_widget, &QProgressBar::valueChanged,
                                     [&owner](int value) { FireHandlers(owner.OnValueChanged, value); }));
}

ProgressBar::impl::~impl()
{
    ReleaseWidget(m_widget);
}

ProgressBar::ProgressBar()
    : m_impl(std::make_shared<impl>(*this))
{
    SetControlType(ControlType::ProgressBar);
}

ProgressBar::~ProgressBar() = default;

bool ProgressBar::Create(QWidget* parent)
{
    SetParentWindow(parent);
    return m_impl->Create(parent);
}

std::shared_ptr<BaseImpl> ProgressBar::GetBaseImpl() const
{
    return m_impl;
}

SkinManager* ProgressBar::GetSkinManager()
{
    return GetGlobalSkinManager();
}

void ProgressBar::SetRange(int min, int max)
{
    ProgressBarQt* widget = m_impl->Widget();
    if (!widget)
        return;
    if (widget->value() < min || widget->value() > max)
        SetValue(min);
    widget->setRange(min, max);
}

bool ProgressBar::SetValue(int value)
{
    ProgressBarQt* widget = m_impl->Widget();
    if (!widget || value < widget->minimum() || value > widget->maximum())
        return false;
    widget->setValue(value);
    return true;
}

int ProgressBar::GetValue() const
{
    ProgressBarQt* widget = m_impl->Widget();
    return widget ? widget->value() : 0;
}

int ProgressBar::GetMinimum() const
{
    ProgressBarQt* widget = m_impl->Widget();
    return widget ? widget->minimum() : 0;
}

int ProgressBar::GetMaximum() const
{
    ProgressBarQt* widget = m_impl->Widget();
    return widget ? widget->maximum() : 0;
}

} // namespace AUILib
