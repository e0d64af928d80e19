#include "ButtonQt.h"

#include "AUILibUtils.h"
#include "ButtonImpl.h"
#include "StyleSheetRules.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace AUILib {

ButtonQt::ButtonQt(Button* owner)
    : m_owner(owner)
{
}

Button::impl* ButtonQt::OwnerImpl() const
{
    return m_owner ? dynamic_cast<Button::impl*>(m_owner->GetBaseImpl().get()) : nullptr;
}

bool ButtonQt::event(QEvent* event)
{
    Button::impl* impl = OwnerImpl();
    if (!impl)
        return QPushButton::event(event);
    if (event->type() == QEvent::Resize && impl->GetStyle() == Button::Rounded) {
        int radius = m_owner->GetRoundedButtonCornerRadius();
        if (radius < 1)
            radius = height() / 2;
        setStyleSheet(StyleSheetRules(styleSheet(), QStringLiteral("QPushButton"), QStringLiteral("border-radius"),
                                      QString::number(radius) + QStringLiteral("px")));
        impl->SetCurrentSheet(styleSheet());
    }
    FitIconSize();
    return QPushButton::event(event);
}

void ButtonQt::FitIconSize()
{
    if (icon().isNull())
        return;
    const QList<QSize> sizes = icon().availableSizes(QIcon::Normal, QIcon::Off);
    if (sizes.isEmpty())
        return;
    const QSize first = sizes.first();
    if (first.width() <= width() && first.height() <= height()) {
        setIconSize(first);
        return;
    }
    const double scale = AUILibUtils::GetScaleFactor();
    setIconSize(QSize(qRound(first.width() / scale), qRound(first.height() / scale)));
}

void ButtonQt::focusInEvent(QFocusEvent* event)
{
    Button::impl* impl = OwnerImpl();
    if (impl && impl->GetStyle() == Button::Link) {
        const bool byMouse = event->reason() == Qt::MouseFocusReason;
        setStyleSheet(StyleSheetRules(styleSheet(), QStringLiteral("QPushButton:focus"),
                                      QStringLiteral("border-width"),
                                      byMouse ? QStringLiteral("0px") : QStringLiteral("1px")));
    }
    QPushButton::focusInEvent(event);
}

void ButtonQt::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    Button::impl* impl = OwnerImpl();
    if (!impl)
        return;
    if (impl->HasMenuArrow()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(isEnabled() ? impl->TextColor() : impl->DisabledTextColor());
        const QRect area = event->rect();
        const int centre = area.left() + (area.right() - area.left() + 1) / 2;
        const int bottom = area.bottom();
        QPainterPath arrow;
        arrow.moveTo(centre - 4, bottom - 4 - m_arrowInset);
        arrow.lineTo(centre, bottom - m_arrowInset);
        arrow.lineTo(centre + 4, bottom - 4 - m_arrowInset);
        arrow.closeSubpath();
        painter.drawPath(arrow);
    }
    if (impl->GetStyle() == Button::Link) {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int textWidth = metrics.horizontalAdvance(text());
        const int x = (width() - textWidth) / 2;
        const int y = std::min(height() - 3, (height() - metrics.height()) / 2 + metrics.height() + 1);
        painter.drawLine(x, y, x + textWidth - 1, y);
    }
}

} // namespace AUILib
