#pragma once

#include "RangeControl.h"

#include <memory>

namespace AUILib {

// An integer slider; it reports each value it passes and the release of its handle.
class Slider : public RangeControl
{
public:
    class impl;

    Slider();
    ~Slider() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

protected:
    QAbstractSlider* RangeWidget() const override;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
