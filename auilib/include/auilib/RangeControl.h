#pragma once

#include "BaseGUIObject.h"
#include "HandlerList.h"

class QAbstractSlider;

namespace AUILib {

// What the slider and the scroll bar share: an integer value in a range, moved by lines and pages.
class RangeControl : public BaseGUIObject
{
public:
    // Each does nothing (or answers 0) once the widget is gone.
    virtual void SetPageSize(int size);
    virtual void SetLineSize(int size);
    // Qt's rules: a maximum below the minimum is raised to it, and the value is kept inside.
    virtual void SetRange(int min, int max);
    virtual void SetValue(int value);
    virtual int GetValue();

    HandlerList<> OnReleased;
    HandlerList<int> OnValueChanged;

protected:
    // Null once the widget is gone.
    virtual QAbstractSlider* RangeWidget() const = 0;
};

} // namespace AUILib
