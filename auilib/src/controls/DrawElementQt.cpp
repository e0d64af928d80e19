#include "DrawElementQt.h"

#include <QMouseEvent>
#include <QPainter>

namespace AUILib {

namespace {

QPointF Rounded(const QMouseEvent* event)
{
    return QPointF(event->localPos().toPoint());
}

} // namespace

DrawElementQt::DrawElementQt(DrawElement& owner)
    : m_owner(&owner)
{
}

DrawElementQt::~DrawElementQt()
{
    qDeleteAll(m_strokes);
}

QPen DrawElementQt::StrokePen(const QColor& color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 5.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

void DrawElementQt::Reset()
{
    qDeleteAll(m_strokes);
    m_strokes.clear();
    m_current = nullptr;
    m_picture = QImage();
    m_drawn = false;
}

void DrawElementQt::SetPicture(const QImage& image, int x, int y)
{
    m_picture = image;
    m_pictureX = x;
    m_pictureY = y;
}

void DrawElementQt::RecolourStrokes(const QColor& color)
{
    for (Stroke* stroke : m_strokes)
        stroke->color = color;
}

void DrawElementQt::mousePressEvent(QMouseEvent* event)
{
    auto* stroke = new Stroke{QPainterPath(), m_lineColor};
    m_strokes.append(stroke);
    m_current = stroke;
    m_current->path.moveTo(Rounded(event));
}

void DrawElementQt::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_current)
        return;
    m_current->path.lineTo(Rounded(event));
    update();
}

void DrawElementQt::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_current)
        m_current->path.lineTo(Rounded(event));
    m_current = nullptr;
    m_drawn = true;
    update();
}

void DrawElementQt::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_picture.isNull())
        painter.drawImage(m_pictureX, m_pictureY, m_picture);
    if (m_border) {
        painter.setPen(QPen(QBrush(m_borderColor, Qt::SolidPattern), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    }
    for (const Stroke* stroke : m_strokes) {
        painter.setPen(StrokePen(stroke->color));
        painter.drawPath(stroke->path);
    }
}

} // namespace AUILib
