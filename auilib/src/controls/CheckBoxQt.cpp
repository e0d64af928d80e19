#include "CheckBoxQt.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QWindow>

namespace AUILib {

bool CheckBoxQt::hitButton(const QPoint& pos) const
{
    if (!m_wrap)
        return QCheckBox::hitButton(pos);
    QStyleOptionButton option;
    initStyleOption(&option);
    return option.rect.contains(pos);
}

void CheckBoxQt::paintEvent(QPaintEvent* event)
{
    if (!m_wrap) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    QPainter painter(this);
    QStyle* const widgetStyle = style();
    QStyleOptionButton indicator = option;
    indicator.rect = widgetStyle->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    widgetStyle->drawPrimitive(QStyle::PE_IndicatorCheckBox, &indicator, &painter, this);

    QRect textRect = option.rect;
    int alignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (!widgetStyle->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        alignment |= Qt::TextHideMnemonic;
    if (!option.icon.isNull()) {
        QWindow* const window = windowHandle() ? windowHandle() : this->window()->windowHandle();
        const QPixmap pixmap
            = option.icon.pixmap(window, option.iconSize, isEnabled() ? QIcon::Normal : QIcon::Disabled, QIcon::Off);
        widgetStyle->drawItemPixmap(&painter, option.rect,
                                    QStyle::visualAlignment(option.direction, Qt::Alignment(alignment)), pixmap);
        const int shift = option.iconSize.width() + 4;
        if (option.direction == Qt::RightToLeft)
            textRect.setRight(textRect.right() - shift);
        else
            textRect.setLeft(textRect.left() + shift);
    }
    if (!option.text.isEmpty()) {
        textRect.setLeft(textRect.left() + indicator.rect.width() + 2);
        widgetStyle->drawItemText(&painter, textRect,
                                  Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextHideMnemonic,
                                  option.palette, isEnabled(), option.text, QPalette::WindowText);
    }
}

} // namespace AUILib
