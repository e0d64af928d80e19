#include "CustomStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionViewItem>

namespace AUILib {

namespace {

QAbstractItemView::SelectionBehavior BehaviourOf(const QWidget* widget)
{
    const auto* view = qobject_cast<const QAbstractItemView*>(widget);
    return view ? view->selectionBehavior() : QAbstractItemView::SelectItems;
}

QPalette::ColorGroup GroupOf(const QStyleOption* option)
{
    if (!(option->state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option->state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
}

} // namespace

CustomStyle::CustomStyle(bool selectionColorsSet, int flags)
    : QProxyStyle(nullptr)
    , m_selectionColorsSet(selectionColorsSet)
    , m_flags(flags)
{
}

bool CustomStyle::SetFlag(Flag flag, bool on)
{
    const int flags = on ? (m_flags | flag) : (m_flags & ~flag);
    const bool changed = flags != m_flags;
    m_flags = flags;
    return changed;
}

void CustomStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    if (element == PE_IndicatorBranch) {
        DrawBranch(option, painter, widget);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (!widget || BehaviourOf(widget) != QAbstractItemView::SelectItems)
        return;
    if (element == PE_PanelItemViewItem)
        DrawItemPanel(option, painter, widget);
    else if (element == PE_PanelItemViewRow)
        painter->fillRect(option->rect, widget->palette().color(GroupOf(option), QPalette::Base));
}

void CustomStyle::DrawItemPanel(const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
    if (!item || !(option->state & State_Selected))
        return;
    int contentRight = item->text.isEmpty() ? option->rect.right()
                                            : option->rect.left() + item->fontMetrics.horizontalAdvance(item->text) + 9;
    if (item->features & QStyleOptionViewItem::HasDecoration) {
        const auto* view = qobject_cast<const QAbstractItemView*>(widget);
        contentRight += (view ? view->iconSize().width() : item->decorationSize.width()) + 5;
    }
    if (item->features & QStyleOptionViewItem::HasCheckIndicator)
        contentRight += subElementRect(SE_ItemViewItemCheckIndicator, option, widget).width() + 10;
    const QRect rest(QPoint(contentRight + 1, option->rect.top()), QPoint(widget->width() - 2, option->rect.bottom()));
    if (rest.isValid())
        painter->fillRect(rest, widget->palette().color(GroupOf(option), QPalette::Base));
}

void CustomStyle::DrawBranch(const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(PE_IndicatorBranch, option, painter, widget);
    const QPalette palette = widget ? widget->palette() : option->palette;
    QColor fill = palette.color(GroupOf(option), QPalette::Base);
    if ((option->state & State_Selected) && BehaviourOf(widget) == QAbstractItemView::SelectRows) {
        if (option->state & State_Active)
            fill = palette.color(QPalette::Active, QPalette::Highlight);
        else if (m_flags & InactiveSelectionBranch)
            fill = palette.color(QPalette::Inactive, QPalette::Highlight);
    }
    painter->fillRect(option->rect, fill);
    if (m_flags & NoExpanders)
        return;
    if ((m_flags & BoxedExpanders) && (m_flags & CommonBranches)) {
        baseStyle()->drawPrimitive(PE_IndicatorBranch, option, painter, widget);
        return;
    }
    if (!(option->state & State_Children))
        return;
    const QRect box(QPoint(option->rect.left(), option->rect.bottom() - 18), QPoint(option->rect.right(), option->rect.bottom() - 1));
    const int w3 = box.width() / 3;
    const int h3 = box.height() / 3;
    const bool open = option->state & State_Open;
    painter->save();
    if (m_flags & BoxedExpanders) {
        const QRect square(QPoint(box.left() + w3, box.top() + h3), QPoint(box.right() - w3, box.bottom() - h3 + 2));
        painter->setPen(palette.color(QPalette::Text));
        painter->drawRect(square);
        const int my = (square.top() + square.bottom()) / 2;
        const int mx = (square.left() + square.right()) / 2;
        painter->drawLine(square.left() + 2, my + 1, square.right() - 1, my + 1);
        if (!open)
            painter->drawLine(mx + 1, square.top() + 2, mx + 1, square.bottom() - 1);
    } else {
        const bool dark = QApplication::palette().color(QPalette::Window).lightness() < 128;
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.color(dark ? QPalette::Text : QPalette::Mid));
        QPainterPath triangle;
        if (open) {
            const int l = box.left() + w3, t = box.top() + h3 + 1, r = box.right() - w3 + 3, b = box.bottom() - h3 + 4;
            triangle.moveTo(l, t);
            triangle.lineTo(r, t);
            triangle.lineTo(l + (r - l + 1) / 2, b);
        } else {
            const int l = box.left() + w3 + 1, t = box.top() + h3 - 1, r = box.right() - w3 + 3, b = box.bottom() - h3 + 4;
            triangle.moveTo(l, t);
            triangle.lineTo(r, t + (b - t + 1) / 2);
            triangle.lineTo(l, b);
        }
        triangle.closeSubpath();
        painter->drawPath(triangle);
    }
    painter->restore();
}

} // namespace AUILib
