#include "ControlTestSupport.h"

#include "Splitter.h"
#include "StackedDialog.h"
#include "TabView.h"

#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace AUILib;

namespace {

// A page with one button on it, as a form would fill it.
QWidget* PageWithButton()
{
    auto* page = new QWidget;
    new QPushButton(QStringLiteral("OK"), page);
    return page;
}

QWidget* ButtonOf(QWidget* page)
{
    return page->findChild<QPushButton*>();
}

class TabViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        tabs.Create(&window);
        for (const char* title : {"One", "Two", "Three"})
            widget()->addTab(PageWithButton(), QString::fromLatin1(title));
    }
    QTabWidget* widget() { return qobject_cast<QTabWidget*>(tabs.GetPlatformHandle()); }

    QWidget window;
    TabView tabs;
};

} // namespace

TEST_F(TabViewTest, NextAndPreviousWrapAround)
{
    struct Case
    {
        int from;
        bool next;
        int to;
    };
    const Case cases[] = {{2, true, 0}, {0, true, 1}, {1, true, 2}, {0, false, 2}, {2, false, 1}, {1, false, 0}};
    FiringRecorder<int> changes(tabs.OnCurrentChanged);
    for (const Case& c : cases) {
        tabs.SetCurrentIndex(c.from);
        changes.calls.clear();
        if (c.next)
            tabs.ActivateNextTab();
        else
            tabs.ActivatePreviousTab();
        EXPECT_EQ(tabs.GetCurrentIndex(), c.to) << c.from << (c.next ? " next" : " previous");
        EXPECT_EQ(changes.calls, (std::vector<std::tuple<int>>{c.to}));
    }
}

TEST(TabView, WithoutTabsNextAndPreviousDoNothing)
{
    TabView tabs;
    tabs.ActivateNextTab();
    tabs.ActivatePreviousTab();
    EXPECT_EQ(tabs.GetCurrentIndex(), -1);
    EXPECT_EQ(tabs.GetItemCount(), 0);
}

TEST_F(TabViewTest, TabTextsEndAtTheFirstNul)
{
    tabs.SetTabText(1, std::wstring(L"Ab\0cd", 5));
    EXPECT_EQ(widget()->tabText(1), QStringLiteral("Ab"));
    widget()->setTabText(2, QString::fromUtf16(u"x\0y", 3));
    EXPECT_EQ(tabs.GetTabText(2), L"x");
    tabs.SetTabText(0, L"\U0001F600");
    EXPECT_EQ(tabs.GetTabText(0), L"\U0001F600");
    EXPECT_EQ(tabs.GetTabText(7), L"");
}

TEST_F(TabViewTest, RecursiveEnablingReachesThePagesWidgetsPlainOnlyThePage)
{
    QWidget* page = widget()->widget(1);
    tabs.EnablePage(1, false, false);
    EXPECT_FALSE(page->isEnabled());
    EXPECT_FALSE(ButtonOf(page)->testAttribute(Qt::WA_ForceDisabled)) << "the button only follows its page";
    tabs.EnablePage(1, true, false);
    EXPECT_TRUE(ButtonOf(page)->isEnabled());

    tabs.EnablePage(1, false, true);
    EXPECT_FALSE(page->isEnabled());
    EXPECT_TRUE(ButtonOf(page)->testAttribute(Qt::WA_ForceDisabled));
    tabs.EnablePage(1, true, false);
    EXPECT_FALSE(ButtonOf(page)->isEnabled()) << "disabled in its own right";

    for (int index : {-1, 3, 99})
        tabs.EnablePage(index, false, true);
    EXPECT_TRUE(widget()->widget(0)->isEnabled());
    EXPECT_TRUE(widget()->widget(2)->isEnabled());
}

namespace {

class StackedDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        stack.Create(window.get());
        for (int index = 0; index < 3; ++index) {
            pages.push_back(PageWithButton());
            EXPECT_EQ(stack.InsertChildDialog(99, pages.back()), index) << "appended";
        }
    }

    std::unique_ptr<QWidget> window;
    StackedDialog stack;
    std::vector<QWidget*> pages;
};

} // namespace

