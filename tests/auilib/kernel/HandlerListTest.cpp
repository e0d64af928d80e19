#include "BoundHandlerWrapper.h"
#include "ChildDialog.h"
#include "HandlerList.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace AUILib;

namespace {

// Stands in for the dialog's event bridge: runs the bound handlers posted to one widget.
class BoundHandlerRunner : public QObject
{
public:
    explicit BoundHandlerRunner(QObject* watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == BoundHandlerWrapper::EventType)
            static_cast<BoundHandlerWrapper*>(event)->Run();
        return false;
    }
};

} // namespace

TEST(HandlerList, ImmediateHandlersRunInOrderUnlessSuppressed)
{
    HandlerList<int> list;
    std::vector<std::string> calls;
    list.Add([&](int value) { calls.push_back("a" + std::to_string(value)); });
    const auto second = list.Add([&](int value) { calls.push_back("b" + std::to_string(value)); });
    list.Add([&](int value) { calls.push_back("c" + std::to_string(value)); });

    FireHandlers(list, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"a1", "b1", "c1"}));

    const bool previous = list.SetSuppressed(true);
    FireHandlers(list, 2);
    list.SetSuppressed(previous);
    EXPECT_EQ(calls.size(), 3u);

    EXPECT_TRUE(list.Remove(second));
    EXPECT_FALSE(list.Remove(second));
    FireHandlers(list, 3);
    EXPECT_EQ(calls, (std::vector<std::string>{"a1", "b1", "c1", "a3", "c3"}));
}

TEST(HandlerList, EmptyOrThrowingHandlerEndsThatFiringOnly)
{
    HandlerList<> list;
    int before = 0;
    int after = 0;
    list.Add([&] { ++before; });
    const auto empty = list.Add({});
    list.Add([&] { ++after; });

    EXPECT_NO_THROW(FireHandlers(list));
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);

    list.Remove(empty);
    const auto thrower = list.Add([] { throw std::runtime_error("handler failed"); });
    EXPECT_NO_THROW(FireHandlers(list));
    list.Remove(thrower);
    FireHandlers(list);
    EXPECT_EQ(before, 3);
    EXPECT_EQ(after, 2);
}

TEST(HandlerList, BoundHandlersArePostedWithCopiedArguments)
{
    ChildDialog control;
    BoundHandlerRunner runner(control.GetPlatformHandle());
    HandlerList<std::wstring> list;
    std::vector<std::wstring> calls;
    list.AddBound(&control, [&](std::wstring text) { calls.push_back(L"bound " + text); });
    list.Add([&](std::wstring text) { calls.push_back(L"now " + text); });

    std::wstring text = L"first";
    FireHandlers(list, text);
    text = L"changed";
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"now first"}));

    QCoreApplication::sendPostedEvents(control.GetPlatformHandle(), BoundHandlerWrapper::EventType);
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"now first", L"bound first"}));
}

TEST(HandlerList, BoundRecordWithoutLiveWidgetIsSkipped)
{
    // Runs a bound handler wherever it is posted, so a record fired without a widget would show.
    BoundHandlerRunner anywhere(QCoreApplication::instance());
    ChildDialog gone;
    delete gone.GetPlatformHandle();
    ChildDialog live;
    HandlerList<int> list;
    std::vector<std::string> calls;
    list.AddBound(&gone, [&](int) { calls.push_back("widget gone"); });
    list.AddBound(nullptr, [&](int) { calls.push_back("no control"); });
    list.AddBound(&live, [&](int value) { calls.push_back("live " + std::to_string(value)); });
    list.Add([&](int value) { calls.push_back("now " + std::to_string(value)); });

    FireHandlers(list, 5);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(calls, (std::vector<std::string>{"now 5", "live 5"}));
}

TEST(HandlerList, HandlerMayChangeAndFireItsOwnList)
{
    HandlerList<int> list;
    std::vector<int> seen;
    HandlerList<int>::Token self = 0;
    self = list.Add([&](int depth) {
        seen.push_back(depth);
        if (depth == 0) {
            list.Add([&](int value) { seen.push_back(100 + value); });
            FireHandlers(list, 1);
            list.Remove(self);
        }
    });

    FireHandlers(list, 0);
    // The nested firing already sees the added record; the outer one walks what it started with.
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 101}));

    seen.clear();
    FireHandlers(list, 2);
    EXPECT_EQ(seen, (std::vector<int>{102}));
}
