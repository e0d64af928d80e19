#pragma once

#include "BaseImplQt.h"
#include "TabView.h"
#include "TabViewQt.h"

#include <QPointer>

namespace AUILib {

class TabView::impl : public BaseImplQt
{
public:
    explicit impl(TabView& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    TabViewQt* Widget() const { return m_widget; }
    // Null for an index out of range; AgnosticUIException once the widget is gone.
    QWidget* Page(int index);

private:
    QPointer<TabViewQt> m_widget;
};

} // namespace AUILib
