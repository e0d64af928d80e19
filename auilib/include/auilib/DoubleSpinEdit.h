#pragma once

#include "BaseGUIObject.h"
#include "HandlerList.h"
#include "PicaPoint.h"

#include <memory>
#include <string>

namespace AUILib {

// A decimal spin box. In pica mode the user types and reads lengths as picas and points (3p6), and
// the control reports them as PicaPoint values. The box's value then only carries the text (3p6 is
// held as 3.6), while ranges and steps are given in picas (3p6 is 3.5 picas): a range bounds the
// length, never the value that carries it.
class DoubleSpinEdit : public BaseGUIObject
{
public:
    class impl;

    DoubleSpinEdit();
    ~DoubleSpinEdit() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // Every setter does nothing, and every getter answers 0 or empty, once the widget is gone. The
    // pica forms do nothing (or answer {0, 0}) outside pica mode.
    virtual void SetRange(double min, double max);
    virtual void SetRange(PicaPoint min, PicaPoint max);
    virtual double GetValue();
    virtual PicaPoint GetPicaPointValue();
    virtual void SetValue(double value);
    virtual void SetValue(PicaPoint value);
    virtual void SetStep(double step);
    virtual void SetStep(PicaPoint step);
    virtual void SetPrecision(int decimals);

    void SetSuffix(const std::wstring& suffix);
    std::wstring GetSuffix() const;
    // Kept for a balloon that this control does not show.
    void SetBalloonNaNtext(const std::wstring& title, const std::wstring& text);
    // Off, an entry beyond a bound snaps to that bound.
    void LastValidValueCorrection(bool on);
    void SetBorderRadius(int) {}
    // The character shown for the decimal point; a digit is refused, 0 goes back to the locale's.
    void SetDecimalChar(char decimal);
    // Installs a field that takes pica text; `on` chooses whether the control reads it as picas.
    void SupportPicaPoints(bool on);

    HandlerList<double> OnValueChanged;
    // (value, change) for every step, and (bound, 0) for an arrow pressed at the bound it points to.
    HandlerList<double, double> OnArrowValueChanged;
    HandlerList<PicaPoint, double> OnPicaArrowValueChanged;
    // Every edit of the pica text that reads as a length, and every value set.
    HandlerList<PicaPoint> OnPicaValueChanged;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
