// Row drags with Qt's own drag loop, under the xcb platform and the real pointer: what the view
// that started a drag does to its rows when QDrag::exec returns is part of a row move, and the
// offscreen platform never runs that loop.
#include "PointerDrag.h"

#include "ListBoxFixture.h"
#include "TreeTestSupport.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

using namespace AUILib;

namespace {

enum class Spot { Middle, Bottom };

// How a drag that leaves its view ends.
enum class Ending { Escape, Outside, RefusedElsewhere, CopiedElsewhere, MovedElsewhere };

std::ostream& operator<<(std::ostream& out, Ending ending)
{
    const char* const names[] = {"Escape", "Outside", "RefusedElsewhere", "CopiedElsewhere", "MovedElsewhere"};
    return out << names[static_cast<int>(ending)];
}

std::string EndingName(const testing::TestParamInfo<Ending>& info)
{
    std::ostringstream name;
    name << info.param;
    return name.str();
}

// A window of another kind below the view's, that takes drags and ends a drop with its action, or
// refuses the drop with IgnoreAction. A drag from a row down to it crosses the rows below.
class DropSink : public QWidget
{
public:
    DropSink(const QWidget& above, Qt::DropAction answer)
        : m_answer(answer)
    {
        setAcceptDrops(true);
        setGeometry(above.x(), above.frameGeometry().bottom() + 40, 200, 200);
        show();
    }

    QPoint Middle() const { return rect().center(); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override
    {
        if (m_answer == Qt::IgnoreAction) {
            event->ignore();
            return;
        }
        event->setDropAction(m_answer);
        event->accept();
    }

private:
    Qt::DropAction m_answer;
};

Qt::DropAction SinkAnswer(Ending ending)
{
    switch (ending) {
    case Ending::CopiedElsewhere:
        return Qt::CopyAction;
    case Ending::MovedElsewhere:
        return Qt::MoveAction;
    default:
        return Qt::IgnoreAction;
    }
}

// Ends a drag from `from`, a point of `source`, as `ending` says: Escape at `inside`, another point of
// the source, or a drop below `home`, the source's window.
std::string DragAway(QWidget* source, QPoint from, QPoint inside, const QWidget& home, Ending ending)
{
    PointerDrag drag(source);
    switch (ending) {
    case Ending::Escape:
        return drag.PerformEscaped(from, inside);
    case Ending::Outside:
        return drag.PerformOutside(from, {home.frameGeometry().center().x(), home.frameGeometry().bottom() + 100});
    default: {
        DropSink sink(home, SinkAnswer(ending));
        if (!QTest::qWaitForWindowExposed(&sink))
            return "the other window did not show";
        return drag.PerformOnto(from, &sink, sink.Middle());
    }
    }
}

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

    static std::string Texts(const std::vector<QStandardItem*>& items)
    {
        std::string texts;
        for (QStandardItem* item : items)
            texts += (texts.empty() ? "" : ",") + item->text().toStdString();
        return texts;
    }

    std::string QtSelection() const
    {
        const std::list<QStandardItem*> selected = tree->SelectedItems();
        return Texts({selected.begin(), selected.end()});
    }

