#include "ControlTestSupport.h"

#include "ScrollBar.h"
#include "Slider.h"

#include <QPalette>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <gtest/gtest.h>

using namespace AUILib;

TEST(Slider, KeepsQtsDefaultsAndRangeRules)
{
    Slider slider;
    EXPECT_EQ(slider.GetValue(), 0);
    slider.SetValue(150);
    EXPECT_EQ(slider.GetValue(), 99);
    slider.SetRange(10, 5);
    auto* widget = qobject_cast<QSlider*>(slider.GetPlatformHandle());
    EXPECT_EQ(widget->minimum(), 10);
    EXPECT_EQ(widget->maximum(), 10);
    EXPECT_EQ(slider.GetValue(), 10);

    slider.SetPageSize(7);
    slider.SetLineSize(3);
    EXPECT_EQ(widget->pageStep(), 7);
    EXPECT_EQ(widget->singleStep(), 3);
}

TEST(Slider, HandleDragReportsEveryValueAndOneRelease)
{
    QWidget window;
    Slider slider;
    slider.Create(&window);
    auto* widget = qobject_cast<QSlider*>(slider.GetPlatformHandle());
    widget->setOrientation(Qt::Horizontal);
    slider.SetRange(0, 10);
    widget->setGeometry(0, 0, 220, 30);
    window.show();

    FiringRecorder<int> values(slider.OnValueChanged);
    FiringRecorder<> releases(slider.OnReleased);
    QStyleOptionSlider option;
    option.initFrom(widget);
    option.orientation = Qt::Horizontal;
    option.minimum = 0;
    option.maximum = 10;
    option.sliderPosition = 0;
    option.sliderValue = 0;
    const QRect handle = widget->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, widget);
    ASSERT_TRUE(handle.isValid());

    QPoint at = handle.center();
    SendMouse(widget, QEvent::MouseButtonPress, at);
    while (at.x() < widget->width()) {
        at.rx() += 1;
        SendMouse(widget, QEvent::MouseMove, at);
    }
    SendMouse(widget, QEvent::MouseButtonRelease, at);

    std::vector<std::tuple<int>> expected;
    for (int value = 1; value <= 10; ++value)
        expected.emplace_back(value);
    EXPECT_EQ(values.calls, expected);
    EXPECT_EQ(releases.calls.size(), 1u);
}

TEST(ScrollBar, PagesByOneAndHasNoColourUntilOneIsSet)
{
    ScrollBar bar;
    auto* widget = qobject_cast<QScrollBar*>(bar.GetPlatformHandle());
    EXPECT_EQ(widget->pageStep(), 1);
    EXPECT_EQ(widget->orientation(), Qt::Vertical);
    EXPECT_EQ(bar.GetBackgroundColor(), -1);
    EXPECT_FALSE(widget->autoFillBackground());
}

TEST(ScrollBar, BackgroundColourIsOpaqueWhateverTheTopByte)
{
    struct Case
    {
        int rgb;
        QColor painted;
    };
    const Case cases[] = {{0x00FF0000, QColor(255, 0, 0)}, {0x7F00FF00, QColor(0, 255, 0)}};
    for (const Case& c : cases) {
        ScrollBar bar;
        auto* widget = qobject_cast<QScrollBar*>(bar.GetPlatformHandle());
        bar.SetBackgroundColor(c.rgb);
        EXPECT_EQ(bar.GetBackgroundColor(), c.rgb);
        EXPECT_TRUE(widget->autoFillBackground());
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            EXPECT_EQ(widget->palette().color(group, widget->backgroundRole()), c.painted) << group;
        widget->resize(16, 100);
        // The style shades its groove from the background: the hue is the colour's.
        const QColor groove = widget->grab().toImage().pixelColor(0, 50);
        EXPECT_EQ(groove.hue(), c.painted.hue()) << groove.name().toStdString();
        EXPECT_GT(groove.saturation(), 100) << groove.name().toStdString();
    }
}

TEST(ScrollBar, ReportsValuesButNeverARelease)
{
    QWidget window;
    ScrollBar bar;
    bar.Create(&window);
    auto* widget = qobject_cast<QScrollBar*>(bar.GetPlatformHandle());
    widget->setGeometry(0, 0, 16, 200);
    window.show();
    FiringRecorder<int> values(bar.OnValueChanged);
    FiringRecorder<> releases(bar.OnReleased);

    bar.SetValue(20);
    SendMouse(widget, QEvent::MouseButtonPress, QPoint(8, 100));
    SendMouse(widget, QEvent::MouseButtonRelease, QPoint(8, 100));
    ASSERT_FALSE(values.calls.empty());
    EXPECT_EQ(values.calls.front(), std::make_tuple(20));
    EXPECT_TRUE(releases.calls.empty());
}

TEST(RangeControls, GoneWidgetsAnswerZeroAndIgnoreSetters)
{
    Slider slider;
    ScrollBar bar;
    delete slider.GetPlatformHandle();
    delete bar.GetPlatformHandle();
    slider.SetRange(1, 5);
    slider.SetValue(3);
    slider.SetPageSize(2);
    slider.SetLineSize(2);
    bar.SetRange(1, 5);
    bar.SetValue(3);
    bar.SetPageSize(2);
    bar.SetLineSize(2);
    bar.SetBackgroundColor(0xFF);
    EXPECT_EQ(slider.GetValue(), 0);
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_EQ(bar.GetBackgroundColor(), -1);
}
