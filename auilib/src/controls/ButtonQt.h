#pragma once

#include "Button.h"

#include <QPushButton>

namespace AUILib {

// The button's own widget: draws the drop-down arrow of an attached menu and the link style's
// underline, keeps the rounded style's radius at half the height, fits the icon, and shows the link
// style's focus border for keyboard focus only. Without an owner it is a plain QPushButton.
class ButtonQt : public QPushButton
{
    Q_OBJECT
public:
    explicit ButtonQt(Button* owner);

    void SetOwner(Button* owner) { m_owner = owner; }

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Button::impl* OwnerImpl() const;
    void FitIconSize();

    int m_arrowInset = 3;
    Button* m_owner;
};

} // namespace AUILib
