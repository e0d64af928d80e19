#pragma once

#include "BaseGUIObject.h"

#include <cstdint>
#include <memory>

namespace AUILib {

// A plain panel inside a window: the control of every plain QWidget of a form.
class ChildDialog : public BaseGUIObject
{
public:
    class impl;

    ChildDialog();
    ~ChildDialog() override;

    // Stores `parent` as the parent window and puts the widget under it.
    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    virtual void SetVisible(bool visible);

    // Fills the panel's background with a QRgb colour (alpha ignored); nothing without a widget.
    void SetBackgroundColor(int rgb);
    // -1 until a colour is set.
    int BackgroundColor() const;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
