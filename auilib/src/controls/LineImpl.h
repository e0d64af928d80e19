#pragma once

#include "BaseImplQt.h"
#include "Line.h"
#include "LineQt.h"

#include <QPointer>

namespace AUILib {

class Line::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    LineQt* Widget() const { return m_widget; }

private:
    QPointer<LineQt> m_widget;
};

} // namespace AUILib
