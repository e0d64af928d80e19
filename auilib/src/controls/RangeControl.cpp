#include "RangeControl.h"

#include <QAbstractSlider>

namespace AUILib {

void RangeControl::SetPageSize(int size)
{
    if (QAbstractSlider* widget = RangeWidget())
        widget->setPageStep(size);
}

void RangeControl::SetLineSize(int size)
{
    if (QAbstractSlider* widget = RangeWidget())
        widget->setSingleStep(size);
}

void RangeControl::SetRange(int min, int max)
{
    if (QAbstractSlider* widget = RangeWidget())
        widget->setRange(min, max);
}

void RangeControl::SetValue(int value)
{
    if (QAbstractSlider* widget = RangeWidget())
        widget->setValue(value);
}

int RangeControl::GetValue()
{
    QAbstractSlider* widget = RangeWidget();
    return widget ? widget->value() : 0;
}

} // namespace AUILib
