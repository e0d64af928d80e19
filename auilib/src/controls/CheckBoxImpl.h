#pragma once

#include "BaseImplQt.h"
#include "CheckBox.h"
#include "CheckBoxQt.h"

#include <QPointer>

namespace AUILib {

class CheckBox::impl : public BaseImplQt
{
public:
    explicit impl(CheckBox& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    CheckBoxQt* Widget() const { return m_widget; }

private:
    QPointer<CheckBoxQt> m_widget;
};

} // namespace AUILib
