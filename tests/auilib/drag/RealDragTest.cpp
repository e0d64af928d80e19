// Row drags with Qt's own drag loop, under the xcb platform and the real pointer: what the view
// that started a drag does to its rows when QDrag::exec returns is part of a row move, and the
// offscreen platform never runs that loop.
#include "PointerDrag.h"

#include "ListBoxFixture.h"
#include "TreeTestSupport.h"

#include <QStandardItemModel>

#include <ostream>
#include <string>
#include <vector>

using namespace AUILib;

namespace {

enum class Spot { Middle, Bottom };

struct TreeDrag
{
    const char* name;
    std::vector<int> selected; // top-level rows selected before the press; none: the press selects
    int pressed;
    int target;
    Spot spot;
    bool refused; // by the can-move callback
    const char* shape;
};

void PrintTo(const TreeDrag& drag, std::ostream* out)
{
    *out << drag.name;
}

class TreeRealDrag : public TreeFixture
{
protected:
    void SetUp() override
    {
        TreeFixture::SetUp();
        for (int i = 0; i < 4; ++i)
            tree->InsertItem(L"t" + std::to_wstring(i), RootHandle, LastHandle, any(long(i)));
        tree->AddSubItem(L"c0", any(10L), Top(0));
        tree->AddSubItem(L"c1", any(11L), Top(0));
        ASSERT_TRUE(tree->EnableRowsDragAndDrop(true));
    }

    QStandardItem* Top(int row) const { return impl().model->item(row); }

    QPoint PointOf(int row, Spot spot) const
    {
        const QRect rect = view()->visualRect(Top(row)->index());
        return {rect.center().x(), spot == Spot::Middle ? rect.center().y() : rect.bottom() - 1};
    }

    std::string Drag(int pressed, int target, Spot spot)
    {
        PointerDrag drag(viewport());
        return drag.Perform(LabelPoint(Top(pressed)), PointOf(target, spot));
    }

    // Every item, children in brackets after their parent: "t0(c0,c1),t1".
    std::string Shape(QStandardItem* parent = nullptr) const
    {
        std::string shape;
        const int count = parent ? parent->rowCount() : impl().model->rowCount();
        for (int row = 0; row < count; ++row) {
            QStandardItem* item = parent ? parent->child(row) : impl().model->item(row);
            shape += (row ? "," : "") + Text(item);
            if (item->hasChildren())
                shape += "(" + Shape(item) + ")";
        }
        return shape;
    }
};

class TreeRealDragCases : public TreeRealDrag, public testing::WithParamInterface<TreeDrag>
{
};

class ListBoxRealDrag : public ListBoxTesting::ListBoxFixture
{
protected:
    void SetUp() override
    {
        ListBoxFixture::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST_P(TreeRealDragCases, DroppedRowsStandWhereTheyWereDroppedAndNoneIsLost)
{
    const TreeDrag& drag = GetParam();
    tree->SetMultiSelection(!drag.selected.empty());
    tree->SetDragAndDropCanMove([&drag](QStandardItem*, std::vector<QStandardItem*>&, bool) { return !drag.refused; });
    for (int row : drag.selected)
        tree->SelectItem(Top(row), true);

    ASSERT_EQ(Drag(drag.pressed, drag.target, drag.spot), "");

    EXPECT_EQ(Shape(), drag.shape);
    EXPECT_EQ(tree->Count(), 6) << "rows lost or doubled";
}

INSTANTIATE_TEST_SUITE_P(
    Drops, TreeRealDragCases,
    testing::Values(TreeDrag{"RowWithChildrenOntoARow", {}, 0, 2, Spot::Middle, false, "t1,t2(t0(c0,c1)),t3"},
                    TreeDrag{"TwoRowsBelowTheLast", {0, 2}, 2, 3, Spot::Bottom, false, "t1,t3,t0(c0,c1),t2"},
                    TreeDrag{"MoveTheCallbackRefuses", {}, 0, 2, Spot::Middle, true, "t0(c0,c1),t1,t2,t3"}),
    [](const testing::TestParamInfo<TreeDrag>& info) { return std::string(info.param.name); });

// The drag loop takes the release that ends a drag, so the widget never sees it: the timer of that
// press must not hold up the next drag, whose press (without multi-selection) starts no timer.
TEST_F(TreeRealDrag, ADragAfterAMultiSelectionDragStartsWithSingleSelection)
{
    tree->SetMultiSelection(true);
    ASSERT_EQ(Drag(1, 3, Spot::Bottom), "");
    EXPECT_EQ(Shape(), "t0(c0,c1),t2,t3,t1");

    tree->SetMultiSelection(false);
    ASSERT_EQ(Drag(1, 0, Spot::Middle), "");
    EXPECT_EQ(Shape(), "t0(t2,c0,c1),t3,t1");
}

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
