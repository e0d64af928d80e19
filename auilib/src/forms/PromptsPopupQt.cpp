#include "PromptsPopupQt.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>

namespace AUILib {

namespace {

QRect ScreenGeometryOf(const QWidget* widget)
{
    QScreen* screen = QGuiApplication::screenAt(widget->mapToGlobal(widget->rect().center()));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

} // namespace

PromptsPopupQt::PromptsPopupQt() = default;

PromptsPopupQt::~PromptsPopupQt()
{
    m_timer.stop();
}

void PromptsPopupQt::WatchWindow(QWidget* window)
{
    Watch(m_window, window);
}

void PromptsPopupQt::WatchAnchor(QWidget* anchor)
{
    Watch(m_anchor, anchor);
}

void PromptsPopupQt::Watch(Watched& slot, QWidget* widget)
{
    if (!widget || widget == slot.widget)
        return;
    if (slot.widget)
        slot.widget->removeEventFilter(this);
    QObject::disconnect(slot.destroyed);
    widget->installEventFilter(this);
    widget->setAttribute(Qt::WA_MouseTracking);
    slot.destroyed = connect(widget, &QObject::destroyed, this, &QObject::deleteLater);
    slot.widget = widget;
}

void PromptsPopupQt::FitToText(const QPoint& requestedPoint)
{
    const QFontMetrics metrics(font());
    const int extraPixel = metrics.descent() == 2 && metrics.ascent() > 10 ? 1 : 0;
    setWordWrap(Qt::mightBeRichText(text()));
    QSize hint = sizeHint();
    QScreen* screen = QGuiApplication::screenAt(requestedPoint);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen && !wordWrap() && hint.width() > screen->geometry().width()) {
        setWordWrap(true);
        hint = sizeHint();
    }
    resize(hint.width() + 1, hint.height() + extraPixel);
}

QPoint PromptsPopupQt::Placement(const QPoint& anchorPoint, QWidget* anchor) const
{
    const int w = width();
    const int h = height();
    const QRect screen = ScreenGeometryOf(anchor ? anchor : this);
    const int right = screen.right() + 1;
    const int bottom = screen.bottom() + 1;

    QPoint place(anchorPoint.x() + 2, anchorPoint.y() + 21);
    if (place.x() + w > right)
        place.setX(anchorPoint.x() - w - 2);

    const bool flipUp = place.y() + h > bottom;
    const int candidate = flipUp ? anchorPoint.y() - h - 3 : anchorPoint.y() + 21;
    if (flipUp || candidate < screen.top())
        place.setY(std::max(screen.top(), candidate));

    if (place.x() + w > right)
        place.setX(std::max(screen.left(), right - w));
    else if (place.x() < screen.left())
        place.setX(screen.left());
    if (place.y() + h > bottom)
        place.setY(bottom - h);
    return place;
}

void PromptsPopupQt::Present(const QPoint& anchorPoint, QWidget* anchor)
{
    if (isVisible())
        return;
    move(Placement(anchorPoint, anchor));
    m_timer.start(m_timeoutMs, this);
    m_shown = true;
    show();
}

void PromptsPopupQt::Dismiss()
{
    hide();
    m_shown = false;
}

bool PromptsPopupQt::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_anchor.widget.data())
        FilterAnchorEvent(event);
    if (watched == m_window.widget.data())
        FilterWindowEvent(event);
    return false;
}

void PromptsPopupQt::FilterAnchorEvent(QEvent* event)
{
    if (!m_closeOnInput)
        return;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Leave:
        hide();
        break;
    case QEvent::MouseMove: {
        const QPoint position = static_cast<QMouseEvent*>(event)->pos();
        if (!QRect(0, 0, width(), height()).contains(position))
            hide();
        break;
    }
    default:
        break;
    }
}

void PromptsPopupQt::FilterWindowEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Paint:
    case QEvent::UpdateRequest:
        if (!m_closeOnInput && m_shown)
            show();
        break;
    case QEvent::Move:
        if (m_shown) {
            const auto* move = static_cast<QMoveEvent*>(event);
            this->move(pos() + (move->pos() - move->oldPos()));
        }
        break;
    case QEvent::Close:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        Dismiss();
        break;
    default:
        break;
    }
}

void PromptsPopupQt::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    m_timer.stop();
    if (isVisible())
        Dismiss();
}

void PromptsPopupQt::resizeEvent(QResizeEvent* event)
{
    QStyleOption option;
    option.initFrom(this);
    QStyleHintReturnMask mask;
    if (style()->styleHint(QStyle::SH_ToolTip_Mask, &option, this, &mask))
        setMask(mask.region);
    QLabel::resizeEvent(event);
}

void PromptsPopupQt::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().brush(QPalette::Current, QPalette::Base));

        const QRect own = rect();
        const int baseline = own.top() + TopOffset + ArrowHeight;
        QPainterPath balloon;
        balloon.addRoundedRect(QRectF(QPointF(own.left(), baseline), QPointF(own.right(), own.bottom())), TopOffset,
                               TopOffset, Qt::AbsoluteSize);
        const int arrowLeft = own.left() + ArrowLeft;
        balloon.addPolygon(QPolygonF({QPointF(arrowLeft, baseline), QPointF(arrowLeft + ArrowWidth, baseline),
                                      QPointF(arrowLeft + ArrowWidth / 2, baseline - ArrowHeight)}));
        painter.drawPath(balloon);
    }
    QLabel::paintEvent(event);
}

} // namespace AUILib