    std::string OwnSelection() const { return Texts(impl().OwnList()); }
};

class TreeRealDragCases : public TreeRealDrag, public testing::WithParamInterface<TreeDrag>
{
};

class TreeDragAway : public TreeRealDrag, public testing::WithParamInterface<Ending>
{
};

// Press points from the top of t0's row, in pixels: where the press lies decides which points of
// the straight path the view sees.
class TreeReorderDrag : public TreeRealDrag, public testing::WithParamInterface<int>
{
};

class ListBoxRealDrag : public ListBoxTesting::ListBoxFixture
{
protected:
    void SetUp() override
    {
        ListBoxFixture::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        list->SetColumnsCount(2);
        list->EnableRowsDragAndDrop(true);
        for (long row = 0; row < 5; ++row) {
            const std::wstring text = std::to_wstring(row);
            auto texts = ListBoxTesting::Texts({text.c_str(), text.c_str()});
            list->AddItemEx(texts, any(row));
        }
    }
};

class ListBoxDragAway : public ListBoxRealDrag, public testing::WithParamInterface<Ending>
{
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

// A single root stays single: no row goes beside it.
TEST_F(TreeRealDrag, NoRowLandsBesideASingleRoot)
{
    for (int row = 3; row > 0; --row)
        ASSERT_TRUE(tree->RemoveItem(Top(row)));
    tree->SetSingleRoot(true);
    tree->SetExpanded(Top(0), true);
    const QRect root = view()->visualRect(Top(0)->index());

    PointerDrag drag(viewport());
    ASSERT_EQ(drag.Perform(LabelPoint(Top(0)->child(1)), {root.center().x(), root.top() + 1}), "");

    EXPECT_EQ(Shape(), "t0(c0,c1)");
}

// On its way the drag crosses spots the rule refuses (onto a row) and spots it allows (between rows).
TEST_P(TreeReorderDrag, ARowDroppedBetweenRowsLandsThereUnderAReorderOnlyRule)
{
    tree->SetDragAndDropCanMove([](QStandardItem*, std::vector<QStandardItem*>&, bool sibling) { return sibling; });
    const QRect row = view()->visualRect(Top(0)->index());
    ASSERT_LT(GetParam(), row.height());

    PointerDrag drag(viewport());
    ASSERT_EQ(drag.Perform({LabelPoint(Top(0)).x(), row.top() + GetParam()}, PointOf(3, Spot::Bottom)), "");

    EXPECT_EQ(Shape(), "t1,t2,t3,t0(c0,c1)");
}

INSTANTIATE_TEST_SUITE_P(PressPoints, TreeReorderDrag, testing::Values(3, 7, 9, 10, 12, 14));

// An indicator that comes and goes as the pointer crosses one refused spot would promise drops
// that do not happen.
TEST_F(TreeRealDrag, NoIndicatorShowsOverASpotTheRuleRefuses)
{
    tree->SetDragAndDropCanMove([](QStandardItem*, std::vector<QStandardItem*>&, bool sibling) { return sibling; });
    std::vector<bool> shown;
    struct IndicatorWatch : QObject
    {
        TreeViewQt* view;
        std::vector<bool>* shown;
        bool eventFilter(QObject*, QEvent* event) override
        {
            // Read before the view handles the event: what the move before left on the screen.
            if (event->type() == QEvent::DragMove || event->type() == QEvent::Drop)
                shown->push_back(view->showDropIndicator());
            return false;
        }
    } watch;
    watch.view = view();
    watch.shown = &shown;
    viewport()->installEventFilter(&watch);

    // Slanting along the row, so that the last several moves all lie in its middle.
    PointerDrag drag(viewport());
    const QRect target = view()->visualRect(Top(2)->index());
    ASSERT_EQ(drag.Perform(LabelPoint(Top(1)), {target.left() + 4, target.center().y()}), "");

    ASSERT_GT(shown.size(), 8u);
    EXPECT_EQ(std::vector<bool>(shown.end() - 8, shown.end()), std::vector<bool>(8, false));
    EXPECT_EQ(Shape(), "t0(c0,c1),t1,t2,t3");
}

// A drag that ends anywhere but on its view leaves the view as a click finds it.
TEST_P(TreeDragAway, AClickAfterwardsNarrowsBothSelectionsToTheClickedRow)
{
    tree->SetMultiSelection(true);
    tree->SelectItem(Top(1), true);
    tree->SelectItem(Top(2), true);
    ASSERT_EQ(DragAway(viewport(), LabelPoint(Top(1)), PointOf(3, Spot::Middle), window, GetParam()), "");

    QStandardItem* first = Top(0);
    QStandardItem* last = Top(impl().model->rowCount() - 1);
    view()->ClearSelectedItems(nullptr);
    tree->SelectItem(first, true);
    tree->SelectItem(last, true);
    ASSERT_EQ(OwnSelection(), Text(first) + "," + Text(last));
    Click(last);

    EXPECT_EQ(QtSelection(), Text(last));
    EXPECT_EQ(OwnSelection(), Text(last));
}

INSTANTIATE_TEST_SUITE_P(Endings, TreeDragAway,
                         testing::Values(Ending::Escape, Ending::Outside, Ending::RefusedElsewhere,
                                         Ending::CopiedElsewhere, Ending::MovedElsewhere),
                         EndingName);

// Qt removes the rows of a drag that another widget takes as a move, past the tree's own removal.
TEST_F(TreeRealDrag, RowsTakenByAnotherWidgetLeaveNoTipsPicturesOrPayloadsBehind)
{
    const QByteArray red = FilledPicture(Qt::red);
    const int picture = tree->AddPicture(static_cast<QStandardItem*>(nullptr), Bytes(red), red.size(), ImageTypes::PNG,
                                         16, BitmapType::Default);
    ASSERT_GE(picture, 1);
    QStandardItem* moved = Top(0);
    QStandardItem* child = moved->child(1);
    const std::vector<int> ids{moved->data(Qt::UserRole).toInt(), child->data(Qt::UserRole).toInt()};
    for (QStandardItem* item : {moved, child, Top(3)}) {
        tree->SetItemTooltip(item, L"tip");
        ASSERT_TRUE(tree->SetPicture(item, picture));
    }

    ASSERT_EQ(DragAway(viewport(), LabelPoint(moved), PointOf(1, Spot::Middle), window, Ending::MovedElsewhere), "");

    ASSERT_EQ(Shape(), "t1,t2,t3");
    for (QStandardItem* gone : {moved, child}) {
        EXPECT_EQ(impl().toolTips.count(gone), 0u);
        EXPECT_EQ(impl().Pictures().PictureOf(gone), -1);
    }
    for (int id : ids)
        EXPECT_EQ(impl().context->itemData.Find(id), impl().context->itemData.End()) << id;
    EXPECT_EQ(impl().toolTips.count(Top(2)), 1u) << "the rows that stay keep theirs";
    EXPECT_EQ(impl().Pictures().PictureOf(Top(2)), picture);
}

// The drop moves a row by copying it; the copy is the row from then on, picture entry and all.
TEST_F(TreeRealDrag, AMovedRowKeepsItsPictureEntryAndPayload)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("green.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(FilledPicture(Qt::green));
    file.close();
    const std::wstring wide = path.toStdWString();
    const QByteArray red = FilledPicture(Qt::red);
    const int fromFile = tree->AddPicture(Top(0), wide, 16, BitmapType::Default);
    const int fromBytes =
        tree->AddPicture(Top(0)->child(1), Bytes(red), red.size(), ImageTypes::PNG, 16, BitmapType::Default);
    ASSERT_GE(fromFile, 1);
    ASSERT_GE(fromBytes, 1);

    ASSERT_EQ(Drag(0, 2, Spot::Middle), "");

    ASSERT_EQ(Shape(), "t1,t2(t0(c0,c1)),t3");
    QStandardItem* moved = Top(1)->child(0);
    EXPECT_EQ(impl().Pictures().PictureOf(moved), fromFile);
    EXPECT_EQ(tree->GetItemPicturePath(moved), wide);
    EXPECT_EQ(impl().Pictures().PictureOf(moved->child(1)), fromBytes) << "its children's go with them";
    EXPECT_EQ(impl().Pictures().PictureOf(moved->child(0)), -1) << "a row without a picture gets none";
    const any payload = tree->GetItemData(moved);
    ASSERT_NE(any_cast<long>(&payload), nullptr);
    EXPECT_EQ(*any_cast<long>(&payload), 0L);
}

TEST_F(ListBoxRealDrag, DroppedRowStandsWhereItWasDroppedAndNoneIsLost)
{
    PointerDrag drag(table()->viewport());
    ASSERT_EQ(drag.Perform(RowCentre(1), RowCentre(3)), "");

    EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"0", L"2", L"1", L"3", L"4"}));
    EXPECT_EQ(Column(1), Column(0));
}

