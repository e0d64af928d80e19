#pragma once

#include "BaseImplQt.h"
#include "Slider.h"
#include "SliderQt.h"

#include <QPointer>

namespace AUILib {

class Slider::impl : public BaseImplQt
{
public:
    explicit impl(Slider& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    SliderQt* Widget() const { return m_widget; }

private:
    QPointer<SliderQt> m_widget;
};

} // namespace AUILib
