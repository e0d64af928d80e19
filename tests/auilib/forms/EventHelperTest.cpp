#include "EventHelper.h"

#include "AUILibLogger.h"
#include "BoundHandlerWrapper.h"
#include "Button.h"
#include "ContextMenu.h"
#include "DialogImpl.h"
#include "Event.h"
#include "FormDialogFixture.h"
#include "PopupDriver.h"
#include "TestControl.h"
#include "WaitBound.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMoveEvent>
#include <QScrollArea>
#include <QStyle>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

using namespace AUILib;

namespace {

// What a procedure saw: the kind, and for keys their key and text.
struct Seen
{
    int type = 0;
    int key = 0;
    std::wstring text;
};

class EventBridgeTest : public FormDialogTest
{
protected:
    void SetUp() override
    {
        FormDialogTest::SetUp();
        dialog = std::make_unique<Dialog>(PlaceForm("formdialog.ui"));
        window = dialog->GetWndPtr();
        open = dialog->GetElementByName(L"btnOpen");
        openWidget = open->GetPlatformHandle();
        helper = std::static_pointer_cast<Dialog::impl>(dialog->GetBaseImpl())->Helper();
        Record(*open);
    }

    void TearDown() override
    {
        if (window)
            window->close();
        dialog.reset();
        FormDialogTest::TearDown();
    }

    void Record(BaseGUIObject& control)
    {
        control.SetEventProcedure([this](BaseGUIObject*, Event* event) {
            Seen seen;
            seen.type = event->type;
            if (event->type == Event::KeyPress || event->type == Event::KeyRelease) {
                seen.key = static_cast<KeyEvent*>(event)->key;
                seen.text = static_cast<KeyEvent*>(event)->text;
            }
            if (event->type == Event::DropFiles)
                dropped = static_cast<DropFilesEvent*>(event)->paths;
            if (event->type == Event::Moving && moveBy != QPoint()) {
                Rect rect = static_cast<MovingEvent*>(event)->GetRect();
                rect.left += moveBy.x();
                rect.top += moveBy.y();
                static_cast<MovingEvent*>(event)->SetRect(rect);
            }
            seenEvents.push_back(seen);
            return answer;
        });
    }

    bool Filter(QObject* watched, QEvent& event) { return helper->eventFilter(watched, &event); }

    std::unique_ptr<Dialog> dialog;
    QPointer<QWidget> window;
    std::shared_ptr<BaseGUIObject> open;
    QWidget* openWidget = nullptr;
    EventHelper* helper = nullptr;
    std::vector<Seen> seenEvents;
    std::vector<std::wstring> dropped;
    QPoint moveBy;
    bool answer = false;
};

} // namespace

TEST_F(EventBridgeTest, KeysReachTheProcedureAndItsAnswerDecides)
{
    struct Case
    {
        QEvent::Type type;
        int key;
        bool answer;
        bool asked;
        bool filtered;
        bool accepted;
    };
    const Case cases[] = {
        {QEvent::KeyPress, Qt::Key_A, true, true, true, false},
        {QEvent::KeyPress, Qt::Key_A, false, true, false, true},
        {QEvent::KeyPress, Qt::Key_Tab, true, false, false, true},
        {QEvent::KeyPress, Qt::Key_Escape, true, false, false, false},
        {QEvent::KeyPress, Qt::Key_Pause, true, false, false, false},
        {QEvent::ShortcutOverride, Qt::Key_A, true, false, false, false},
        {QEvent::KeyRelease, Qt::Key_F9, true, true, true, false},
        {QEvent::KeyRelease, Qt::Key_F10, true, false, false, false},
        {QEvent::KeyRelease, Qt::Key_A, true, false, false, false},
    };
    for (const Case& c : cases) {
        seenEvents.clear();
        answer = c.answer;
        QKeyEvent event(c.type, c.key, Qt::ShiftModifier, QStringLiteral("a"));
        EXPECT_EQ(Filter(openWidget, event), c.filtered) << c.type << " " << std::hex << c.key;
        EXPECT_EQ(seenEvents.size(), c.asked ? 1U : 0U) << c.type << " " << std::hex << c.key;
        EXPECT_EQ(event.isAccepted(), c.accepted) << c.type << " " << std::hex << c.key;
    }
    seenEvents.clear();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Filter(openWidget, press);
    ASSERT_EQ(seenEvents.size(), 1U);
    EXPECT_EQ(seenEvents[0].key, Event::KeyA);
    EXPECT_EQ(seenEvents[0].text, L"a");
}

