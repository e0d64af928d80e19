#include "ControlTestSupport.h"

#include "GroupBox.h"
#include "Line.h"
#include "ProgressBar.h"

#include <QFrame>
#include <QGroupBox>
#include <QPalette>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <memory>

using namespace AUILib;

TEST(Line, PlainFrameWhoseColourPaintsTheLineOpaque)
{
    Line line;
    auto* frame = qobject_cast<QFrame*>(line.GetWndPtr());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->frameShadow(), QFrame::Plain);
    frame->setFrameShape(QFrame::HLine);
    frame->resize(40, 3);
    line.SetLineColor(0x8000C000u);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        EXPECT_EQ(frame->palette().color(group, QPalette::WindowText), QColor(0, 0xC0, 0)) << group;
    EXPECT_EQ(frame->grab().toImage().pixelColor(20, 1), QColor(0, 0xC0, 0));
}

TEST(Line, ColourOfAGoneLineChangesNothing)
{
    Line line;
    delete line.GetWndPtr();
    EXPECT_EQ(line.GetWndPtr(), nullptr);
    line.SetLineColor(0xFF0000u);
}

TEST(GroupBox, TitleCarriesEveryCodePointAndColoursStayTheStyles)
{
    GroupBox box;
    const std::wstring title = L"Gr\u00FC\u00DFe \U0001F600";
    box.SetText(title);
    EXPECT_EQ(box.GetText(), title);
    auto* widget = qobject_cast<QGroupBox*>(box.GetPlatformHandle());
    EXPECT_EQ(widget->title(), QStringLiteral("Gr\u00FC\u00DFe \U0001F600"));

    const QPalette before = widget->palette();
    box.SetColors(0xFF0000, 0x00FF00);
    EXPECT_EQ(widget->palette(), before);
}

TEST(GroupBox, ShowTogglesAndAGoneBoxThrowsOnShowOnly)
{
    auto window = std::make_unique<QWidget>();
    GroupBox box;
    box.Create(window.get());
    window->show();
    box.Show(false, false);
    EXPECT_FALSE(box.GetPlatformHandle()->isVisible());
    box.Show(true, false);
    EXPECT_TRUE(box.GetPlatformHandle()->isVisible());

    window.reset();
    EXPECT_EQ(ExceptionText([&] { box.Show(true, true); }), "Control is not valid.");
    box.SetText(L"x");
    EXPECT_EQ(box.GetText(), L"");
}

namespace {

class ProgressBarTest : public testing::Test
{
protected:
    void SetUp() override
    {
        bar.SetValue(50);
        bar.OnValueChanged.Add([this](int value) { fired.push_back(value); });
    }
    QProgressBar* widget() { return qobject_cast<QProgressBar*>(bar.GetPlatformHandle()); }

    ProgressBar bar;
    std::vector<int> fired;
};

} // namespace

TEST_F(ProgressBarTest, ValueOutsideTheRangeIsRefused)
{
    struct Case
    {
        int value;
        bool accepted;
        int after;
    };
    const Case cases[] = {{101, false, 50}, {-1, false, 50}, {100, true, 100}, {0, true, 0}, {42, true, 42}};
    for (const Case& c : cases) {
        EXPECT_EQ(bar.SetValue(c.value), c.accepted) << c.value;
        EXPECT_EQ(bar.GetValue(), c.after) << c.value;
    }
    EXPECT_EQ(fired, (std::vector<int>{100, 0, 42})) << "one notification per change";
}

TEST_F(ProgressBarTest, NewRangeMovesAnOutsideValueToItsMinimumFirst)
{
    struct Case
    {
        int min;
        int max;
        std::vector<int> fired;
    };
    const Case cases[] = {
        {10, 20, {10}}, // moved to the minimum, then the range set
        {40, 60, {}},   // inside: untouched
        {0, 50, {}},    // on the edge: untouched
    };
    for (const Case& c : cases) {
        bar.SetRange(0, 100);
        bar.SetValue(50);
        fired.clear();
        bar.SetRange(c.min, c.max);
        EXPECT_EQ(bar.GetMinimum(), c.min);
        EXPECT_EQ(bar.GetMaximum(), c.max);
        EXPECT_EQ(bar.GetValue(), c.fired.empty() ? 50 : c.min) << c.min;
        EXPECT_EQ(fired, c.fired) << c.min;
    }
}

TEST_F(ProgressBarTest, RangeBeyondTheOldOneLeavesTheValueToQt)
{
    QProgressBar plain;
    plain.setRange(0, 100);
    plain.setValue(50);
    plain.setRange(200, 300);

    bar.SetRange(200, 300);
    EXPECT_EQ(bar.GetMinimum(), 200);
    EXPECT_EQ(bar.GetValue(), plain.value()) << "SetValue(200) failed against 0..100";
}

TEST_F(ProgressBarTest, EveryChangeOfTheWidgetIsReported)
{
    widget()->setValue(70);
    widget()->setValue(70);
    widget()->setValue(30);
    EXPECT_EQ(fired, (std::vector<int>{70, 30}));
}

TEST(ProgressBar, GoneBarAnswersFalseAndZero)
{
    ProgressBar bar;
    bar.SetValue(5);
    delete bar.GetPlatformHandle();
    EXPECT_FALSE(bar.SetValue(6));
    bar.SetRange(1, 2);
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_EQ(bar.GetMinimum(), 0);
    EXPECT_EQ(bar.GetMaximum(), 0);
}