// A drag that ends anywhere but on its list leaves no drag behind: the program's own selection
// changes afterwards leave the check marks alone, and the press's begin has had its end.
TEST_P(ListBoxDragAway, TheProgramsSelectionChangesAfterwardsLeaveTheCheckMarks)
{
    list->SetSingleSelection(false);
    list->SetCheckMode(ListBox::SelectionChecks);
    ASSERT_EQ(DragAway(table()->viewport(), RowCentre(1), RowCentre(3), window, GetParam()), "");

    list->SetCheck(1, true);
    list->ClearSel();
    list->SetSel(2, true, true);

    EXPECT_TRUE(list->GetCheck(1));
    EXPECT_TRUE(list->GetCheck(2));
    EXPECT_EQ(std::count(log.begin(), log.end(), "begin"), std::count(log.begin(), log.end(), "end"))
        << "every multi-selection gesture that began has ended";
}

INSTANTIATE_TEST_SUITE_P(Endings, ListBoxDragAway,
                         testing::Values(Ending::Escape, Ending::Outside, Ending::RefusedElsewhere,
                                         Ending::CopiedElsewhere),
                         EndingName);

// Qt removes the rows of a drag that another widget takes as a move, past the list's own removal.
TEST_F(ListBoxRealDrag, ARowTakenByAnotherWidgetLeavesNoRecordsBehind)
{
    list->DisableSortingForRow(2);
    ASSERT_EQ(Column(0), (std::vector<std::wstring>{L"2", L"0", L"1", L"3", L"4"}));
    const int id = table()->item(0, 0)->data(Qt::UserRole).toInt();

    ASSERT_EQ(DragAway(table()->viewport(), RowCentre(0), RowCentre(3), window, Ending::MovedElsewhere), "");

    ASSERT_EQ(Column(0), (std::vector<std::wstring>{L"0", L"1", L"3", L"4"}));
    EXPECT_EQ(impl().itemData.Find(id), impl().itemData.End());
    EXPECT_EQ(impl().pinnedRows, 0);
}
