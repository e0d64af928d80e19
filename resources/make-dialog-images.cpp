// Draws the update dialogs' banners and status symbols. Not part of the build; run
//   g++ -std=c++17 -fPIC make-dialog-images.cpp $(pkg-config --cflags --libs Qt5Gui) -o /tmp/make-dialog-images
//   QT_QPA_PLATFORM=offscreen /tmp/make-dialog-images resources/res
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// The reader's mark: a red page with a folded corner and a white "K".
void drawMark(QPainter& painter, const QRectF& box)
{
    const qreal fold = box.width() * 0.28;
    QPainterPath page;
    page.moveTo(box.left(), box.top());
    page.lineTo(box.right() - fold, box.top());
    page.lineTo(box.right(), box.top() + fold);
    page.lineTo(box.right(), box.bottom());
    page.lineTo(box.left(), box.bottom());
    page.closeSubpath();
    painter.fillPath(page, QColor(200, 38, 44));
    QPainterPath corner;
    corner.moveTo(box.right() - fold, box.top());
    corner.lineTo(box.right() - fold, box.top() + fold);
    corner.lineTo(box.right(), box.top() + fold);
    corner.closeSubpath();
    painter.fillPath(corner, QColor(240, 150, 150));
    QFont font("DejaVu Sans", 10, QFont::Bold);
    font.setPixelSize(int(box.height() * 0.62));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, "K");
}

void banner(const QString& path, const QColor& text, const QColor& accent, const QString& edition)
{
    QImage image(638, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawMark(painter, QRectF(8, 10, 62, 76));

    QFont title("DejaVu Sans", 10, QFont::Bold);
    title.setPixelSize(40);
    painter.setFont(title);
    painter.setPen(text);
    painter.drawText(QRectF(88, 4, 540, 56), Qt::AlignLeft | Qt::AlignVCenter, "Kelvrin PDF Reader");

    QFont subtitle("DejaVu Sans", 10);
    subtitle.setPixelSize(22);
    painter.setFont(subtitle);
    painter.setPen(accent);
    painter.drawText(QRectF(90, 58, 540, 34), Qt::AlignLeft | Qt::AlignVCenter, edition);
    image.save(path);
}

void symbol(const QString& path, const QColor& fill, bool success)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen mark(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (success) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(1, 1, 30, 30));
        painter.setPen(mark);
        painter.drawPolyline(QPolygonF({QPointF(9, 16.5), QPointF(14, 21.5), QPointF(23.5, 11)}));
    } else {
        QPainterPath triangle;
        triangle.moveTo(16, 2);
        triangle.lineTo(31, 29);
        triangle.lineTo(1, 29);
        triangle.closeSubpath();
        painter.setPen(QPen(fill, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(fill);
        painter.drawPath(triangle);
        painter.setPen(mark);
        painter.drawLine(QPointF(16, 11), QPointF(16, 19));
        painter.drawPoint(QPointF(16, 24));
    }
    image.save(path);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QColor lightText(26, 26, 26);
    const QColor darkText(222, 222, 222);
    banner(folder + "/about-title@2x.png", lightText, QColor(200, 38, 44), "Updater");
    banner(folder + "/about-title-dark@2x.png", darkText, QColor(240, 110, 110), "Updater");
    banner(folder + "/zh_cn/about-title@2x.png", lightText, QColor(200, 38, 44), "Updater  ·  CN");
    banner(folder + "/zh_cn/about-title-dark@2x.png", darkText, QColor(240, 110, 110), "Updater  ·  CN");
    symbol(folder + "/popup_warning.png", QColor(230, 160, 20), false);
    symbol(folder + "/popup_success.png", QColor(40, 160, 70), true);
    return 0;
}
