#include "ControlTestSupport.h"
#include "TestControl.h"

#include "AgnosticUIException.h"
#include "ChildDialog.h"
#include "Event.h"
#include "FontData.h"

#include <QDialog>
#include <QFrame>
#include <QSizePolicy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace AUILib;

namespace {

// Counts the events of one type that reach a widget.
class EventCounter : public QObject
{
public:
    EventCounter(QObject* watched, QEvent::Type type)
        : m_type(type)
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            ++count;
        return false;
    }
    int count = 0;

private:
    QEvent::Type m_type;
};

} // namespace

TEST(ControlObjectModel, ExceptionTextNamesFileAndLineWhenGiven)
{
    EXPECT_STREQ(AgnosticUIException("a.cpp", 12, "bad").what(), "a.cpp: 12 \"bad");
    EXPECT_STREQ(AgnosticUIException("", 0, "bad").what(), "bad");
}

TEST(ControlObjectModel, ControlWhoseWidgetIsGoneThrowsExceptForStoredState)
{
    ChildDialog control;
    delete control.GetPlatformHandle();
    ASSERT_EQ(control.GetPlatformHandle(), nullptr);

    Region region;
    std::wstring text = L"x";
    const std::vector<std::pair<const char*, std::function<void()>>> throwing = {
        {"IdealSize", [&] { control.IdealSize(); }},
        {"MinimumIdealSize", [&] { control.MinimumIdealSize(); }},
        {"MinimumSize", [&] { control.MinimumSize(); }},
        {"MaximumSize", [&] { control.MaximumSize(); }},
        {"Show", [&] { control.Show(true, false); }},
        {"IsVisible", [&] { control.IsVisible(); }},
        {"Enable", [&] { control.Enable(false, true); }},
        {"IsEnabled", [&] { control.IsEnabled(); }},
        {"MoveWindow", [&] { control.MoveWindow(1, 2, 3, 4, false); }},
        {"MoveWindowUnscaled", [&] { control.MoveWindowUnscaled(1, 2, 3, 4, false); }},
        {"Update", [&] { control.Update(); }},
        {"Update(region)", [&] { control.Update(region); }},
        {"Repaint", [&] { control.Repaint(); }},
        {"Repaint(region)", [&] { control.Repaint(region); }},
        {"GetLogicalPixelsX", [&] { control.GetLogicalPixelsX(); }},
        {"GetLogicalPixelsY", [&] { control.GetLogicalPixelsY(); }},
        {"GetWindowRect", [&] { control.GetWindowRect(); }},
        {"GetWindowRectUnscaled", [&] { control.GetWindowRectUnscaled(); }},
        {"GetClientRect", [&] { control.GetClientRect(); }},
        {"ScreenToClient", [&] { control.ScreenToClient({1, 1}); }},
        {"ClientToScreen", [&] { control.ClientToScreen({1, 1}); }},
        {"SetTimer", [&] { control.SetTimer(1, 10); }},
        {"KillTimer", [&] { control.KillTimer(1); }},
        {"GetSizePolicy", [&] { control.GetSizePolicy(); }},
        {"SetSizePolicy", [&] { control.SetSizePolicy({}); }},
        {"GetFrarmeWidth", [&] { control.GetFrarmeWidth(); }},
        {"SetMinimumSize", [&] { control.SetMinimumSize({1, 1}); }},
        {"SetMaximumSize", [&] { control.SetMaximumSize({1, 1}); }},
        {"GetWidthForText", [&] { control.GetWidthForText(text, nullptr); }},
        {"Create", [&] { control.Create(nullptr); }},
        {"SetVisible", [&] { control.SetVisible(true); }},
    };
    for (const auto& [name, call] : throwing)
        EXPECT_EQ(ExceptionText(call), "Control is not valid.") << name;

    control.SetAcceptDrops(true);
    control.SetTrackMouseEvent();
    EXPECT_FALSE(control.IsAcceptDrops());
    EXPECT_FALSE(control.GetBaseImpl()->IsTrackMouseEvent());
    EXPECT_FALSE(control.HideBalloonTipEx()) << "no balloon tip yet";
    EXPECT_FALSE(control.ShowBalloonTipEx(L"tip", BalloonTipIconType::Warning, false, false));
    EXPECT_FALSE(control.ShowBalloonTipEx(L"title", L"tip", L"icon.png", false, true));
    EXPECT_FALSE(control.IsBalloonTipDisplayed());
    control.SetUserData(42);
    EXPECT_EQ(control.GetUserData(), 42u);
    control.SetBackgroundColor(0x123456);
    EXPECT_EQ(control.BackgroundColor(), -1);
}

