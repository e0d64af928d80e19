#pragma once

#include "BaseImplQt.h"
#include "Button.h"
#include "ButtonBox.h"
#include "ButtonBoxQt.h"

#include <QPointer>

#include <memory>
#include <vector>

namespace AUILib {

class ButtonBox::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    ButtonBoxQt* Box() const { return m_widget; }

    // Wraps the box's standard buttons of the library's table in Buttons titled in the current
    // language; the box's own accept and reject no longer reach the window.
    void ConvertStandardButtons();
    std::shared_ptr<Button> GetButton(StandardButton which) const;

private:
    QPointer<ButtonBoxQt> m_widget;
    std::vector<std::shared_ptr<Button>> m_buttons;
};

} // namespace AUILib
