#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"
#include "RGBColor.h"

#include <memory>
#include <string>

namespace AUILib {

// A two- or three-state check box that reports the user's clicks.
class CheckBox : public BaseGUIObject
{
public:
    class impl;

    CheckBox();
    ~CheckBox() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // A partial state is ignored unless the box is tristate. Fires nothing.
    virtual void SetCheck(CheckBoxStates state);
    // Unchecked once the widget is gone.
    virtual CheckBoxStates GetCheck();
    virtual void SetTristate(bool tristate);
    virtual void SetTextColor(unsigned int);
    virtual void SetTextColor(RGBColor);

    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    // Wraps the text within the widget and makes the whole widget clickable; repaints nothing.
    void SetWrap(bool wrap);
    void SetMinimumHeight(unsigned int height);
    void SetBtnBorderColor(RGBColor, RGBColor) {}
    void SetBtnBackgroundColor(RGBColor, RGBColor) {}
    void SetBtnCheckmarkColor(RGBColor) {}
    void SetBorderRadius(int) {}

    // User clicks only (and QAbstractButton::click).
    HandlerList<> OnClicked;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