TEST_F(StackedDialogTest, PagesAreFoundByIndexAndOutOfRangeIsNull)
{
    EXPECT_EQ(stack.GetPage(0), pages[0]);
    EXPECT_EQ(stack.GetPage(2), pages[2]);
    EXPECT_EQ(stack.GetPage(-1), nullptr);
    EXPECT_EQ(stack.GetPage(3), nullptr);
    EXPECT_EQ(pages[1]->parentWidget(), stack.GetPlatformHandle());

    stack.SetCurrentIndex(2);
    EXPECT_EQ(stack.GetCurrentIndex(), 2);
    stack.SetCurrentIndex(5);
    EXPECT_EQ(stack.GetCurrentIndex(), 2);
    auto* front = new QWidget;
    EXPECT_EQ(stack.InsertChildDialog(0, front), 0);
    EXPECT_EQ(stack.GetPage(0), front);
}

TEST_F(StackedDialogTest, EnablePageIsRecursiveOnlyWhenAsked)
{
    stack.EnablePage(0, false, false);
    EXPECT_FALSE(pages[0]->isEnabled());
    EXPECT_FALSE(ButtonOf(pages[0])->testAttribute(Qt::WA_ForceDisabled));
    stack.EnablePage(2, false, true);
    EXPECT_TRUE(ButtonOf(pages[2])->testAttribute(Qt::WA_ForceDisabled));
    stack.EnablePage(5, false, true);
    stack.EnablePage(-1, false, true);
    EXPECT_TRUE(pages[1]->isEnabled());
}

TEST_F(StackedDialogTest, GoneWidgetThrowsForPagesOnlyAndAnswersNeutrallyElsewhere)
{
    window.reset();
    EXPECT_EQ(ExceptionText([&] { stack.GetPage(0); }), "Control is not valid.");
    EXPECT_EQ(ExceptionText([&] { stack.GetPage(-1); }), "Control is not valid.");
    EXPECT_EQ(ExceptionText([&] { stack.EnablePage(0, true, false); }), "Control is not valid.");
    EXPECT_EQ(ExceptionText([&] { stack.EnablePage(9, true, false); }), "Control is not valid.");
    stack.SetCurrentIndex(1);
    EXPECT_EQ(stack.GetCurrentIndex(), 0);
    auto page = std::make_unique<QWidget>();
    EXPECT_EQ(stack.InsertChildDialog(0, page.get()), 0);
}

TEST(TabView, GoneWidgetThrowsForPagesOnlyAndAnswersNeutrallyElsewhere)
{
    auto window = std::make_unique<QWidget>();
    TabView tabs;
    tabs.Create(window.get());
    window.reset();
    EXPECT_EQ(ExceptionText([&] { tabs.EnablePage(0, false, true); }), "Control is not valid.");
    tabs.SetCurrentIndex(1);
    tabs.SetTabText(0, L"x");
    tabs.ActivateNextTab();
    tabs.ActivatePreviousTab();
    EXPECT_EQ(tabs.GetTabText(0), L"");
    EXPECT_EQ(tabs.GetItemCount(), 0);
    EXPECT_EQ(tabs.GetCurrentIndex(), -1);
}

TEST(Splitter, SizesGoToQtAsGivenAnEmptyListIncluded)
{
    const auto addPanes = [](QSplitter* widget) {
        widget->addWidget(new QWidget);
        widget->addWidget(new QWidget);
        widget->resize(300 + widget->handleWidth(), 100);
        widget->show();
    };
    Splitter splitter;
    auto* widget = qobject_cast<QSplitter*>(splitter.GetPlatformHandle());
    addPanes(widget);
    QSplitter plain;
    addPanes(&plain);

    splitter.SetSizes({100, 200});
    EXPECT_EQ(widget->sizes(), (QList<int>{100, 200}));
    plain.setSizes({100, 200});
    splitter.SetSizes({});
    plain.setSizes({});
    EXPECT_EQ(widget->sizes(), plain.sizes()) << "Qt's own answer to an empty list";

    splitter.SetHandleWidth(9);
    EXPECT_EQ(widget->handleWidth(), 9);
    for (bool dynamic : {false, true}) {
        splitter.SetDynamicResizing(dynamic);
        EXPECT_EQ(splitter.DynamicResizing(), dynamic);
    }
    EXPECT_TRUE(splitter.GetViews().empty());
}

TEST(Splitter, GoneWidgetAnswersNeutrally)
{
    Splitter splitter;
    delete splitter.GetPlatformHandle();
    splitter.SetSizes({1, 2});
    splitter.SetHandleWidth(3);
    splitter.SetDynamicResizing(true);
    EXPECT_FALSE(splitter.DynamicResizing());
}