TEST_F(EventBridgeTest, ReturnJustAfterADeactivationIsSwallowed)
{
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(40);
    QEvent deactivate(QEvent::WindowDeactivate);
    Filter(window, deactivate);
    QKeyEvent returnPress(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(Filter(openWidget, returnPress));
    EXPECT_TRUE(seenEvents.empty());
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(), true);
    EXPECT_TRUE(Filter(openWidget, repeat)) << "auto-repeats while the key is held";

    QTest::qWait(80);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QString(), true);
    Filter(openWidget, release);
    QKeyEvent later(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_FALSE(Filter(openWidget, later));
    ASSERT_EQ(seenEvents.size(), 1U);
    EXPECT_EQ(seenEvents[0].key, Event::KeyReturn);
    QApplication::setKeyboardInputInterval(interval);
}

TEST_F(EventBridgeTest, ACloseRefusedByFilterDoneKeepsTheWindow)
{
    struct Refusing : Dialog
    {
        using Dialog::Dialog;
        int FilterDone(int) override { return -1; }
    };
    Refusing refusing(PlaceForm("formdialog.ui"));
    refusing.DoModeless(false);
    EXPECT_FALSE(refusing.GetWndPtr()->close());
    EXPECT_TRUE(refusing.GetWndPtr()->isVisible());
    refusing.Show(false, false);
}

TEST_F(EventBridgeTest, AMovedRectangleMovesTheWindowLater)
{
    Record(*dialog);
    dialog->DoModeless(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    seenEvents.clear();
    QMoveEvent still(QPoint(10, 20), QPoint(0, 0));
    Filter(window, still);
    ASSERT_EQ(seenEvents.size(), 1U);
    EXPECT_EQ(seenEvents[0].type, Event::Moving);
    EXPECT_FALSE(helper->MoveTimer().isActive()) << "an untouched rectangle moves nothing";

    moveBy = QPoint(30, 40);
    QMoveEvent moved(QPoint(10, 20), QPoint(0, 0));
    Filter(window, moved);
    EXPECT_TRUE(helper->MoveTimer().isActive());
    const int titleBar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QPoint expected(40, 60 - titleBar);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->pos() == expected; }, kWaitBoundMs))
        << window->pos().x() << "," << window->pos().y();
}

TEST_F(EventBridgeTest, DroppedFilesArriveTogether)
{
    open->SetAcceptDrops(true);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b%.txt")), QUrl::fromLocalFile(QStringLiteral("/tmp/ü"))});
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(Filter(openWidget, enter));
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(2.5, 3.4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    Filter(openWidget, drop);
    EXPECT_EQ(dropped, (std::vector<std::wstring>{L"/tmp/a b%.txt", L"/tmp/ü"}));

    open->SetAcceptDrops(false);
    QDragEnterEvent refused(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(Filter(openWidget, refused));
    QDragLeaveEvent leave;
    EXPECT_TRUE(Filter(window, leave));
}

TEST_F(EventBridgeTest, CommittedTextArrivesOneCharacterAtATime)
{
    const std::pair<QString, std::vector<std::wstring>> cases[] = {
        {QStringLiteral("abc"), {L"a", L"b", L"c"}},
        {QString::fromUcs4(U"\U0001F600"), {std::wstring(1, static_cast<wchar_t>(0x1F600))}},
        {QString(), {}},
    };
    for (const auto& [committed, characters] : cases) {
        seenEvents.clear();
        QInputMethodEvent event;
        event.setCommitString(committed);
        answer = true;
        EXPECT_EQ(Filter(openWidget, event), !characters.empty());
        ASSERT_EQ(seenEvents.size(), characters.size());
        for (std::size_t i = 0; i < characters.size(); ++i) {
            EXPECT_EQ(seenEvents[i].type, Event::KeyPress);
            EXPECT_EQ(seenEvents[i].key, 0);
            EXPECT_EQ(seenEvents[i].text, characters[i]);
        }
    }
}

TEST_F(EventBridgeTest, AToolTipRecordIsShownWhereItApplies)
{
    QToolTip::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    dialog->DoModeless(false);
    QRect area(0, 0, 10, 10);
    dialog->SetToolTip(open, L"Opens", L"", 0, &area, false);
    QHelpEvent inside(QEvent::ToolTip, QPoint(9, 9), openWidget->mapToGlobal(QPoint(9, 9)));
    EXPECT_TRUE(Filter(openWidget, inside));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("<div style = 'white-space:pre'>Opens</div>"));
    QHelpEvent outside(QEvent::ToolTip, QPoint(10, 9), openWidget->mapToGlobal(QPoint(10, 9)));
    EXPECT_TRUE(Filter(openWidget, outside));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, kWaitBoundMs));
}

