#pragma once

#include "BaseImplQt.h"
#include "RadioButton.h"
#include "RadioButtonQt.h"

#include <QPixmap>
#include <QPointer>

namespace AUILib {

class RadioButton::impl : public BaseImplQt
{
public:
    explicit impl(RadioButton& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    RadioButtonQt* Widget() const { return m_widget; }

    void SetText(const QString& text);
    // Replaces the text with the picture scaled to the button; a null picture clears both.
    void ShowPicture(const QPixmap& picture, ScalePicture mode);

private:
    QPointer<RadioButtonQt> m_widget;
    bool m_switchedOn = false;
};

} // namespace AUILib
