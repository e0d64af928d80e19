#pragma once

#include "RangeControl.h"

#include <memory>

namespace AUILib {

// An integer scroll bar that pages one unit at a time. It reports its value only: nothing fires
// OnReleased.
class ScrollBar : public RangeControl
{
public:
    class impl;

    ScrollBar();
    ~ScrollBar() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // 0xRRGGBB, painted opaque; the top byte is kept in what GetBackgroundColor answers.
    virtual void SetBackgroundColor(int rgb);
    // -1 until a colour is set.
    virtual int GetBackgroundColor();

protected:
    QAbstractSlider* RangeWidget() const override;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