TEST_F(EventBridgeTest, WhatAProcedureOrAHandlerThrowsIsLoggedAndTheEventPasses)
{
    AUILibLogger::GetInstance().Clear();
    open->SetEventProcedure([](BaseGUIObject*, Event*) -> bool { throw std::runtime_error("procedure failed"); });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_FALSE(Filter(openWidget, press));
    BoundHandlerWrapper empty{std::function<void()>()};
    EXPECT_FALSE(Filter(openWidget, empty));
    BoundHandlerWrapper throwing([] { throw 42; });
    EXPECT_FALSE(Filter(openWidget, throwing));
    EXPECT_EQ(AUILibLogger::GetInstance().GetLogCount(), 3U);
    std::wostringstream log;
    AUILibLogger::GetInstance().WriteLog(log);
    EXPECT_NE(log.str().find(L"procedure failed"), std::wstring::npos);
    AUILibLogger::GetInstance().Clear();
}

TEST_F(EventBridgeTest, DisabledButtonsHearNoMouse)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2.5, -2.5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    answer = true;
    EXPECT_TRUE(Filter(openWidget, press));
    open->Enable(false, false);
    EXPECT_FALSE(Filter(openWidget, press));
    EXPECT_EQ(seenEvents.size(), 1U);
}

TEST_F(EventBridgeTest, TheWheelReportsItsScreenPositionRounded)
{
    std::vector<MouseWheelEvent> wheels;
    open->SetEventProcedure([&](BaseGUIObject*, Event* event) {
        if (event->type == Event::Wheel)
            wheels.push_back(*static_cast<MouseWheelEvent*>(event));
        return true;
    });
    QWheelEvent wheel(QPointF(2, 3), QPointF(100.6, 20.4), QPoint(), QPoint(0, -120), Qt::RightButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    EXPECT_TRUE(Filter(openWidget, wheel));
    ASSERT_EQ(wheels.size(), 1U);
    EXPECT_EQ(wheels[0].delta, -120);
    EXPECT_EQ(wheels[0].position.x, 101);
    EXPECT_EQ(wheels[0].position.y, 20);
    EXPECT_EQ(wheels[0].buttons, static_cast<std::uint32_t>(Qt::RightButton));
    EXPECT_EQ(wheels[0].modifiers, static_cast<std::uint32_t>(Qt::ControlModifier));
}

TEST_F(EventBridgeTest, AViewportBelongsToTheNearestControlAroundIt)
{
    auto view = std::make_shared<TestControl<QScrollArea>>();
    ASSERT_TRUE(view->Create(dialog->GetElementByName(L"page")->GetPlatformHandle()));
    view->widget()->setObjectName(QStringLiteral("view"));
    std::static_pointer_cast<Dialog::impl>(dialog->GetBaseImpl())->RegisterElement(L"view", view);
    Record(*dialog->GetElementByName(L"page"));
    std::vector<int> viewSeen;
    view->SetEventProcedure([&](BaseGUIObject*, Event* event) {
        viewSeen.push_back(event->type);
        return false;
    });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    Filter(view->widget()->viewport(), press);
    EXPECT_EQ(viewSeen, (std::vector<int>{Event::MouseButtonPress}));
    EXPECT_TRUE(seenEvents.empty()) << "not the page the view sits in";
}

TEST_F(EventBridgeTest, AnAttachedMenuShowsOnAContextRequest)
{
    auto menu = std::make_shared<ContextMenu>();
    ASSERT_TRUE(menu->Create(window));
    bool chosen = false;
    menu->AddItem(L"Detach", [&] {
        chosen = true;
        open->RemoveContextMenu();
        menu.reset();
    }, 0);
    open->InsertContextMenu(menu);
    dialog->DoModeless(false);
    chooseFromPopup(QStringLiteral("Detach"));
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(1, 1), openWidget->mapToGlobal(QPoint(1, 1)));
    EXPECT_FALSE(Filter(openWidget, request));
    EXPECT_TRUE(chosen);
    EXPECT_FALSE(open->GetContextMenu());
}
