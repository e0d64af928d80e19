#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QWidget>

namespace AUILib {

class DrawElement;

// The drawing surface's widget: it records the strokes the mouse draws and paints them.
class DrawElementQt : public QWidget
{
    Q_OBJECT
public:
    struct Stroke
    {
        QPainterPath path;
        QColor color;
    };

    explicit DrawElementQt(DrawElement& owner);
    ~DrawElementQt() override;

    void ReleaseOwner() { m_owner = nullptr; }

    bool IsDrawn() const { return m_drawn; }
    const QList<Stroke*>& Strokes() const { return m_strokes; }
    // Deletes the strokes, the one being drawn included, and the picture.
    void Reset();
    void SetPicture(const QImage& image, int x, int y);
    void SetBorder(bool border) { m_border = border; }
    bool HasBorder() const { return m_border; }
    void SetLineColor(const QColor& color) { m_lineColor = color; }
    QColor LineColor() const { return m_lineColor; }
    void RecolourStrokes(const QColor& color);

    // The pen every stroke is drawn with.
    static QPen StrokePen(const QColor& color);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    DrawElement* m_owner;
    bool m_drawn = false;
    QList<Stroke*> m_strokes;
    Stroke* m_current = nullptr;
    QColor m_borderColor{175, 175, 175};
    QColor m_lineColor{0, 0, 0};
    bool m_border = true;
    QImage m_picture;
    int m_pictureX = 0;
    int m_pictureY = 0;
};

} // namespace AUILib
