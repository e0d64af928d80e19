#pragma once

#include "BaseGUIObject.h"

#include <memory>

namespace AUILib {

// A scrolling frame around the widget a form puts into it.
class ScrollArea : public BaseGUIObject
{
public:
    class impl;

    ScrollArea();
    ~ScrollArea() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
