#pragma once

#include "BaseImplQt.h"
#include "ScrollArea.h"
#include "ScrollAreaQt.h"

#include <QPointer>

namespace AUILib {

class ScrollArea::impl : public BaseImplQt
{
public:
    impl();
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }

private:
    QPointer<ScrollAreaQt> m_widget;
};

} // namespace AUILib
