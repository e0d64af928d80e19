// Row drags with Qt's own drag loop, under the xcb platform and the real pointer: what the view
// that started a drag does to its rows when QDrag::exec returns is part of a row move, and the
// offscreen platform never runs that loop.
#include "PointerDrag.h"

#include "ListBoxFixture.h"

#include <QGuiApplication>

#include <string>
#include <vector>

using namespace AUILib;

namespace {

bool OnXcb()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

class ListBoxRealDrag : public ListBoxTesting::ListBoxFixture
{
protected:
    void SetUp() override
    {
        if (!OnXcb())
            GTEST_SKIP() << "a real drag needs the xcb platform";
        ListBoxFixture::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST_F(ListBoxRealDrag, DroppedRowStandsWhereItWasDroppedAndNoneIsLost)
{
    list->SetColumnsCount(2);
    list->EnableRowsDragAndDrop(true);
    for (const wchar_t* text : {L"0", L"1", L"2", L"3", L"4"}) {
        auto texts = ListBoxTesting::Texts({text, text});
        list->AddItemEx(texts, any());
    }

    PointerDrag drag(table()->viewport());
    ASSERT_EQ(drag.Perform(RowCentre(1), RowCentre(3)), "");

    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"0", L"2", L"1", L"3", L"4"}));
    EXPECT_EQ(Column(1), Column(0));
}
