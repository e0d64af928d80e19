#pragma once

#include "ListBox.h"

#include <QHash>
#include <QProxyStyle>
#include <QSize>

namespace AUILib {

// Draws a list box header section's picture to the right of its text where the section asks for it.
class HeaderProxyStyle : public QProxyStyle
{
public:
    HeaderProxyStyle();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

    QHash<int, ListBox::HeaderStyle> pictureAlign;
    QHash<int, QSize> pictureSize;
};

} // namespace AUILib
