#pragma once

#include "BaseGUIObject.h"

#include <memory>

namespace AUILib {

// A separator line. Its orientation comes from the form that places it.
class Line : public BaseGUIObject
{
public:
    class impl;

    Line();
    ~Line() override;

    // Puts the line under `parent` without recording it as the parent window.
    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // 0xRRGGBB; nothing once the widget is gone.
    void SetLineColor(unsigned int color);
    QWidget* GetWndPtr() const;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
