#pragma once

#include "BaseGUIObject.h"
#include "HandlerList.h"

#include <memory>
#include <string>

namespace AUILib {

// An integer spin box over the whole signed 64-bit range, with an optional suffix after the number.
class SpinEdit : public BaseGUIObject
{
public:
    class impl;

    SpinEdit();
    ~SpinEdit() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // The bounds in either order; the value is brought inside.
    virtual void SetRange(long long a, long long b);
    // The number as typed so far, which may still lie outside the range; 0 once the widget is gone.
    virtual long long GetValue();
    // Brought inside the range and shown.
    virtual void SetValue(long long value);
    // Taken as given, zero and negative steps too.
    virtual void SetStep(long long step);

    // Every setter does nothing, and every getter answers empty, once the widget is gone.
    void SetSuffix(const std::wstring& suffix);
    std::wstring GetSuffix() const;
    // Kept for a balloon that this control does not show.
    void SetBalloonNaNtext(const std::wstring& title, const std::wstring& text);
    // On (the default), an entry outside the range is refused while typing and the last valid
    // value comes back on leaving the field; off, an entry beyond a bound snaps to that bound.
    void LastValidValueCorrection(bool on);
    void SetBorderRadius(int) {}

    // The value shown and committed.
    HandlerList<long long> OnValueChanged;
    // (value, change) for every step, and (value, 0) for an arrow pressed at the bound it points to.
    HandlerList<long long, long long> OnArrowValueChanged;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
