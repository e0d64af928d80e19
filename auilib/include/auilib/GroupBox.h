#pragma once

#include "BaseGUIObject.h"

#include <memory>
#include <string>

namespace AUILib {

// A titled frame around other controls.
class GroupBox : public BaseGUIObject
{
public:
    class impl;

    GroupBox();
    ~GroupBox() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // The title; nothing (or empty) once the widget is gone.
    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    // The frame keeps the style's colours.
    void SetColors(unsigned long, unsigned long) {}

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
