#pragma once

#include "BaseImplQt.h"
#include "DrawElement.h"
#include "DrawElementQt.h"

#include <QPointer>

namespace AUILib {

class DrawElement::impl : public BaseImplQt
{
public:
    explicit impl(DrawElement& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    DrawElementQt* Widget() const { return m_widget; }

private:
    QPointer<DrawElementQt> m_widget;
};

} // namespace AUILib
