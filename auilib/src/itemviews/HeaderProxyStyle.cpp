#include "HeaderProxyStyle.h"

#include <QPainter>
#include <QPalette>
#include <QStyleOptionHeader>
#include <QWidget>

namespace AUILib {

HeaderProxyStyle::HeaderProxyStyle()
    : QProxyStyle(static_cast<QStyle*>(nullptr))
{
}

void HeaderProxyStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    if (element != CE_HeaderLabel || !header || !pictureAlign.contains(header->section)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QIcon icon = qvariant_cast<QIcon>(QVariant(header->icon));
    if (icon.isNull()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QSize size = pictureSize.value(header->section, QSize(16, 16));
    const QPixmap pixmap = icon.pixmap(size, QIcon::Normal, QIcon::Off);
    const QStyle* style = widget ? widget->style() : this;
    const int margin = style->pixelMetric(PM_HeaderMargin, nullptr, widget);
    const int textWidth = header->fontMetrics.horizontalAdvance(header->text);
    const QRect rect = header->rect;

    painter->setPen(QPen(QPalette().brush(QPalette::Text), painter->pen().widthF(), Qt::SolidLine, Qt::SquareCap,
                         Qt::BevelJoin));
    painter->drawPixmap(QRect(rect.left() + 2 * margin + textWidth, rect.top() + margin, pixmap.width(),
                              pixmap.height()),
                        pixmap, pixmap.rect());
    // The text's top is the margin itself, as the header has always drawn it.
    painter->drawText(QRectF(rect.left(), margin, rect.width(), rect.height()), header->text, QTextOption());
}

} // namespace AUILib
