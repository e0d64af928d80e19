#pragma once

#include "BaseGUIObject.h"
#include "HandlerList.h"

#include <memory>

namespace AUILib {

// A progress bar that reports every change of its value.
class ProgressBar : public BaseGUIObject
{
public:
    class impl;

    ProgressBar();
    ~ProgressBar() override;

    bool Create(QWidget* parent) override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // A value in the current range moves to `min` first when it lies outside the new one.
    void SetRange(int min, int max);
    // False, with nothing changed, for a value outside the range or once the widget is gone.
    bool SetValue(int value);
    // 0 once the widget is gone.
    int GetValue() const;
    int GetMinimum() const;
    int GetMaximum() const;

    HandlerList<int> OnValueChanged;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
