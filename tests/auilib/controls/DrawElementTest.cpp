#include "DrawElement.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace AUILib;

namespace {

class DrawElementTest : public testing::Test
{
protected:
    void SetUp() override
    {
        element.Create(&window);
        element.MoveWindow(0, 0, 120, 60, false);
        window.resize(140, 80);
        window.show();
    }

    void Mouse(QEvent::Type type, QPoint position)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, position, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(element.GetPlatformHandle(), &event);
    }

    void Stroke(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, (from + to) / 2);
        Mouse(QEvent::MouseButtonRelease, to);
    }

    std::unique_ptr<QImage> Image() { return std::unique_ptr<QImage>(element.GetImage()); }

    QWidget window;
    DrawElement element;
};

} // namespace

TEST_F(DrawElementTest, NothingToTakeUntilAStrokeIsFinished)
{
    EXPECT_EQ(element.GetControlType(), ControlType::DrawElement);
    EXPECT_EQ(element.GetParentWindow(), nullptr) << "Create does not record the parent";
    QImage picture(20, 20, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    element.DrawImage(&picture, 5, 5);
    element.DrawImage(nullptr, 0, 0);
    EXPECT_EQ(Image(), nullptr);
    Mouse(QEvent::MouseButtonPress, {10, 10});
    EXPECT_EQ(Image(), nullptr) << "a stroke still being drawn";
}

TEST_F(DrawElementTest, AStrokeIsFivePixelsOfBlackOnWhite)
{
    QImage picture(120, 60, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    element.DrawImage(&picture, 0, 0);
    Stroke({10, 30}, {110, 30});
    const std::unique_ptr<QImage> image = Image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), QSize(120, 60));
    for (const int y : {29, 30, 31})
        EXPECT_EQ(image->pixel(60, y), qRgb(0, 0, 0)) << y;
    for (const QPoint white : {QPoint(60, 25), QPoint(60, 35), QPoint(0, 0), QPoint(119, 59)})
        EXPECT_EQ(image->pixel(white), qRgb(255, 255, 255))
            << "neither picture nor border: " << white.x() << "," << white.y();

    const QImage shown = element.GetPlatformHandle()->grab().toImage();
    const qreal scale = shown.devicePixelRatio();
    EXPECT_EQ(shown.pixel(QPoint(60, 10) * scale), qRgb(0, 255, 0)) << "the picture is shown behind the strokes";
    EXPECT_EQ(shown.pixel(QPoint(60, 30) * scale), qRgb(0, 0, 0));
}

TEST_F(DrawElementTest, AClickWithoutMovingIsAStroke)
{
    Mouse(QEvent::MouseButtonPress, {40, 20});
    Mouse(QEvent::MouseButtonRelease, {40, 20});
    const std::unique_ptr<QImage> image = Image();
    ASSERT_NE(image, nullptr) << "a stroke of one point finishes like any other";
    EXPECT_EQ(image->size(), QSize(120, 60));
}

TEST_F(DrawElementTest, RecolouringChangesOnlyTheStrokesAlreadyDrawn)
{
    EXPECT_EQ(element.GetLineColor(), qRgb(0, 0, 0));
    Stroke({10, 15}, {110, 15});
    element.UpdateLinesColor(qRgb(255, 0, 0));
    EXPECT_EQ(element.GetLineColor(), qRgb(0, 0, 0));
    Stroke({10, 45}, {110, 45});
    element.SetLineColor(qRgb(0, 0, 255));
    Stroke({60, 2}, {60, 8});
    const std::unique_ptr<QImage> image = Image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixel(30, 15), qRgb(255, 0, 0));
    EXPECT_EQ(image->pixel(30, 45), qRgb(0, 0, 0));
    EXPECT_EQ(image->pixel(60, 5), qRgb(0, 0, 255));
}

TEST_F(DrawElementTest, ResettingDuringAStroke)
{
    Stroke({10, 15}, {110, 15});
    Mouse(QEvent::MouseButtonPress, {10, 40});
    element.ResetImage();
    Mouse(QEvent::MouseMove, {60, 40});
    Mouse(QEvent::MouseButtonRelease, {110, 40});
    const std::unique_ptr<QImage> image = Image();
    ASSERT_NE(image, nullptr) << "a release finishes, even with no stroke";
    EXPECT_EQ(image->pixel(60, 15), qRgb(255, 255, 255));
    EXPECT_EQ(image->pixel(60, 40), qRgb(255, 255, 255));
    element.ResetImage();
    EXPECT_EQ(Image(), nullptr);
}

TEST_F(DrawElementTest, BorderIsShownNotTaken)
{
    EXPECT_TRUE(element.IsSetBorder());
    // Antialiased on the edge: the grey spreads over two pixels.
    EXPECT_LT(qGray(element.GetPlatformHandle()->grab().toImage().pixel(0, 30)), 230);
    element.SetBorder(false);
    EXPECT_FALSE(element.IsSetBorder());
    EXPECT_EQ(element.GetPlatformHandle()->grab().toImage().pixel(0, 30), qRgb(255, 255, 255));
}

TEST(DrawElementWidgetTest, OutlivesItsControl)
{
    QWidget window;
    auto element = std::make_unique<DrawElement>();
    element->Create(&window);
    QPointer<QWidget> kept = element->GetPlatformHandle();
    element.reset();
    ASSERT_TRUE(kept);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(kept, &press);
    EXPECT_FALSE(kept->grab().isNull());
}
