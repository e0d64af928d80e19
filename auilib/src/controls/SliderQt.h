#pragma once

#include <QSlider>

namespace AUILib {

class SliderQt : public QSlider
{
    Q_OBJECT
public:
    using QSlider::QSlider;
};

} // namespace AUILib
