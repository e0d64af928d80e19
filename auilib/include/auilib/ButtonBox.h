#pragma once

#include "BaseGUIObject.h"

#include <cstdint>
#include <memory>

namespace AUILib {

class Button;

// Numbered as QDialogButtonBox::StandardButton (OK 0x400, Cancel 0x400000).
using StandardButton = std::uint32_t;

// A row or column of standard dialog buttons. A box built from a form hands out its standard
// buttons as Button controls, which report the clicks: the box itself closes nothing.
class ButtonBox : public BaseGUIObject
{
public:
    class impl;

    ButtonBox();
    ~ButtonBox() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    void SetOrientation(bool vertical);
    // The same Button on every call; empty for a kind the box does not hold.
    std::shared_ptr<Button> GetButton(StandardButton which);

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