TEST(ControlObjectModel, ShowOnVisibleWidgetDoesNothingNotEvenRepaint)
{
    ChildDialog control;
    control.Create(nullptr);
    control.Show(true, true);
    ASSERT_TRUE(control.IsVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(control.GetPlatformHandle()));

    EventCounter paints(control.GetPlatformHandle(), QEvent::Paint);
    control.Show(true, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.count, 0);

    control.Show(false, true);
    EXPECT_FALSE(control.IsVisible());
}

TEST(ControlObjectModel, ReshownDialogReturnsToItsGeometryPlainWidgetStaysWhereMoved)
{
    TestControl<QDialog> dialog;
    dialog.Show(true, false);
    dialog.widget()->setGeometry(100, 120, 300, 200);
    const QRect before = dialog.widget()->geometry();
    dialog.Show(false, false);
    dialog.widget()->setGeometry(10, 10, 50, 50);
    dialog.Show(true, false);
    EXPECT_EQ(dialog.widget()->geometry(), before);

    TestControl<QWidget> plain;
    plain.Show(true, false);
    plain.widget()->setGeometry(100, 120, 300, 200);
    plain.Show(false, false);
    plain.widget()->setGeometry(10, 10, 50, 50);
    plain.Show(true, false);
    EXPECT_EQ(plain.widget()->geometry(), QRect(10, 10, 50, 50));
}

TEST(ControlObjectModel, FrameGeometryCountsTheBorder)
{
    QWidget parent;
    parent.resize(400, 300);
    TestControl<QFrame> frame;
    frame.widget()->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame.widget()->setLineWidth(2);
    frame.Create(&parent);
    parent.show();

    frame.MoveWindow(10, 10, 120, 80, false);
    EXPECT_EQ(frame.widget()->pos(), QPoint(12, 12));
    EXPECT_EQ(frame.widget()->size(), QSize(120, 80));
    EXPECT_EQ(frame.GetFrarmeWidth(), 2);

    const Rect client = frame.GetClientRect();
    EXPECT_EQ(client.right, 120 - 2 * 2 - 1);
    EXPECT_EQ(client.bottom, 80 - 2 * 2 - 1);
    const QPoint origin = frame.widget()->mapToGlobal(QPoint(0, 0));
    const Point screen = frame.ClientToScreen({0, 0});
    EXPECT_EQ(screen.x, origin.x() + 2);
    EXPECT_EQ(screen.y, origin.y() + 2);
    const Point back = frame.ScreenToClient(screen);
    EXPECT_EQ(back.x, 0);
    EXPECT_EQ(back.y, 0);
}

TEST(ControlObjectModel, WindowRectIsTheFrameAnchoredAtTheClientArea)
{
    TestControl<QWidget> control;
    control.MoveWindow(30, 40, 100, 50, false);
    control.Show(true, false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(control.widget()));
    const QRect frame = control.widget()->frameGeometry();
    const QRect client = control.widget()->geometry();
    // The top is shifted by the frame's bottom margin against its top one; without a frame it is
    // the widget's own top-left.
    const QPoint topLeft(client.left(), client.top() + (frame.top() + client.height() - 1 - frame.bottom()));
    const Rect rect = control.GetWindowRect();
    EXPECT_EQ(rect.left, topLeft.x());
    EXPECT_EQ(rect.top, topLeft.y());
    EXPECT_EQ(rect.right, topLeft.x() + frame.width() - 1);
    EXPECT_EQ(rect.bottom, topLeft.y() + frame.height() - 1);
    EXPECT_EQ(control.GetWindowRectUnscaled().top, rect.top);
}

TEST(ControlObjectModel, TimerIdIsQtsAndOnlyQtsIdStopsIt)
{
    ChildDialog control;
    EventCounter timers(control.GetPlatformHandle(), QEvent::Timer);
    // Qt reuses freed ids from the smallest up: a number this large is never one it has handed out.
    const unsigned requested = 100000;
    const int id = control.SetTimer(requested, 5);
    ASSERT_NE(id, static_cast<int>(requested));
    control.KillTimer(requested);
    QTRY_VERIFY(timers.count >= 2);
    control.KillTimer(static_cast<unsigned>(id));
    QCoreApplication::processEvents();
    const int stopped = timers.count;
    QTest::qWait(30);
    EXPECT_EQ(timers.count, stopped);
}

