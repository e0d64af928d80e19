#pragma once

#include "BaseImplQt.h"
#include "ScrollBar.h"
#include "ScrollBarQt.h"

#include <QPointer>

#include <cstdint>

namespace AUILib {

class ScrollBar::impl : public BaseImplQt
{
public:
    explicit impl(ScrollBar& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    ScrollBarQt* Widget() const { return m_widget; }

    void SetBackgroundColor(int rgb);
    int BackgroundColor() const { return m_backgroundColor; }

private:
    std::int32_t m_backgroundColor = -1;
    QPointer<ScrollBarQt> m_widget;
};

} // namespace AUILib