TEST(ControlObjectModel, RecursiveEnableReachesEveryDescendant)
{
    ChildDialog control;
    QWidget* root = control.GetPlatformHandle();
    auto* child = new QWidget(root);
    auto* grandchild = new QWidget(child);
    auto* greatGrandchild = new QWidget(grandchild);

    control.Enable(false, true);
    for (QWidget* widget : {root, child, grandchild, greatGrandchild})
        EXPECT_TRUE(widget->testAttribute(Qt::WA_Disabled)) << "explicitly disabled";

    control.Enable(true, false);
    EXPECT_TRUE(root->isEnabled());
    EXPECT_FALSE(greatGrandchild->isEnabled());

    control.Enable(true, true);
    EXPECT_TRUE(greatGrandchild->isEnabled());
}

TEST(ControlObjectModel, SizePolicyReadsBackAsWritten)
{
    ChildDialog control;
    // The control-type field holds one flag; Qt knows no "none", so an empty field reads back as 1.
    const std::uint32_t policies[] = {
        0x01000000,
        // Stretch 3 and 4, horizontal Expanding (7), vertical Fixed (0), control type flag 4 (CheckBox).
        0x04070403,
        // Horizontal Minimum (1), vertical Preferred (5), flag 16, height for width, width for height.
        0x70510000 | 0x10000000,
        0x01757FFF,
    };
    for (std::uint32_t value : policies) {
        control.SetSizePolicy({value});
        EXPECT_EQ(control.GetSizePolicy().value, value) << std::hex << value;
    }

    control.SetSizePolicy({0x00170000});
    const QSizePolicy qt = control.GetPlatformHandle()->sizePolicy();
    EXPECT_EQ(qt.horizontalPolicy(), QSizePolicy::Expanding);
    EXPECT_EQ(qt.verticalPolicy(), QSizePolicy::Minimum);

    control.SetSizePolicy({0x80000000});
    EXPECT_EQ(control.GetSizePolicy().value & 0x80000000, 0u) << "retain size when hidden is cleared";
}

TEST(ControlObjectModel, WidthForTextMeasuresInTheGivenFont)
{
    ChildDialog control;
    std::wstring text = L"Measure me";
    EXPECT_EQ(control.GetWidthForText(text, nullptr),
              QFontMetrics(control.GetPlatformHandle()->font()).horizontalAdvance(QStringLiteral("Measure me")));

    FontData large;
    large.faceName = L"DejaVu Sans";
    large.pointSize = 30;
    QFont expected(QStringLiteral("DejaVu Sans"));
    expected.setPointSizeF(30);
    EXPECT_EQ(control.GetWidthForText(text, &large),
              QFontMetrics(expected).horizontalAdvance(QStringLiteral("Measure me")));
}

TEST(ControlObjectModel, ASecondPromptsPopupReplacesTheFirst)
{
    ChildDialog control;
    std::weak_ptr<PromptsPopup> first;
    {
        const std::shared_ptr<PromptsPopup> copy = control.InsertPromptsPopup(L"one", 0, 1000, false);
        first = copy;
        control.InsertPromptsPopup(L"two", 0, 1000, false);
        EXPECT_FALSE(first.expired()) << "the caller's copy keeps it";
    }
    EXPECT_TRUE(first.expired());
}

TEST(ControlObjectModel, EventProcedureIsReplacedWholesale)
{
    ChildDialog control;
    int calls = 0;
    control.SetEventProcedure([&](BaseGUIObject*, Event*) { return ++calls > 0; });
    Event event(Event::Paint);
    EXPECT_TRUE(control.EventProcedure()(&control, &event));
    control.SetEventProcedure({});
    EXPECT_FALSE(static_cast<bool>(control.EventProcedure()));
    EXPECT_EQ(calls, 1);
}

TEST(ControlObjectModel, WidgetUnderAParentOutlivesItsControlParentlessOneGoesWithIt)
{
    QWidget parent;
    QPointer<QWidget> adopted;
    QPointer<QWidget> orphan;
    {
        ChildDialog kept;
        kept.Create(&parent);
        adopted = kept.GetPlatformHandle();
        ChildDialog loose;
        orphan = loose.GetPlatformHandle();
    }
    ASSERT_FALSE(adopted.isNull());
    EXPECT_EQ(adopted->parentWidget(), &parent);
    adopted->show();
    adopted->resize(20, 20);
    EXPECT_TRUE(orphan.isNull());
}
